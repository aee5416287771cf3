#include <gtest/gtest.h>

#include "app/ansi_text.h"
#include "app/text.h"

namespace corvane {
namespace {

TEST(AnsiText, EveryByteRoundTrips) {
    std::string all;
    for (int b = 1; b < 256; ++b) all += static_cast<char>(b);
    EXPECT_EQ(Utf8_To_Ansi(Ansi_To_Utf8(all)), all);
}

TEST(AnsiText, KnownCharacters) {
    EXPECT_EQ(Utf8_To_Ansi("\xE2\x82\xAC"), "\x80");      // euro sign
    EXPECT_EQ(Utf8_To_Ansi("\xC3\xA9"), "\xE9");          // e acute
    EXPECT_EQ(Ansi_To_Utf8("\x95"), "\xE2\x80\xA2");       // bullet
    EXPECT_EQ(Utf8_To_Ansi("\xE4\xB8\xAD"), "?");          // not in the code page
}

TEST(Text, UpperAsciiLeavesOtherLettersAlone) {
    EXPECT_EQ(Upper_Ascii("abc\xC3\xA9"), "ABC\xC3\xA9");
    EXPECT_EQ(Upper_Text("abc\xC3\xA9\xC5\x93"), "ABC\xC3\x89\xC5\x92");
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

}  // namespace
}  // namespace corvane
