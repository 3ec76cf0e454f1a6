// The diagnostic log's image of the error trail, through the loader the program uses.
#include "services/trail_image.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

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

} // namespace
