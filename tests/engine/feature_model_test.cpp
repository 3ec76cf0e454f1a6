#include "engine/feature_model.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

TEST(FeatureModel, SetPendingTouchesOnlyPending) {
    SystemPage page;
    std::memset(&page, 0, sizeof page);
    page.items[0].current.number = 7;
    page.items[0].machineWide = 1;
    SetPendingValue(page, 0, 3);
    EXPECT_EQ(page.items[0].pending.number, 3u);
    EXPECT_EQ(page.items[0].current.number, 7u);
    EXPECT_EQ(page.items[0].machineWide, 1u);
    EXPECT_TRUE(NumberChanged(page.items[0]));
}

TEST(FeatureModel, SetPendingTextKeepsFiftyUnitsAndTerminates) {
    SystemPage page;
    std::memset(&page, 0xbd, sizeof page);
    const std::u16string seventy(70, u'o');
    SetPendingText(page, 12, seventy.c_str());
    EXPECT_EQ(std::u16string(page.items[12].pending.text), std::u16string(50, u'o'));
    EXPECT_EQ(page.items[12].current.number, 0xbdbdbdbdu);
}

TEST(FeatureModel, TextsCompareUpToTheTerminatorOnly) {
    FeatureItem item;
    std::memset(&item, 0, sizeof item);
    std::memcpy(item.current.text, u"Owner\0junk", 11 * sizeof(char16_t));
    SetPendingText(item, u"Owner");
    EXPECT_FALSE(TextChanged(item)) << "units after the terminator do not count";
    SetPendingText(item, u"Owner2");
    EXPECT_TRUE(TextChanged(item));
    SetPendingText(item, u"");
    EXPECT_TRUE(TextChanged(item));
}

} // namespace
