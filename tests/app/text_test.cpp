#include <gtest/gtest.h>

#include "base/ansi_text.h"
#include "base/base64.h"
#include "base/text.h"
#include "base/upper_case.h"
#include "base/utf8.h"

namespace corvane {
namespace {

TEST(AnsiText, EveryByteRoundTrips) {
    std::string all;
    for (int b = 1; b < 256; ++b) all += static_cast<char>(b);
    EXPECT_EQ(Utf8_To_Ansi(Ansi_To_Utf8(all)), all);
}

TEST(AnsiText, KnownCharacters) {
    EXPECT_EQ(Utf8_To_Ansi("\xE2\x82\xAC"), "\x80");  // euro sign
    EXPECT_EQ(Utf8_To_Ansi("\xC3\xA9"), "\xE9");      // e acute
    EXPECT_EQ(Ansi_To_Utf8("\x95"), "\xE2\x80\xA2");  // bullet
    EXPECT_EQ(Utf8_To_Ansi("\xE4\xB8\xAD"), "?");     // not in the code page
}

TEST(Utf8, OnlyWellFormedSequencesDecodeAsCharacters) {
    struct Case {
        std::string bytes;
        bool valid;
        char32_t codePoint;
    };
    const Case cases[] = {
        {"\xC3\xA9", true, 0xE9},
        {"\xF0\x9F\x98\x80", true, 0x1F600},
        {"\xC0\xAF", false, 0xC0},          // overlong "/"
        {"\xED\xA0\x80", false, 0xED},      // a surrogate
        {"\xF5\x80\x80\x80", false, 0xF5},  // past U+10FFFF
        {"\xC3(", false, 0xC3},             // missing continuation: the "(" is kept
    };
    for (const Case& c : cases) {
        std::size_t i = 0;
        bool valid = !c.valid;
        EXPECT_EQ(Next_Code_Point(c.bytes, i, &valid), c.codePoint) << c.bytes;
        EXPECT_EQ(valid, c.valid) << c.bytes;
        EXPECT_EQ(i, c.valid ? c.bytes.size() : 1u) << c.bytes;
    }
}

TEST(Text, UpperAsciiLeavesOtherLettersAlone) {
    EXPECT_EQ(Upper_Ascii("abc\xC3\xA9"), "ABC\xC3\xA9");
    EXPECT_EQ(Upper_Text("abc\xC3\xA9\xC5\x93"), "ABC\xC3\x89\xC5\x92");
}

// Upper case as Windows' table has it: one character for one, letters of
// every script of the BMP, no length-changing or one-way mappings.
TEST(Text, UpperCaseFollowsTheWindowsTable) {
    struct Case {
        char32_t lower;
        char32_t upper;
    };
    const Case cases[] = {
        {U'a', U'A'},     {0xFC, 0xDC},     {0xFF, 0x178},    {0x101, 0x100},   {0x13A, 0x139},     {0x3B1, 0x391},
        {0x3CD, 0x38E},   {0x450, 0x400},   {0x561, 0x531},   {0x10D0, 0x1C90}, {0x1E01, 0x1E00},   {0x1F80, 0x1F88},
        {0x1FB3, 0x1FBC}, {0x24D0, 0x24B6}, {0x2C30, 0x2C00}, {0x2D00, 0x10A0}, {0xA641, 0xA640},   {0xAB70, 0x13A0},
        {0xFF41, 0xFF21}, {0x0250, 0x2C6F}, {0xDF, 0xDF},     {0xB5, 0xB5},     {0x131, 0x131},     {0x17F, 0x17F},
        {0x1C5, 0x1C5},   {0x3C2, 0x3C2},   {0x1FB2, 0x1FB2}, {0xFB00, 0xFB00}, {0x10428, 0x10428}, {0x102, 0x102},
    };
    for (const Case& c : cases) EXPECT_EQ(Upper_Code_Point(c.lower), c.upper) << std::hex << unsigned(c.lower);
    EXPECT_EQ(Upper_Text("m\xC3\xBCller stra\xC3\x9F"
                         "e"),
              "M\xC3\x9CLLER STRA\xC3\x9F"
              "E");
    EXPECT_EQ(Code_Point_Count("M\xC3\xBCller\xE2\x80\xA2\xF0\x9F\x98\x80"), 8u);
}

TEST(Text, TrimReplaceAndNumbers) {
    EXPECT_EQ(Trim("  a b \t"), "a b");
    EXPECT_EQ(Replace_All("a\\b\\", "\\", "\\\\"), "a\\\\b\\\\");
    EXPECT_EQ(Double_Quotes_Sql("it's"), "it''s");
    EXPECT_EQ(Text_To_Int32(" 33"), 33);
    EXPECT_EQ(Text_To_Int32("-2147023174"), -2147023174);
    EXPECT_EQ(Text_To_Int32("4294967295"), -1);
    EXPECT_EQ(Text_To_Int32("x1"), 0);
    EXPECT_TRUE(Contains_Ignore_Case("HKEY_LOCAL_MACHINE\\SOFTWARE\\OldApp", "software\\oldapp"));
}

TEST(Text, Base64RoundTripsAnyBytesAndRejectsWhatIsNotBase64) {
    for (const std::string& bytes :
         {std::string(), std::string("f"), std::string("fo"), std::string("foo"), std::string("\0\xFF\x80x", 4)}) {
        EXPECT_EQ(Base64_Decode(Base64_Encode(bytes)), bytes);
    }
    EXPECT_EQ(Base64_Encode("fo"), "Zm8=");
    for (const char* bad : {"Zm8", "Zm=8", "Zm8*", "=m8A"}) EXPECT_EQ(Base64_Decode(bad), std::nullopt) << bad;
}

}  // namespace
}  // namespace corvane
