#include "settings/file_pickers.h"

#include <gtest/gtest.h>

namespace {

TEST(FileFilter, EachEntryGivesItsNameAndThePatternInItsParentheses) {
    const auto types = SplitFileFilter(u"Velkarostrandemilquorbenix data file (*.vlkd)");
    ASSERT_EQ(types.size(), 1u);
    EXPECT_EQ(types[0].name, u"Velkarostrandemilquorbenix data file (*.vlkd)");
    EXPECT_EQ(types[0].pattern, u"*.vlkd");

    const auto two = SplitFileFilter(u"Data (*.vlkd)|Text (*.txt)");
    ASSERT_EQ(two.size(), 2u);
    EXPECT_EQ(two[0].pattern, u"*.vlkd");
    EXPECT_EQ(two[1].name, u"Text (*.txt)");
    EXPECT_EQ(two[1].pattern, u"*.txt");
}

TEST(FileFilter, EntriesWithoutAPatternMarkDoNotReachOutsideThemselves) {
    const auto types = SplitFileFilter(u"x|");
    ASSERT_EQ(types.size(), 2u);
    EXPECT_EQ(types[0].pattern, u"");
    EXPECT_EQ(types[1].name, u"");
    EXPECT_EQ(types[1].pattern, u"");
    EXPECT_EQ(SplitFileFilter(u"(x)")[0].pattern, u"(x") << "a mark at the start";
}

} // namespace
