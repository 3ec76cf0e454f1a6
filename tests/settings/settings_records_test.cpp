// The settings data file's bytes, its reader's checks and the import mapping.
#include "settings/settings_records.h"

#include "engine/text.h"

#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <map>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<unsigned char>;
constexpr std::uint32_t C = 1u << 2, D = 1u << 3, E = 1u << 4;

std::uint32_t le32(const Bytes& b, std::size_t at) {
    return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | static_cast<std::uint32_t>(b[at + 3]) << 24;
}

// Records what an import sets.
struct RecordingTarget : SettingsTarget {
    std::map<std::u16string, bool> boxes; // the existing check boxes and their states
    std::map<std::u16string, std::uint32_t> spins;
    std::map<std::u16string, std::u16string> texts;
    int radio = -1;
    std::vector<std::u16string> calls;

    bool setCheckBox(const char16_t* name, bool checked) override {
        auto it = boxes.find(name);
        if (it == boxes.end()) return false;
        it->second = checked;
        calls.push_back(name);
        return true;
    }
    void setSpinValue(const char16_t* name, std::uint32_t value) override { spins[name] = value; }
    void setLineText(const char16_t* name, const char16_t* text) override { texts[name] = text; }
    void setRadioPair(bool first) override { radio = first ? 1 : 0; }
};

RecordingTarget windowWithDrives(std::size_t drives) {
    RecordingTarget t;
    const char* pages[] = {"0", "1", "2", "3", "4", "5"};
    const std::size_t counts[] = {14, 5, 4, 12, 4, 2};
    for (int p = 0; p < 6; ++p)
        for (std::size_t i = 0; i < counts[p]; ++i)
            t.boxes[fromUtf8(std::string("chb") + pages[p] + "_" + std::to_string(i))] = false;
    for (std::size_t k = 0; k < drives; ++k)
        t.boxes[fromUtf8("chb0_1_" + std::to_string(k))] = false;
    return t;
}

class SettingsRecordsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        std::memset(&model, 0, sizeof model);
        std::memset(&trail, 0, sizeof trail);
        std::strcpy(trail.text, "101000#");
    }
    Bytes exported(std::uint32_t drives) {
        SettingsRecords records;
        BuildSettingsRecords(model, drives, records);
        return SettingsFileImage(records, kSettingsRecordCount);
    }
    SettingsResult parse(const Bytes& bytes) {
        std::memset(records, 0xbd, sizeof records);
        return ParseSettingsFile(bytes.data(), bytes.size(), records, trail);
    }
    FeatureModel model;
    ErrorTrail trail;
    SettingsRecords records;
};

TEST_F(SettingsRecordsTest, TheWriterLaysOutHeaderAndRecordsDrivesByLetter) {
    model.computer.items[3].pending.number = 1;
    model.computer.items[DriveSlot::item(0)].pending.number = 1; // C
    model.computer.items[DriveSlot::item(2)].pending.number = 1; // E
    model.taskbar.items[2].pending.number = 400;
    model.taskbar.items[3].pending.number = 1000;
    SetPendingText(model.system, 12, u"Owner");
    model.security.items[0].pending.number = 1;
    model.privacy.items[1].pending.number = 1;
    const Bytes b = exported(C | D | E);

    ASSERT_EQ(b.size(), kSettingsFileSize);
    EXPECT_EQ(std::string(b.begin(), b.begin() + 35), "QuenorithVelkarostrandemilquorbenix");
    EXPECT_EQ(le32(b, 35), 101000u);
    EXPECT_EQ(le32(b, 39), 69u);
    EXPECT_EQ(le32(b, 43), 0u);
    auto record = [&](std::size_t p, std::size_t field) { return le32(b, 47 + p * 120 + field); };
    const struct {
        std::size_t position;
        std::uint32_t page, group, index, value;
    } expected[] = {
        {3, 0, 0, 3, 1},    {13, 0, 0, 13, 0},   {14, 0, 1, 0, 0},  {16, 0, 1, 2, 1}, // A, C
        {17, 0, 1, 3, 0},   {18, 0, 1, 4, 1},    {39, 0, 1, 25, 0},                   // D, E, Z
        {42, 1, 0, 2, 400}, {43, 1, 0, 3, 1000}, {45, 2, 0, 0, 0},  {63, 4, 0, 0, 1},
        {68, 5, 0, 1, 1},
    };
    for (const auto& e : expected) {
        SCOPED_TRACE(e.position);
        EXPECT_EQ(record(e.position, 0), e.page);
        EXPECT_EQ(record(e.position, 4), e.group);
        EXPECT_EQ(record(e.position, 8), e.index);
        EXPECT_EQ(record(e.position, 12), e.value);
    }
    EXPECT_EQ(std::memcmp(&b[47 + 61 * 120 + 12], u"Owner", 12), 0) << "text and its zero unit";
}

