#pragma once
// Bounded copies of terminated text, and UTF-8 conversion.

#include <cstddef>
#include <string>
#include <string_view>

// Length of a terminated text, in units.
template <typename Char> std::size_t TextLength(const Char* text) {
    std::size_t n = 0;
    while (text[n] != 0)
        ++n;
    return n;
}

// Copies at most capacity - 1 units of source and terminates; writes nothing at capacity 0.
// Returns the source's full length, so that a result >= capacity tells the copy was cut.
template <typename Char>
std::size_t StrCopyBounded(Char* destination, const Char* source, std::size_t capacity) {
    const std::size_t length = TextLength(source);
    if (capacity == 0) return length;
    const std::size_t copied = length < capacity - 1 ? length : capacity - 1;
    for (std::size_t i = 0; i < copied; ++i)
        destination[i] = source[i];
    destination[copied] = 0;
    return length;
}

// Appends source to the terminated text in destination, keeping the whole text within
// capacity units including its terminator. Returns the length the combined text would have;
// when destination holds no terminator within capacity, writes nothing and returns
// capacity + the source's length.
template <typename Char>
std::size_t StrAppendBounded(Char* destination, const Char* source, std::size_t capacity) {
    const std::size_t sourceLength = TextLength(source);
    std::size_t d = 0;
    while (d < capacity && destination[d] != 0)
        ++d;
    if (d == capacity) return capacity + sourceLength;
    std::size_t i = 0;
    for (; i < sourceLength && d + i < capacity - 1; ++i)
        destination[d + i] = source[i];
    destination[d + i] = 0;
    return d + sourceLength;
}

// UTF-16 <-> UTF-8 (code page 65001, no flags). Empty input or a failed conversion gives
// empty text; the result holds no terminator.
std::string toUtf8(std::u16string_view text);
std::u16string fromUtf8(std::string_view text);
