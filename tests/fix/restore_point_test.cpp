// The restore-point step before fixing: which Windows versions have System
// Restore, and what each mode and the abort option make of a missing or
// failing restore point.
#include "fix/restore_point.h"

#include <gtest/gtest.h>

#include "remote/wmi_connection.h"
#include "scan/scan_world.h"
#include "settings/general_options.h"

namespace corvane::testing {
namespace {

using fix::Create_Restore_Point_Before_Fixing;
using fix::Is_System_Restore_Unsupported;
using scan::testing::ScanWorld;

TEST(RestorePointSupport, VersionsAreComparedAsNumbers) {
    struct Case {
        const char* version;
        bool unsupported;
    };
    const Case cases[] = {
        {"4.0.1381", true},  {"5.0.2195", true},  {"5", true},         {"5.1.2600", false},   {"5.2.3790", false},
        {"6.0.6002", false}, {"6.1.7601", false}, {"6.3.9600", false}, {"10.0.19045", false}, {"10.0.22631", false},
        {"5.10", false},     {"", true},          {"unknown", true},   {".1", true},
    };
    for (const Case& c : cases) EXPECT_EQ(Is_System_Restore_Unsupported(c.version), c.unsupported) << c.version;
}

// A system without System Restore, a computer without the SystemRestore
// class and a restore point that fails, in each mode: asked (manual), shown
// (manual, abort option) or only logged (automatic). A point Windows kept
// from less than a day ago counts as made.
TEST(RestorePointStep, FollowsTheTableOfModes) {
    struct Case {
        const char* version;
        bool systemRestore;
        std::int32_t options;
        MsgResult answer;
        bool result;
        bool asked;
        bool shownCritical;
        bool abortLogged;
        bool keptByWindows = false;
    };
    constexpr std::int32_t kAuto = GO_RESTORE_POINT | GO_AUTOMATIC_FIXING;
    const Case cases[] = {
        {"5.0.2195", true, GO_RESTORE_POINT, MsgResult::No, false, true, false, false},
        {"5.0.2195", true, kAuto | GO_ABORT_FIXING, MsgResult::Ok, true, false, false, false},
        {"10.0.19045", true, GO_RESTORE_POINT, MsgResult::Yes, true, true, false, false},
        {"10.0.19045", true, GO_RESTORE_POINT | GO_ABORT_FIXING, MsgResult::Ok, false, false, true, false},
        {"10.0.19045", false, GO_RESTORE_POINT | GO_ABORT_FIXING, MsgResult::Ok, false, false, true, false},
        {"10.0.19045", true, kAuto | GO_ABORT_FIXING, MsgResult::Ok, false, false, false, true},
        {"10.0.19045", true, kAuto, MsgResult::Ok, true, false, false, false},
        {"6.1.7601", true, kAuto | GO_ABORT_FIXING, MsgResult::Ok, true, false, false, false, true},
    };
    for (const Case& c : cases) {
        const std::string name = std::string(c.version) + (c.systemRestore ? "" : " without SystemRestore") + " " +
                                 std::to_string(c.options);
        ScanWorld fresh;
        remote::SimComputer& computer = fresh.network.Add_Computer("PC17");
        computer.createRestorePointResult = c.keptByWindows ? 0 : 1;
        if (c.keptByWindows) {
            computer.restorePointThrottleHours = 24;
            computer.Add_Restore_Point("Installed a driver", {2026, 12, 5, 9, 0, 0, 60});
        }
        computer.systemRestore = c.systemRestore;
        fresh.context.ComputerName = "PC17";
        fresh.context.OSVersion = c.version;
        fresh.Set_Options(c.options);
        if (c.asked) fresh.data.messages.Queue_Answer(c.answer);
        const auto services = remote::WMI_Connect_To(fresh.ports, "default", "PC17", "", {});
        EXPECT_EQ(Create_Restore_Point_Before_Fixing(fresh.env, fresh.context, *services), c.result) << name;

        const bool unsupported = Is_System_Restore_Unsupported(c.version);
        const std::string message = unsupported ? "System Restore feature is not supported by the Computer 'PC17'."
                                                : "Error while creating System Restore Point for the computer 'PC17'.";
        const auto& shown = fresh.data.messages.shown;
        ASSERT_EQ(shown.size(), (c.asked || c.shownCritical) ? 1u : 0u) << name;
        if (c.asked) {
            EXPECT_EQ(shown[0].text, message + "\r\n\r\nAre you sure you want to continue Fixing?") << name;
            EXPECT_EQ(shown[0].buttons, MsgButtons::YesNo);
        }
        if (c.shownCritical) {
            EXPECT_EQ(shown[0].text, message) << name;
            EXPECT_EQ(shown[0].icon, MsgIcon::Critical);
        }
        const std::string log = fresh.Log();
        EXPECT_EQ(log.find("E: " + message) != std::string::npos, !((unsupported && c.asked) || c.keptByWindows))
            << name;
        EXPECT_EQ(log.find("E: Problem Fixing is aborted.") != std::string::npos, c.abortLogged) << name;
        EXPECT_EQ(log.find("Restore Point Successfully Created."), std::string::npos) << name;
    }
}

}  // namespace
}  // namespace corvane::testing
