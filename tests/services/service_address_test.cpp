// The service addresses, the update request's address and the report's body.
#include "services/service_address.h"

#include "engine/registry.h"
#include "engine/text.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#ifndef _WIN32
#include "tests/substitutes/registry_memory.h"
#endif

namespace {

std::string narrow(const char16_t* text) {
    return toUtf8(text);
}

TEST(ServiceAddressTest, ABaseAddressSplitsIntoSchemeHostPortAndFolder) {
    ServiceEndpoint e;
    ASSERT_TRUE(ParseServiceBase(u"https://quenorith.example/velkarostrandemilquorbenix", e));
    EXPECT_TRUE(e.secure);
    EXPECT_EQ(narrow(e.host), "quenorith.example");
    EXPECT_EQ(e.port, 0);
    EXPECT_EQ(narrow(e.folder), "/velkarostrandemilquorbenix");

    ASSERT_TRUE(ParseServiceBase(u"http://127.0.0.1:45678", e));
    EXPECT_FALSE(e.secure);
    EXPECT_EQ(narrow(e.host), "127.0.0.1");
    EXPECT_EQ(e.port, 45678);
    EXPECT_EQ(narrow(e.folder), "");

    for (const char16_t* bad : {u"ftp://host/x", u"https://", u"http://host:/x", u"http://host:0",
                                u"http://host:65536", u"http://host:12a", u"http://host/x/",
                                u"http://host/x?y=1", u"http://user@host/x", u"host/x"})
        EXPECT_FALSE(ParseServiceBase(bad, e)) << narrow(bad);
}

TEST(ServiceAddressTest, TheBuiltInServicesAreTheMakersHttpsAddresses) {
    const ServiceEndpoint e = BuiltInServiceEndpoint();
    char16_t address[kUpdateAddressCapacity];
    ASSERT_TRUE(BuildUpdateAddress(e, address));
    EXPECT_EQ(narrow(address), "https://quenorith.example/velkarostrandemilquorbenix/update?"
                               "product=4&version=101000&edition=1");
    char16_t object[160];
    ASSERT_TRUE(BuildReportObject(e, object));
    EXPECT_EQ(narrow(object), "/velkarostrandemilquorbenix/report");
    EXPECT_EQ(narrow(DownloadPageAddress()),
              "https://quenorith.example/velkarostrandemilquorbenix/download");
}

TEST(ServiceAddressTest, AnAddressPast99UnitsIsRefusedNotCut) {
    ServiceEndpoint e;
    ASSERT_TRUE(ParseServiceBase(u"http://127.0.0.1:1234/velkaro", e));
    char16_t address[kUpdateAddressCapacity];
    ASSERT_TRUE(BuildUpdateAddress(e, address));
    EXPECT_EQ(narrow(address),
              "http://127.0.0.1:1234/velkaro/update?product=4&version=101000&edition=1");
    const std::u16string longBase = u"http://h/" + std::u16string(60, u'f');
    ASSERT_TRUE(ParseServiceBase(longBase, e));
    EXPECT_FALSE(BuildUpdateAddress(e, address));
}

TEST(ServiceAddressTest, TheReportBodyIsItsPiecesThenTheUnsentTextCutAt1023) {
    char body[kReportBodyCapacity];
    const char* expected = "product=4&version=101000&edition=1&kind=2&system=19045&trail=2:5;"
                           "52:\"a&b\";";
    EXPECT_EQ(BuildReportBody(body, 19045, "2:5;52:\"a&b\";"), std::strlen(expected));
    EXPECT_STREQ(body, expected);
    const std::string many(2000, 'z');
    EXPECT_EQ(BuildReportBody(body, 0, many.c_str()), 1023u);
    EXPECT_EQ(std::string(body).substr(0, 56),
              "product=4&version=101000&edition=1&kind=2&system=0&trail");
}

TEST(ServiceAddressTest, TheSystemNumberIsTheBuildNumberOrZero) {
#ifdef _WIN32
    EXPECT_GT(ReadSystemNumber(), 10000u) << "Windows 10 builds are five digits";
#else
    memreg::Reset();
    EXPECT_EQ(ReadSystemNumber(), 0u);
    ASSERT_TRUE(WriteRegString(Hive::LocalMachine, kSystemNumberKey, kSystemNumberValue, u"19045"));
    EXPECT_EQ(ReadSystemNumber(), 19045u);
    ASSERT_TRUE(WriteRegString(Hive::LocalMachine, kSystemNumberKey, kSystemNumberValue, u""));
    EXPECT_EQ(ReadSystemNumber(), 0u);
    ASSERT_TRUE(
        WriteRegString(Hive::LocalMachine, kSystemNumberKey, kSystemNumberValue, u"123456789012"));
    EXPECT_EQ(ReadSystemNumber(), 0u) << "too long for its 12 units";
    memreg::Reset();
#endif
}

} // namespace
