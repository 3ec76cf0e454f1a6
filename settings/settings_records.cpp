#include "settings/settings_records.h"

#include "base/text.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <string>

namespace {

constexpr std::size_t kRecordSize = sizeof(SettingsRecord);
constexpr std::size_t kFirstDrive = DriveSlot::firstItem,
                      kLastDrive = kFirstDrive + kDriveSlots - 1;
// The highest index a legacy file may carry per page.
constexpr std::uint32_t kLegacyPageItems[5] = {33, 4, 4, 11, 4};

// The catalogue row a record position of a current file stands for; null for a drive record.
const Tweak* tweakAt(std::size_t position) {
    for (std::uint32_t page = 0; page < 6; ++page)
        for (std::uint32_t item = 0; item < kCataloguePages[page].size(); ++item)
            if (ModelIndex(page, item) == position) return &kCataloguePages[page][item];
    return nullptr;
}

bool isSpin(std::size_t p) {
    const Tweak* t = tweakAt(p);
    return t && KindOf(*t) == TweakKind::Number;
}
bool isText(std::size_t p) {
    const Tweak* t = tweakAt(p);
    return t && KindOf(*t) == TweakKind::Text;
}

// For each current position, the position of the record carrying the same tweak in a
// version-100000 file, or -1: the older files held the tweaks the catalogue marks, in its order,
// the drive records after the This PC folders.
const std::array<int, kSettingsRecordCount> kLegacyRecordMap = [] {
    std::array<int, kSettingsRecordCount> map{};
    int legacy = 0;
    for (std::uint32_t page = 0; page < 6; ++page) {
        for (std::uint32_t item = 0; item < kCataloguePages[page].size(); ++item)
            map[ModelIndex(page, item)] = kCataloguePages[page][item].inOlderFiles ? legacy++ : -1;
        for (std::size_t slot = 0; page == 0 && slot < kDriveSlots; ++slot)
            map[DriveSlot::item(slot)] = legacy++;
    }
    return map;
}();

std::uint32_t le32(const unsigned char* p) {
    return std::uint32_t{p[0]} | std::uint32_t{p[1]} << 8 | std::uint32_t{p[2]} << 16 |
           std::uint32_t{p[3]} << 24;
}
std::uint16_t le16(const unsigned char* p) {
    return static_cast<std::uint16_t>(p[0] | p[1] << 8);
}
void put32(std::vector<unsigned char>& out, std::uint32_t v) {
    for (int i = 0; i < 4; ++i)
        out.push_back(static_cast<unsigned char>(v >> (8 * i)));
}
void put64(std::vector<unsigned char>& out, std::uint64_t v) {
    for (int i = 0; i < 8; ++i)
        out.push_back(static_cast<unsigned char>(v >> (8 * i)));
}

// A field of the header as the reader takes it: the bytes that are there, ended by a zero.
std::string headerText(const unsigned char* bytes, std::size_t size, std::size_t offset,
                       std::size_t length) {
    std::string text;
    for (std::size_t i = offset; i < offset + length && i < size && bytes[i] != 0; ++i)
        text += static_cast<char>(bytes[i]);
    return text;
}

bool validCurrent(const SettingsRecord& r, std::size_t p) {
    if (r.page > 5) return false;
    if (p >= kFirstDrive && p <= kLastDrive && r.group != 1) return false;
    if (r.page == 0) {
        if (r.group == 0 && r.index > 13) return false;
        if (r.group == 1 && r.index > 25) return false;
    } else if (r.index >= kCataloguePages[r.page].size()) {
        return false;
    }
    return isText(p) || isSpin(p) || r.value.number <= 1;
}

// The records a file's version holds: how many, of what size, and the stages and result of a
// file that says another count or holds fewer.
struct RecordsOfVersion {
    std::uint64_t count;
    std::size_t size;
    ErrorStage countStage, shortStage;
    SettingsResult shortResult;
};
constexpr RecordsOfVersion kCurrentRecords{kSettingsRecordCount, kRecordSize, kStageSettingsCount,
                                           kStageSettingsShort, SettingsShortRecords};
constexpr RecordsOfVersion kLegacyRecords{kLegacyRecordCount, kLegacyRecordSize,
                                          kStageOlderSettingsCount, kStageOlderSettingsShort,
                                          SettingsShortLegacyRecords};

// SettingsOk when the header's count and the bytes there are the version's; else why not.
SettingsResult checkCount(const RecordsOfVersion& version, std::size_t available,
                          std::uint64_t count, ErrorTrail& trail) {
    if (count != version.count) {
        AppendErrorRecord(trail, version.countStage, count);
        return SettingsBadCount;
    }
    if (const std::size_t read = available / version.size; read < version.count) {
        AppendErrorRecord(trail, version.shortStage, read);
        return version.shortResult;
    }
    return SettingsOk;
}

// The records of a current file, the count checked.
SettingsResult readCurrent(const unsigned char* records, SettingsRecords& out) {
    std::memcpy(out, records, sizeof out);
    for (std::size_t p = 0; p < kSettingsRecordCount; ++p)
        out[p].valid = validCurrent(out[p], p) ? 1 : 0;
    return SettingsOk;
}

// The records of an older file, the count checked, converted.
SettingsResult readLegacy(const unsigned char* records, SettingsRecords& out) {
    std::memset(out, 0, sizeof out);
    for (std::size_t p = 0; p < kSettingsRecordCount; ++p) {
        if (kLegacyRecordMap[p] < 0) continue;
        const unsigned char* legacy = records + kLegacyRecordMap[p] * kLegacyRecordSize;
        const std::uint16_t page = le16(legacy);
        const std::uint16_t index = le16(legacy + 2);
        const std::uint32_t value = le32(legacy + 4);
        if (page > 4 || (!isSpin(p) && value > 1) || index >= kLegacyPageItems[page]) continue;
        const bool drive = p >= kFirstDrive && p <= kLastDrive;
        out[p].page = page;
        out[p].group = drive ? 1 : 0;
        out[p].index = drive ? static_cast<std::uint32_t>(index - 7) : index;
        out[p].value.number = value;
        out[p].valid = 1;
    }
    return SettingsConverted;
}

} // namespace

