#pragma once
// The tweaks' texts as the window shows them, in its language: a tweak's tooltip (why it does not
// apply here, then what it does, where Windows keeps it and whether a log-out is needed), and the
// name of its page in messages.

#include "base/texts/texts.h"
#include "engine/where_tweaks_apply.h"

#include <cstdint>
#include <string>

// Item `item` of page `page`.
std::u16string TweakTooltip(Language language, std::uint32_t page, std::uint32_t item,
                            const Availability& availability);
std::u16string PageName(Language language, std::uint32_t page);
