#pragma once
// The platform's files, folders and environment as the data store and the diagnostic log use
// them. The Windows build implements these over the C runtime's wide functions; the native
// build over a substitute (tests/substitutes) whose environment the tests control.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <utility>
#include <vector>

// An open C file; closed when the object goes.
class UniqueFile {
  public:
    UniqueFile() = default;
    explicit UniqueFile(std::FILE* file) noexcept : file_(file) {}
    UniqueFile(UniqueFile&& other) noexcept : file_(std::exchange(other.file_, nullptr)) {}
    UniqueFile& operator=(UniqueFile&& other) noexcept {
        std::swap(file_, other.file_);
        return *this;
    }
    UniqueFile(const UniqueFile&) = delete;
    UniqueFile& operator=(const UniqueFile&) = delete;
    ~UniqueFile() { close(); }

    std::FILE* get() const noexcept { return file_; }
    explicit operator bool() const noexcept { return file_ != nullptr; }
    // Closes the file; false when the close reports an error (for a file being written, data
    // that did not reach the disk).
    bool close() noexcept {
        if (!file_) return true;
        return std::fclose(std::exchange(file_, nullptr)) == 0;
    }

  private:
    std::FILE* file_ = nullptr;
};

// Copies the variable's value into buffer (capacity units, terminated). False, with buffer
// left empty, when the variable is not set, is empty or does not fit.
bool ReadEnvironmentText(const char16_t* name, char16_t* buffer, std::size_t capacity);
// Creates the folder; failure (an existing folder being the usual case) is ignored.
void MakeDataFolder(const char16_t* path);
// Opens the file with a C runtime mode ("rb", "wb"); empty on failure.
UniqueFile OpenDataFile(const char16_t* path, const char16_t* mode);
bool RemoveDataFile(const char16_t* path);

enum class WriteOutcome { Written, Exists, Failed };
// Whether a write may replace a file of the same name.
enum class WriteMode { Replace, New };

// Writes the bytes to a file beside the target (its name and ".tmp") and moves that file to the
// target once every byte is written: a failure never leaves a half-written target, nor the file
// beside it. Replace replaces an existing target. New never does (Exists), and creates the file
// beside it exclusively (Exists when another writer has it), so two writers of one name never
// share a file and only one of them gets the name.
WriteOutcome WriteDataFile(const char16_t* path, const void* data, std::size_t size,
                           WriteMode mode);

// The platform's parts of WriteDataFile. Creates a file for writing that must not exist yet
// (Exists when it does).
WriteOutcome CreateDataFile(const char16_t* path, UniqueFile& file);
// Moves source to target in one step; New leaves an existing target as it is (Exists).
WriteOutcome MoveDataFile(const char16_t* source, const char16_t* target, WriteMode mode);

// A file of a folder: its name and when it was last written (a count that grows with time, in
// the platform's own unit).
struct DataFileEntry {
    std::u16string name;
    std::uint64_t written;
};
// The files (not folders) in the folder, in no particular order; empty when the folder cannot
// be listed.
std::vector<DataFileEntry> ListDataFolder(const char16_t* folder);
// Sets when the file was last written, in ListDataFolder's unit.
bool SetDataFileWritten(const char16_t* path, std::uint64_t written);