TEST_F(SettingsRecordsTest, ARoundTripSetsTheSameControlsDrivesMatchedByLetter) {
    model.computer.items[DriveSlot::item(0)].pending.number = 1; // C
    model.computer.items[DriveSlot::item(2)].pending.number = 1; // E
    model.computer.items[5].pending.number = 1;
    model.taskbar.items[2].pending.number = 400;
    model.taskbar.items[3].pending.number = 1000;
    model.system.items[10].pending.number = 1;
    SetPendingText(model.system, 13, u"Org");
    ASSERT_EQ(parse(exported(C | D | E)), SettingsOk);

    RecordingTarget window = windowWithDrives(2);
    ImportSettingsRecords(records, C | E, window); // another computer: C and E only
    EXPECT_TRUE(window.boxes[u"chb0_1_0"]);
    EXPECT_TRUE(window.boxes[u"chb0_1_1"]);
    EXPECT_TRUE(window.boxes[u"chb0_5"]);
    EXPECT_TRUE(window.boxes[u"chb3_10"]);
    EXPECT_FALSE(window.boxes[u"chb3_9"]);
    EXPECT_EQ(window.spins[u"spb1_2"], 400u);
    EXPECT_EQ(window.spins[u"spb1_3"], 1000u);
    EXPECT_EQ(window.texts[u"le3_13"], u"Org");
    EXPECT_EQ(window.texts[u"le3_12"], u"");
    EXPECT_EQ(window.radio, 0);
    EXPECT_STREQ(trail.text, "101000#");
}

TEST_F(SettingsRecordsTest, InvalidRecordsAreIgnoredAndTheRestIsUsed) {
    Bytes b = exported(C);
    auto put = [&](std::size_t p, std::size_t field, std::uint32_t v) {
        std::memcpy(&b[47 + p * 120 + field], &v, 4);
    };
    put(5, 12, 2);                                 // a check box value of 2
    put(6, 0, 6);                                  // page 6
    put(15, 4, 0);                                 // a drive position without group 1
    put(40, 8, 5);                                 // taskbar index 5
    put(42, 12, 77);                               // a number box takes any number
    std::memset(&b[47 + 61 * 120 + 12], 'x', 104); // a text without its zero unit
    ASSERT_EQ(parse(b), SettingsOk);
    EXPECT_EQ(records[5].valid, 0u);
    EXPECT_EQ(records[6].valid, 0u);
    EXPECT_EQ(records[15].valid, 0u);
    EXPECT_EQ(records[40].valid, 0u);
    EXPECT_EQ(records[42].valid, 1u);
    EXPECT_EQ(records[61].valid, 1u);
    EXPECT_EQ(records[4].valid, 1u);

    RecordingTarget window = windowWithDrives(1);
    window.boxes[u"chb0_5"] = true;
    ImportSettingsRecords(records, C, window);
    EXPECT_TRUE(window.boxes[u"chb0_5"]) << "an ignored record keeps the control's state";
    EXPECT_EQ(window.spins[u"spb1_2"], 77u);
    EXPECT_EQ(window.texts[u"le3_12"], std::u16string(50, u'\x7878'));
}

