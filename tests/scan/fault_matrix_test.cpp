// The fault matrix: registry categories and the fix on a simulated computer
// whose every call fails from the Nth on, for each kind of failure (falling
// silent too, under a short time limit) and every N across the run. No row
// may name an entry whose test failed, a failing connection ends the computer
// with its "[Error]" row, entries that could not be told leave a warning, and
// the fix deletes only what it found obsolete again.
#include <gtest/gtest.h>

#include <chrono>
#include <map>
#include <set>
#include <string>
#include <tuple>
#include <vector>

#include "fix/fix_problems.h"
#include "scan_world.h"
#include "settings/general_options.h"

namespace corvane::scan::testing {
namespace {

using remote::CallKind;

// Valid entries (their files and folders exist, or they hold something): a
// key and value name, or a key alone.
const std::vector<std::pair<std::string, std::string>> kValid{
    {kHelpKey, "ok.hlp"},         {kUninstall + "\\App1", ""}, {kUninstall + "\\Numbered", ""},
    {kAppPaths + "\\ok.exe", ""}, {kFonts, "Ok (TrueType)"},   {kShared, "C:\\Windows\\System32\\ok.dll"}};

void Seed(remote::SimComputer& pc) {
    for (const char* file :
         {"C:\\Help\\ok.hlp", "C:\\Apps\\ok.exe", "C:\\Windows\\Fonts\\ok.ttf", "C:\\Windows\\System32\\ok.dll"}) {
        pc.files.Add_File(file);
    }
    pc.files.Add_Folder("C:\\Src\\App1");
    pc.registry.Set_String(kHklm, kHelpKey, "ok.hlp", "C:\\Help");
    pc.registry.Set_String(kHklm, kHelpKey, "gone.hlp", "C:\\Help");
    pc.registry.Set_String(kHklm, kUninstall + "\\App1", "InstallSource", "C:\\Src\\App1");
    pc.registry.Set_String(kHklm, kUninstall + "\\App2", "InstallSource", "C:\\Src\\Gone");
    pc.registry.Create_Key(kHklm, kUninstall + "\\Empty");
    pc.registry.Set_Dword(kHklm, kUninstall + "\\Numbered", "", 5);
    pc.registry.Set_String(kHklm, kAppPaths + "\\ok.exe", "", "C:\\Apps\\ok.exe");
    pc.registry.Set_String(kHklm, kAppPaths + "\\gone.exe", "", "C:\\Apps\\gone.exe");
    pc.registry.Set_String(kHklm, kAppPaths + "\\gone.exe", "Path", "C:\\Apps\\GoneDir");
    pc.registry.Set_String(kHklm, kFonts, "Ok (TrueType)", "ok.ttf");
    pc.registry.Set_String(kHklm, kFonts, "Gone (TrueType)", "gone.ttf");
    pc.registry.Set_Dword(kHklm, kShared, "C:\\Windows\\System32\\ok.dll", 1);
    pc.registry.Set_Dword(kHklm, kShared, "C:\\Windows\\System32\\gone.dll", 1);
}

bool Exists(remote::SimComputer& pc, const std::string& keyPath, const std::string& valueName, bool keyOnly) {
    if (keyOnly) return pc.registry.Key_Exists(kHklm, keyPath);
    remote::RegistryValue value;
    return pc.registry.Get_Value(kHklm, keyPath, valueName, value) == 0;
}

// What a registry problem row deletes: its key path and value name.
std::string Target_Of(const ListRow& row) {
    return row.problem->registry.keyPath + "|" + row.problem->registry.valueName;
}

// A problem row as the set of things that identify it.
std::string Identity(const ListRow& row) {
    const Problem& record = *row.problem;
    return row.text + "|" + Target_Of(row) + "|" + std::to_string(static_cast<int>(record.type)) + record.categoryKey +
           record.targetName;
}

enum class Column { HelpFiles, Uninstall, AppPaths, Fonts, SharedDlls, Fix };
constexpr const char* kCategoryKeys[] = {"fA", "fB", "fD", "fE", "fF"};

constexpr std::uint32_t kAccessDenied = 0x80070005u;
// The computer stops answering: the call runs into its time limit.
constexpr std::uint32_t kNeverAnswers = 0x80043001u;
constexpr std::chrono::milliseconds kMatrixCallLimit{20};
const std::uint32_t kFaults[] = {0x800706BAu,  // the RPC server is unavailable
                                 0x800706BEu,  // the remote procedure call failed
                                 0x80010108u,  // the object invoked has disconnected
                                 kAccessDenied, 0x80041010u /* invalid class */, kNeverAnswers};

class FaultMatrix : public ::testing::TestWithParam<std::tuple<Column, std::uint32_t>> {
protected:
    FaultMatrix()
        : world(std::get<1>(GetParam()) == kNeverAnswers ? kMatrixCallLimit : wmi::kDefaultCallLimit),
          pc(world.Add_Computer("PC1")) {
        world.Add_Node("PC1");
        world.Set_Options(GO_SAFE_SCAN);
        Seed(pc);
    }

    // One scan (or scan and fix) with the fault, if any, from the Nth call on.
    void Run(Column column, std::uint32_t fault, int fromCall) {
        world.List().Clear();
        world.network.Clear_Faults();
        world.network.calls.clear();
        if (column == Column::Fix) {
            driver.Start();
            world.network.calls.clear();
        }
        if (fromCall > 0) {
            world.network.Add_Fault({std::nullopt, "PC1", "", fault, fromCall, false, fault == kNeverAnswers});
        }
        if (column == Column::Fix) {
            world.Fix();
        } else {
            driver.Start();
        }
    }

