// The Fix command of the main window and the automatic-mode step after a
// computer's scan: fix, clear the list, and shut a remote computer down when
// asked, never the computer the program runs on.
#include "fix/fix_commands.h"

#include <gtest/gtest.h>

#include "base/text.h"
#include "fix_fixture.h"
#include "settings/general_options.h"

namespace corvane::testing {
namespace {

using fix::AutoFixResult;
using fix::Fix_After_Scan;
using fix::ScannedComputer;

class FixCommands : public ::testing::Test {
protected:
    FixCommands() : pc(scene.network.Add_Computer("PC17")) {
        pc.registry.Set_String(kHklm, "Software\\Single", "V", "z");
        scene.network.Local().registry.Set_String(kHklm, "Software\\Single", "V", "z");
    }

    void List_Of(std::string_view computerName) {
        const std::string target = Upper_Ascii(computerName);
        scene.Add_Header("fA", computerName, target, 1);
        row = scene.Add_Registry_Row('2', target, kHklm, "Software\\Single");
    }

    FixScene scene;
    remote::SimComputer& pc;
    std::string row;
};

TEST_F(FixCommands, FixCommandAsksAndRunsInManualMode) {
    // Nothing checked to fix: no question, nothing logged.
    List_Of("PC17");
    scene.Row(row).checked = false;
    EXPECT_FALSE(fix::mnuFixProblems_Click(scene.env));
    EXPECT_TRUE(scene.database.messages.shown.empty());

    scene.Row(row).checked = true;
    scene.database.messages.Queue_Answer(MsgResult::No);
    EXPECT_FALSE(fix::mnuFixProblems_Click(scene.env));
    ASSERT_EQ(scene.database.messages.shown.size(), 1u);
    const ShownMessage& question = scene.database.messages.shown[0];
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
    EXPECT_EQ(scene.window.results.Count(), 0u);
    EXPECT_EQ(pc.shutdownRequests, (std::vector<std::uint32_t>{5}));
    // The panel stays and the commands stay busy: the scan goes on.
    EXPECT_EQ(scene.window.panelStates, (std::vector<bool>{true, true}));
    EXPECT_EQ(scene.window.commandStates, (std::vector<bool>{false}));
    const std::string log = scene.Log();
    EXPECT_LT(log.find("I: Fix Mode: Auto"), log.find("Deleted: registry key"));
    EXPECT_LT(log.find("Total Problems Fixed 1"), log.find("I: Shutdown Computer: PC17"));
    EXPECT_TRUE(scene.database.messages.shown.empty());
}

TEST_F(FixCommands, WithoutTheShutdownOptionOrWithNothingToFix) {
    scene.Set_Options(GO_AUTOMATIC_FIXING);
    List_Of("PC17");
    AutoFixResult result = Fix_After_Scan(scene.env, {"PC17", "", "", "PC17", true});
    EXPECT_TRUE(result.fixed);
    EXPECT_FALSE(result.shutDown);
    EXPECT_TRUE(pc.shutdownRequests.empty());

    // Nothing checked: no fixing, but the shutdown still follows the option.
    scene.Set_Options(GO_AUTOMATIC_FIXING | GO_SHUTDOWN);
    result = Fix_After_Scan(scene.env, {"PC17", "", "", "PC17", true});
    EXPECT_FALSE(result.fixed);
    EXPECT_TRUE(result.shutDown);
    EXPECT_EQ(pc.shutdownRequests.size(), 1u);
}

TEST_F(FixCommands, TheLocalComputerIsNeverShutDown) {
    scene.Set_Options(GO_AUTOMATIC_FIXING | GO_SHUTDOWN);
    remote::SimComputer& local = scene.network.Local();
    local.aliases.push_back("localhost");
    List_Of("WORKSTATION");
    EXPECT_TRUE(Fix_After_Scan(scene.env, {"WORKSTATION", "", "", "WORKSTATION", false}).fixed);
    EXPECT_FALSE(local.registry.Key_Exists(kHklm, "Software\\Single"));
    // Listed under another name, or answering in another letter case while
    // the scan took it for remote: still the local computer.
    EXPECT_FALSE(Fix_After_Scan(scene.env, {"localhost", "", "", "WORKSTATION", false}).shutDown);
    EXPECT_FALSE(Fix_After_Scan(scene.env, {"localhost", "", "", "Workstation", true}).shutDown);
    EXPECT_TRUE(local.shutdownRequests.empty());
    EXPECT_EQ(scene.Log().find("Shutdown Computer"), std::string::npos);
}

TEST_F(FixCommands, StopBeforeOrDuringTheAutomaticFix) {
    scene.Set_Options(GO_AUTOMATIC_FIXING | GO_SHUTDOWN);
    List_Of("PC17");
    scene.stop = true;
    AutoFixResult result = Fix_After_Scan(scene.env, {"PC17", "", "", "PC17", true});
    EXPECT_TRUE(result.stopped);
    EXPECT_FALSE(result.fixed);
    EXPECT_TRUE(pc.registry.Key_Exists(kHklm, "Software\\Single"));
    EXPECT_EQ(scene.window.results.Count(), 2u);

    // Stop pressed while fixing: the list keeps its rows and nobody is shut down.
    scene.stop = false;
    scene.window.onPump = [&](int) { scene.stop = true; };
    result = Fix_After_Scan(scene.env, {"PC17", "", "", "PC17", true});
    EXPECT_TRUE(result.fixed);
    EXPECT_TRUE(result.stopped);
    EXPECT_FALSE(result.shutDown);
    EXPECT_EQ(scene.window.results.Count(), 2u);
    EXPECT_TRUE(pc.shutdownRequests.empty());
}

TEST_F(FixCommands, AFailedShutdownIsLoggedAsAnError) {
    scene.Set_Options(GO_AUTOMATIC_FIXING | GO_SHUTDOWN);
    pc.shutdownResult = 1191;
    const AutoFixResult result = Fix_After_Scan(scene.env, {"PC17", "", "", "PC17", true});
    EXPECT_FALSE(result.shutDown);
    EXPECT_EQ(pc.shutdownRequests.size(), 1u);
    const std::string log = scene.Log();
    EXPECT_NE(log.find("E: The computer 'PC17' could not be shut down."), std::string::npos);
    EXPECT_EQ(log.find("Shutdown Computer"), std::string::npos);
}

}  // namespace
}  // namespace corvane::testing
