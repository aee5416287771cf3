// The fixing routine on simulated computers: every fix type, rows it must
// leave alone, failures, computers that cannot be reached or answer under
// another name, Stop, the counters in the list and the status bar.
#include "fix/fix_problems.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <map>
#include <set>
#include <sstream>

#include "remote/wmi_errors.h"
#include "scan/scan_world.h"
#include "settings/general_options.h"

namespace corvane::testing {
namespace {

using scan::testing::kHklm;
using scan::testing::kHku;
using scan::testing::ScanWorld;

// Every key and value (in .reg form) of both roots and every file and folder
// of a simulated computer, one text per fact, for comparing states.
std::set<std::string> Snapshot(remote::SimComputer& computer) {
    std::set<std::string> facts;
    for (const std::uint32_t root : {kHklm, kHku}) {
        std::istringstream text(computer.registry.Export_Reg_Text(root, ""));
        std::string key;
        for (std::string line; std::getline(text, line);) {
            if (line.ends_with('\r')) line.pop_back();
            if (line.starts_with('[')) key = line;
            facts.insert(line.starts_with('[') || line.empty() ? line : key + " " + line);
        }
    }
    for (const bool folders : {false, true}) {
        for (const remote::FileEntry& entry : computer.files.All(folders)) {
            facts.insert(std::string(folders ? "folder " : "file ") + entry.path);
        }
    }
    return facts;
}

// Facts of `before` that `after` no longer has; facts that appeared are
// returned with a leading "+".
std::set<std::string> Difference(const std::set<std::string>& before, const std::set<std::string>& after) {
    std::set<std::string> difference;
    std::ranges::set_difference(before, after, std::inserter(difference, difference.end()));
    for (const std::string& fact : after) {
        if (!before.contains(fact)) difference.insert("+" + fact);
    }
    return difference;
}

using remote::CallKind;

// How often a computer was opened under that name (its first namespace).
std::size_t Openings(const remote::SimNetwork& network, std::string_view server) {
    return static_cast<std::size_t>(std::ranges::count_if(network.calls, [&](const remote::CallRecord& call) {
        return call.kind == CallKind::Connect && call.text == server &&
               call.nameSpace.find("cimv2") != std::string::npos;
    }));
}

// PC17 with one thing of every kind to delete, and things that must stay.
class FixProblems : public ::testing::Test {
protected:
    FixProblems() : pc(scene.network.Add_Computer("PC17")) {
        scene.Set_Options(0);
        auto& reg = pc.registry;
        reg.Set_String(kHklm, "Software\\Old\\A\\B", "Deep", "1");
        reg.Set_String(kHklm, "Software\\Old\\A", "Mid", "2");
        reg.Set_String(kHklm, "Software\\Old\\C", "Side", "3");
        reg.Set_String(kHklm, "Software\\Old", "Top", "4");
        reg.Set_String(kHklm, "Software\\Keep", "Stale", "x");
        reg.Set_String(kHklm, "Software\\Keep", "Fine", "y");
        reg.Set_String(kHklm, "Software\\Single", "V", "z");
        reg.Set_String(kHklm, "Software\\Parent\\Child", "V", "c");
        reg.Set_String(kHku, "S-1-5-21-1\\Software\\Unchecked", "V", "u");
        reg.Set_String(kHku, "S-1-5-21-1\\Software\\DoneBefore", "V", "d");
        pc.files.Add_File("C:\\Windows\\Temp\\a.tmp", 10);
        pc.files.Add_File("C:\\Windows\\Temp\\keep.tmp", 10);
        pc.files.Add_File("C:\\Windows\\Temp\\OldDir\\inner.tmp", 5);
    }

