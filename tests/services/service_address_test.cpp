// What the program tells the maker's services: the update address and the report's body.
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

std::string updateAddress(const std::u16string& base) {
    ServiceEndpoint e;
    char16_t address[kUpdateAddressCapacity];
    if (!ParseServiceBase(base, e)) return "<no base>";
    return BuildUpdateAddress(e, address) ? toUtf8(address) : "<too long>";
}

TEST(ServiceAddressTest, TheUpdateAddressCarriesTheVersionAndIsRefusedPast99Units) {
    const std::string query = "/update?product=4&version=101000&edition=1";
    const std::pair<std::u16string, std::string> rows[] = {
        {u"https://quenorith.example/velkaro", "https://quenorith.example/velkaro" + query},
        {u"http://127.0.0.1:45678", "http://127.0.0.1:45678" + query},
        {u"http://h/" + std::u16string(48, u'f'), "http://h/" + std::string(48, 'f') + query},
        {u"http://h/" + std::u16string(49, u'f'), "<too long>"}, // 100 units
    };
    for (const auto& [base, address] : rows)
        EXPECT_EQ(updateAddress(base), address);
    for (const char16_t* bad : {u"ftp://host/x", u"https://", u"http://host:/x", u"http://host:0",
                                u"http://host:65536", u"http://host:12a", u"http://host/x/",
                                u"http://host/x?y=1", u"http://user@host/x", u"host/x"})
        EXPECT_EQ(updateAddress(bad), "<no base>") << toUtf8(bad);
}

TEST(ServiceAddressTest, TheReportBodyIsItsPiecesThenTheUnsentTextCutAt1023) {
    char body[kReportBodyCapacity];
    const char* expected =
        "product=4&version=101000&edition=1&kind=2&system=19045&trail=2:5;52:\"a&b\";";
    EXPECT_EQ(BuildReportBody(body, 19045, "2:5;52:\"a&b\";"), std::strlen(expected));
    EXPECT_STREQ(body, expected);
    EXPECT_EQ(BuildReportBody(body, 0, std::string(2000, 'z').c_str()), 1023u);
    EXPECT_EQ(std::string(body).find("&system=0&trail=zzz"), 41u);
}

TEST(ServiceAddressTest, TheSystemNumberIsTheBuildNumberOrZero) {
#ifdef _WIN32
    EXPECT_GT(ReadSystemNumber(), 10000u) << "Windows 10 builds are five digits";
#else
    const char16_t* key = u"SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion";
    memreg::Reset();
    EXPECT_EQ(ReadSystemNumber(), 0u);
    for (const auto& [text, number] : {std::pair<const char16_t*, std::uint32_t>{u"19045", 19045},
                                       {u"", 0},
                                       {u"123456789012", 0}}) {
        ASSERT_TRUE(WriteRegString(Hive::LocalMachine, key, u"CurrentBuildNumber", text));
        EXPECT_EQ(ReadSystemNumber(), number) << toUtf8(text);
    }
    memreg::Reset();
#endif
}

} // namespace
