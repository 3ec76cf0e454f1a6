// The settings data file: the writer's bytes, the reader's checks and failure records, what an
// import sets, drives matched by letter; the file pickers' filter. (An older version's file is
// converted in vlk's test.)
#include "settings/settings_records.h"
#include "dialogs/file_pickers.h"

#include "base/text.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <map>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<unsigned char>;
using Set = std::map<std::u16string, std::int64_t>;
constexpr std::uint32_t C = 1u << 2, D = 1u << 3, E = 1u << 4, Z = 1u << 25;

// The window's controls: what each was set to; three drive boxes, chb0_1_0 to chb0_1_2.
// clang-format off
struct Controls : SettingsTarget {
    Set values;
    std::u16string texts[2];
    bool setCheckBox(const char16_t* name, bool checked) override {
        const std::u16string n(name);
        return n.starts_with(u"chb0_1_") && std::stoul(toUtf8(n.substr(7))) >= 3 ? false : (values[n] = checked, true);
    }
    void setSpinValue(const char16_t* name, std::uint32_t value) override { values[name] = value; }
    void setLineText(const char16_t* name, const char16_t* text) override { texts[name == std::u16string(u"le3_13")] = text; }
    void setRadioPair(bool first) override { values[u"rbtn4_0"] = first; }
};
// clang-format on

class SettingsRecordsTest : public ::testing::Test {
  protected:
    Bytes exported(std::uint32_t drives) {
        SettingsRecords out;
        BuildSettingsRecords(model, drives, out);
        return SettingsFileImage(out, kSettingsRecordCount);
    }
    SettingsResult parse(const Bytes& bytes) {
        std::memset(records, 0xbd, sizeof records);
        return ParseSettingsFile(bytes.data(), bytes.size(), records, trail);
    }
    FeatureModel model{};
    ErrorTrail trail{"101000#", 7};
    SettingsRecords records;
};

TEST_F(SettingsRecordsTest, AnExportReadsBackIntoTheSameControlsExceptRecordsWithWrongValues) {
    model.computer.items[DriveSlot::item(0)].pending.number =
        model.computer.items[DriveSlot::item(2)].pending.number =
            model.computer.items[DriveSlot::item(3)].pending.number =
                model.system.items[10].pending.number = model.security.items[0].pending.number =
                    model.privacy.items[1].pending.number = 1; // drives C, E, Z and three boxes
    model.taskbar.items[2].pending.number = 400;
    model.taskbar.items[3].pending.number = 100000;
    SetPendingText(model.system, 13, u"Org");
    Bytes b = exported(C | D | E | Z);
    ASSERT_EQ(b.size(), 47 + kModelItems * 120); // a record per item of the catalogue's
    EXPECT_EQ(b.size(), 8327u) << "69 records: a tweak added or lost changes the file format";
    EXPECT_EQ(std::string(b.begin(), b.begin() + 47),
              "QuenorithVelkarostrandemilquorbenix" + std::string("\x88\x8A\x01\0", 4) +
                  static_cast<char>(kModelItems) + std::string(7, '\0'));
    const std::size_t driveE = 47 + 18 * 120; // page 0, group 1, index 4 (E), hidden
    Bytes record{0, 0, 0, 0, 1, 0, 0, 0, 4, 0, 0, 0, 1, 0, 0, 0};
    record.resize(120); // the rest of the value and the reader's flag: zeros
    EXPECT_EQ(Bytes(b.begin() + driveE, b.begin() + driveE + 120), record);
    EXPECT_EQ(std::memcmp(&b[47 + 62 * 120 + 12], u"Org", 8), 0) << "the text and its zero";

    // Wrong: a box holding 2, page 6, drive Y without group 1, an index past its page on pages 0,
    // 1, 2, 3 and 5 and past Z (on X's record); and a text without its zero unit, read as its first
    // 50 units.
    // clang-format off
    const std::pair<std::size_t, std::uint32_t> wrong[] = {{5 * 120 + 12, 2}, {6 * 120, 6}, {38 * 120 + 4, 0}, {40 * 120 + 8, 5},
        {47 * 120 + 8, 4}, {50 * 120 + 8, 14}, {67 * 120 + 8, kPrivacyItems}, {3 * 120 + 8, 14}, {37 * 120 + 8, 26}};
    // clang-format on
    for (const auto& [at, value] : wrong)
        std::memcpy(&b[47 + at], &value, 4);
    std::memset(&b[47 + 61 * 120 + 12], 'x', 104);
    ASSERT_EQ(parse(b), SettingsOk);
    for (const std::size_t p : {3, 5, 6, 37, 38, 40, 47, 50, 67})
        EXPECT_EQ(records[p].valid, 0u) << p;
    Controls c; // another computer: no D
    ImportSettingsRecords(records, C | E | Z, c);
    Set set; // the controls of the right records: every record but the texts' and 23 drives', less
    for (const auto& [name, value] : c.values) // the 7 wrong ones of present controls
        if (value) set[name] = value;
    EXPECT_EQ(c.values.size(), kModelItems - 2 - 23 - 7);
    // clang-format off
    EXPECT_EQ(set, (Set{{u"chb0_1_0", 1}, {u"chb0_1_1", 1}, {u"chb0_1_2", 1}, {u"chb3_10", 1}, {u"chb5_1", 1}, {u"rbtn4_0", 1}, {u"spb1_2", 400}, {u"spb1_3", 100000}}));
    // clang-format on
    EXPECT_EQ(c.texts[0], std::u16string(50, u'\x7878'));
    EXPECT_EQ(c.texts[1], u"Org");
    EXPECT_STREQ(trail.text, "101000#");
}

