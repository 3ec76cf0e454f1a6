#pragma once
// The feature model: one fixed record per tweak, grouped into the six page blocks of the
// main window.

#include "engine/catalogue.h"

#include <cstddef>
#include <cstdint>
#include <iterator>

inline constexpr std::size_t kFeatureTextCapacity = 51; // 50 units and a terminator

// The value of one tweak in one role: a number, or (SystemPage items 12 and 13) a text.
union FeatureValue {
    std::uint32_t number;
    char16_t text[kFeatureTextCapacity];
};

struct FeatureItem {
    FeatureValue current;      // as read from the system
    FeatureValue pending;      // as collected from the controls before an Apply
    std::uint32_t machineWide; // machine-wide reading of a tweak kept in both hives, else 0
};

// Each page block has an item per catalogue row; ComputerPage's This PC folders are followed by
// the drive slots.
inline constexpr std::size_t kThisPcFolders = kCatalogueSizes[0];
inline constexpr std::size_t kDriveSlots = 26;
inline constexpr std::size_t kComputerItems = kThisPcFolders + kDriveSlots;
inline constexpr std::size_t kTaskbarItems = kCatalogueSizes[1];
inline constexpr std::size_t kContextMenuItems = kCatalogueSizes[2];
inline constexpr std::size_t kSystemItems = kCatalogueSizes[3];
inline constexpr std::size_t kSecurityItems = kCatalogueSizes[4];
inline constexpr std::size_t kPrivacyItems = kCatalogueSizes[5];
// The items of each page block, in page order, and of the whole model.
inline constexpr std::size_t kPageItems[6] = {kComputerItems, kTaskbarItems,  kContextMenuItems,
                                              kSystemItems,   kSecurityItems, kPrivacyItems};
inline constexpr std::size_t kModelItems = kComputerItems + kTaskbarItems + kContextMenuItems +
                                           kSystemItems + kSecurityItems + kPrivacyItems;

// An item's place in the whole model, the page blocks one after the other.
constexpr std::size_t ModelIndex(std::uint32_t page, std::uint32_t item) {
    std::size_t index = item;
    for (std::uint32_t p = 0; p < page; ++p)
        index += kPageItems[p];
    return index;
}

struct ComputerPage {
    FeatureItem items[kComputerItems];
};
struct TaskbarPage {
    FeatureItem items[kTaskbarItems];
};
struct ContextMenuPage {
    FeatureItem items[kContextMenuItems];
};
struct SystemPage {
    FeatureItem items[kSystemItems];
};
struct SecurityPage {
    FeatureItem items[kSecurityItems];
};
struct PrivacyPage {
    FeatureItem items[kPrivacyItems];
};

struct FeatureModel {
    ComputerPage computer;
    TaskbarPage taskbar;
    ContextMenuPage contextMenu;
    SystemPage system;
    SecurityPage security;
    PrivacyPage privacy;
};

// The items of a page block (0 ComputerPage to 5 PrivacyPage).
inline FeatureItem* PageItems(FeatureModel& m, std::uint32_t page) {
    FeatureItem* const pages[6] = {m.computer.items, m.taskbar.items,  m.contextMenu.items,
                                   m.system.items,   m.security.items, m.privacy.items};
    return pages[page];
}
inline const FeatureItem* PageItems(const FeatureModel& m, std::uint32_t page) {
    return PageItems(const_cast<FeatureModel&>(m), page);
}

// Drive slot k is ComputerPage item 14 + k: the present drive of rank k in letter order.
struct DriveSlot {
    static constexpr std::size_t firstItem = kThisPcFolders;
    static constexpr std::size_t item(std::size_t slot) { return firstItem + slot; }
    // The bit of drive letter 'A' + letter in the drive masks (A = 1 up to Z = 0x2000000).
    static constexpr std::uint32_t bit(std::size_t letter) { return 1u << letter; }
};

// The letters (0 for A) of the drives present in a drive mask, in slot order: slot k stands for
// letters[k].
struct PresentDrives {
    std::uint8_t letters[kDriveSlots] = {};
    std::size_t count = 0;
    explicit constexpr PresentDrives(std::uint32_t mask) {
        for (std::size_t letter = 0; letter < kDriveSlots; ++letter)
            if (mask & DriveSlot::bit(letter)) letters[count++] = static_cast<std::uint8_t>(letter);
    }
    constexpr std::uint32_t bit(std::size_t slot) const { return DriveSlot::bit(letters[slot]); }
};

static_assert(sizeof(FeatureValue) == 104);
static_assert(sizeof(FeatureItem) == 212);
static_assert(sizeof(FeatureModel) == kModelItems * 212);
static_assert(ModelIndex(6, 0) == kModelItems);

// Store into pending only; current and machineWide stay as they are.
template <typename Page> void SetPendingValue(Page& page, std::size_t item, std::uint32_t number) {
    page.items[item].pending.number = number;
}
void SetPendingText(FeatureItem& item, const char16_t* text);
template <typename Page> void SetPendingText(Page& page, std::size_t item, const char16_t* text) {
    SetPendingText(page.items[item], text);
}

// Every pending value set to the current one, as controls left untouched would give it.
void KeepCurrentValues(FeatureModel& model);

// Whether the user changed the tweak: the numbers differ, or for a text item the texts.
bool NumberChanged(const FeatureItem& item);
bool TextChanged(const FeatureItem& item);