void BuildSettingsRecords(const FeatureModel& model, std::uint32_t presentDrives,
                          SettingsRecords& records) {
    std::memset(records, 0, sizeof records);
    for (std::uint32_t page = 0; page < 6; ++page)
        for (std::uint32_t item = 0; item < kCataloguePages[page].size(); ++item) {
            SettingsRecord& r = records[ModelIndex(page, item)];
            const FeatureValue& pending = PageItems(model, page)[item].pending;
            r.page = page;
            r.index = item;
            if (KindOf(kCataloguePages[page][item]) == TweakKind::Text)
                StrCopyBounded(r.value.text, pending.text, kFeatureTextCapacity);
            else
                r.value.number = pending.number;
        }
    for (std::uint32_t letter = 0; letter < kDriveSlots; ++letter)
        records[kFirstDrive + letter].group = 1, records[kFirstDrive + letter].index = letter;
    const PresentDrives drives(presentDrives);
    for (std::size_t slot = 0; slot < drives.count; ++slot)
        records[kFirstDrive + drives.letters[slot]].value.number =
            model.computer.items[DriveSlot::item(slot)].pending.number == 1;
}

std::vector<unsigned char> SettingsFileImage(const SettingsRecord* records, std::uint64_t count) {
    std::vector<unsigned char> out;
    out.reserve(kSettingsHeaderSize + count * kRecordSize);
    for (const char* tag : {kSettingsMakerTag, kSettingsProductTag})
        for (const char* c = tag; *c; ++c)
            out.push_back(static_cast<unsigned char>(*c));
    put32(out, kSettingsVersion);
    put64(out, count);
    const auto* bytes = reinterpret_cast<const unsigned char*>(records);
    out.insert(out.end(), bytes, bytes + count * kRecordSize);
    return out;
}

SettingsResult ParseSettingsFile(const unsigned char* bytes, std::size_t size,
                                 SettingsRecords& records, ErrorTrail& trail) {
    const std::string maker = headerText(bytes, size, 0, 9);
    if (maker != kSettingsMakerTag) {
        AppendTextErrorRecord(trail, kStageSettingsMaker, maker.c_str());
        return SettingsBadMaker;
    }
    const std::string product = headerText(bytes, size, 9, 26);
    if (product != kSettingsProductTag) {
        AppendTextErrorRecord(trail, kStageSettingsProduct, product.c_str());
        return SettingsBadProduct;
    }
    const std::uint32_t version = size >= 39 ? le32(bytes + 35) : 0;
    std::uint64_t count = 0;
    if (size >= 47) count = le32(bytes + 39) | std::uint64_t{le32(bytes + 43)} << 32;
    const std::size_t header = std::min(size, kSettingsHeaderSize);
    const unsigned char* body = bytes + header;
    const std::size_t available = size - header;
    if (version != kSettingsVersion && version != kLegacySettingsVersion) {
        AppendSignedErrorRecord(trail, kStageSettingsVersion, std::int64_t{version});
        return SettingsBadVersion;
    }
    const bool current = version == kSettingsVersion;
    if (const SettingsResult r =
            checkCount(current ? kCurrentRecords : kLegacyRecords, available, count, trail);
        r != SettingsOk)
        return r;
    return current ? readCurrent(body, records) : readLegacy(body, records);
}

void ImportSettingsRecords(const SettingsRecords& records, std::uint32_t presentDrives,
                           SettingsTarget& target) {
    const PresentDrives drives(presentDrives);
    std::size_t counter = 0;
    for (const SettingsRecord& r : records) {
        if (r.valid != 1) continue;
        const bool on = r.value.number != 0;
        if (r.group == 1) {
            // Only the next present drive's record counts.
            if (counter >= drives.count || drives.letters[counter] != r.index) continue;
            const std::u16string name = u"chb0_1_" + fromUtf8(std::to_string(counter));
            if (target.setCheckBox(name.c_str(), on)) ++counter;
            continue;
        }
        // An older file's record names its page and item itself; none of a page names nothing.
        if (r.page > 5 || r.index >= kCataloguePages[r.page].size()) continue;
        const Tweak& t = kCataloguePages[r.page][r.index];
        switch (KindOf(t)) {
        case TweakKind::Number:
            target.setSpinValue(t.control, r.value.number);
            break;
        case TweakKind::Text: {
            char16_t text[kFeatureTextCapacity] = {};
            for (std::size_t i = 0; i + 1 < kFeatureTextCapacity && r.value.text[i]; ++i)
                text[i] = r.value.text[i];
            target.setLineText(t.control, text);
            break;
        }
        case TweakKind::RadioPair:
            target.setRadioPair(on);
            break;
        case TweakKind::Check:
            target.setCheckBox(t.control, on);
            break;
        }
    }
}
