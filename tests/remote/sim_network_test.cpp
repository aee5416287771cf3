// The simulated network as Windows shows it: junctions and the checked
// deletion; and a share listing that never answers, which the scan must take
// for "unavailable". (Its other faults are seen failing by the fault matrix
// and the fix's, backup's and session's tests.)
#include "remote/sim/sim_network.h"

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <thread>

#include "base/runtime_error.h"
#include "remote/share_walk.h"
#include "remote/wmi_errors.h"
#include "sim_scene.h"
#include "support/expect_error.h"

namespace corvane::remote {
namespace {

using std::chrono_literals::operator""ms;
using std::chrono_literals::operator""h;

// A remote computer with C:\Users\kim\Temp\t.tmp and a junction "link" in
// that Temp folder to C:\Data.
struct LinkedDisk {
    LinkedDisk() {
        pc.files.Add_File("C:\\Users\\kim\\Temp\\t.tmp", 3);
        pc.files.Add_File("C:\\Data\\secret.doc", 5);
        pc.files.Add_Junction("C:\\Users\\kim\\Temp\\link", "C:\\Data");
    }
    FileIdentity Identity(std::string_view path) {
        ListedEntry entry;
        EXPECT_EQ(ListingResult::Found, network.Entry_Of("\\\\PC1\\C$\\" + std::string(path.substr(3)), entry));
        return entry.identity;
    }
    SimNetwork network;
    SimComputer& pc = network.Add_Computer("PC1");
};

TEST(SimDisks, WmiShowsAJunctionAsAFolderWhileTheShareReportsIt) {
    LinkedDisk d;
    const auto link = d.pc.Find_Entry("C:\\Users\\kim\\Temp\\link");
    ASSERT_TRUE(link.has_value());
    EXPECT_TRUE(link->isFolder);
    EXPECT_FALSE(link->isReparsePoint);
    std::vector<FileEntry> inside;
    ASSERT_EQ(kStatusOk, d.pc.List_Folder("C:\\Users\\kim\\Temp\\link", inside));
    ASSERT_EQ(1u, inside.size());
    EXPECT_EQ("C:\\Users\\kim\\Temp\\link\\secret.doc", inside[0].path);
    // The share reports it (the scan neither lists nor enters it: the disk categories' tables).
    std::vector<ListedEntry> listed;
    ASSERT_EQ(ListingResult::Found, d.network.List_Folder("\\\\PC1\\C$\\Users\\kim\\Temp\\", listed, true));
    ASSERT_EQ(2u, listed.size());
    EXPECT_TRUE(listed[0].Is_Reparse_Point() && listed[0].name == "link");

    // Win32_Directory.Delete takes the content along, through the junction too.
    EXPECT_EQ(kStatusOk, d.pc.Delete_Folder("C:\\Users\\kim\\Temp\\link"));
    EXPECT_FALSE(d.pc.files.Find("C:\\Data\\secret.doc").has_value());
}

TEST(SimDisks, CheckedDeletionDeletesOnlyWhatItSaw) {
    struct Case {
        const char* name;
        const char* path;
        std::function<void(SimFileSystem&)> change;  // after the scan saw the identity
        DeleteOutcome outcome;
    };
    const std::vector<Case> cases = {
        {"unchanged", "C:\\Users\\kim\\Temp\\t.tmp", {}, DeleteOutcome::Deleted},
        {"already gone", "C:\\Users\\kim\\Temp\\t.tmp",
         [](SimFileSystem& files) { (void)files.Delete_File("C:\\Users\\kim\\Temp\\t.tmp"); }, DeleteOutcome::Gone},
        {"replaced by a file of that name", "C:\\Users\\kim\\Temp\\t.tmp",
         [](SimFileSystem& files) {
             (void)files.Delete_File("C:\\Users\\kim\\Temp\\t.tmp");
             files.Add_File("C:\\Users\\kim\\Temp\\t.tmp");
         },
         DeleteOutcome::IdentityDiffers},
        {"start folder swapped for a junction", "C:\\Users\\kim\\Temp\\t.tmp",
         [](SimFileSystem& files) {
             files.Add_File("C:\\Data\\t.tmp");
             files.Add_Junction("C:\\Users\\kim\\Temp", "C:\\Data");
         },
         DeleteOutcome::ReparsePoint},
        {"the junction itself", "C:\\Users\\kim\\Temp\\link", {}, DeleteOutcome::ReparsePoint},
        {"a folder with content", "C:\\Users\\kim\\Temp", {}, DeleteOutcome::NotEmpty},
        {"outside the start folder", "C:\\Data\\secret.doc", {}, DeleteOutcome::OutsideStart},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        LinkedDisk d;
        const FileIdentity seen = d.Identity(c.path);
        if (c.change) c.change(d.pc.files);
        const std::string share = "\\\\PC1\\C$\\" + std::string(c.path + 3);
        const DeleteResult result = d.network.Delete_Checked(share, "\\\\PC1\\C$\\Users\\kim\\Temp\\", seen);
        EXPECT_EQ(c.outcome, result.outcome) << Delete_Outcome_Text(result);
        EXPECT_TRUE(d.pc.files.Find("C:\\Data\\secret.doc").has_value());
        const bool removed = c.outcome == DeleteOutcome::Deleted || c.outcome == DeleteOutcome::Gone;
        EXPECT_EQ(removed, !d.pc.files.Find(c.path).has_value());
    }

    // A swap after the checks: the open handle still deletes the file it opened.
    LinkedDisk d;
    const FileIdentity seen = d.Identity("C:\\Users\\kim\\Temp\\t.tmp");
    d.network.beforeCheckedDelete = [&] {
        ASSERT_EQ(kStatusOk, d.pc.files.Rename("C:\\Users\\kim\\Temp", "C:\\Users\\kim\\Old"));
        d.pc.files.Add_File("C:\\Data\\t.tmp");
        d.pc.files.Add_Junction("C:\\Users\\kim\\Temp", "C:\\Data");
    };
    EXPECT_EQ(DeleteOutcome::Deleted,
              d.network.Delete_Checked("\\\\PC1\\C$\\Users\\kim\\Temp\\t.tmp", "\\\\PC1\\C$\\Users\\kim\\Temp", seen)
                  .outcome);
    EXPECT_TRUE(d.pc.files.Find("C:\\Data\\t.tmp").has_value());
    EXPECT_FALSE(d.pc.files.Find("C:\\Users\\kim\\Old\\t.tmp").has_value());
}

// A share listing that never answers ends with the time-out at its limit, or
// with the cancellation as soon as another thread cancels the computer's
// calls (Stop); either way the listing answers "unavailable", never "missing".
// (Connections, queries and method calls that never answer: the session's
// and the scan driver's tests.)
TEST(SimNetwork, AShareListingThatNeverAnswersIsUnavailable) {
    for (const bool cancel : {false, true}) {
        SCOPED_TRACE(cancel ? "cancelled" : "timed out");
        corvane::testing::SimScene scene;
        RemotePorts ports = scene.ports;
        // Cancelled calls would wait an hour: only the cancellation ends them.
        ports.callLimit = cancel ? 1h : 20ms;
        TargetContext context(ports);
        scene.network.Add_Fault({CallKind::ShareListing, "SERVER1", "", 0, 1, false, true});
        std::thread stop;
        if (cancel) {
            stop = std::thread([&] {
                while (scene.network.hangingCalls == 0) std::this_thread::yield();
                context.Calls()->Cancel_Calls();
            });
        }
        EXPECT_EQ(context.Shares().Find("\\\\SERVER1\\C$\\", kListEverything), ListingResult::Unavailable);
        const auto expected = Hresult_Number(cancel ? wmi::hresult::kCallCanceled : wmi::hresult::kTimedOut);
        EXPECT_TRUE(corvane::testing::Raises([&] { wmi::Raise_Hresult(context.Calls()->Ended_By()); }, expected));
        if (stop.joinable()) stop.join();
    }
}

}  // namespace
}  // namespace corvane::remote
