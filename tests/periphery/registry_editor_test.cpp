#include "periphery/registry_editor.h"

#include <gtest/gtest.h>

#include "base/reporter.h"
#include "support/fakes.h"
#include "support/window_fakes.h"

namespace corvane {
namespace {

using K = RegEditKeystroke::Kind;

TEST(RegistryEditorKeys, TreeWalkCollapsesThenTypesEachKeyAndExpandsAtBackslashes) {
    const auto steps = Tree_Keystrokes("HKEY_USERS\\s-1\\\xC3\xA4x");
    ASSERT_EQ(steps.size(), 30u + 2u + 10u + 2u + 3u + 2u + 2u);
    for (int i = 0; i < 30; ++i) EXPECT_EQ(steps[i], (RegEditKeystroke{K::KeyDown, kVkLeft}));
    EXPECT_EQ(steps[30], (RegEditKeystroke{K::KeyDown, kVkRight}));
    EXPECT_EQ(steps[31].kind, K::WaitIdle);
    EXPECT_EQ(steps[32], (RegEditKeystroke{K::Char, 'H'}));
    EXPECT_EQ(steps[42], (RegEditKeystroke{K::KeyDown, kVkRight}));
    EXPECT_EQ(steps[43].kind, K::WaitIdle);
    EXPECT_EQ(steps[44], (RegEditKeystroke{K::Char, 'S'}));
    EXPECT_EQ(steps[49], (RegEditKeystroke{K::Char, 0xE4}));  // non-ASCII passes as its code point
    EXPECT_EQ(steps[50], (RegEditKeystroke{K::Char, 'X'}));
}

TEST(RegistryEditorKeys, ValueWalkStartsAtHome) {
    const auto steps = Value_Keystrokes("ab");
    ASSERT_EQ(steps.size(), 3u);
    EXPECT_EQ(steps[0], (RegEditKeystroke{K::KeyDown, kVkHome}));
    EXPECT_EQ(steps[2], (RegEditKeystroke{K::Char, 'B'}));
    EXPECT_EQ(Value_Keystrokes("").size(), 1u);
}

TEST(RegistryEditorKeys, LastKeyFormsForWindowsAndWine) {
    EXPECT_EQ(Regedit_Last_Key("HKEY_LOCAL_MACHINE\\Software\\X\\", true), "Computer\\HKEY_LOCAL_MACHINE\\Software\\X");
    EXPECT_EQ(Regedit_Last_Key("HKEY_LOCAL_MACHINE\\Software\\X", false), "HKEY_LOCAL_MACHINE\\Software\\X");
}

TEST(RegistryEditorKeys, FailuresAreShownAndLogged) {
    testing::FakeMessageBox messages;
    Reporter reporter(messages);
    testing::FakeRegistryEditor editor;
    Open_Registry_Editor(editor, reporter, "HKEY_USERS\\x", "v");
    ASSERT_EQ(editor.opened.size(), 1u);
    EXPECT_TRUE(messages.shown.empty());
    editor.fail = true;
    Open_Registry_Editor(editor, reporter, "HKEY_USERS\\x", "");
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text, "5: Access is denied.");
    EXPECT_EQ(messages.shown[0].icon, MsgIcon::Critical);
}

}  // namespace
}  // namespace corvane