    [[nodiscard]] std::set<std::string> Problem_Rows() {
        std::set<std::string> rows;
        for (const ListRow* row : world.Rows('s')) rows.insert(Identity(*row));
        return rows;
    }

    void Check_Scan_Cell(std::uint32_t fault, int fromCall, std::size_t logBefore,
                         const std::set<std::string>& baseline) {
        for (const std::string& row : Problem_Rows()) EXPECT_EQ(baseline.count(row), 1u) << "unfounded row " << row;
        const auto errors = world.Rows('e');
        const bool fired = static_cast<std::size_t>(fromCall) <= world.network.calls.size();
        if (fault != kAccessDenied && fired) {
            ASSERT_EQ(errors.size(), 1u) << "no [Error] row";
            // A refused root\default connection reads "Access Denied" whatever
            // the cause, unless the computer stopped answering.
            if (world.network.calls[fromCall - 1].kind == CallKind::Connect && fault != kNeverAnswers) return;
            EXPECT_NE(errors[0]->status.find(std::to_string(static_cast<std::int32_t>(fault))), std::string::npos)
                << errors[0]->status;
            return;
        }
        if (!errors.empty()) return;
        bool existenceFailed = false;
        for (std::size_t i = fromCall - 1; fired && i < world.network.calls.size(); ++i) {
            const std::string& text = world.network.calls[i].text;
            existenceFailed = existenceFailed || text.find("CIM_Datafile") != std::string::npos ||
                              text.find("Win32_Directory") != std::string::npos;
        }
        if (existenceFailed) {
            EXPECT_NE(world.Log().find("could not be checked", logBefore), std::string::npos);
        }
    }

    void Check_Fix_Cell() {
        for (const auto& [key, value] : kValid) EXPECT_TRUE(Exists(pc, key, value, value.empty())) << key << value;
        // Every row that reads fixed has its target gone; what is gone was
        // fixed by a row naming it (two App Paths rows name one key).
        std::set<std::string> fixedTargets;
        for (const ListRow* row : world.Rows('s')) {
            if (row->status == fix::kProblemFixedText) fixedTargets.insert(Target_Of(*row));
        }
        for (const ListRow* row : world.Rows('s')) {
            const RegistryItem& item = row->problem->registry;
            const bool keyOnly = row->problem->type == FixType::KeyTree;
            const bool gone = !Exists(pc, item.keyPath, item.valueName, keyOnly);
            EXPECT_TRUE(gone || row->status != fix::kProblemFixedText) << Identity(*row);
            EXPECT_TRUE(!gone || fixedTargets.contains(Target_Of(*row))) << Identity(*row) << ": " << row->status;
        }
    }

    ScanWorld world;
    remote::SimComputer& pc;
    ScanDriver driver{{world.window, world.progress, world.data.db, world.data.reporter, world.target}};
};

TEST_P(FaultMatrix, NothingUnfoundedIsListedOrDeleted) {
    const auto [column, fault] = GetParam();
    if (column == Column::Fix) {
        for (const char* key : kCategoryKeys) world.Check_Category(key);
    } else {
        world.Check_Category(kCategoryKeys[static_cast<int>(column)]);
    }
    Run(column, fault, 0);
    const std::set<std::string> baseline = Problem_Rows();
    ASSERT_FALSE(baseline.empty());
    ASSERT_TRUE(world.Rows('e').empty());
    if (column == Column::Fix) {
        for (const ListRow* row : world.Rows('s')) ASSERT_EQ(row->status, fix::kProblemFixedText) << row->text;
    }
    const int totalCalls = static_cast<int>(world.network.calls.size());

    for (int fromCall = 1; fromCall <= totalCalls + 1; ++fromCall) {
        SCOPED_TRACE("fault from call " + std::to_string(fromCall) + " of " + std::to_string(totalCalls));
        Seed(pc);
        const std::size_t logBefore = world.Log().size();
        Run(column, fault, fromCall);
        if (column == Column::Fix) {
            Check_Fix_Cell();
        } else {
            Check_Scan_Cell(fault, fromCall, logBefore, baseline);
        }
        if (HasFailure()) break;
    }
}

// A computer that stops answering in the middle of the fix: its rows carry
// the time-out, and the next computer is fixed.
TEST(FixRetest, AComputerPastTheTimeLimitEndsItsFixAndTheNextIsFixed) {
    ScanWorld world(kMatrixCallLimit * 4);
    for (const char* name : {"PC1", "PC2"}) {
        Seed(world.Add_Computer(name));
        world.Add_Node(name);
    }
    for (const char* key : kCategoryKeys) world.Check_Category(key);
    world.Scan_Without_Fix();
    world.network.Add_Fault({CallKind::Method, "PC1", "Delete", 0, 2, false, true});
    world.Fix();
    std::map<std::string, std::set<std::string>> statuses;  // of each computer's rows
    for (const ListRow* row : world.Rows('s')) statuses[row->problem->targetName].insert(row->status);
    statuses["PC1"].erase(fix::kProblemFixedText);  // the rows before it fell silent
    EXPECT_EQ(statuses["PC1"], std::set<std::string>{"Timed out"});
    EXPECT_EQ(statuses["PC2"], std::set<std::string>{fix::kProblemFixedText});
}

INSTANTIATE_TEST_SUITE_P(EveryCategoryAndFault, FaultMatrix,
                         ::testing::Combine(::testing::Values(Column::HelpFiles, Column::Uninstall, Column::AppPaths,
                                                              Column::Fonts, Column::SharedDlls, Column::Fix),
                                            ::testing::ValuesIn(kFaults)));

}  // namespace
}  // namespace corvane::scan::testing
