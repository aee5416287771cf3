// The one routine that opens a computer, and what its purpose changes: the
// scan lists folders, keeps the local registry's last key, reads the drives
// and follows the safe-scan option; the fix confirms the scanned name before
// it opens anything more and always tests through the management service on
// a remote computer.
#include "remote/target_session.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "remote_fixture.h"

namespace corvane::testing {
namespace {

using remote::CallKind;
using remote::OpenOutcome;

using TargetSessionTest = RemoteFixture;

TEST_F(TargetSessionTest, ThePurposeDecidesWhatOpeningDoes) {
    remote::SimComputer& noName = network.Add_Computer("NONAME");
    noName.facts.computerName.clear();
    noName.users["admin"] = "secret";
    struct Case {
        const char* name;
        const remote::SessionPurpose& purpose;
        const char* computer;  // as listed
        const char* scannedName;
        bool safeScanOption;
        OpenOutcome outcome;
        bool safeTests;
    };
    const remote::SessionPurpose& scan = remote::kScanning;
    const remote::SessionPurpose& fix = remote::kFixing;
    const Case cases[] = {
        {"scan, fast", scan, "SERVER1", "", false, OpenOutcome::Opened, false},
        {"scan, safe option", scan, "192.168.1.20", "", true, OpenOutcome::Opened, true},
        {"scan, local stays fast", scan, "WORKSTATION", "", true, OpenOutcome::Opened, false},
        {"scan takes any name", scan, "NONAME", "SERVER1", false, OpenOutcome::Opened, false},
        {"fix, remote always safe", fix, "192.168.1.20", "SERVER1", false, OpenOutcome::Opened, true},
        {"fix, local", fix, "WORKSTATION", "WORKSTATION", false, OpenOutcome::Opened, false},
        {"fix, another name", fix, "SERVER1", "PC17", false, OpenOutcome::OtherName, false},
        {"fix, no name", fix, "NONAME", "", false, OpenOutcome::NameUnreadable, false},
    };
    for (const Case& c : cases) {
        network.calls.clear();
        remote::TargetSession session(ports, c.purpose);
        const bool local = std::string_view(c.computer) == "WORKSTATION";
        std::string errorText;
        remote::OpenRequest request{.computerName = c.computer, .safeScanOption = c.safeScanOption};
        request.credentials = {local ? "" : "admin", Secret(local ? "" : "secret")};
        request.scannedName = c.scannedName;
        EXPECT_EQ(session.Open(std::move(request), errorText), c.outcome) << c.name;
        const bool opened = c.outcome == OpenOutcome::Opened;
        EXPECT_EQ(session.Is_Open(), opened) << c.name;
        const remote::TargetContext& context = session.Context();
        // A computer that is not the one scanned gets no second connection.
        EXPECT_EQ(network.Count(CallKind::Connect), opened ? 2u : 1u) << c.name;
        EXPECT_EQ(context.TargetName.empty(), !opened || std::string_view(c.computer) == "NONAME") << c.name;
        EXPECT_EQ(context.SafeScan, c.safeTests) << c.name;
        // Only a scan lists folders, keeps the local registry's last key and reads the drives.
        const bool scanning = &c.purpose == &scan;
        EXPECT_EQ(context.listings.Enabled(), scanning) << c.name;
        EXPECT_EQ(network.Local().keepsLastKey, scanning) << c.name;
        EXPECT_EQ(!context.FixedDrives.empty(), scanning) << c.name;
        session.Close();
        EXPECT_FALSE(network.Local().keepsLastKey) << c.name;
        EXPECT_FALSE(context.listings.Enabled()) << c.name;
    }
    const std::string log = Log_Text();
    EXPECT_NE(log.find("E: The computer 'SERVER1' answers as 'SERVER1', not as 'PC17'"), std::string::npos);
    EXPECT_NE(log.find("E: The computer 'NONAME' does not tell its name; nothing is deleted on it."),
              std::string::npos);
}

// Stop cancels the call in progress from another thread: an open blocked by
// a silent computer ends at once, not reached. A fix that meets a silent
// computer while it confirms the name says so, rather than that the computer
// does not tell its name.
TEST_F(TargetSessionTest, ASilentComputerIsNotReachedWhenCancelledOrPastTheLimit) {
    remote::RemotePorts patient = ports;
    patient.callLimit = std::chrono::hours(1);
    remote::TargetSession scan(patient, remote::kScanning);
    network.Add_Fault({CallKind::Connect, "SERVER1", "", 0, 1, false, true});
    std::thread stop([&] {
        while (network.hangingCalls == 0) std::this_thread::yield();
        scan.Cancel_Calls();
    });
    std::string errorText;
    EXPECT_EQ(scan.Open({.computerName = "SERVER1"}, errorText), OpenOutcome::NotReached);
    stop.join();
    EXPECT_EQ(errorText, "-2147418110: Call was canceled by the message filter.");
    network.Clear_Faults();
    scan.Resume_Calls();
    EXPECT_EQ(scan.Open({.computerName = "SERVER1", .credentials = {"admin", Secret("secret")}}, errorText),
              OpenOutcome::Opened);

    remote::RemotePorts hasty = ports;
    hasty.callLimit = std::chrono::milliseconds(20);
    remote::TargetSession fix(hasty, remote::kFixing);
    network.Add_Fault({CallKind::Query, "SERVER1", "Win32_ComputerSystem", 0, 1, false, true});
    EXPECT_EQ(
        fix.Open({.computerName = "SERVER1", .credentials = {"admin", Secret("secret")}, .scannedName = "SERVER1"},
                 errorText),
        OpenOutcome::NotReached);
    EXPECT_EQ(errorText, "-2147209215: Timed out");
    EXPECT_FALSE(fix.Is_Open());
}

}  // namespace
}  // namespace corvane::testing
