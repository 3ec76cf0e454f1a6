#pragma once
// The data store's file format: lines of key=number or key="text", ended by a line feed (a
// carriage return is an ordinary character). Keys are compared byte for byte; the first line
// that starts with the key followed directly by "=" holds the value.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

inline constexpr std::size_t kStoreSizeLimit = 52428; // a larger file is neither read nor changed
inline constexpr std::size_t kStoreKeyLimit = 150;
inline constexpr std::size_t kStoreNumberLimit = 11; // characters of a number value

inline bool IsStoreKeyValid(std::string_view key) {
    return !key.empty() && key.size() <= kStoreKeyLimit;
}

// The position just after "key=" on the first line at or after from (a line start) that
// starts with it; npos when there is none.
std::size_t FindStoreValue(std::string_view data, std::string_view key, std::size_t from = 0);

// The number on the key's first line: an optional "-" and at most 11 characters in all of
// decimal digits up to the end of the line (an empty value is 0). Anything else, and a
// number outside 32 bits, gives nothing.
std::optional<std::int32_t> ParseStoreNumber(std::string_view data, std::string_view key);

// The text of the first line of the key whose value, after spaces, opens with a double
// quote: up to the next double quote, or to the end of the data when none follows.
std::optional<std::string_view> ParseStoreText(std::string_view data, std::string_view key);

// The data with the key's value replaced by valueText: from after the "=" of the key's first
// line to the end of that line; or, when the key has no line, a new line "key=valueText"
// appended (after a line feed that ends the last line, when it lacked one).
std::string WithStoreValue(std::string_view data, std::string_view key, std::string_view valueText);
