// Windows-1252 both ways: every byte comes back as it went, the block at 0x80 holds the
// code page's own characters, and UTF-8 the code page cannot hold is named, not dropped.
#include <gtest/gtest.h>

#include <string>

#include "core/Cp1252.h"

namespace tidemar {
namespace {

TEST(Cp1252, EveryByteRoundTrips) {
    std::string all;
    for (int b = 0; b < 256; ++b) {
        const char32_t c = Cp1252Decode(static_cast<uint8_t>(b));
        ASSERT_EQ(Cp1252Encode(c), std::optional<uint8_t>(static_cast<uint8_t>(b))) << "byte " << b;
        all += static_cast<char>(b);
    }
    const Cp1252Encoding back = Utf8ToCp1252(Cp1252ToUtf8(all));
    EXPECT_EQ(back.Bytes, all);
    EXPECT_TRUE(back.Missing.empty());
}

TEST(Cp1252, NamedCharacters) {
    const struct {
        uint8_t Byte;
        char32_t CodePoint;
        const char* Utf8;
        const char* Legend;
    } rows[] = {
        {0x41, U'A', "A", "ASCII is itself"},
        {0xB0, U'°', "°", "Latin-1 half: degree sign"},
        {0xD8, U'Ø', "Ø", "Latin-1 half: O with stroke"},
        {0xFF, U'ÿ', "ÿ", "last byte"},
        {0x80, U'€', "€", "euro sign, not the control U+0080"},
        {0x93, U'“', "“", "left double quotation mark"},
        {0x94, U'”', "”", "right double quotation mark"},
        {0x9F, U'Ÿ', "Ÿ", "Y with diaeresis"},
        {0x81, 0x81, "\xC2\x81", "undefined byte: the C1 control of its number"},
        {0x9D, 0x9D, "\xC2\x9D", "the last undefined byte"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.Legend);
        EXPECT_EQ(Cp1252Decode(row.Byte), row.CodePoint);
        EXPECT_EQ(Cp1252Encode(row.CodePoint), std::optional<uint8_t>(row.Byte));
        EXPECT_EQ(Cp1252ToUtf8(std::string(1, static_cast<char>(row.Byte))), row.Utf8);
    }
}

TEST(Cp1252, FromUtf8) {
    const struct {
        const char* Utf8;
        std::string Bytes;
        std::u32string Missing;
        const char* Legend;
    } rows[] = {
        {"5° Ørsted", "5\xB0 \xD8rsted", U"", "Latin-1 letters"},
        {"“€ 12”", "\x93\x80 12\x94", U"", "the 0x80 block"},
        {"a漢b漢字", "ab", U"漢字", "CJK: each named once, in order"},
        {"x😀", "x", U"😀", "outside the BMP"},
        {"\u0080\u0085", "", U"\u0080\u0085", "C1 controls the code page replaced"},
        {"a\xC3", "a", U"\uFFFD", "cut-short sequence"},
        {"\xC0\xAF", "", U"\uFFFD", "overlong form of '/'"},
        {"\xED\xA0\x80", "", U"\uFFFD", "a surrogate"},
        {"\xF4\x90\x80\x80", "", U"\uFFFD", "beyond U+10FFFF"},
        {"", "", U"", "empty"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.Legend);
        const Cp1252Encoding encoded = Utf8ToCp1252(row.Utf8);
        EXPECT_EQ(encoded.Bytes, row.Bytes);
        EXPECT_EQ(encoded.Missing, row.Missing);
    }
}

}  // namespace
}  // namespace tidemar
