// Scenarios of the Start Scan command on simulated computers: validation,
// the un-fixed question, unreachable, silent and duplicate computers, Stop (Skip is
// pinned per category), row keys and records across computers, the fix
// question, automatic fixing with shutdown, and errors that end a computer;
// then several computers at once: the same list and log as one by one, Stop
// and Skip across the running computers.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <map>
#include <mutex>
#include <stdexcept>

#include "base/ui/results_list_ops.h"
#include "scan/registry_entry_categories.h"
#include "scan_world.h"

namespace corvane::scan::testing {
namespace {

using corvane::testing::ShownMessage;
using remote::CallKind;

constexpr const char* kHelpKey = "Software\\Microsoft\\Windows\\Help";
constexpr const char* kHtmlHelpKey = "Software\\Microsoft\\Windows\\HTML Help";

// Two missing help files under "Help" and one under "HTML Help".
void Seed_Help(remote::SimComputer& computer) {
    computer.registry.Set_String(kHklm, kHelpKey, "gone1.hlp", "C:\\Help");
    computer.registry.Set_String(kHklm, kHelpKey, "gone2.hlp", "C:\\Help\\");
    computer.registry.Set_String(kHklm, kHtmlHelpKey, "gone3.chm", "C:\\Help");
}

// The named computers (the local one too) seeded by Seed_Help and checked in
// the tree in this order, and the categories checked.
void Prepare(ScanWorld& world, std::initializer_list<const char*> computers,
             std::initializer_list<const char*> categories = {"fA"}) {
    for (const std::string name : computers) {
        if (name == kLocalName) world.network.Local().facts.addressWidth = 32;
        Seed_Help(name == kLocalName ? world.network.Local() : world.Add_Computer(name));
        world.Add_Node(name);
    }
    for (const char* key : categories) world.Check_Category(key);
}

TEST(ScanDriver, ValidationShowsOnlyTheFirstMissingChoice) {
    ScanWorld world;
    world.Add_Node("PC1", false);
    world.Scan();
    world.window.Computer_Tree().Set_Checked_Only(world.window.Computer_Tree().Find("mPC1"), true);
    world.Scan();
    std::vector<std::string> shown;
    for (const ShownMessage& message : world.data.messages.shown) shown.push_back(message.text);
    EXPECT_EQ(shown, (std::vector<std::string>{"Please select atleast one computer!",
                                               "Please select atleast one category to scan for!"}));
    EXPECT_FALSE(world.driver.Scan_Ran());
    EXPECT_EQ(world.List().Count(), 0u);
    EXPECT_TRUE(world.Commands_Enabled());
}

// A fresh scan over un-fixed rows only when the user agrees; the closing
// question then runs the fixing command.
TEST(ScanDriver, UnfixedQuestionAnsweredNoLeavesEverythingAloneAndTheFixQuestionFixes) {
    ScanWorld world;
    Prepare(world, {"PC1"});
    world.Scan_Without_Fix();
    ASSERT_EQ(world.Rows('s').size(), 3u);
    const std::size_t rows = world.List().Count();
    const std::string status = world.window.statusText;

    world.data.messages.Queue_Answer(MsgResult::No);  // keep the un-fixed rows
    world.Scan();
    EXPECT_EQ(world.data.messages.shown.back().text,
              "There are un-fixed items in the list.\r\n\r\n"
              "Are you sure you want to start a fresh scan without fixing the issues?");
    EXPECT_EQ(world.List().Count(), rows);
    EXPECT_EQ(world.window.statusText, status);
    EXPECT_FALSE(world.Panel_Visible());
    EXPECT_TRUE(world.Commands_Enabled());

    world.data.messages.Queue_Answer(MsgResult::Yes);  // start afresh
    world.data.messages.Queue_Answer(MsgResult::Yes);  // and fix now
    world.Scan();
    EXPECT_EQ(world.Rows('s').size(), 3u);
    EXPECT_EQ(world.Rows('s')[0]->key, "s0");  // numbering starts again
    std::vector<remote::RegistryValueName> left;
    (void)world.network.Find("PC1")->registry.Enum_Values(kHklm, kHelpKey, left);
    EXPECT_TRUE(left.empty());
    EXPECT_EQ(world.window.statusText, "Total Problems Fixed: 3/3");
}

// An unreachable computer, one that refuses the registry's namespace, one
// that never answers its connection and one that stops answering in the
// middle of a category each get an error row (the last two naming the
// time-out), and the next computer is scanned.
TEST(ScanDriver, ComputersThatCannotBeScannedGetAnErrorRowAndTheNextIsScanned) {
    ScanWorld world(std::chrono::milliseconds(200));
    world.Add_Computer("DEAD").reachable = false;
    world.Add_Computer("LOCKED").refusedNamespaces.insert("ROOT\\DEFAULT");
    const NodeId dead = world.Add_Node("DEAD");
    world.Add_Node("LOCKED");
    Prepare(world, {"HUNG", "STALLED", "PC2"});
    world.network.Add_Fault({CallKind::Connect, "HUNG", "", 0, 1, false, true});
    world.network.Add_Fault({CallKind::Method, "STALLED", "EnumValues", 0, 2, false, true});
    world.Scan_Without_Fix();

    // The rows' texts and the next computer's rows are pinned by the console scanner's tests.
    const auto errors = world.Rows('e');
    ASSERT_EQ(errors.size(), 4u);
    EXPECT_EQ(errors[0]->key, "eDEAD");
    EXPECT_EQ(errors[0]->targetName, "");  // nothing of another computer
    EXPECT_EQ(errors[1]->status, "Access Denied");
    for (const ListRow* row : {errors[2], errors[3]}) EXPECT_EQ(row->status, "-2147209215: Timed out") << row->key;
    EXPECT_EQ(errors[3]->key, "eSTALLED");
    EXPECT_EQ(world.window.Computer_Tree().Node(dead).image, "ComputerLocked");
    EXPECT_EQ(world.driver.Unscanned_Computers(), 4);
    EXPECT_EQ(world.Header("fAPC2")->count, 3);

    // The next scan starts with every node back to "Computer".
    world.data.messages.Queue_Answer(MsgResult::Yes);
    world.window.Computer_Tree().Set_Checked_Only(dead, false);
    world.Scan_Without_Fix();
    EXPECT_EQ(world.window.Computer_Tree().Node(dead).image, "Computer");
}

// Rows carry the name the computer answers with, not the one it is listed
// under; the same computer listed twice is scanned once; computers whose
// names cannot be read are all scanned (an empty name matches none).
TEST(ScanDriver, RowsCarryTheTargetsOwnNameAndTheSameComputerIsScannedOnce) {
    ScanWorld world;
    remote::SimComputer& pc = world.Add_Computer("PC1");
    pc.aliases = {"pc1.example.lan", "10.1.2.3"};
    Seed_Help(pc);
    world.Add_Node("pc1.example.lan");
    const NodeId byAddress = world.Add_Node("10.1.2.3");
    Prepare(world, {"PC2", "PC3"});
    for (const char* name : {"PC2", "PC3"}) {
        world.network.Add_Fault(
            {.kind = CallKind::Query, .computer = name, .match = "Win32_ComputerSystem", .hresult = 0x80041001u});
    }
    world.Scan_Without_Fix();

    const ListRow* header = world.Header("fApc1.example.lan");
    ASSERT_NE(header, nullptr);
    EXPECT_EQ(header->targetName, "PC1");
    EXPECT_EQ(header->computerName, "pc1.example.lan");
    EXPECT_EQ(world.Rows('s')[0]->problem->targetName, "PC1");
    const auto errors = world.Rows('e');
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_EQ(errors[0]->key, "e10.1.2.3");
    EXPECT_EQ(errors[0]->targetName, "10.1.2.3");
    EXPECT_EQ(errors[0]->status, "Already scanned as pc1.example.lan");
    EXPECT_EQ(world.window.Computer_Tree().Node(byAddress).image, "ComputerLocked");
    EXPECT_EQ(world.window.Computer_Tree().Node(byAddress).tag, "PC1");
    EXPECT_EQ(world.Rows('s').size(), 9u);
    EXPECT_EQ(world.Header("fA10.1.2.3"), nullptr);
    EXPECT_EQ(world.Header("fAPC3")->targetName, "");
    const std::string log = world.Log();
    EXPECT_NE(log.find("W: Already Scanned As: pc1.example.lan"), std::string::npos);
    EXPECT_NE(log.find("I: Disconnected: 10.1.2.3"), std::string::npos);
}

TEST(ScanDriver, StopDuringFirstComputerEndsTheScan) {
    ScanWorld world;
    Prepare(world, {"PC1", "PC2"}, {"fA", "fF"});
    world.window.onPump = [&](int pump) {
        if (pump == 2) world.driver.Request_Stop();  // the 1st is the computer's, the 2nd the first entry's
    };
    world.Scan();

    EXPECT_EQ(world.Rows('s').size(), 1u);  // the entry being worked on is finished
    const ListRow* header = world.Header("fAPC1");
    ASSERT_NE(header, nullptr);
    EXPECT_EQ(header->status, "1 Problems Found");
    EXPECT_EQ(world.Header("fFPC1"), nullptr);
    EXPECT_EQ(world.Header("fAPC2"), nullptr);
    EXPECT_EQ(world.network.Count(CallKind::Connect, "PC2"), 0u);
    EXPECT_EQ(world.data.messages.shown.size(), 0u);  // no fix question, so nothing fixed
    const std::string log = world.Log();
    EXPECT_NE(log.find("I: Scan Completed: PC1"), std::string::npos);
    EXPECT_NE(log.find("W: Scanning is aborted by the user!"), std::string::npos);
    EXPECT_TRUE(world.Commands_Enabled());
    EXPECT_FALSE(world.Panel_Visible());
}

TEST(ScanDriver, ProblemKeysAreNumberedAcrossComputersAndCategories) {
    ScanWorld world;
    Prepare(world, {"PC1", "PC2"}, {"fA", "fF"});
    for (const char* name : {"PC1", "PC2"}) {
        world.network.Find(name)->registry.Set_Dword(kHklm, kSharedDllsKey, "C:\\gone\\a.dll", 1);
    }
    world.Scan_Without_Fix();

    std::vector<std::string> keys;
    for (std::size_t i = 0; i < world.List().Count(); ++i) keys.push_back(world.List().Row(i).key);
    EXPECT_EQ(keys, (std::vector<std::string>{"fAPC1", "s0", "s1", "s2", "fFPC1", "s3", "fAPC2", "s4", "s5", "s6",
                                              "fFPC2", "s7"}));
    EXPECT_EQ(world.driver.Control().TotalProblems, 8);
    EXPECT_EQ(world.window.statusText, "Total Problems Found: 8");
    EXPECT_EQ(world.Header("fAPC2")->count, 3);
    EXPECT_EQ(world.List().Row(11).problem->targetName, "PC2");
    ASSERT_FALSE(world.data.messages.shown.empty());
    EXPECT_EQ(world.data.messages.shown.back().text,
              "Successfully completed scanning. 8 Problems Found.\r\n\r\nDo you want to fix the problems now?");
}

// A user's downloads are listed unchecked, so automatic fixing leaves them.
TEST(ScanDriver, AutomaticFixingFixesEachComputerAndShutsDownOnlyRemoteOnes) {
    ScanWorld world;
    world.Set_Options(1 | 8);  // automatic fixing, shutdown
    Prepare(world, {kLocalName, "PC2"}, {"fA", "dF"});
    remote::SimComputer& pc = *world.network.Find("PC2");
    const std::string download = Seed_Download(pc);
    std::vector<bool> kept;  // the local registry keeps a key during a scan only, never in a fix
    bool downloadChecked = false;
    world.window.onPump = [&](int) {
        kept.push_back(world.network.Local().keepsLastKey);
        for (const ListRow* row : world.Rows('c')) downloadChecked = downloadChecked || row->checked;
    };
    world.Scan();
    EXPECT_TRUE(kept.front() && !kept.back());
    EXPECT_EQ(world.window.statusText, "Total Problems Found: 7");
    EXPECT_FALSE(downloadChecked);
    EXPECT_TRUE(pc.files.Find(download).has_value());
    EXPECT_EQ(pc.shutdownRequests, (std::vector<std::uint32_t>{5}));
    EXPECT_TRUE(world.network.Local().shutdownRequests.empty());
    EXPECT_TRUE(world.data.messages.shown.empty());  // no fix question in automatic mode
}

TEST(ScanDriver, AnyExceptionWhileAComputerIsHandledMakesAnErrorRowAndGoesOn) {
    ScanWorld world;
    Prepare(world, {"PC1", "PC2"});
    world.window.onPump = [&](int pump) {
        if (pump == 2) throw std::out_of_range("position out of range");  // inside PC1's first category
    };
    world.Scan_Without_Fix();

    const auto errors = world.Rows('e');
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_EQ(errors[0]->computerName, "PC1");
    EXPECT_EQ(errors[0]->status, "0: position out of range");
    ASSERT_NE(world.Header("fAPC2"), nullptr);
    EXPECT_EQ(world.Header("fAPC2")->status, "3 Problems Found");
    EXPECT_EQ(world.Log().find("Scan Completed: PC1"), std::string::npos);
}

TEST(ScanDriver, ProgressBarCountsTheCategoriesOfEachComputer) {
    ScanWorld world;
    world.Add_Computer("PC1");
    world.Add_Node("PC1");
    world.Check_Category("gR");  // the whole registry family
    world.Scan();
    EXPECT_EQ(world.window.progressMax, 13 + 2);
    EXPECT_EQ(world.window.progressValue, 13 + 2);
    // Every category of the family has its header, with or without a routine.
    for (const char* key : {"fA", "fB", "fC", "fD", "fE", "fF", "fG", "fH", "fI", "fJ", "fK", "fM", "fN"}) {
        const ListRow* header = world.Header(std::string(key) + "PC1");
        ASSERT_NE(header, nullptr) << key;
        EXPECT_EQ(header->status, "0 Problems Found") << key;
    }
}

// An exception table that cannot be read ends each computer at its first
// candidate, with one message and an error row: nothing may be listed that
// the user might have excepted.
TEST(ScanDriver, AnUnreadableExceptionTableListsNothingAndSaysSoOncePerComputer) {
    ScanWorld world;
    Prepare(world, {"PC1", "PC2"}, {"fA", "fF"});
    ASSERT_TRUE(world.data.Run_Sql("DROP TABLE EXCEPTION_TBL"));
    world.Scan();

    EXPECT_TRUE(world.Rows('s').empty());
    std::vector<std::string> shown;
    for (const ShownMessage& message : world.data.messages.shown) shown.push_back(message.text);
    EXPECT_EQ(shown, (std::vector<std::string>(2, "no such table: EXCEPTION_TBL")));
    std::vector<std::string> errors;
    for (const ListRow* row : world.Rows('e')) errors.push_back(row->computerName + ": " + row->status);
    EXPECT_EQ(errors, (std::vector<std::string>{"PC1: 1001: The database statement failed.",
                                                "PC2: 1001: The database statement failed."}));
    EXPECT_EQ(world.Header("fAPC2")->status, "");  // never counted
    EXPECT_EQ(world.Header("fFPC2"), nullptr);     // the computer's scan ended
    EXPECT_EQ(world.window.statusText, "Total Problems Found: 0");
    EXPECT_EQ(world.window.Label(ProgressLabel::ScannedItemCount), "0/0");
    EXPECT_EQ(world.Log().find("Scan Completed: PC1"), std::string::npos);
}

// A network whose computers differ in size and faults: one unreachable, one
// refusing the registry's namespace, one listed twice, one that loses its
// connection in the middle of its scan, and one with many more entries.
void Seed_Mixed_Network(ScanWorld& world) {
    world.Add_Computer("DEAD").reachable = false;
    world.Add_Computer("LOCKED").refusedNamespaces.insert("ROOT\\DEFAULT");
    remote::SimComputer& big = world.Add_Computer("BIG");
    for (int i = 0; i < 300; ++i)
        big.registry.Set_String(kHklm, kHelpKey, "gone" + std::to_string(i) + ".hlp", "C:\\Help");
    world.Add_Node("BIG");
    world.Add_Node("DEAD");
    Prepare(world, {"PC1", "LOST"}, {"fA", "fF"});
    world.Add_Node("LOCKED");
    world.network.Find("PC1")->aliases = {"10.9.9.9"};
    world.Add_Node("10.9.9.9");
    remote::SimComputer& lost = *world.network.Find("LOST");
    for (int i = 0; i < 20; ++i)
        lost.registry.Set_String(kHklm, kHelpKey, "more" + std::to_string(i) + ".hlp", "C:\\Help");
    world.network.Add_Fault(
        {.kind = CallKind::Method, .computer = "LOST", .match = "", .hresult = 0x800706BEu, .fromCall = 12});
    // Stops answering in the middle of its scan: its call ends at the time limit.
    remote::SimComputer& silent = world.Add_Computer("SILENT");
    for (int i = 0; i < 20; ++i)
        silent.registry.Set_String(kHklm, kHelpKey, "quiet" + std::to_string(i) + ".hlp", "C:\\Help");
    world.Add_Node("SILENT");
    world.network.Add_Fault({.kind = CallKind::Method,
                             .computer = "SILENT",
                             .match = "",
                             .hresult = 0,
                             .fromCall = 8,
                             .once = false,
                             .hangs = true});
}

std::vector<std::string> Row_Texts(ScanWorld& world) {
    std::vector<std::string> rows;
    for (std::size_t i = 0; i < world.List().Count(); ++i) {
        const ListRow& row = world.List().Row(i);
        rows.push_back(row.key + "|" + row.text + "|" + row.status + "|" + row.computerName + "|" + row.targetName +
                       "|" + (row.problem ? row.problem->targetName : std::string("-")));
    }
    return rows;
}

// Four at a time lists the very rows, keys and log lines of one at a time:
// each computer's rows together in tree order, each fault in its own
// computer's error row.
TEST(ScanDriver, SeveralAtOnceListTheSameRowsAndLogAsOneByOne) {
    ScanWorld one(std::chrono::milliseconds(200));
    ScanWorld four(std::chrono::milliseconds(200));
    Seed_Mixed_Network(one);
    Seed_Mixed_Network(four);
    four.driver.Set_Computers_At_Once(4);
    one.Scan_Without_Fix();
    four.Scan_Without_Fix();

    EXPECT_EQ(Row_Texts(four), Row_Texts(one));
    EXPECT_EQ(four.Log(), one.Log());
    std::vector<std::string> errors;
    for (const ListRow* row : four.Rows('e')) errors.push_back(row->computerName + ": " + row->status);
    ASSERT_EQ(errors.size(), 5u);
    EXPECT_EQ(errors[0].substr(0, 6), "DEAD: ");
    EXPECT_EQ(errors[1].substr(0, 7), "LOST: -");
    EXPECT_EQ(errors[2], "LOCKED: Access Denied");
    EXPECT_EQ(errors[3], "10.9.9.9: Already scanned as PC1");
    EXPECT_EQ(errors[4], "SILENT: -2147209215: Timed out");
    EXPECT_EQ(four.Header("fABIG")->count, 300);
    EXPECT_LT(four.Header("fALOST")->count, 23);
    EXPECT_EQ(four.driver.Control().TotalProblems, one.driver.Control().TotalProblems);
    EXPECT_EQ(four.driver.Unscanned_Computers(), 5);
    EXPECT_EQ(four.window.Computer_Tree().Node(four.window.Computer_Tree().Find("m10.9.9.9")).tag, "PC1");
}

// Stop ends every running computer at its next entry and starts no other.
TEST(ScanDriver, StopWithSeveralRunningEndsThemAllAndStartsNoOther) {
    ScanWorld world;
    world.driver.Set_Computers_At_Once(2);
    for (const char* name : {"PC1", "PC2", "PC3", "PC4"}) {
        remote::SimComputer& computer = world.Add_Computer(name);
        for (int i = 0; i < 200; ++i)
            computer.registry.Set_String(kHklm, kHelpKey, "g" + std::to_string(i), "C:\\Help");
        world.Add_Node(name);
    }
    world.Check_Category("fA");
    world.window.onPump = [&](int) {
        if (world.window.Label(ProgressLabel::ProblemsCount) != "0") world.driver.Request_Stop();
    };
    world.Scan();

    EXPECT_NE(world.Header("fAPC1"), nullptr);
    EXPECT_EQ(world.Header("fAPC3"), nullptr);
    EXPECT_EQ(world.Header("fAPC4"), nullptr);
    EXPECT_NE(world.Log().find("W: Scanning is aborted by the user!"), std::string::npos);
    EXPECT_TRUE(world.Commands_Enabled());
    EXPECT_FALSE(world.Panel_Visible());
}

// Stop cancels a call in progress: a computer that stops answering does not
// hold the scan until its time limit, and gets no error row for it.
TEST(ScanDriver, StopEndsACallThatNeverAnswers) {
    ScanWorld world(std::chrono::minutes(10));
    world.driver.Set_Computers_At_Once(2);
    for (const char* name : {"PC1", "PC2"}) {
        world.Add_Computer(name).registry.Set_String(kHklm, kHelpKey, "g", "C:\\Help");
        world.Add_Node(name);
    }
    world.network.Add_Fault({.kind = CallKind::Method, .computer = "PC2", .match = "", .hangs = true});
    world.Check_Category("fA");
    world.window.onPump = [&](int) {
        if (world.network.hangingCalls > 0) world.driver.Request_Stop();
    };
    world.Scan();

    EXPECT_EQ(world.network.hangingCalls, 0);
    EXPECT_TRUE(world.Rows('e').empty());
    EXPECT_NE(world.Log().find("W: Scanning is aborted by the user!"), std::string::npos);
}

// Skip leaves the current list on every computer running when it is asked;
// a computer that starts later runs whole.
TEST(ScanDriver, SkipWithSeveralRunningSkipsOnEachOfThem) {
    ScanWorld world;
    world.driver.Set_Computers_At_Once(2);
    for (const char* name : {"PC1", "PC2", "PC3"}) {
        remote::SimComputer& computer = world.Add_Computer(name);
        for (int i = 0; i < 40; ++i) computer.registry.Set_String(kHklm, kHelpKey, "g" + std::to_string(i), "C:\\Help");
        world.Add_Node(name);
    }
    world.Check_Category("fA");
    // PC1 and PC2 each wait at their 20th method call until the Skip has reached the workers.
    std::mutex mutex;
    std::condition_variable changed;
    int held = 0;
    bool released = false;
    std::map<std::string, int> methodCalls;
    world.network.duringCall = [&](const remote::CallRecord& call) {
        if (call.kind != CallKind::Method || call.computer == "PC3") return;
        std::unique_lock lock(mutex);
        if (++methodCalls[call.computer] != 20) return;
        ++held;
        changed.wait(lock, [&] { return released; });
    };
    int skippedAtPump = 0;
    world.window.onPump = [&](int pump) {
        const std::lock_guard lock(mutex);
        if (skippedAtPump == 0 && held == 2) {
            world.driver.Request_Skip();
            skippedAtPump = pump;
        } else if (skippedAtPump != 0 && pump > skippedAtPump && !released) {
            released = true;  // the pump before handed the Skip on
            changed.notify_all();
        }
    };
    world.Scan_Without_Fix();

    EXPECT_LT(world.Header("fAPC1")->count, 40);
    EXPECT_LT(world.Header("fAPC2")->count, 40);
    EXPECT_EQ(world.Header("fAPC3")->count, 40);
}

}  // namespace
}  // namespace corvane::scan::testing
