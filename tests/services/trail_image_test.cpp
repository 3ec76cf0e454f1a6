// The diagnostic log's image of the error trail and its keystream.
#include "services/trail_image.h"

#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <string>

namespace {

ErrorTrail trailOf(const std::string& text, std::uint64_t sent) {
    ErrorTrail trail;
    std::memset(&trail, 0, sizeof trail);
    std::memcpy(trail.text, text.data(), text.size());
    trail.sentLength = sent;
    return trail;
}

std::uint64_t fieldOf(const unsigned char (&image)[kTrailImageSize]) {
    std::uint64_t field = 0;
    for (std::size_t i = 8; i-- > 0;)
        field = (field << 8) | image[kTrailTextSize + i];
    return field;
}

TEST(TrailImageTest, TheKeystreamIsPrintableFixedAndVaried) {
    unsigned char key[kTrailTextSize];
    unsigned char again[kTrailTextSize];
    MakeKeystream(key, sizeof key);
    MakeKeystream(again, sizeof again);
    EXPECT_EQ(std::memcmp(key, again, sizeof key), 0);
    std::set<unsigned char> distinct;
    for (const unsigned char c : key) {
        EXPECT_GE(c, 32);
        EXPECT_LE(c, 126);
        distinct.insert(c);
    }
    EXPECT_GT(distinct.size(), 80u);
    // Logs written by earlier runs must stay readable: the stream never changes.
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(key), 16), R"(q]#WN5AKM\]C plP)");
    unsigned char shorter[10];
    MakeKeystream(shorter, sizeof shorter);
    EXPECT_EQ(std::memcmp(shorter, key, sizeof shorter), 0) << "a prefix of the long stream";
}

TEST(TrailImageTest, TheImageScramblesTheTextItsZeroAndThePaddingAndCarriesTheLength) {
    unsigned char key[kTrailTextSize];
    MakeKeystream(key, sizeof key);
    const ErrorTrail trail = trailOf("101000#2:5;", 7);
    unsigned char image[kTrailImageSize];
    WriteTrailImage(trail, image);
    for (std::size_t i = 0; i < 11; ++i)
        EXPECT_EQ(image[i], static_cast<unsigned char>(trail.text[i]) ^ key[i]) << i;
    EXPECT_EQ(image[11], key[11]) << "the terminating zero";
    for (std::size_t i = 12; i < kTrailTextSize; ++i)
        ASSERT_EQ(image[i], key[i] ^ (i & 0xFF)) << i;
    EXPECT_EQ(fieldOf(image), 11 + kTrailLengthMask);
}

TEST(TrailImageTest, ReadingAnImageGivesTheTextWithEverythingCountedAsReported) {
    for (const std::string& text : {std::string("101000#"), std::string("101000#2:5;52:\"x\";"),
                                    "101000#" + std::string(kTrailTextSize - 7, 'r')}) {
        SCOPED_TRACE(text.size());
        unsigned char image[kTrailImageSize];
        WriteTrailImage(trailOf(text, 7), image);
        ErrorTrail read;
        std::memset(&read, 0xbd, sizeof read);
        ReadTrailImage(image, read);
        EXPECT_EQ(std::string(read.text), text);
        EXPECT_EQ(read.sentLength, text.size());
    }
}

TEST(TrailImageTest, ALengthFieldPastTheTextIsHeldToTheText) {
    unsigned char image[kTrailImageSize];
    WriteTrailImage(trailOf("101000#1:2;", 0), image);
    for (std::size_t i = 0; i < 8; ++i)
        image[kTrailTextSize + i] = 0xFF;
    ErrorTrail read;
    ReadTrailImage(image, read);
    EXPECT_STREQ(read.text, "101000#1:2;");
    EXPECT_EQ(read.sentLength, 11u);
}

TEST(TrailImageTest, TheVersionIsOneToElevenDigitsBeforeTheFirstHash) {
    const std::pair<const char*, std::uint64_t> cases[] = {
        {"101000#", 101000},
        {"100000#1:2;", 100000},
        {"12345678901#", 12345678901},
        {"123456789012#", 0},
        {"#", 0},
        {"abc#", 0},
        {"10x000#", 0},
        {"101000", 0},
        {"", 0},
        {"101000#99#", 101000},
    };
    for (const auto& [text, version] : cases)
        EXPECT_EQ(ReadTrailVersion(text), version) << text;
}

} // namespace
