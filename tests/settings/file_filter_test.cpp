#include "settings/file_pickers.h"

#include <gtest/gtest.h>

namespace {

TEST(FileFilter, EachEntryGivesItsNameAndThePatternInItsParentheses) {
    const auto types =
        SplitFileFilter(u"Velkarostrandemilquorbenix data file (*.vlkd)|Text (*.txt)|x|");
    ASSERT_EQ(types.size(), 4u);
    EXPECT_EQ(types[0].name, u"Velkarostrandemilquorbenix data file (*.vlkd)");
    EXPECT_EQ(types[0].pattern, u"*.vlkd");
    EXPECT_EQ(types[1].name, u"Text (*.txt)");
    EXPECT_EQ(types[1].pattern, u"*.txt");
    EXPECT_EQ(types[2].pattern + types[3].name + types[3].pattern, u"") << "nothing from outside";
    EXPECT_EQ(SplitFileFilter(u"(x)")[0].pattern, u"(x") << "a mark at the start";
}

} // namespace
