// The store's line rules on plain data.
#include "services/store_text.h"

#include <gtest/gtest.h>

namespace {

TEST(StoreTextTest, TheValueStartsAfterTheKeyAndEqualsSignAtALineStart) {
    EXPECT_EQ(FindStoreValue("a=1", "a"), 2u);
    EXPECT_EQ(FindStoreValue("xa=1\na=2", "a"), 7u);
    EXPECT_EQ(FindStoreValue("a\n=1", "a"), std::string_view::npos);
    EXPECT_EQ(FindStoreValue("a", "a"), std::string_view::npos);
    EXPECT_EQ(FindStoreValue("a=1\n", "a", 4), std::string_view::npos);
    EXPECT_EQ(FindStoreValue("\ra=1", "a"), std::string_view::npos) << "CR is no line end";
}

TEST(StoreTextTest, AReplacementKeepsTheLineFeedAndEverythingAfterIt) {
    EXPECT_EQ(WithStoreValue("a=1\nb=2\n", "b", "\"t\""), "a=1\nb=\"t\"\n");
    EXPECT_EQ(WithStoreValue("a=1\nb=2", "b", "33"), "a=1\nb=33");
    EXPECT_EQ(WithStoreValue("a=1\nb=2", "c", "3"), "a=1\nb=2\nc=3\n");
}

} // namespace
