#include "periphery/sys_tray.h"

#include <gtest/gtest.h>

#include <string>

namespace corvane {
namespace {

TEST(SysTray, TextsAreCutBetweenCharactersNeverInsideASurrogatePair) {
    const std::string clef = "\xF0\x9D\x84\x9E";  // two UTF-16 units
    EXPECT_EQ(Cut_To_Utf16_Units("ab" + clef, 3), "ab");
    EXPECT_EQ(Cut_To_Utf16_Units("ab" + clef, 4), "ab" + clef);
    EXPECT_EQ(Cut_To_Utf16_Units("\xC3\xA4\xC3\xB6x", 2), "\xC3\xA4\xC3\xB6");
    EXPECT_EQ(Cut_To_Utf16_Units("abc", 0), "");
}

}  // namespace
}  // namespace corvane
