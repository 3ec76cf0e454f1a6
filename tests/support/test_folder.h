#pragma once
// A fresh folder per test, the environment the program reads, whole files through its file seam.

#include "services/app_files.h"

#include <optional>
#include <string>

// A new empty folder, removed with everything below it when the object goes.
class TestFolder {
  public:
    TestFolder();
    ~TestFolder();
    TestFolder(const TestFolder&) = delete;
    TestFolder& operator=(const TestFolder&) = delete;
    const std::u16string& path() const { return path_; }

  private:
    std::u16string path_;
};

// Sets the environment variable the program reads (null unsets it).
void SetTestVariable(const char16_t* name, const char16_t* value);

// clang-format off
inline std::optional<std::string> ReadWholeFile(const std::u16string& path) {
    UniqueFile file = OpenDataFile(path.c_str(), u"rb");
    if (!file) return std::nullopt;
    std::string data;
    for (int c; (c = std::fgetc(file.get())) != EOF;) data += static_cast<char>(c);
    return data;
}
inline bool WriteWholeFile(const std::u16string& path, const std::string& data) {
    UniqueFile file = OpenDataFile(path.c_str(), u"wb");
    return file && std::fwrite(data.data(), 1, data.size(), file.get()) == data.size() && file.close();
}
// clang-format on
