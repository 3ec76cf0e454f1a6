// The error trail's records, its image in the diagnostic log (through the loader the program
// uses), and what the program tells the maker's services.
#include "services/error_trail.h"
#include "services/service_address.h"
#include "services/trail_image.h"

#include "engine/registry.h"
#include "engine/text.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#ifndef _WIN32
#include "tests/substitutes/registry_memory.h"
#endif

namespace {

TEST(ErrorTrailTest, RecordsHaveTheirFormsAndAreAppendedOnlyWhenNotAlreadyThere) {
    ErrorTrail trail{"101000#", 7};
    AppendErrorRecord(trail, 2, 5);
    AppendErrorRecord(trail, 2, 5);
    AppendErrorRecord(trail, 2, 6);
    AppendSignedErrorRecord(trail, 54, -3);
    AppendTextErrorRecord(trail, 52, "abc");
    AppendErrorRecord(trail, 3, 18446744073709551615ull);
    AppendSignedErrorRecord(trail, 51, -9223372036854775807ll - 1);
    AppendErrorRecord(trail, 51, 5);
    AppendErrorRecord(trail, 1, 5); // the tail of "51:5;"
    EXPECT_STREQ(trail.text, "101000#2:5;2:6;54:-3;52:\"abc\";3:18446744073709551615;"
                             "51:-9223372036854775808;51:5;");
    EXPECT_EQ(trail.sentLength, 7u) << "appending never counts as reported";

    trail = ErrorTrail{"101000#", 7};
    AppendTextErrorRecord(trail, 52, std::string(300, 'x').c_str());
    EXPECT_EQ(std::string(trail.text), "101000#52:\"" + std::string(251, 'x')) << "255 at most";
    for (std::uint64_t code = 1000000; std::strlen(trail.text) < 1536; ++code)
        AppendErrorRecord(trail, 3, code);
    EXPECT_EQ(std::strlen(trail.text), 1536u) << "the last record cut";
    const std::string full = trail.text;
    AppendErrorRecord(trail, 2, 424242);
    AppendTextErrorRecord(trail, 53, "tag");
    EXPECT_EQ(std::string(trail.text), full);
}

struct Image {
    unsigned char bytes[kTrailImageSize];
    explicit Image(const std::string& text) {
        ErrorTrail trail{};
        std::memcpy(trail.text, text.data(), text.size());
        trail.sentLength = 7;
        WriteTrailImage(trail, bytes);
    }
    // The trail the next run starts with, given the first size bytes of the file.
    std::pair<std::string, std::uint64_t> loaded(std::size_t size = kTrailImageSize) const {
        ErrorTrail trail;
        std::memset(&trail, 0xbd, sizeof trail);
        LoadTrailImage(bytes, size, trail);
        return {trail.text, trail.sentLength};
    }
};

TEST(TrailImageTest, TheImageIsTheTextScrambledByTheKeystreamAndItsLengthPlusTheMask) {
    unsigned char key[kTrailTextSize];
    MakeKeystream(key, sizeof key);
    // Logs written by earlier runs must stay readable: the stream never changes.
    EXPECT_EQ(std::string(key, key + 16), R"(q]#WN5AKM\]C plP)");
    for (const unsigned char c : key)
        ASSERT_TRUE(c >= 32 && c <= 126) << int(c);
    const Image image("101000#2:5;");
    for (std::size_t i = 0; i < kTrailTextSize; ++i) {
        const unsigned char plain = i < 11 ? "101000#2:5;"[i] : i == 11 ? 0 : i & 0xFF;
        ASSERT_EQ(image.bytes[i] ^ key[i], plain) << i;
    }
    std::uint64_t field = 0;
    for (std::size_t i = kTrailImageSize; i-- > kTrailTextSize;)
        field = field << 8 | image.bytes[i];
    EXPECT_EQ(field, 11 + kTrailLengthMask);
}

TEST(TrailImageTest, ASavedTrailLoadsBackCountedAsReportedAndAnythingElseStartsAFreshOne) {
    const std::string full = "101000#" + std::string(kTrailTextSize - 7, 'r');
    for (const std::string& saved : {std::string("101000#"), std::string("101000#2:5;52:\"x\";"),
                                     full, std::string("12345678901#1:2;")}) // eleven digits
        EXPECT_EQ(Image(saved).loaded(), std::make_pair(saved, std::uint64_t{saved.size()}));
    const std::pair<std::string, std::uint64_t> fresh = {"101000#", 7};
    for (const char* older : {"123456789012#", "100000#1:2;", "#1:2;", "10x000#", "101000"})
        EXPECT_EQ(Image(older).loaded(), fresh) << older;
    Image tampered("101000#1:2;");
    EXPECT_EQ(tampered.loaded(kTrailImageSize - 1), fresh) << "a short file";
    EXPECT_EQ(tampered.loaded(0), fresh) << "no file";
    std::memset(tampered.bytes + kTrailTextSize, 0xFF, 8);
    EXPECT_EQ(tampered.loaded().second, 11u) << "a length past the text is held to it";
    tampered.bytes[0] ^= '1' ^ '0';
    EXPECT_EQ(tampered.loaded(), fresh) << "001000 is an older version";
}

TEST(ServiceAddressTest, TheUpdateAddressCarriesTheVersionAndIsRefusedPast99Units) {
    auto address = [](const std::u16string& base) -> std::string {
        ServiceEndpoint e;
        char16_t text[kUpdateAddressCapacity];
        if (!ParseServiceBase(base, e)) return "<no base>";
        return BuildUpdateAddress(e, text) ? toUtf8(text) : "<too long>";
    };
    const std::string query = "/update?product=4&version=101000&edition=1";
    EXPECT_EQ(address(u"https://quenorith.example/v"), "https://quenorith.example/v" + query);
    EXPECT_EQ(address(u"http://127.0.0.1:45678"), "http://127.0.0.1:45678" + query);
    EXPECT_EQ(address(u"http://h/" + std::u16string(48, u'f')),
              "http://h/" + std::string(48, 'f') + query);
    EXPECT_EQ(address(u"http://h/" + std::u16string(49, u'f')), "<too long>") << "100 units";
    for (const char16_t* bad :
         {u"ftp://host/x", u"https://", u"http://host:/x", u"http://host:0", u"http://host:65536",
          u"http://host:4294967376", u"http://host:12a", u"http://host/x/", u"http://host/x?y=1",
          u"http://user@host/x", u"host/x"})
        EXPECT_EQ(address(bad), "<no base>") << toUtf8(bad);
}

TEST(ServiceAddressTest, TheReportBodyCarriesTheSystemNumberAndTheUnsentTextCutAt1023) {
    char body[kReportBodyCapacity];
    const char* expected =
        "product=4&version=101000&edition=1&kind=2&system=19045&trail=2:5;52:\"a&b\";";
    EXPECT_EQ(BuildReportBody(body, 19045, "2:5;52:\"a&b\";"), std::strlen(expected));
    EXPECT_STREQ(body, expected);
    EXPECT_EQ(BuildReportBody(body, 0, std::string(2000, 'z').c_str()), 1023u);
    EXPECT_EQ(std::string(body).find("&system=0&trail=zzz"), 41u);
#ifdef _WIN32
    EXPECT_GT(ReadSystemNumber(), 10000u) << "Windows 10 builds are five digits";
#else
    memreg::Reset();
    EXPECT_EQ(ReadSystemNumber(), 0u);
    for (const auto& [text, number] : {std::pair<const char16_t*, std::uint32_t>{u"19045", 19045},
                                       {u"", 0},
                                       {u"123456789012", 0}}) {
        ASSERT_TRUE(WriteRegString(Hive::LocalMachine,
                                   u"SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion",
                                   u"CurrentBuildNumber", text));
        EXPECT_EQ(ReadSystemNumber(), number) << toUtf8(text);
    }
    memreg::Reset();
#endif
}

} // namespace
