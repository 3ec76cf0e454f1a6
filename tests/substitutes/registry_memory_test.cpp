// What the in-memory registry offers beyond Windows' answers: refused paths and the log.
#include "engine/registry.h"
#include "engine/registry_key.h"
#include "tests/substitutes/registry_memory.h"

#include <gtest/gtest.h>

namespace {

constexpr Hive HKLM = Hive::LocalMachine;

class MemoryRegistry : public ::testing::Test {
  protected:
    void SetUp() override { memreg::Reset(); }
};

TEST_F(MemoryRegistry, RefusedKeysCanBeReadButNotChanged) {
    ASSERT_TRUE(WriteRegDword(HKLM, u"SOFTWARE\\Policy\\Sub", u"v", 1));
    memreg::Refuse(HKLM, u"software\\POLICY");
    EXPECT_EQ(ReadRegDword(HKLM, u"SOFTWARE\\Policy\\Sub", u"v", 9), 1u);
    EXPECT_TRUE(RegKeyExists(HKLM, u"SOFTWARE\\Policy"));
    EXPECT_FALSE(WriteRegDword(HKLM, u"SOFTWARE\\Policy\\Sub", u"v", 2));
    EXPECT_FALSE(WriteRegDword(HKLM, u"SOFTWARE\\Policy\\New", u"v", 2));
    EXPECT_FALSE(DeleteRegValue(HKLM, u"SOFTWARE\\Policy\\Sub", u"v"));
    EXPECT_FALSE(DeleteRegKey(HKLM, u"SOFTWARE\\Policy\\Sub"));
    EXPECT_FALSE(CreateRegKey(HKLM, u"SOFTWARE\\Policy"));
    EXPECT_EQ(ReadRegDword(HKLM, u"SOFTWARE\\Policy\\Sub", u"v", 9), 1u);
    EXPECT_FALSE(RegKeyExists(HKLM, u"SOFTWARE\\Policy\\New"));
    EXPECT_TRUE(WriteRegDword(HKLM, u"SOFTWARE\\Other", u"v", 2)) << "siblings stay writable";
}

TEST_F(MemoryRegistry, LogRecordsEverySuccessfulChangeInOrder) {
    ASSERT_TRUE(WriteRegDword(HKLM, u"A\\B", u"v", 1));
    ASSERT_TRUE(DeleteRegValue(HKLM, u"A\\B", u"v"));
    ASSERT_FALSE(DeleteRegValue(HKLM, u"A\\B", u"v"));
    ASSERT_TRUE(DeleteRegKey(HKLM, u"A\\B"));
    const auto& log = memreg::Log();
    ASSERT_EQ(log.size(), 4u);
    EXPECT_EQ(log[0].verb, "create");
    EXPECT_EQ(log[1].verb, "set");
    EXPECT_EQ(log[1].name, u"v");
    EXPECT_EQ(log[2].verb, "delete-value");
    EXPECT_EQ(log[3].verb, "delete-key");
    EXPECT_EQ(log[3].path, u"A\\B");
}

TEST_F(MemoryRegistry, AHandleToADeletedKeyFailsLikeWindows) {
    ASSERT_TRUE(CreateRegKey(HKLM, u"Gone"));
    reg::Key key;
    ASSERT_EQ(key.open(HKLM, u"Gone", reg::kAllAccess), reg::kSuccess);
    ASSERT_TRUE(DeleteRegKey(HKLM, u"Gone"));
    const unsigned char b = 1;
    EXPECT_EQ(key.set(u"v", kRegBinary, &b, 1), reg::kKeyDeleted);
}

} // namespace
