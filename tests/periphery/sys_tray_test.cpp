#include "periphery/sys_tray.h"

#include <gtest/gtest.h>

#include "support/window_fakes.h"

namespace corvane {
namespace {

class SysTrayTest : public ::testing::Test {
protected:
    testing::FakeNotifyIconShell shell;
    SysTray tray{shell, 1, "Corvane"};
};

// What reaches the shell from the icon's addition to its removal: each change
// once, with its own flag and its texts cut to their limits.
TEST(SysTray, EachChangeReachesTheShellOnceWithItsFlag) {
    testing::FakeNotifyIconShell shell;
    {
        SysTray tray(shell, 77, "Corvane");
        tray.Set_ToolTip(std::string(200, 'a'));
        tray.Set_IconHandle(5);
        tray.Set_IconHandle(5);
        tray.ShowBalloonTip("Scans and fixes network and local registry/files.", std::string(70, 't'), 1, 30000);
    }
    std::vector<TrayCommand> commands;
    for (const auto& call : shell.calls) commands.push_back(call.first);
    using enum TrayCommand;
    EXPECT_EQ(commands, (std::vector<TrayCommand>{Add, SetVersion, Modify, Modify, Modify, Delete}));
    const TrayIconData& added = shell.calls[0].second;
    EXPECT_EQ(added.flags, kTrayFlagMessage | kTrayFlagIcon | kTrayFlagTip);
    EXPECT_EQ(added.callbackMessage, kTrayCallbackMessage);
    EXPECT_EQ(added.icon, 77u);
    EXPECT_EQ(shell.calls[2].second.flags, kTrayFlagTip);
    EXPECT_EQ(shell.calls[3].second.flags, kTrayFlagIcon);
    const TrayIconData& balloon = shell.calls[4].second;
    EXPECT_EQ(balloon.flags, kTrayFlagInfo);
    EXPECT_EQ(balloon.tip, std::string(127, 'a'));
    EXPECT_EQ(balloon.icon, 5u);
    EXPECT_EQ(balloon.info, "Scans and fixes network and local registry/files.");
    EXPECT_EQ(balloon.infoTitle, std::string(63, 't'));
    EXPECT_EQ(balloon.infoFlags, 1u);
    EXPECT_EQ(balloon.timeout, 30000u);
}

TEST_F(SysTrayTest, MenuItemsAddRemoveAndDefault) {
    EXPECT_EQ(tray.AddMenuItem("&Open", "open", true), 0);
    EXPECT_EQ(tray.AddMenuItem("&Scan", "scan", false), 1);
    EXPECT_EQ(tray.AddMenuItem("E&xit", "exit", false), 2);
    EXPECT_EQ(tray.DefaultMenuIndex(), 0);
    tray.RemoveMenuItem(1);
    tray.RemoveMenuItem(7);  // not valid: nothing
    tray.EnableMenuItem(1, false);
    tray.Set_DefaultMenuIndex(1);
    EXPECT_EQ(tray.DefaultMenuIndex(), 1);
    tray.Set_DefaultMenuIndex(5);
    EXPECT_EQ(tray.DefaultMenuIndex(), 0);
    tray.RemoveMenuItem(0);  // the first item is never removed, only its caption cleared
    const auto& items = tray.Menu_Items();
    ASSERT_EQ(items.size(), 2u);
    EXPECT_EQ(items[0].caption + "/" + items[0].key, "/open");
    EXPECT_EQ(items[1].caption + "/" + items[1].key, "E&xit/exit");
    EXPECT_FALSE(items[1].enabled);
}

TEST(SysTray, TextsAreCutBetweenCharactersNeverInsideASurrogatePair) {
    const std::string clef = "\xF0\x9D\x84\x9E";  // two UTF-16 units
    EXPECT_EQ(Cut_To_Utf16_Units("ab" + clef, 3), "ab");
    EXPECT_EQ(Cut_To_Utf16_Units("ab" + clef, 4), "ab" + clef);
    EXPECT_EQ(Cut_To_Utf16_Units("\xC3\xA4\xC3\xB6x", 2), "\xC3\xA4\xC3\xB6");
    EXPECT_EQ(Cut_To_Utf16_Units("abc", 0), "");
}

TEST_F(SysTrayTest, NotificationsBecomeEventsWithTheirButtons) {
    std::vector<std::string> seen;
    tray.events.mouseDown = [&](int b) { seen.push_back("down" + std::to_string(b)); };
    tray.events.mouseUp = [&](int b) { seen.push_back("up" + std::to_string(b)); };
    tray.events.doubleClick = [&](int b) { seen.push_back("dbl" + std::to_string(b)); };
    tray.events.mouseMove = [&] { seen.push_back("move"); };
    tray.events.balloonClicked = [&] { seen.push_back("balloon"); };
    tray.events.menuClick = [&](int i, const std::string& key) { seen.push_back(std::to_string(i) + key); };
    tray.AddMenuItem("&Open", "open", true);
    for (std::uint32_t n : {512u, 513u, 514u, 515u, 516u, 517u, 518u, 519u, 1029u, 1030u}) tray.Notification(n);
    tray.Menu_Clicked(0);
    tray.Menu_Clicked(3);
    EXPECT_EQ(seen,
              (std::vector<std::string>{"move", "down1", "up1", "dbl1", "down2", "up2", "dbl2", "balloon", "0open"}));
}

}  // namespace
}  // namespace corvane
