#include <gtest/gtest.h>

#include "base/utf8.h"
#include "remote/local_registry.h"
#include "remote/machine_store.h"

namespace corvane::remote {
namespace {

using wmi::Variant;

TEST(LocalRegistry, DecodesByType) {
    EXPECT_EQ(Decode_Local_Value(kRegSz, Utf8_To_Utf16le("Grüße", true)).As_String(), "Grüße");
    // Only a stored terminating zero is dropped: installers often leave it out.
    EXPECT_EQ(Decode_Local_Value(kRegSz, Utf8_To_Utf16le("abc", false)).As_String(), "abc");
    EXPECT_EQ(Decode_Local_Value(kRegExpandSz, Utf8_To_Utf16le("C:\\x", false)).As_String(), "C:\\x");
    EXPECT_EQ(Decode_Local_Value(kRegExpandSz, Utf8_To_Utf16le("%TEMP%", true)).As_String(), "%TEMP%");
    EXPECT_EQ(Decode_Local_Value(kRegSz, {}).As_String(), "");
    const auto multi = Utf8_To_Utf16le(std::string_view("a\0bc\0", 5), true);
    EXPECT_EQ(Decode_Local_Value(kRegMultiSz, multi).As_String(), std::string("a\0bc", 4));
    const std::vector<std::uint8_t> dword = {0xFE, 0xFF, 0xFF, 0xFF};
    EXPECT_EQ(Decode_Local_Value(kRegDword, dword), Variant(std::int32_t{-2}));
    EXPECT_EQ(Decode_Local_Value(kRegBinary, std::vector<std::uint8_t>{7, 255}),
              Variant(std::vector<Variant>{Variant(7), Variant(255)}));
    EXPECT_EQ(Decode_Local_Value(kRegQword, std::vector<std::uint8_t>(8, 1), Variant("dflt")).As_String(), "dflt");
}

TEST(LocalRegistry, Utf16BytesKeepEveryByteOfBrokenText) {
    // A lead byte followed by no continuation byte stands for itself; the
    // character after it is not swallowed.
    EXPECT_EQ(Utf16le_To_Utf8(Utf8_To_Utf16le("\xC3(x", false)), "\xC3\x83(x");
    EXPECT_EQ(Utf16le_To_Utf8(Utf8_To_Utf16le("a\xF0\x9F\x98\x80", false)), "a\xF0\x9F\x98\x80");
    EXPECT_EQ(Utf8_To_Utf16le("\xE9", false), (std::vector<std::uint8_t>{0xE9, 0x00}));
}

}  // namespace
}  // namespace corvane::remote
