#pragma once
// The program's own data store: a small file of key=value lines in the application data
// folder "<root>\Quenorith\Velkarostrandemilquorbenix", where the root folder is the value of
// one environment variable per scope. Every read opens, reads and closes the file; every
// write reads the whole file, changes or adds one line and replaces the file.

#include "services/app_files.h"

#include <cstddef>
#include <cstdint>

using StoreScope = int;
inline constexpr StoreScope kMachineScope = 0; // %ProgramData%: shared by every user
inline constexpr StoreScope kUserScope = 1;    // %APPDATA%: the user's roaming profile

// Root folder of each scope; both exist on every Windows 10 machine.
inline constexpr const char16_t* kMachineRootVariable = u"PROGRAMDATA";
inline constexpr const char16_t* kUserRootVariable = u"APPDATA";
inline constexpr const char16_t* kMakerFolder = u"Quenorith";
inline constexpr const char16_t* kProductFolder = u"Velkarostrandemilquorbenix";

inline constexpr const char16_t* kStoreFileName = u"Store.cfg";
inline constexpr const char16_t* kReadMode = u"rb";

inline constexpr std::size_t kStorePathCapacity = 260;

// Store keys.
inline constexpr const char* kCheckForUpdatesKey = "CheckForUpdates";       // scope 0, 1 on
inline constexpr const char* kSendErrorReportKey = "SendErrorReport";       // scope 1, 1 on
inline constexpr const char* kLastUpdateCheckDayKey = "LastUpdateCheckDay"; // scope 0
inline constexpr const char* kLastUpdateResultKey = "LastUpdateResult";     // scope 0
inline constexpr const char* kLastDataFileKey = "LastDataFile";             // scope 1, UTF-8

// Results of SetStoreInt and SetStoreText.
inline constexpr int kStoreWritten = 0;
inline constexpr int kStoreMissingKeyOrText = 1; // also a text holding a quote or line feed
inline constexpr int kStoreBadKeyLength = 2;
inline constexpr int kStoreTooLarge = 3; // file too large, unreadable, or would grow too large
inline constexpr int kStoreCannotWrite = 6;

// The path of fileName in the scope's application data folder, creating the two folders
// when missing (not the root). False when the scope is not 0 or 1, its variable is not set,
// or the path does not fit in kStorePathCapacity units.
bool StoreFilePath(const char16_t* fileName, StoreScope scope,
                   char16_t (&path)[kStorePathCapacity]);
// Opens fileName in the scope's folder; empty when there is no path or the open fails.
UniqueFile OpenStoreFile(const char16_t* fileName, const char16_t* mode, StoreScope scope);
// Replaces fileName in the scope's folder by size bytes of data, so that a failure part way
// never leaves a half-written file (WriteDataFile).
bool ReplaceStoreFile(const char16_t* fileName, StoreScope scope, const void* data,
                      std::size_t size);

// The stored number, or defaultValue on any failure.
std::int32_t GetStoreInt(const char* key, std::int32_t defaultValue, StoreScope scope);
// The stored text in buffer (capacity bytes, terminated) and its length; on any failure the
// default text, cut to the capacity, and 0.
std::size_t GetStoreText(char* buffer, std::size_t capacity, const char* key,
                         const char* defaultText, StoreScope scope);
int SetStoreInt(const char* key, std::int32_t number, StoreScope scope);
int SetStoreText(const char* key, const char* text, StoreScope scope);
