#include "periphery/registry_editor.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

namespace corvane {
namespace {

using K = RegEditKeystroke::Kind;

// The keystrokes as text: < > ^ for Left, Right and Home, ~ for a wait until
// the editor is idle, characters as typed ({hex} beyond ASCII).
std::string Typed(const std::vector<RegEditKeystroke>& steps) {
    std::string text;
    for (const RegEditKeystroke& step : steps) {
        if (step.kind == K::WaitIdle) {
            text += '~';
        } else if (step.kind == K::KeyDown) {
            text += step.code == kVkLeft ? '<' : step.code == kVkRight ? '>' : step.code == kVkHome ? '^' : '?';
        } else if (step.code < 0x80) {
            text += static_cast<char>(step.code);
        } else {
            char hex[16];
            std::snprintf(hex, sizeof hex, "{%X}", static_cast<unsigned>(step.code));
            text += hex;
        }
    }
    return text;
}

TEST(RegistryEditorKeys, TreeWalkCollapsesThenTypesEachKeyAndValuesStartAtHome) {
    EXPECT_EQ(Typed(Tree_Keystrokes("HKEY_USERS\\s-1\\\xC3\xA4x")), std::string(30, '<') + ">~HKEY_USERS>~S-1>~{C4}X");
    EXPECT_EQ(Typed(Value_Keystrokes("ab")), "^AB");
    EXPECT_EQ(Typed(Value_Keystrokes("")), "^");
}

TEST(RegistryEditorKeys, LastKeyFormsForWindowsAndWine) {
    EXPECT_EQ(Regedit_Last_Key("HKEY_LOCAL_MACHINE\\Software\\X\\", true), "Computer\\HKEY_LOCAL_MACHINE\\Software\\X");
    EXPECT_EQ(Regedit_Last_Key("HKEY_LOCAL_MACHINE\\Software\\X", false), "HKEY_LOCAL_MACHINE\\Software\\X");
}

}  // namespace
}  // namespace corvane
