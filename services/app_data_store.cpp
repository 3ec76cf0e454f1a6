#include "services/app_data_store.h"

#include "base/text.h"
#include "services/store_text.h"

#include <cinttypes>
#include <cstring>
#include <string>

namespace {

const char16_t* rootVariable(StoreScope scope) {
    switch (scope) {
    case kMachineScope:
        return kMachineRootVariable;
    case kUserScope:
        return kUserRootVariable;
    default:
        return nullptr;
    }
}

bool appendPath(char16_t (&path)[kStorePathCapacity], const char16_t* piece) {
    return StrAppendBounded(path, piece, kStorePathCapacity) < kStorePathCapacity;
}

enum class ReadResult { Missing, Unusable, Read };

// Reads the whole store file of the scope into data.
ReadResult readStore(StoreScope scope, std::string& data) {
    UniqueFile file = OpenStoreFile(kStoreFileName, kReadMode, scope);
    if (!file) return ReadResult::Missing;
    if (std::fseek(file.get(), 0, SEEK_END) != 0) return ReadResult::Unusable;
    const long size = std::ftell(file.get());
    if (size < 0 || static_cast<unsigned long>(size) > kStoreSizeLimit) return ReadResult::Unusable;
    data.resize(static_cast<std::size_t>(size));
    if (std::fseek(file.get(), 0, SEEK_SET) != 0 ||
        std::fread(data.data(), 1, data.size(), file.get()) != data.size())
        return ReadResult::Unusable;
    return ReadResult::Read;
}

int writeValue(const char* key, const std::string& valueText, StoreScope scope) {
    std::string data;
    if (readStore(scope, data) == ReadResult::Unusable) return kStoreTooLarge;
    const std::string changed = WithStoreValue(data, key, valueText);
    // A file past the limit could never be read or changed again.
    if (changed.size() > kStoreSizeLimit) return kStoreTooLarge;
    if (!ReplaceStoreFile(kStoreFileName, scope, changed.data(), changed.size()))
        return kStoreCannotWrite;
    return kStoreWritten;
}

} // namespace

bool StoreFilePath(const char16_t* fileName, StoreScope scope,
                   char16_t (&path)[kStorePathCapacity]) {
    path[0] = 0;
    const char16_t* variable = rootVariable(scope);
    if (!variable || !ReadEnvironmentText(variable, path, kStorePathCapacity)) return false;
    for (const char16_t* folder : {kMakerFolder, kProductFolder}) {
        if (!appendPath(path, u"\\") || !appendPath(path, folder)) return false;
        MakeDataFolder(path);
    }
    return appendPath(path, u"\\") && appendPath(path, fileName);
}

UniqueFile OpenStoreFile(const char16_t* fileName, const char16_t* mode, StoreScope scope) {
    char16_t path[kStorePathCapacity];
    if (!StoreFilePath(fileName, scope, path)) return UniqueFile();
    return OpenDataFile(path, mode);
}

bool ReplaceStoreFile(const char16_t* fileName, StoreScope scope, const void* data,
                      std::size_t size) {
    char16_t path[kStorePathCapacity];
    return StoreFilePath(fileName, scope, path) &&
           WriteDataFile(path, data, size, WriteMode::Replace) == WriteOutcome::Written;
}

std::int32_t GetStoreInt(const char* key, std::int32_t defaultValue, StoreScope scope) {
    std::string data;
    if (!key || !IsStoreKeyValid(key) || readStore(scope, data) != ReadResult::Read)
        return defaultValue;
    return ParseStoreNumber(data, key).value_or(defaultValue);
}

std::size_t GetStoreText(char* buffer, std::size_t capacity, const char* key,
                         const char* defaultText, StoreScope scope) {
    std::string data;
    if (key && IsStoreKeyValid(key) && readStore(scope, data) == ReadResult::Read) {
        const auto text = ParseStoreText(data, key);
        if (text && text->size() < capacity) {
            std::memcpy(buffer, text->data(), text->size());
            buffer[text->size()] = 0;
            return text->size();
        }
    }
    StrCopyBounded(buffer, defaultText ? defaultText : "", capacity);
    return 0;
}

int SetStoreInt(const char* key, std::int32_t number, StoreScope scope) {
    if (!key) return kStoreMissingKeyOrText;
    if (!IsStoreKeyValid(key)) return kStoreBadKeyLength;
    char digits[16];
    std::snprintf(digits, sizeof digits, "%" PRId32, number);
    return writeValue(key, digits, scope);
}

int SetStoreText(const char* key, const char* text, StoreScope scope) {
    // A quote would end the text early and a line feed would start a line of its own.
    if (!key || !text || std::strpbrk(text, "\"\n") != nullptr) return kStoreMissingKeyOrText;
    if (!IsStoreKeyValid(key)) return kStoreBadKeyLength;
    return writeValue(key, std::string("\"") + text + "\"", scope);
}
