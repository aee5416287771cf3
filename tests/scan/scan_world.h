// A scan and its fix end to end: a fresh installed database, simulated
// computers (the program runs on "WORKSTATION"), the model-only main window
// with its progress presenter, the scan driver and the fixing routine; for
// the fix tests also the rows a scan would write.
#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <string_view>
#include <vector>

#include "app/scan_and_fix.h"
#include "base/ui/check_tree.h"
#include "base/ui/results_list.h"
#include "db/app_tables.h"
#include "fix/fix_problems.h"
#include "remote/listed_identity.h"
#include "remote/sim/sim_network.h"
#include "remote/target_context.h"
#include "scan/registry_entry_categories.h"
#include "scan/scan_categories.h"
#include "scan/scan_driver.h"
#include "scan/scan_target.h"
#include "support/fakes.h"
#include "support/result_rows.h"
#include "support/test_database.h"
#include "support/window_fakes.h"

namespace corvane::scan::testing {

using fix::FixType;

inline constexpr std::uint32_t kHklm = 0x80000002u;
inline constexpr std::uint32_t kHku = 0x80000003u;
inline constexpr const char* kLocalName = "WORKSTATION";
// Keys of the registry categories, for paths below them.
inline const std::string kHelpKey = std::string(kHelpFilesParent) + "Help";
inline const std::string kHtmlHelpKey = std::string(kHelpFilesParent) + "HTML Help";
inline const std::string kUninstall = kUninstallKey;
inline const std::string kAppPaths = kAppPathsKey;
inline const std::string kFonts = kFontsKey;
inline const std::string kShared = kSharedDllsKey;

// A user profile in the computer's profile list (its hive loaded or not:
// HKEY_USERS holds only what a test writes there).
inline void Seed_Profile(remote::SimComputer& computer, std::string_view sid, std::string_view folder,
                         std::uint32_t type = remote::kRegExpandSz) {
    computer.registry.Set_String(kHklm,
                                 "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\ProfileList\\" + std::string(sid),
                                 "ProfileImagePath", folder, type);
}

// A user's downloaded file, in the Downloads folder of the user's profile
// as the profile list and the user's shell folders name them; its path.
inline std::string Seed_Download(remote::SimComputer& computer) {
    constexpr const char* kSid = "S-1-5-21-9";
    Seed_Profile(computer, kSid, "C:\\Users\\kim");
    computer.registry.Set_String(
        kHku, std::string(kSid) + "\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders",
        "{374DE290-123F-4565-9164-39C4925E467B}", "C:\\Users\\kim\\Downloads");
    const std::string path = "C:\\Users\\kim\\Downloads\\setup.exe";
    computer.files.Add_File(path);
    return path;
}

class ScanWorld {
public:
    explicit ScanWorld(std::chrono::milliseconds callLimit = wmi::kDefaultCallLimit)
        : ports{network, data.reporter, data.clock, network, network.Local(), network, nullptr, &shell, callLimit} {
        Fill_Scan_Categories(window.Category_Tree());
        window.Computer_Tree().Add(kNoNode, "rR", "Computers", "Root");
        driver.Set_Computers_At_Once(1);
    }

    // A computer node under the root, checked unless told otherwise.
    NodeId Add_Node(std::string_view name, bool checked = true) {
        CheckTree& tree = window.Computer_Tree();
        const NodeId node = tree.Add(tree.Find("rR"), "m" + std::string(name), std::string(name), "Computer");
        tree.Set_Checked_Only(node, checked);
        return node;
    }
    // A simulated computer with a 32-bit Windows (no "program files" shortcut).
    remote::SimComputer& Add_Computer(std::string_view name) {
        remote::SimComputer& computer = network.Add_Computer(name);
        computer.facts.addressWidth = 32;
        return computer;
    }
    void Check_Category(std::string_view key) { (void)window.Category_Tree().Set_Checked(Category(key), true); }
    [[nodiscard]] NodeId Category(std::string_view key) { return window.Category_Tree().Find(key); }
    void Set_Options(std::int32_t options) { ASSERT_TRUE(Save_Settings(data.db, options, ".tmp;")); }
    void Add_Exception_Text(std::string_view text) {
        ResultTable table;
        ASSERT_TRUE(Add_Exception(data.db, text, table, 2));
    }

    void Scan() { driver.Start(); }
    // A scan whose closing question ("Do you want to fix the problems now?") is answered No.
    void Scan_Without_Fix() {
        data.messages.Queue_Answer(MsgResult::No);
        Scan();
    }
    // The fixing routine over the checked rows, as Fix Problems runs it.
    void Fix() { fix::Start_Fixing(env, false); }

