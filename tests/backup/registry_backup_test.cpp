// Full registry backups and the restore-point command on simulated
// computers: what lands in the backup folder, which failures keep the old
// backup, the shared wait budget, quoting of awkward folder names, and what
// the command says when Windows keeps an earlier restore point.
#include "backup/registry_backup.h"

#include <functional>

#include "backup/backup_commands.h"
#include "backup_scene.h"
#include "remote/reg_file.h"

namespace corvane::testing {
namespace {

class NoRestoreDialog final : public backup::IRestoreDialogOpener {
public:
    void Show_This_Form(backup::RestoreMode, const backup::BackupComputer&) override {}
};

struct FullBackup : BackupScene {
    void Back_Up() { commands.Full_Backup(computer, progress); }
    [[nodiscard]] std::string Contents(const std::string& path) const {
        const auto bytes = server.files.Read_File(path);
        return bytes ? std::string(bytes->begin(), bytes->end()) : "<missing>";
    }
    // The first and the last key of a .reg file.
    [[nodiscard]] std::string Keys_In(const std::string& path) const {
        const auto keys = remote::Parse_Reg_File(*server.files.Read_File(path)).keys;
        return keys.at(1).keyPath + " .. " + remote::Root_Key_Name(keys.back().root) + "\\" + keys.back().keyPath;
    }

    NoRestoreDialog noDialog;
    backup::BackupCommands commands{ports, noDialog};
};

class FullBackupTest : public ::testing::Test, public FullBackup {};

TEST_F(FullBackupTest, BothRootsIntoOneCompressedFileInAFolderItCreatesWhateverItsName) {
    const std::string folder = "C:\\Win dows & Co's\\CVNBackup\\";
    server.facts.windowsDirectory = "C:\\Win dows & Co's";
    server.files.Add_Folder(server.facts.windowsDirectory);
    Back_Up();
    EXPECT_EQ(Last_Message(), backup::kBackupCreated);
    EXPECT_EQ(server.startedCommands.at(0), "cmd.exe /q /c md \"C:\\Win dows & Co's\\CVNBackup\"");
    EXPECT_EQ(server.startedCommands.at(3), "cmd.exe /s /q /c Copy /y /b \"" + folder + "CVNFullBackup.new\" + \"" +
                                                folder + "tempreg.bak\" \"" + folder + "CVNFullBackup.new\"");
    EXPECT_TRUE(server.files.Is_Compressed(folder + backup::kFullBackupFile));
    EXPECT_EQ(Keys_In(folder + backup::kFullBackupFile), "SOFTWARE\\Vendor .. HKEY_USERS\\S-1-5-21-7\\Software\\App");
    for (const char* left : {backup::kFullBackupNew, backup::kTemporaryExport, backup::kFullBackupOld}) {
        EXPECT_FALSE(server.files.Find(folder + left)) << left;
    }
    EXPECT_FALSE(progress.visible);
}

TEST_F(FullBackupTest, EveryFailureKeepsTheOldBackup) {
    const std::string old = kFolder + std::string(backup::kFullBackupFile);
    const struct {
        const char* name;
        std::function<void(FullBackup&)> arrange;
        bool newHoldsOnlyHklm;
    } cases[] = {
        {"HKEY_USERS export fails", [](FullBackup& t) { t.server.failingCommands = {"HKEY_USERS"}; }, true},
        {"copy fails", [](FullBackup& t) { t.server.failingCommands = {"Copy"}; }, true},
        {"editor outlives its 120 s", [](FullBackup& t) { t.server.processLifetimePolls = 1300; }, false},
        {"export and copy share 120 s", [](FullBackup& t) { t.server.processLifetimePolls = 700; }, false},
        {"stale files of an earlier run, editor does nothing",
         [](FullBackup& t) {
             t.server.files.Add_File(kFolder + std::string(backup::kFullBackupNew), 10);
             t.server.files.Add_File(kFolder + std::string(backup::kTemporaryExport), 10);
             t.server.failingCommands = {"regedit"};
         },
         false},
        {"new file cannot take the name",
         [](FullBackup& t) {
             // The second rename: the new file to the backup's name.
             t.network.Add_Fault(
                 {.kind = remote::CallKind::Method, .computer = {}, .match = "Rename", .fromCall = 2, .once = true});
         },
         false},
    };
    for (const auto& c : cases) {
        FullBackup t;
        t.server.files.Write_File(old, {'o', 'l', 'd'});
        c.arrange(t);
        t.Back_Up();
        EXPECT_EQ(t.Last_Message(), backup::kExportError) << c.name;
        EXPECT_EQ(t.Contents(old), "old") << c.name;
        if (c.newHoldsOnlyHklm) {
            EXPECT_EQ(t.Keys_In(kFolder + std::string(backup::kFullBackupNew)),
                      "SOFTWARE\\Vendor .. HKEY_LOCAL_MACHINE\\SOFTWARE\\Vendor")
                << c.name;
        }
    }
}

TEST_F(FullBackupTest, RefusesWhatCannotBeReachedOrQuoted) {
    const struct {
        const char* windows;
        bool reachable;
        const char* message;
    } cases[] = {
        {"C:\\Windows", false, backup::kAccessErrorBang},
        {"", true, backup::kAccessErrorBang},  // cannot say who it is
        {"C:\\Win\"dows", true, "The path 'C:\\Win\"dows\\CVNBackup\\' cannot be used in a command line"},
        {"C:\\Win%OS%", true, "or a percent sign."},
    };
    for (const auto& c : cases) {
        FullBackup t;
        t.server.facts.windowsDirectory = c.windows;
        t.server.reachable = c.reachable;
        if (*c.windows == '\0') {
            t.network.Add_Fault({.kind = remote::CallKind::Query, .computer = {}, .match = "Win32_ComputerSystem"});
        }
        t.Back_Up();
        EXPECT_NE(t.Last_Message().find(c.message), std::string::npos) << c.windows;
        EXPECT_TRUE(t.server.startedCommands.empty()) << c.windows;
    }
}

TEST_F(FullBackupTest, RestorePointCommandTellsWhatWindowsDid) {
    const struct {
        int throttleHours;
        int earlierPointHoursAgo;  // -1: none
        std::uint32_t createResult;
        const char* message;
        MsgIcon icon;
    } cases[] = {
        {0, -1, 0, backup::kRestorePointMade, MsgIcon::Information},
        {24, 3, 0, "Windows kept the restore point of 12/5/2026 11:03:09 AM instead.", MsgIcon::Information},
        {48, 30, 0, "Windows kept the restore point of 12/4/2026 8:03:09 AM instead. It is more than 24 hours old.",
         MsgIcon::Exclamation},
        {0, -1, 1, backup::kRestorePointUnsupported, MsgIcon::Exclamation},
    };
    for (const auto& c : cases) {
        FullBackup t;
        t.server.restorePointThrottleHours = c.throttleHours;
        t.server.createRestorePointResult = c.createResult;
        if (c.earlierPointHoursAgo >= 0) {
            const int hour = 14 - c.earlierPointHoursAgo;
            t.server.Add_Restore_Point("Installed a driver", {2026, 12, hour < 0 ? 4 : 5, (hour + 24) % 24, 3, 9, 60});
        }
        t.commands.Restore_Point(t.computer);
        EXPECT_EQ(t.Last_Message(), c.message);
        EXPECT_EQ(t.messages.shown.back().icon, c.icon) << c.message;
        EXPECT_EQ(t.Log_Text().find(c.message) != std::string::npos, c.throttleHours > 0) << c.message;
    }
}

}  // namespace
}  // namespace corvane::testing