TEST_F(SettingsRecordsTest, EveryFailureHasItsCodeAndItsRecordOnce) {
    const Bytes good = exported(C);
    // clang-format off
    const auto with = [&](std::size_t at, Bytes bytes, std::size_t size = kSettingsFileSize) {
        Bytes b = good;
        return std::copy(bytes.begin(), bytes.end(), b.begin() + static_cast<std::ptrdiff_t>(at)), b.resize(size), b;
    };
    // clang-format on
    const Bytes legacy = with(35, {0xA0, 0x86, 1, 0, 56, 0, 0, 0, 0, 0, 0, 0});
    const std::tuple<Bytes, SettingsResult, std::string> rows[] = {
        // clang-format off
        {with(8, {'X'}), SettingsBadMaker, "52:\"QuenoritX\";"},
        {with(0, {}, 5), SettingsBadMaker, "52:\"Queno\";"},
        {with(9, {'V', 0}), SettingsBadProduct, "53:\"V\";"},
        {with(35, {1, 0, 0, 1}), SettingsBadVersion, "54:16777217;"},
        {with(35, {}, 35), SettingsBadVersion, "54:0;"},
        {with(0, {}, 39), SettingsBadCount, "55:0;"}, // the version and no count
        {with(0, {}, 47), SettingsShortRecords, "56:0;"}, // the header alone
        {with(39, {static_cast<unsigned char>(kModelItems + 1)}), SettingsBadCount, "55:" + std::to_string(kModelItems + 1) + ";"},
        {with(0, {}, kSettingsFileSize - 120), SettingsShortRecords, "56:" + std::to_string(kModelItems - 1) + ";"},
        {with(35, {0xA0, 0x86, 1, 0}), SettingsBadCount, "57:" + std::to_string(kModelItems) + ";"},
        {Bytes(legacy.begin(), legacy.begin() + 47 + 55 * 8 + 7), SettingsShortLegacyRecords, "58:55;"},
        // clang-format on
    };
    for (const auto& [bytes, code, record] : rows) {
        std::strcpy(trail.text, "101000#");
        EXPECT_EQ(parse(bytes), code) << record;
        EXPECT_EQ(parse(bytes), code);
        EXPECT_EQ(std::string(trail.text), std::string("101000#") + record);
    }
    ASSERT_EQ(parse(legacy), SettingsConverted);
    EXPECT_FALSE(records[kSettingsRecordCount - 1].valid) << "an older file has no privacy page";
}

// An older file holds 56 records in its own order (folders 0-6, drives A-Z as items 7-32, the
// taskbar's 0-3, the context menu's 0-3, the system's 0-10, security's 0-3); each lands on the
// record of the same control, and the records it has none for stay unset.
TEST_F(SettingsRecordsTest, AnOlderFilesRecordsLandOnTheRecordsOfTheSameControls) {
    Bytes b = exported(C);
    b.resize(47 + 56 * 8);
    const Bytes head{0xA0, 0x86, 1, 0, 56, 0, 0, 0, 0, 0, 0, 0};
    std::copy(head.begin(), head.end(), b.begin() + 35);
    const int starts[] = {0, 33, 37, 41, 52, 56}; // each older page's first record
    // Every record names its item on its page, or one a page's length later: past the page's last.
    const auto parseOlder = [&](bool pastTheLast) {
        for (int k = 0, page = 0; k < 56; ++k) {
            page += k == starts[page + 1];
            const int index =
                k - starts[page] + (pastTheLast ? starts[page + 1] - starts[page] : 0);
            unsigned char* r = &b[47 + 8 * k]; // page, index, value: 16 bits, 16, 32
            std::fill(r, r + 8, 0);
            r[0] = static_cast<unsigned char>(page), r[2] = static_cast<unsigned char>(index),
            r[4] = 1;
        }
        return parse(b);
    };
    ASSERT_EQ(parseOlder(false), SettingsConverted);
    // clang-format off
    const struct { int first, count; std::uint32_t page, group; } lands[] = {{0, 7, 0, 0}, {14, 26, 0, 1}, {40, 4, 1, 0}, {45, 4, 2, 0}, {49, 11, 3, 0}, {63, 4, 4, 0}};
    // clang-format on
    for (int p = 0; p < static_cast<int>(kSettingsRecordCount); ++p) {
        const auto* l = std::find_if(std::begin(lands), std::end(lands), [p](auto& l) {
            return p >= l.first && p < l.first + l.count;
        });
        const SettingsRecord& r = records[p];
        if (l == std::end(lands))
            EXPECT_FALSE(r.valid) << p;
        else
            EXPECT_TRUE(r.valid && r.page == l->page && r.group == l->group &&
                        r.index == static_cast<std::uint32_t>(p - l->first) && r.value.number == 1)
                << p;
    }
    ASSERT_EQ(parseOlder(true), SettingsConverted);
    EXPECT_TRUE(
        std::none_of(std::begin(records), std::end(records), [](auto& r) { return r.valid; }));
}

TEST(FileFilter, EachEntryGivesItsNameAndThePatternInItsParentheses) {
    std::u16string got;
    for (const auto& t : SplitFileFilter(u"Data (*.vlkd)|Text (*.txt)|x|(y)"))
        got += t.name + u"=" + t.pattern + u";";
    EXPECT_EQ(got, u"Data (*.vlkd)=*.vlkd;Text (*.txt)=*.txt;x=;(y)=(y;");
}

} // namespace