    // The header of a category for a computer listed as `computer` that
    // answered as `targetName`, with its count of problems.
    void Add_Header(std::string_view category, std::string_view computer, std::string_view targetName, int count) {
        ListRow& row = corvane::testing::Add_Header_Row(List(), category, computer, "Header " + std::string(category));
        row.targetName = std::string(targetName);
        row.status = std::to_string(count) + " Problems Found";
        row.count = count;
    }
    // Problem rows numbered in the order added; each returns the new row's
    // key. Registry rows are judged by a missing file unless told.
    std::string Add_Registry_Row(FixType type, std::string_view targetName, std::uint32_t root,
                                 std::string_view keyPath, std::string_view valueName = "",
                                 std::string_view category = "") {
        return corvane::testing::Add_Registry_Row(List(), nextProblem_++,
                                                  {.type = type,
                                                   .computer = targetName,
                                                   .root = root,
                                                   .keyPath = keyPath,
                                                   .valueName = valueName,
                                                   .category = category})
            .key;
    }
    // A file row as a walk from the path's drive folder (C:\Windows) lists
    // it: with the identity of what is there, or a made-up one for a path
    // that names nothing.
    std::string Add_File_Row(FixType type, std::string_view targetName, std::string_view path,
                             std::string_view category = "dB") {
        ListRow& row = corvane::testing::Add_File_Row(List(), nextProblem_++, path, targetName, type, category);
        FileItem& file = row.problem->file;
        file.startFolder = std::string(path.substr(0, path.find('\\', 3)));
        const remote::SimComputer* computer = network.Find(targetName);
        const auto id = computer != nullptr ? computer->files.Identity(path) : std::nullopt;
        file.identity = id ? remote::Identity_Of(id->volumeSerial, id->fileId) : remote::Identity_Of(0, 0);
        return row.key;
    }

    [[nodiscard]] ResultsList& List() { return window.Results(); }
    [[nodiscard]] ListRow& Row(std::string_view key) { return List().Row(List().Find(key)); }
    [[nodiscard]] bool Fixed(std::string_view key) { return Row(key).Is_Fixed(); }
    [[nodiscard]] std::string Problem_Text(std::string_view key) { return Row(key).status; }
    // Rows whose key begins with the given character, in list order.
    [[nodiscard]] std::vector<const ListRow*> Rows(char kind) {
        std::vector<const ListRow*> rows;
        for (std::size_t i = 0; i < List().Count(); ++i) {
            if (!List().Row(i).key.empty() && List().Row(i).key[0] == kind) rows.push_back(&List().Row(i));
        }
        return rows;
    }
    [[nodiscard]] std::vector<std::string> Problem_Texts() {
        std::vector<std::string> texts;
        for (const ListRow* row : Rows('s')) texts.push_back(row->text);
        return texts;
    }
    [[nodiscard]] const ListRow* Header(std::string_view key) {
        const std::size_t index = List().Find(key);
        return index < List().Count() ? &List().Row(index) : nullptr;
    }
    [[nodiscard]] std::string Log() const { return data.Log_Text(); }
    // The ports with a folder for undo files.
    [[nodiscard]] remote::RemotePorts Ports_With(remote::IUserDataFolder& userData) const {
        remote::RemotePorts with = ports;
        with.userData = &userData;
        return with;
    }
    // The command and panel states the window was left in.
    [[nodiscard]] bool Commands_Enabled() const { return window.commandStates.empty() || window.commandStates.back(); }
    [[nodiscard]] bool Panel_Visible() const { return !window.panelStates.empty() && window.panelStates.back(); }

    corvane::testing::TestDatabase data;
    remote::SimNetwork network{kLocalName};
    corvane::testing::FakeShell shell;
    remote::RemotePorts ports;
    ScanTarget target{ports, remote::kScanning};
    remote::TargetContext& context = target.Context();
    corvane::testing::FakeMainWindow window;
    ProgressPresenter progress{window};
    ScanAndFix scanAndFix{window, progress, data.db, data.reporter, target};
    ScanDriver& driver = scanAndFix.Driver();
    bool stop = false;  // the fixing routine's Stop flag
    fix::FixEnvironment env{window, progress, data.db, ports, stop, &Category_Recheck_Rules};

private:
    int nextProblem_ = 0;
};

}  // namespace corvane::scan::testing
