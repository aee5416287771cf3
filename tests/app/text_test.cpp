#include <gtest/gtest.h>

#include "base/ansi_text.h"
#include "base/base64.h"
#include "base/text.h"
#include "base/upper_case.h"
#include "base/utf8.h"

namespace corvane {
namespace {

TEST(AnsiText, EveryByteRoundTripsAndKnownCharactersMap) {
    std::string all;
    for (int b = 1; b < 256; ++b) all += static_cast<char>(b);
    EXPECT_EQ(Utf8_To_Ansi(Ansi_To_Utf8(all)), all);
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

// Upper case as Windows' table has it, one character for one (the Windows
// port's test compares every character of the BMP with CharUpperBuffW).
TEST(Text, UpperCaseFollowsTheWindowsTable) {
    EXPECT_EQ(Upper_Ascii("abc\xC3\xA9"), "ABC\xC3\xA9");
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
