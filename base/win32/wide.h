#pragma once
// The one place where the program's UTF-16 text (char16_t) meets the Win32 API (wchar_t).
// Both are 16-bit units on Windows, so a view of one is a view of the other.

#include <windows.h>

static_assert(sizeof(wchar_t) == sizeof(char16_t));

inline const wchar_t* AsWide(const char16_t* text) {
    return reinterpret_cast<const wchar_t*>(text);
}
inline wchar_t* AsWide(char16_t* text) {
    return reinterpret_cast<wchar_t*>(text);
}
inline const char16_t* AsU16(const wchar_t* text) {
    return reinterpret_cast<const char16_t*>(text);
}
inline char16_t* AsU16(wchar_t* text) {
    return reinterpret_cast<char16_t*>(text);
}