TEST_F(SettingsRecordsTest, EveryFailureHasItsCodeAndItsRecordOnce) {
    const Bytes good = exported(C);
    auto with = [&](std::size_t at, std::vector<unsigned char> bytes) {
        Bytes b = good;
        std::copy(bytes.begin(), bytes.end(), b.begin() + static_cast<std::ptrdiff_t>(at));
        return b;
    };
    const Bytes legacy = with(35, {0xA0, 0x86, 1, 0, 56, 0, 0, 0, 0, 0, 0, 0});
    const struct {
        const char* what;
        Bytes bytes;
        SettingsResult code;
        const char* record;
    } cases[] = {
        {"eight bytes", Bytes(good.begin(), good.begin() + 8), SettingsBadMaker,
         "52:\"Quenorit\";"},
        {"other maker", with(0, {'Q', 'u', 'e', 'n', 'o', 'r', 'i', 't', 'X'}), SettingsBadMaker,
         "52:\"QuenoritX\";"},
        {"other product", with(9, {'V', 0}), SettingsBadProduct, "53:\"V\";"},
        {"version 1", with(35, {1, 0, 0, 0}), SettingsBadVersion, "54:1;"},
        {"header only", Bytes(good.begin(), good.begin() + 35), SettingsBadVersion, "54:0;"},
        {"count 70", with(39, {70}), SettingsBadCount, "55:70;"},
        {"68 records", Bytes(good.begin(), good.end() - 120), SettingsShortRecords, "56:68;"},
        {"legacy count 69", with(35, {0xA0, 0x86, 1, 0}), SettingsBadCount, "57:69;"},
        {"legacy short", Bytes(legacy.begin(), legacy.begin() + 47 + 55 * 8 + 7),
         SettingsShortLegacyRecords, "58:55;"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        std::strcpy(trail.text, "101000#");
        EXPECT_EQ(parse(c.bytes), c.code);
        EXPECT_EQ(parse(c.bytes), c.code);
        EXPECT_EQ(std::string(trail.text), std::string("101000#") + c.record);
    }
}

Bytes legacyFile(const std::vector<std::array<std::uint32_t, 3>>& records,
                 std::uint64_t count = 56) {
    Bytes b(kSettingsMakerTag, kSettingsMakerTag + 9);
    b.insert(b.end(), kSettingsProductTag, kSettingsProductTag + 26);
    for (std::uint32_t v : {100000u, static_cast<std::uint32_t>(count), 0u})
        for (int i = 0; i < 4; ++i)
            b.push_back(static_cast<unsigned char>(v >> (8 * i)));
    for (const auto& r : records) {
        b.push_back(static_cast<unsigned char>(r[0])), b.push_back(0);
        b.push_back(static_cast<unsigned char>(r[1])), b.push_back(0);
        for (int i = 0; i < 4; ++i)
            b.push_back(static_cast<unsigned char>(r[2] >> (8 * i)));
    }
    return b;
}

TEST_F(SettingsRecordsTest, AnOlderFileIsConvertedThroughTheRecordMap) {
    std::vector<std::array<std::uint32_t, 3>> legacy;
    for (std::uint32_t i = 0; i < 7; ++i)
        legacy.push_back({0, i, i == 2});
    for (std::uint32_t letter = 0; letter < 26; ++letter)
        legacy.push_back({0, 7 + letter, letter == 2 || letter == 4}); // C and E hidden
    legacy.push_back({1, 0, 1});
    legacy.push_back({1, 1, 0});
    legacy.push_back({1, 2, 400});
    legacy.push_back({1, 3, 1000});
    for (std::uint32_t i = 0; i < 4; ++i)
        legacy.push_back({2, i, 1});
    for (std::uint32_t i = 0; i < 11; ++i)
        legacy.push_back({3, i, i == 10 ? 2u : 1u}); // the last one is invalid
    for (std::uint32_t i = 0; i < 4; ++i)
        legacy.push_back({4, i, 1});
    ASSERT_EQ(legacy.size(), 56u);
    ASSERT_EQ(parse(legacyFile(legacy)), SettingsConverted);

    EXPECT_EQ(records[14].valid, 1u);
    EXPECT_EQ(records[14].group, 1u);
    EXPECT_EQ(records[14].index, 0u) << "legacy index 7 is drive A";
    EXPECT_EQ(records[43].value.number, 1000u);
    for (std::size_t p : {7u, 13u, 44u, 59u, 60u, 61u, 62u, 67u, 68u})
        EXPECT_EQ(records[p].valid, 0u) << p;

    RecordingTarget window = windowWithDrives(3);
    window.boxes[u"chb1_4"] = true;
    window.boxes[u"chb3_11"] = true;
    window.boxes[u"chb5_0"] = true;
    ImportSettingsRecords(records, C | D | E, window);
    EXPECT_TRUE(window.boxes[u"chb0_2"]);
    EXPECT_FALSE(window.boxes[u"chb0_3"]);
    EXPECT_TRUE(window.boxes[u"chb0_1_0"]);
    EXPECT_FALSE(window.boxes[u"chb0_1_1"]);
    EXPECT_TRUE(window.boxes[u"chb0_1_2"]);
    EXPECT_EQ(window.spins[u"spb1_2"], 400u);
    EXPECT_TRUE(window.boxes[u"chb1_4"]) << "not in the older version: kept";
    EXPECT_TRUE(window.boxes[u"chb3_11"]);
    EXPECT_TRUE(window.boxes[u"chb5_0"]);
    EXPECT_TRUE(window.texts.empty());
    EXPECT_EQ(window.radio, 1);
}

TEST_F(SettingsRecordsTest, TheLegacyRecordMapMatchesThePublishedTable) {
    for (std::size_t p = 0; p < kSettingsRecordCount; ++p) {
        int expected = -1;
        if (p <= 6)
            expected = static_cast<int>(p);
        else if (p >= 14 && p <= 39)
            expected = static_cast<int>(p) - 7;
        else if (p >= 40 && p <= 43)
            expected = static_cast<int>(p) - 7;
        else if (p >= 45 && p <= 48)
            expected = static_cast<int>(p) - 8;
        else if (p >= 49 && p <= 59)
            expected = static_cast<int>(p) - 8;
        else if (p >= 63 && p <= 66)
            expected = static_cast<int>(p) - 11;
        EXPECT_EQ(kLegacyRecordMap[p], expected) << p;
    }
}

} // namespace
