#pragma once
// The update service's answer: a short JSON-like text in which one named field holds 1 when
// a newer version exists.

#include <cstddef>
#include <string_view>

inline constexpr std::size_t kUpdateAnswerCapacity = 512;
inline constexpr std::size_t kUpdateDigitLimit = 50;

// 1 when the first occurrence of "\"field\"" is followed, before the next "," or "}" or the
// end, by ":" and digits (spaces between are skipped) that read as the number 1; else 0.
int ParseUpdateAnswer(std::string_view answer, std::string_view field);
