// The Fix command of the main window and the automatic-mode step after a
// computer's scan: fix, clear the list, and shut a remote computer down when
// asked, never the computer the program runs on.
#include "fix/fix_commands.h"

#include <gtest/gtest.h>

#include "base/text.h"
#include "scan/scan_world.h"
#include "settings/general_options.h"

namespace corvane::testing {
namespace {

using scan::testing::kHklm;
using scan::testing::kHku;
using scan::testing::ScanWorld;

using fix::AutoFixResult;
using fix::Fix_After_Scan;
using fix::ScannedComputer;

class FixCommands : public ::testing::Test {
protected:
    FixCommands() : pc(scene.network.Add_Computer("PC17")) {
        scene.Set_Options(0);
        pc.registry.Set_String(kHklm, "Software\\Single", "V", "z");
    }

    void List_Of(std::string_view computerName) {
        const std::string target = Upper_Ascii(computerName);
        scene.Add_Header("fA", computerName, target, 1);
        row = scene.Add_Registry_Row('2', target, kHklm, "Software\\Single");
    }

    ScanWorld scene;
    remote::SimComputer& pc;
    std::string row;
};

TEST_F(FixCommands, FixCommandAsksAndRunsInManualMode) {
    // Nothing checked to fix: no question, nothing logged.
    List_Of("PC17");
    scene.Row(row).checked = false;
    EXPECT_FALSE(fix::mnuFixProblems_Click(scene.env));
    EXPECT_TRUE(scene.data.messages.shown.empty());

    scene.Row(row).checked = true;
    scene.data.messages.Queue_Answer(MsgResult::No);
    EXPECT_FALSE(fix::mnuFixProblems_Click(scene.env));
    ASSERT_EQ(scene.data.messages.shown.size(), 1u);
    const ShownMessage& question = scene.data.messages.shown[0];
    EXPECT_EQ(question.text, "Are you sure you want to fix the checked problems?");
    EXPECT_EQ(question.buttons, MsgButtons::YesNo);
    EXPECT_EQ(question.icon, MsgIcon::Question);
    EXPECT_FALSE(scene.Fixed(row));
    EXPECT_EQ(scene.Log().find("Fix Mode"), std::string::npos);

    scene.stop = true;  // a Stop left over from the scan is cleared
    EXPECT_TRUE(fix::mnuFixProblems_Click(scene.env));
    EXPECT_TRUE(scene.Fixed(row));
    EXPECT_NE(scene.Log().find("I: Fix Mode: Manual"), std::string::npos);
}

TEST_F(FixCommands, AutomaticModeFixesClearsTheListAndShutsTheRemoteComputerDown) {
    scene.Set_Options(GO_AUTOMATIC_FIXING | GO_SHUTDOWN);
    List_Of("PC17");
    const AutoFixResult result = Fix_After_Scan(scene.env, {"PC17", "", "", "PC17", true});
    EXPECT_TRUE(result.fixed);
    EXPECT_TRUE(result.shutDown);
    EXPECT_FALSE(result.stopped);
    EXPECT_FALSE(pc.registry.Key_Exists(kHklm, "Software\\Single"));
    EXPECT_EQ(scene.List().Count(), 0u);
    EXPECT_EQ(pc.shutdownRequests, (std::vector<std::uint32_t>{5}));
    // The panel stays and the commands stay busy: the scan goes on.
    EXPECT_EQ(scene.window.panelStates, (std::vector<bool>{true, true}));
    EXPECT_EQ(scene.window.commandStates, (std::vector<bool>{false}));
    const std::string log = scene.Log();
    EXPECT_LT(log.find("I: Fix Mode: Auto"), log.find("Deleted: registry key"));
    EXPECT_LT(log.find("Total Problems Fixed 1"), log.find("I: Shutdown Computer: PC17"));
    EXPECT_TRUE(scene.data.messages.shown.empty());
}

// The other outcomes of the automatic-mode step; the local computer is never
// shut down, whether it is listed under another name or answers in another
// letter case while the scan took it for remote.
TEST(FixCommandsAutomatic, OutcomesOfTheStepAfterAComputersScan) {
    struct Case {
        const char* name;
        std::int32_t options;
        bool listed;  // one checked problem row of the computer
        int stop;     // 1 before the step, 2 while fixing
        ScannedComputer computer;
        AutoFixResult expected;
        std::size_t shutdownRequests;
        std::size_t rowsLeft;
        std::uint32_t shutdownResult = 0;
    };
    constexpr std::int32_t kBoth = GO_AUTOMATIC_FIXING | GO_SHUTDOWN;
    const ScannedComputer pc17{"PC17", "", "", "PC17", true};
    const Case cases[] = {
        {"no shutdown option", GO_AUTOMATIC_FIXING, true, 0, pc17, {true, false, false}, 0, 0},
        {"nothing to fix", kBoth, false, 0, pc17, {false, false, true}, 1, 0},
        {"stop before", kBoth, true, 1, pc17, {false, true, false}, 0, 2},
        {"stop while fixing", kBoth, true, 2, pc17, {true, true, false}, 0, 2},
        {"failed shutdown", kBoth, false, 0, pc17, {false, false, false}, 1, 0, 1191},
        {"local", kBoth, true, 0, {"WORKSTATION", "", "", "WORKSTATION", false}, {true, false, false}, 0, 0},
        {"local by alias", kBoth, true, 0, {"localhost", "", "", "WORKSTATION", false}, {true, false, false}, 0, 0},
        {"local as remote", kBoth, true, 0, {"localhost", "", "", "Workstation", true}, {true, false, false}, 0, 0},
    };
    for (const Case& c : cases) {
        ScanWorld scene;
        remote::SimComputer& pc = scene.network.Add_Computer("PC17");
        remote::SimComputer& local = scene.network.Local();
        local.aliases.push_back("localhost");
        remote::SimComputer& target = c.computer.isRemote && c.computer.targetName == "PC17" ? pc : local;
        target.registry.Set_String(kHklm, "Software\\Single", "V", "z");
        pc.shutdownResult = c.shutdownResult;
        scene.Set_Options(c.options);
        if (c.listed) {
            const std::string targetName = Upper_Ascii(c.computer.targetName);
            scene.Add_Header("fA", c.computer.computerName, targetName, 1);
            (void)scene.Add_Registry_Row('2', targetName, kHklm, "Software\\Single");
        }
        scene.stop = c.stop == 1;
        if (c.stop == 2) scene.window.onPump = [&](int) { scene.stop = true; };

        const AutoFixResult result = Fix_After_Scan(scene.env, c.computer);
        EXPECT_EQ(result.fixed, c.expected.fixed) << c.name;
        EXPECT_EQ(result.stopped, c.expected.stopped) << c.name;
        EXPECT_EQ(result.shutDown, c.expected.shutDown) << c.name;
        if (c.stop != 2) {
            EXPECT_EQ(target.registry.Key_Exists(kHklm, "Software\\Single"), !c.expected.fixed) << c.name;
        }
        EXPECT_EQ(pc.shutdownRequests.size(), c.shutdownRequests) << c.name;
        EXPECT_TRUE(local.shutdownRequests.empty()) << c.name;
        EXPECT_EQ(scene.List().Count(), c.rowsLeft) << c.name;
        const std::string log = scene.Log();
        EXPECT_EQ(log.find("Shutdown Computer") != std::string::npos, c.expected.shutDown) << c.name;
        EXPECT_EQ(log.find("E: The computer 'PC17' could not be shut down.") != std::string::npos,
                  c.shutdownResult != 0)
            << c.name;
    }
}

}  // namespace
}  // namespace corvane::testing
