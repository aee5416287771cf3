// The Fix command of the main window and the automatic-mode step after a
// computer's scan.
#include "fix/fix_commands.h"

#include <gtest/gtest.h>

#include "base/text.h"
#include "scan/scan_world.h"
#include "settings/general_options.h"

namespace corvane::testing {
namespace {

using fix::AutoFixResult;
using fix::Fix_After_Scan;
using fix::ScannedComputer;
using scan::testing::kHklm;
using scan::testing::ScanWorld;

TEST(FixCommands, FixCommandAsksAndRunsInManualMode) {
    ScanWorld scene;
    scene.Set_Options(0);
    scene.network.Add_Computer("PC17").registry.Set_String(kHklm, "Software\\Single", "V", "z");
    scene.Add_Header("fA", "PC17", "PC17", 1);
    const std::string row = scene.Add_Registry_Row(FixType::Key, "PC17", kHklm, "Software\\Single");
    // Nothing checked to fix: no question, nothing logged.
    scene.Row(row).checked = false;
    EXPECT_FALSE(fix::mnuFixProblems_Click(scene.env));
    EXPECT_TRUE(scene.data.messages.shown.empty());

    scene.Row(row).checked = true;
    scene.data.messages.Queue_Answer(MsgResult::No);
    EXPECT_FALSE(fix::mnuFixProblems_Click(scene.env));
    ASSERT_EQ(scene.data.messages.shown.size(), 1u);
    EXPECT_EQ(scene.data.messages.shown[0].text, "Are you sure you want to fix the checked problems?");
    EXPECT_FALSE(scene.Fixed(row));

    scene.stop = true;  // a Stop left over from the scan is cleared
    EXPECT_TRUE(fix::mnuFixProblems_Click(scene.env));
    EXPECT_TRUE(scene.Fixed(row));
    EXPECT_NE(scene.Log().find("I: Fix Mode: Manual"), std::string::npos);
}

// The automatic-mode step after a computer's scan: it fixes, clears the list
// and shuts a remote computer down (forced) when asked, while the panel stays
// and the commands stay busy for the scan to go on. The local computer is
// never shut down, whether it is listed under another name or answers in
// another letter case while the scan took it for remote.
TEST(FixCommandsAutomatic, OutcomesOfTheStepAfterAComputersScan) {
    struct Case {
        const char* name;
        std::int32_t options;
        bool listed;  // one checked problem row of the computer
        int stop;     // 1 before the step, 2 while fixing
        ScannedComputer computer;
        AutoFixResult expected;
        std::uint32_t shutdownResult = 0;
    };
    constexpr std::int32_t kBoth = GO_AUTOMATIC_FIXING | GO_SHUTDOWN;
    const ScannedComputer pc17{"PC17", "", {}, "PC17", true};
    const Case cases[] = {
        {"fix and shutdown", kBoth, true, 0, pc17, {true, false, true}},
        {"no shutdown option", GO_AUTOMATIC_FIXING, true, 0, pc17, {true, false, false}},
        {"nothing to fix", kBoth, false, 0, pc17, {false, false, true}},
        {"stop before", kBoth, true, 1, pc17, {false, true, false}},
        {"stop while fixing", kBoth, true, 2, pc17, {true, true, false}},
        {"failed shutdown", kBoth, false, 0, pc17, {false, false, false}, 1191},
        {"local", kBoth, true, 0, {"WORKSTATION", "", {}, "WORKSTATION", false}, {true, false, false}},
        {"local by alias", kBoth, true, 0, {"localhost", "", {}, "WORKSTATION", false}, {true, false, false}},
        {"local as remote", kBoth, true, 0, {"localhost", "", {}, "Workstation", true}, {true, false, false}},
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
            (void)scene.Add_Registry_Row(FixType::Key, targetName, kHklm, "Software\\Single");
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
        // A refused shutdown was asked for too; the list stays only when stopped.
        const bool asked = c.expected.shutDown || c.shutdownResult != 0;
        EXPECT_EQ(pc.shutdownRequests, std::vector<std::uint32_t>(asked ? 1 : 0, 5)) << c.name;
        EXPECT_TRUE(local.shutdownRequests.empty()) << c.name;
        EXPECT_EQ(scene.List().Count(), c.expected.stopped ? 2u : 0u) << c.name;
        EXPECT_TRUE(scene.data.messages.shown.empty()) << c.name;
        const std::string log = scene.Log();
        if (c.expected.fixed && !c.expected.stopped) {
            EXPECT_TRUE(scene.Panel_Visible()) << c.name;
            EXPECT_FALSE(scene.Commands_Enabled()) << c.name;
            EXPECT_LT(log.find("Total Problems Fixed 1"), log.find("Shutdown Computer")) << c.name;
        }
        EXPECT_EQ(log.find("Shutdown Computer") != std::string::npos, c.expected.shutDown) << c.name;
        EXPECT_EQ(log.find("E: The computer 'PC17' could not be shut down.") != std::string::npos,
                  c.shutdownResult != 0)
            << c.name;
    }
}

}  // namespace
}  // namespace corvane::testing
