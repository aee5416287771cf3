// Start Scan on simulated computers: validation, the un-fixed and fix
// questions, computers that cannot be scanned, Stop, row keys, automatic
// fixing with shutdown, errors that end a computer; several computers at
// once list as one by one, and Stop and Skip reach each running computer.
#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <map>
#include <mutex>
#include <stdexcept>

#include "scan_world.h"

namespace corvane::scan::testing {
namespace {

using corvane::testing::ShownMessage;
using remote::CallKind;

// Two missing help files under "Help" and one under "HTML Help", and `more`
// missing ones under "Help".
void Seed_Help(remote::SimComputer& computer, int more = 0) {
    computer.registry.Set_String(kHklm, kHelpKey, "gone1.hlp", "C:\\Help");
    computer.registry.Set_String(kHklm, kHelpKey, "gone2.hlp", "C:\\Help\\");
    computer.registry.Set_String(kHklm, kHtmlHelpKey, "gone3.chm", "C:\\Help");
    for (int i = 0; i < more; ++i)
        computer.registry.Set_String(kHklm, kHelpKey, "more" + std::to_string(i) + ".hlp", "C:\\Help");
}

// The named computers (the local one too) seeded by Seed_Help and checked in
// the tree in this order, and the categories checked.
void Prepare(ScanWorld& world, std::initializer_list<const char*> computers,
             std::initializer_list<const char*> categories = {"fA"}, int more = 0) {
    for (const std::string name : computers) {
        if (name == kLocalName) world.network.Local().facts.addressWidth = 32;
        Seed_Help(name == kLocalName ? world.network.Local() : world.Add_Computer(name), more);
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
    EXPECT_EQ(world.Rows('s')[0]->key, "s0");                         // numbering starts again
    EXPECT_EQ(world.window.statusText, "Total Problems Fixed: 3/3");  // the fixing command ran
}

TEST(ScanDriver, StopDuringFirstComputerEndsTheScan) {
    ScanWorld world;
    Prepare(world, {"PC1", "PC2"}, {"fA", "fF"});
    world.window.onPump = [&](int pump) {
        if (pump == 2) world.driver.Request_Stop();  // the 1st is the computer's, the 2nd the first entry's
    };
    world.Scan();

    EXPECT_EQ(world.Rows('s').size(), 1u);  // the entry being worked on is finished
    EXPECT_EQ(world.Header("fAPC1")->status, "1 Problems Found");
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

TEST(ScanDriver, ProblemKeysAreNumberedAcrossComputersAndCategoriesAndTheBarCountsCategories) {
    ScanWorld world;
    Prepare(world, {"PC1", "PC2"}, {"fA", "fF"});
    for (const char* name : {"PC1", "PC2"}) {
        world.network.Find(name)->registry.Set_Dword(kHklm, kShared, "C:\\gone\\a.dll", 1);
    }
    world.Scan_Without_Fix();

    std::vector<std::string> keys;
    for (std::size_t i = 0; i < world.List().Count(); ++i) keys.push_back(world.List().Row(i).key);
    EXPECT_EQ(keys, (std::vector<std::string>{"fAPC1", "s0", "s1", "s2", "fFPC1", "s3", "fAPC2", "s4", "s5", "s6",
                                              "fFPC2", "s7"}));
    // The bar counts each computer's categories, and two steps more.
    EXPECT_EQ(world.window.progressMax, 2 + 2);
    EXPECT_EQ(world.window.progressValue, 2 + 2);
    ASSERT_EQ(world.data.messages.shown.size(), 1u);
    EXPECT_EQ(world.data.messages.shown[0].text,
              "Successfully completed scanning. 8 Problems Found.\r\n\r\nDo you want to fix the problems now?");
}

// A user's downloads are listed unchecked, so automatic fixing leaves them.
TEST(ScanDriver, AutomaticFixingFixesEachComputerAndShutsDownOnlyRemoteOnes) {
    ScanWorld world;
    world.Set_Options(1 | 8);  // automatic fixing, shutdown
    Prepare(world, {kLocalName, "PC2"}, {"fA", "dF"});
    remote::SimComputer& pc = *world.network.Find("PC2");
    const std::string download = Seed_Download(pc);
    world.Scan();
    EXPECT_EQ(world.window.statusText, "Total Problems Found: 7");
    remote::RegistryValue fixed;  // the Help Files rows were fixed, the download row left
    EXPECT_EQ(pc.registry.Get_Value(kHklm, kHelpKey, "gone1.hlp", fixed), 2u);
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

    ASSERT_EQ(world.Rows('e').size(), 1u);
    EXPECT_EQ(world.Rows('e')[0]->computerName + ": " + world.Rows('e')[0]->status, "PC1: 0: position out of range");
    EXPECT_EQ(world.Header("fAPC2")->status, "3 Problems Found");
    EXPECT_EQ(world.Log().find("Scan Completed: PC1"), std::string::npos);
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
    EXPECT_EQ(world.window.Label(ProgressLabel::ScannedItemCount), "0/0");
    EXPECT_EQ(world.Log().find("Scan Completed: PC1"), std::string::npos);
}

// A network whose computers fail in each way a scan meets, in tree order: one
// with many entries, one unreachable, one listed by a name of its own and
// again by its address, one that never answers its connection, one that
// loses its connection and one that falls silent in the middle of their
// scans, one refusing the registry's namespace, and two that cannot tell
// their names (both scanned: an empty name matches none).
void Seed_Mixed_Network(ScanWorld& world) {
    Seed_Help(world.Add_Computer("BIG"), 297);
    world.Add_Computer("DEAD").reachable = false;
    remote::SimComputer& pc1 = world.Add_Computer("PC1");
    pc1.aliases = {"pc1.lan", "10.9.9.9"};
    Seed_Help(pc1);
    for (const char* name : {"HUNG", "LOST", "SILENT"}) Seed_Help(world.Add_Computer(name), 20);
    world.Add_Computer("LOCKED").refusedNamespaces.insert("ROOT\\DEFAULT");
    for (const char* node : {"BIG", "DEAD", "pc1.lan", "HUNG", "LOST", "SILENT", "LOCKED", "10.9.9.9"})
        world.Add_Node(node);
    Prepare(world, {"NN1", "NN2"}, {"fA", "fF"});
    world.network.Add_Fault({.kind = CallKind::Connect, .computer = "HUNG", .match = "", .hangs = true});
    world.network.Add_Fault(
        {.kind = CallKind::Method, .computer = "LOST", .match = "", .hresult = 0x800706BEu, .fromCall = 12});
    world.network.Add_Fault(
        {.kind = CallKind::Method, .computer = "SILENT", .match = "", .fromCall = 8, .hangs = true});
    for (const char* name : {"NN1", "NN2"}) {
        world.network.Add_Fault(
            {.kind = CallKind::Query, .computer = name, .match = "Win32_ComputerSystem", .hresult = 0x80041001u});
    }
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

// Each computer that cannot be scanned gets its error row and the next is
// scanned; rows carry the name the computer answers with, not the one it is
// listed under, and the same computer listed twice is scanned once. Four at
// a time lists the very rows, keys and log lines of one at a time.
TEST(ScanDriver, FaultyComputersGetErrorRowsAndSeveralAtOnceListAsOneByOne) {
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
    for (const ListRow* row : four.Rows('e')) errors.push_back(row->key + "|" + row->targetName + "|" + row->status);
    EXPECT_EQ(errors,
              (std::vector<std::string>{
                  "eDEAD||-2147023174: The RPC server is unavailable.", "eHUNG||-2147209215: Timed out",
                  "eLOST|LOST|-2147023170: The remote procedure call failed.", "eSILENT|SILENT|-2147209215: Timed out",
                  "eLOCKED||Access Denied", "e10.9.9.9|10.9.9.9|Already scanned as pc1.lan"}));
    EXPECT_EQ(four.Header("fApc1.lan")->targetName, "PC1");
    EXPECT_EQ(four.Header("fApc1.lan")->computerName, "pc1.lan");
    EXPECT_EQ(four.Header("fA10.9.9.9"), nullptr);
    EXPECT_EQ(four.Header("fABIG")->count, 300);
    EXPECT_LT(four.Header("fALOST")->count, 23);
    for (const char* header : {"fANN1", "fANN2"}) EXPECT_EQ(four.Header(header)->count, 3) << header;
    EXPECT_EQ(four.Header("fANN2")->targetName, "");
    EXPECT_EQ(four.driver.Unscanned_Computers(), 6);
    const std::string log = four.Log();
    EXPECT_NE(log.find("W: Already Scanned As: pc1.lan"), std::string::npos);
    EXPECT_NE(log.find("I: Disconnected: 10.9.9.9"), std::string::npos);
    CheckTree& tree = four.window.Computer_Tree();
    const NodeId dead = tree.Find("mDEAD");
    EXPECT_EQ(tree.Node(dead).image, "ComputerLocked");
    EXPECT_EQ(tree.Node(tree.Find("m10.9.9.9")).image, "ComputerLocked");
    EXPECT_EQ(tree.Node(tree.Find("m10.9.9.9")).tag, "PC1");

    // The next scan starts with every node back to "Computer".
    four.data.messages.Queue_Answer(MsgResult::Yes);
    tree.Set_Checked_Only(dead, false);
    four.Scan_Without_Fix();
    EXPECT_EQ(tree.Node(dead).image, "Computer");
}

// Stop ends every running computer and starts no other; it cancels the
// calls in progress, so that a computer that stops answering does not hold
// the scan until its time limit, and gets no error row for it. PC2 stops
// answering at once, PC1 after some entries: neither can end before
// Stop, so PC3 cannot start first.
TEST(ScanDriver, StopWithSeveralRunningEndsThemAllAndACallThatNeverAnswers) {
    ScanWorld world(std::chrono::minutes(10));
    world.driver.Set_Computers_At_Once(2);
    Prepare(world, {"PC1", "PC2", "PC3", "PC4"}, {"fA"}, 200);
    world.network.Add_Fault({.kind = CallKind::Method, .computer = "PC2", .match = "", .hangs = true});
    world.network.Add_Fault(
        {.kind = CallKind::Method, .computer = "PC1", .match = "", .fromCall = 20, .once = true, .hangs = true});
    world.window.onPump = [&](int) {
        if (world.network.hangingCalls == 2) world.driver.Request_Stop();
    };
    world.Scan();

    EXPECT_NE(world.Header("fAPC1"), nullptr);
    EXPECT_EQ(world.Header("fAPC3"), nullptr);
    EXPECT_EQ(world.Header("fAPC4"), nullptr);
    EXPECT_EQ(world.network.cancelledCalls, 2);  // not their ten-minute limit
    EXPECT_TRUE(world.Rows('e').empty());
}

// Skip leaves the current list on every computer running when it is asked;
// a computer that starts later runs whole.
TEST(ScanDriver, SkipWithSeveralRunningSkipsOnEachOfThem) {
    ScanWorld world;
    world.driver.Set_Computers_At_Once(2);
    Prepare(world, {"PC1", "PC2", "PC3"}, {"fA"}, 37);
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

    for (const char* header : {"fAPC1", "fAPC2"}) EXPECT_LT(world.Header(header)->count, 40) << header;
    EXPECT_EQ(world.Header("fAPC3")->count, 40);
}

}  // namespace
}  // namespace corvane::scan::testing
