// The one routine that opens a computer, and what its purpose changes: the
// scan lists folders, keeps the local registry's last key, reads the drives
// and follows the safe-scan option; the fix confirms the scanned name before
// it opens anything more and always tests through the management service on
// a remote computer.
#include "remote/target_session.h"

#include <gtest/gtest.h>

#include "remote_fixture.h"

namespace corvane::testing {
namespace {

using remote::CallKind;
using remote::OpenOutcome;

class TargetSessionTest : public RemoteFixture {
protected:
    TargetSessionTest() {
        network.Local().facts.computerName = "WORKSTATION";
        remote::SimComputer& noName = network.Add_Computer("NONAME");
        noName.facts.computerName.clear();
        noName.users["admin"] = "secret";
    }
};

TEST_F(TargetSessionTest, ThePurposeDecidesWhatOpeningDoes) {
    struct Case {
        const char* name;
        const remote::SessionPurpose& purpose;
        const char* computer;  // as listed
        const char* scannedName;
        bool safeScanOption;
        OpenOutcome outcome;
        bool safeTests;
        bool listings;
        bool keptKey;
        bool drivesRead;
    };
    const remote::SessionPurpose& scan = remote::kScanning;
    const remote::SessionPurpose& fix = remote::kFixing;
    const Case cases[] = {
        {"scan, fast", scan, "SERVER1", "", false, OpenOutcome::Opened, false, true, true, true},
        {"scan, safe option", scan, "192.168.1.20", "", true, OpenOutcome::Opened, true, true, true, true},
        {"scan, local stays fast", scan, "WORKSTATION", "", true, OpenOutcome::Opened, false, true, true, true},
        {"scan takes any name", scan, "NONAME", "SERVER1", false, OpenOutcome::Opened, false, true, true, true},
        {"fix, remote always safe", fix, "192.168.1.20", "SERVER1", false, OpenOutcome::Opened, true, false, false,
         false},
        {"fix, local", fix, "WORKSTATION", "WORKSTATION", false, OpenOutcome::Opened, false, false, false, false},
        {"fix, another name", fix, "SERVER1", "PC17", false, OpenOutcome::OtherName, false, false, false, false},
        {"fix, no name", fix, "NONAME", "", false, OpenOutcome::NameUnreadable, false, false, false, false},
    };
    for (const Case& c : cases) {
        network.calls.clear();
        remote::TargetSession session(ports, c.purpose);
        const bool local = std::string_view(c.computer) == "WORKSTATION";
        remote::OpenRequest request{.computerName = c.computer};
        request.credentials = {local ? "" : "admin", Secret(local ? "" : "secret")};
        request.safeScanOption = c.safeScanOption;
        request.scannedName = c.scannedName;
        std::string errorText;
        EXPECT_EQ(session.Open(std::move(request), errorText), c.outcome) << c.name;
        const bool opened = c.outcome == OpenOutcome::Opened;
        EXPECT_EQ(session.Is_Open(), opened) << c.name;
        const remote::TargetContext& context = session.Context();
        // A computer that is not the one scanned gets no second connection.
        EXPECT_EQ(network.Count(CallKind::Connect), opened ? 2u : 1u) << c.name;
        EXPECT_EQ(context.TargetName.empty(), !opened || std::string_view(c.computer) == "NONAME") << c.name;
        EXPECT_EQ(context.SafeScan, c.safeTests) << c.name;
        EXPECT_EQ(context.listings.Enabled(), c.listings) << c.name;
        EXPECT_EQ(network.Local().keepsLastKey, c.keptKey) << c.name;
        EXPECT_EQ(!context.FixedDrives.empty(), c.drivesRead) << c.name;
        session.Close();
        EXPECT_FALSE(network.Local().keepsLastKey) << c.name;
        EXPECT_FALSE(context.listings.Enabled()) << c.name;
    }
    const std::string log = Log_Text();
    EXPECT_NE(log.find("E: The computer 'SERVER1' answers as 'SERVER1', not as 'PC17'"), std::string::npos);
    EXPECT_NE(log.find("E: The computer 'NONAME' does not tell its name; nothing is deleted on it."),
              std::string::npos);
}

}  // namespace
}  // namespace corvane::testing