    ScanWorld scene;
    remote::SimComputer& pc;
};

// Every kind of row in one list: what each row then says, and the computer
// changes exactly by the rows fixed. Rows that name nothing, an unknown fix
// or a bad root name "Software\Keep", which must stay, as must a key whose
// access is denied; what is already gone reads fixed with nothing deleted.
TEST_F(FixProblems, EachRowGetsItsOutcomeAndTheComputerChangesExactlyByTheFixedOnes) {
    pc.registry.Set_String(kHklm, "Software\\Locked", "V", "l");
    pc.registry.Deny_Access(kHklm, "Software\\Locked");
    const std::string fixed = "Problem fixed";
    const std::string missing = "The file does not exist";  // the scan's text, left as it was
    std::map<std::string, std::string> outcome;             // each row's text afterwards: fixed or not
    outcome[scene.Add_Registry_Row(FixType::Key, "PC17", kHklm, "Software\\Keep")] = missing;  // before any header
    Add_Error_Row(scene.List(), "PC99", "The RPC server is unavailable.");
    scene.Add_Header("fA", "PC17", "PC17", 13);
    outcome[scene.Add_Registry_Row(FixType::KeyTree, "PC17", kHklm, "Software\\Old")] = fixed;
    outcome[scene.Add_Registry_Row(FixType::Value, "PC17", kHklm, "Software\\Keep", "Stale")] = fixed;
    outcome[scene.Add_Registry_Row(FixType::Key, "PC17", kHklm, "Software\\Single")] = fixed;
    // A key with a sub-key and a key the fix may not open stay.
    outcome[scene.Add_Registry_Row(FixType::Key, "PC17", kHklm, "Software\\Parent")] = "Access denied";
    outcome[scene.Add_Registry_Row(FixType::Key, "PC17", kHklm, "Software\\Locked")] = "Access denied";
    const auto unchecked = scene.Add_Registry_Row(FixType::Key, "PC17", kHku, "S-1-5-21-1\\Software\\Unchecked");
    outcome[unchecked] = missing;
    const auto doneBefore = scene.Add_Registry_Row(FixType::Key, "PC17", kHku, "S-1-5-21-1\\Software\\DoneBefore");
    outcome[scene.Add_Registry_Row(FixType::KeyTree, "PC17", kHklm, "Software\\Gone")] = fixed;
    outcome[scene.Add_Registry_Row(FixType::Value, "PC17", kHklm, "Software\\Keep", "NoSuchValue")] = fixed;
    outcome[scene.Add_Registry_Row(FixType::KeyTree, "PC17", kHklm, "")] = "The problem row names no registry key";
    // A key row of a category whose rows are values: no re-test rule.
    outcome[scene.Add_Registry_Row(FixType::Key, "PC17", kHklm, "Software\\Keep", "", "fA")] = "Other Errors";
    scene.Add_Header("dB", "PC17", "PC17", 5);
    outcome[scene.Add_File_Row(FixType::File, "PC17", "C:\\Windows\\Temp\\a.tmp")] = fixed;
    outcome[scene.Add_File_Row(FixType::File, "PC17", "C:\\Windows\\Temp\\OldDir\\inner.tmp")] = fixed;
    outcome[scene.Add_File_Row(FixType::Folder, "PC17", "C:\\Windows\\Temp\\OldDir")] = fixed;
    outcome[scene.Add_File_Row(FixType::File, "PC17", "C:\\Windows\\Temp\\gone.tmp")] = fixed;
    outcome[scene.Add_File_Row(FixType::Folder, "PC17", "")] = "The problem row names no file or folder";
    // A file the listing could not say which one it was stays.
    const auto noIdentity = scene.Add_File_Row(FixType::File, "PC17", "C:\\Windows\\Temp\\keep.tmp");
    outcome[noIdentity] = "Other Errors";
    scene.Row(noIdentity).problem->file.identity = {};
    scene.Row(unchecked).checked = false;
    scene.Row(doneBefore).problem->fixed = true;
    scene.Row(doneBefore).status = fixed;

    const auto before = Snapshot(pc);
    scene.Fix();
    const std::set<std::string> expected = {
        "[HKEY_LOCAL_MACHINE\\Software\\Old]",
        "[HKEY_LOCAL_MACHINE\\Software\\Old\\A]",
        "[HKEY_LOCAL_MACHINE\\Software\\Old\\A\\B]",
        "[HKEY_LOCAL_MACHINE\\Software\\Old\\C]",
        "[HKEY_LOCAL_MACHINE\\Software\\Old] \"Top\"=\"4\"",
        "[HKEY_LOCAL_MACHINE\\Software\\Old\\A] \"Mid\"=\"2\"",
        "[HKEY_LOCAL_MACHINE\\Software\\Old\\A\\B] \"Deep\"=\"1\"",
        "[HKEY_LOCAL_MACHINE\\Software\\Old\\C] \"Side\"=\"3\"",
        "[HKEY_LOCAL_MACHINE\\Software\\Keep] \"Stale\"=\"x\"",
        "[HKEY_LOCAL_MACHINE\\Software\\Single]",
        "[HKEY_LOCAL_MACHINE\\Software\\Single] \"V\"=\"z\"",
        "file C:\\Windows\\Temp\\a.tmp",
        "file C:\\Windows\\Temp\\OldDir\\inner.tmp",
        "folder C:\\Windows\\Temp\\OldDir",
    };
    EXPECT_EQ(Difference(before, Snapshot(pc)), expected);
    for (const auto& [key, text] : outcome) {
        EXPECT_EQ(scene.Problem_Text(key), text) << key;
        EXPECT_EQ(scene.Fixed(key), text == fixed) << key;
    }
    EXPECT_EQ(scene.Row("ePC99").status, "The RPC server is unavailable.");

    const std::string log = scene.Log();
    for (const char* line :
         {"I: Deleted: registry key HKEY_LOCAL_MACHINE\\Software\\Single on PC17",
          "W: Not deleted: registry key HKEY_LOCAL_MACHINE\\Software\\Parent on PC17: Access denied",
          "I: Deleted: folder C:\\Windows\\Temp\\OldDir on PC17",
          "I: Nothing to delete, already gone: registry value \"NoSuchValue\"",
          "W: Not deleted: registry key HKEY_LOCAL_MACHINE\\Software\\Keep on PC17: its kind of row has no re-test "
          "rule",
          "I: Total Problems Fixed 9"}) {
        EXPECT_NE(log.find(line), std::string::npos) << line;
    }
}

// Rows are fixed on the computer that answers with their target's name, and
// a failure stays in its row while the run goes on. Nothing is deleted on an
// address that now answers under another name, on two computers that do not
// tell their names (never taken for one) nor on an unreachable one, which
// keeps its rows. A failed connection is tried again at the computer's next
// header, a second list entry of that computer is the same computer, and an
// error inside one row goes into that row.
TEST_F(FixProblems, RowsGoToTheComputerThatAnswersWithTheirNameAndFailuresStayInTheirRows) {
    pc.aliases.push_back("10.0.0.17");
    remote::SimComputer& other = scene.network.Add_Computer("OTHER");
    other.aliases.push_back("10.0.0.5");
    other.registry.Set_String(kHklm, "Software\\Single", "V", "z");
    scene.network.Add_Computer("PC2").reachable = false;
    scene.network.Add_Fault({CallKind::Connect, "PC17", "", 0x800706BAu, 1, true});
    scene.network.Add_Fault({CallKind::Method, "PC17", "DeleteKey", wmi::hresult::kWbemFailed, 1, true});
    scene.Add_Header("fA", "10.0.0.5", "PC17", 1);
    const std::string kept = "The file does not exist";  // the scan's text
    std::map<std::string, std::string> outcome;          // each row's text afterwards
    outcome[scene.Add_Registry_Row(FixType::Key, "PC17", kHklm, "Software\\Single")] = kept;
    for (const char* name : {"PC18", "PC19"}) {
        remote::SimComputer& computer = scene.network.Add_Computer(name);
        computer.facts.computerName.clear();
        computer.registry.Set_String(kHklm, "Software\\Single", "V", "z");
        scene.Add_Header("fA", name, "", 1);
        outcome[scene.Add_Registry_Row(FixType::Key, "", kHklm, "Software\\Single")] = "Other Errors";
    }
    scene.Add_Header("fA", "PC2", "PC2", 1);
    const auto unreachable = scene.Add_Registry_Row(FixType::Key, "PC2", kHklm, "Software\\X");
    outcome[unreachable] = kept;
    scene.Add_Header("fA", "PC17", "PC17", 1);
    outcome[scene.Add_Registry_Row(FixType::Key, "PC17", kHklm, "Software\\Parent\\Child")] = kept;
    scene.Add_Header("fB", "PC17", "PC17", 2);
    outcome[scene.Add_Registry_Row(FixType::Key, "PC17", kHklm, "Software\\Single")] =
        wmi::Hresult_Description(wmi::hresult::kWbemFailed);
    outcome[scene.Add_Registry_Row(FixType::Value, "PC17", kHklm, "Software\\Keep", "Stale")] = fix::kProblemFixedText;
    scene.Add_Header("fC", "10.0.0.17", "PC17", 1);
    outcome[scene.Add_File_Row(FixType::File, "PC17", "C:\\Windows\\Temp\\a.tmp")] = fix::kProblemFixedText;
    scene.Fix();
    for (const auto& [key, text] : outcome) EXPECT_EQ(scene.Problem_Text(key), text) << key;
    EXPECT_TRUE(scene.Row(unreachable).checked);
    EXPECT_EQ(Openings(scene.network, "PC19"), 1u);
    for (const remote::CallRecord& call : scene.network.calls) {
        EXPECT_FALSE(call.kind == CallKind::Method && call.computer != "PC17") << call.computer << call.text;
    }
    EXPECT_TRUE(pc.registry.Key_Exists(kHklm, "Software\\Single"));
    EXPECT_EQ(Openings(scene.network, "PC17"), 2u);
    EXPECT_EQ(Openings(scene.network, "10.0.0.17"), 0u);
    const std::string log = scene.Log();
    EXPECT_NE(log.find("E: "), std::string::npos);
    EXPECT_EQ(log.find("Connected: PC2"), std::string::npos);
    EXPECT_EQ(log.find("Fixing Started: PC2"), std::string::npos);
    EXPECT_LT(log.find("Disconnected: PC17"), log.find("Connected: PC17"));
    EXPECT_TRUE(scene.data.messages.shown.empty());
}

TEST_F(FixProblems, StopEndsTheRunAfterTheCurrentRowAndTheClosingStepsStillRun) {
    scene.Add_Header("fA", "PC17", "PC17", 3);
    const auto first = scene.Add_Registry_Row(FixType::Key, "PC17", kHklm, "Software\\Single");
    const auto second = scene.Add_Registry_Row(FixType::Value, "PC17", kHklm, "Software\\Keep", "Stale");
    const auto third = scene.Add_File_Row(FixType::File, "PC17", "C:\\Windows\\Temp\\a.tmp");
    // Pumps: at the computer change, after the header, after the first row.
    scene.window.onPump = [&](int pump) {
        if (pump == 3) scene.stop = true;
    };
    scene.Fix();
    EXPECT_TRUE(scene.Fixed(first));
    EXPECT_FALSE(scene.Fixed(second));
    EXPECT_FALSE(scene.Fixed(third));
    const std::string log = scene.Log();
    EXPECT_LT(log.find("W: Fixing is aborted by the user!"), log.find("Fixing Completed: PC17"));
    EXPECT_NE(log.find("Disconnected: PC17"), std::string::npos);
    EXPECT_NE(log.find("Total Problems Fixed 1"), std::string::npos);
}

TEST_F(FixProblems, CountersAndStatusTexts) {
    scene.Check_Category("fA");  // one checked category, but three headers below
    scene.Add_Header("fA", "PC17", "PC17", 2);
    scene.Add_Registry_Row(FixType::Key, "PC17", kHklm, "Software\\Single");
    const auto unchecked = scene.Add_Registry_Row(FixType::Key, "PC17", kHklm, "Software\\Parent\\Child");
    scene.Row(unchecked).checked = false;
    scene.Add_Header("fB", "PC17", "PC17", 1);
    scene.Add_Registry_Row(FixType::Key, "PC17", kHklm, "Software\\Parent");  // refused: has sub-keys
    scene.Add_Header("fC", "PC17", "PC17", 0);
    scene.Fix();

    EXPECT_EQ(scene.Row("fAPC17").status, "1 Problems successfully fixed");
    EXPECT_EQ(scene.Row("fAPC17").count, 1);  // the unchecked row is still unfixed
    EXPECT_EQ(scene.Row("fBPC17").status, "0 Problems successfully fixed");
    EXPECT_EQ(scene.Row("fBPC17").count, 1);
    EXPECT_EQ(scene.Row("fCPC17").status, "0 Problems successfully fixed");
    EXPECT_EQ(scene.window.statusText, "Total Problems Fixed: 1/3");
    // The fix command leaves the window idle again.
    EXPECT_EQ(scene.window.commandStates, (std::vector<bool>{false, true}));
    EXPECT_EQ(scene.window.panelStates, (std::vector<bool>{true, false}));

    // A second run skips the fixed row and adds the still unfixed ones into
    // the totals; with Child gone, Parent can be deleted now.
    scene.Row(unchecked).checked = true;
    scene.Fix();
    EXPECT_TRUE(scene.Fixed(unchecked));
    EXPECT_EQ(scene.Row("fAPC17").count, 0);
    EXPECT_EQ(scene.Row("fBPC17").count, 0);
    EXPECT_EQ(scene.window.statusText, "Total Problems Fixed: 2/2");
}

// Three computers fixed one at a time and three at once: each changes by
// exactly its checked rows and is opened once (a header without rows is still
// its computer); a refused restore point asks its question once and leaves
// only its own computer alone; the log keeps the list's order.
TEST(FixProblemsAtOnce, EachComputerChangesByExactlyItsCheckedRows) {
    for (const int atOnce : {1, 3}) {
        SCOPED_TRACE(atOnce);
        ScanWorld scene;
        scene.Set_Options(GO_RESTORE_POINT);
        scene.env.computersAtOnce = atOnce;
        std::vector<std::set<std::string>> before;
        std::vector<std::string> unchecked;
        for (const char* name : {"PC1", "PC2", "PC3"}) {
            remote::SimComputer& computer = scene.network.Add_Computer(name);
            computer.registry.Set_String(kHklm, "Software\\Gone", "V", "1");
            computer.registry.Set_String(kHklm, "Software\\Keep", "Stale", "x");
            computer.registry.Set_String(kHklm, "Software\\Keep", "Fine", "y");
            before.push_back(Snapshot(computer));
            scene.Add_Header("fA", name, name, 2);
            (void)scene.Add_Registry_Row(FixType::Key, name, kHklm, "Software\\Gone");
            unchecked.push_back(scene.Add_Registry_Row(FixType::Value, name, kHklm, "Software\\Keep", "Stale"));
            scene.Add_Header("fB", name, name, 0);
        }
        scene.Row(unchecked[1]).checked = false;
        scene.network.Find("PC3")->createRestorePointResult = 1;
        scene.data.messages.Queue_Answer(MsgResult::No);  // do not go on without a restore point
        scene.Fix();

        const std::set<std::string> gone = {"[HKEY_LOCAL_MACHINE\\Software\\Gone]",
                                            "[HKEY_LOCAL_MACHINE\\Software\\Gone] \"V\"=\"1\""};
        std::set<std::string> keyAndValue = gone;
        keyAndValue.insert("[HKEY_LOCAL_MACHINE\\Software\\Keep] \"Stale\"=\"x\"");
        EXPECT_EQ(Difference(before[0], Snapshot(*scene.network.Find("PC1"))), keyAndValue);
        EXPECT_EQ(Difference(before[1], Snapshot(*scene.network.Find("PC2"))), gone);
        EXPECT_TRUE(Difference(before[2], Snapshot(*scene.network.Find("PC3"))).empty());
        EXPECT_EQ(scene.data.messages.shown.size(), 1u);
        EXPECT_EQ(Openings(scene.network, "PC2"), 1u);
        EXPECT_EQ(scene.network.Find("PC2")->Restore_Points().size(), 1u);
        EXPECT_EQ(scene.window.statusText, "Total Problems Fixed: 3/6");
        const std::string log = scene.Log();
        EXPECT_NE(log.find("I: Restore Point Successfully Created."), std::string::npos);
        EXPECT_LT(log.find("Fixing Started: PC1"), log.find("Fixing Started: PC2"));
        EXPECT_LT(log.find("Fixing Started: PC2"),
                  log.find("Error while creating System Restore Point for the computer 'PC3'"));
        EXPECT_EQ(log.find("Fixing Started: PC3"), std::string::npos);
    }
}

}  // namespace
}  // namespace corvane::testing
