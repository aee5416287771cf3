// Full registry backups and the restore-point command on simulated
// computers: the backup folder and who may read it, the command lines the
// target runs, which failures keep the old backup, and what the command says
// when Windows keeps an earlier restore point.
#include "backup/registry_backup.h"

#include <algorithm>
#include <functional>
#include <optional>

#include "backup/backup_commands.h"
#include "backup_scene.h"
#include "base/text.h"
#include "remote/reg_file.h"
#include "remote/wmi_security.h"

namespace corvane::testing {
namespace {

struct NoRestoreDialog final : backup::IRestoreDialogOpener {
    void Show_This_Form(backup::RestoreMode, const backup::BackupComputer&) override {}
};

struct FullBackup : BackupScene {
    void Back_Up() { commands.Full_Backup(computer, progress); }

    NoRestoreDialog noDialog;
    backup::BackupCommands commands{ports, noDialog};
};

class FullBackupTest : public ::testing::Test, public FullBackup {};

// A backup and its restore on a target whose folders have other names: every
// program runs by the full path the target reports, the command interpreter
// never with its AutoRun command, every path quoted whatever its characters.
TEST_F(FullBackupTest, BothRootsIntoOneCompressedFileAndEveryProgramByItsFullPath) {
    const std::string windows = "D:\\Win dows & Co's";
    const std::string system = windows + "\\Sys 32";
    const std::string folder = windows + "\\CVNBackup\\";
    server.facts.windowsDirectory = windows;
    server.facts.systemDirectory = system;
    server.files.Add_Folder(system);
    Back_Up();
    EXPECT_EQ(Last_Message(), backup::kBackupCreated);
    EXPECT_TRUE(server.files.Is_Compressed(folder + backup::kFullBackupFile));
    // Its first and its last key.
    const auto keys = remote::Parse_Reg_File(*server.files.Read_File(folder + backup::kFullBackupFile)).keys;
    EXPECT_EQ(keys.at(1).keyPath + " .. " + remote::Root_Key_Name(keys.back().root) + "\\" + keys.back().keyPath,
              "SOFTWARE\\Vendor .. HKEY_USERS\\S-1-5-21-7\\Software\\App");
    for (const char* left : {backup::kFullBackupNew, backup::kTemporaryExport, backup::kFullBackupOld}) {
        EXPECT_FALSE(server.files.Find(folder + left)) << left;
    }
    EXPECT_FALSE(progress.visible);

    Open(backup::RestoreMode::Registry);
    Select(0);
    presenter->Restore_Clicked();
    EXPECT_EQ(Last_Message(), "Registry Restored successfully.");

    const std::string cmd = "\"" + system + "\\cmd.exe\" ";
    const std::string file = folder + backup::kFullBackupNew;
    const std::string restored = Lower_Ascii(folder) + "cvnfullbackup.reg";
    const std::vector<std::string> expected = {
        cmd + "/d /q /c md \"" + windows + "\\CVNBackup\"",
        "\"" + system + "\\icacls.exe\" \"" + windows +
            "\\CVNBackup\" /inheritance:r /grant:r *S-1-5-32-544:(OI)(CI)F *S-1-5-18:(OI)(CI)F /T /C /Q",
        "\"" + windows + "\\regedit.exe\" /s /e \"" + file + "\" \"HKEY_LOCAL_MACHINE\"",
        "\"" + windows + "\\regedit.exe\" /s /e \"" + folder + "tempreg.bak\" \"HKEY_USERS\"",
        cmd + "/d /s /q /c Copy /y /b \"" + file + "\" + \"" + folder + "tempreg.bak\" \"" + file + "\"",
        cmd + "/d /s /v:on /c \"\"" + system + "\\reg.exe\" import \"" + restored + "\" & type nul > \"" +
            Lower_Ascii(folder) + "CVNRestoreResult.!errorlevel!\"\"",
    };
    EXPECT_EQ(server.startedCommands, expected);
}

// The folder and every file in it, an older backup that inherited Users:
// read too, end with access for Administrators and SYSTEM only; when that
// cannot be confirmed nothing is exported into it.
TEST_F(FullBackupTest, BackupFolderIsReadableByAdministratorsOnly) {
    const std::string folder = "C:\\Windows\\CVNBackup";
    const std::string older = folder + "\\CVNFullBackup-2019.reg";
    server.files.Add_File(older, 10);
    Back_Up();
    EXPECT_EQ(Last_Message(), backup::kBackupCreated);
    for (const std::string& path : {folder, folder + "\\" + backup::kFullBackupFile, older}) {
        remote::FileSecurity security;
        ASSERT_EQ(server.files.Get_Security(path, security), 0u) << path;
        EXPECT_EQ(remote::Access_Beyond_Administrators(security), "") << path;
        EXPECT_EQ(security.dacl.size(), 2u) << path;
    }

    const remote::AccessEntry usersRead{"S-1-5-32-545", 0x120089, remote::kAceAllowed, 0};
    const struct {
        const char* name;
        std::function<void(FullBackup&)> arrange;
    } refused[] = {
        {"an older backup with Users: read of its own",
         [&](FullBackup& t) {
             t.server.files.Add_File(older, 10);
             t.server.files.Set_Security(older, true, {usersRead});
         }},
        {"Users: read of the folder's own",
         [&](FullBackup& t) {
             t.server.files.Add_Folder(folder);
             t.server.files.Set_Security(folder, false, {usersRead});
         }},
        {"icacls changes nothing", [](FullBackup& t) { t.server.failingCommands = {"icacls"}; }},
        {"an empty access list, read as nobody's",
         [&](FullBackup& t) {
             t.server.files.Add_Folder(folder);
             t.server.files.Set_Security(folder, true, {});
             t.server.failingCommands = {"icacls"};
         }},
        {"access cannot be read",
         [&](FullBackup& t) {
             t.server.files.Add_Folder(folder);
             t.server.files.Deny_Security_Read(folder);
         }},
        {"connection lost while reading it",
         [](FullBackup& t) { t.Fail_Calls(remote::CallKind::Method, "GetSecurityDescriptor"); }},
    };
    for (const auto& c : refused) {
        FullBackup t;
        c.arrange(t);
        t.Back_Up();
        EXPECT_FALSE(std::any_of(t.server.startedCommands.begin(), t.server.startedCommands.end(),
                                 [](const std::string& line) { return line.find("regedit") != line.npos; }))
            << c.name;
        EXPECT_NE(t.Last_Message().find("could not be made readable by administrators only"), std::string::npos)
            << c.name;
        EXPECT_NE(t.Log_Text().find("E: The backup folder 'C:\\Windows\\CVNBackup'"), std::string::npos) << c.name;
    }
}

// Every failure keeps the old backup; a refusal says why and runs nothing
// on the target.
TEST_F(FullBackupTest, EveryFailureKeepsTheOldBackup) {
    const std::vector<std::uint8_t> contents{'o', 'l', 'd'};
    const struct {
        const char* name;
        std::function<void(FullBackup&)> arrange;
        const char* refusal = nullptr;  // a part of its message; else the export failed
    } cases[] = {
        {"unreachable", [](FullBackup& t) { t.server.reachable = false; }, backup::kAccessErrorBang},
        {"cannot say who it is", [](FullBackup& t) { t.Fail_Calls(remote::CallKind::Query, "Win32_ComputerSystem"); },
         backup::kAccessErrorBang},
        {"quotation mark", [](FullBackup& t) { t.server.facts.windowsDirectory = "C:\\Win\"dows"; },
         "The path 'C:\\Win\"dows\\CVNBackup\\' cannot be used in a command line"},
        {"percent sign", [](FullBackup& t) { t.server.facts.windowsDirectory = "C:\\Win%OS%"; },
         "a percent sign or an exclamation mark."},
        {"exclamation mark", [](FullBackup& t) { t.server.facts.windowsDirectory = "C:\\Win!OS!"; },
         "a percent sign or an exclamation mark."},
        {"HKEY_USERS export fails", [](FullBackup& t) { t.server.failingCommands = {"HKEY_USERS"}; }},
        {"copy fails", [](FullBackup& t) { t.server.failingCommands = {"Copy"}; }},
        {"editor outlives its 120 s", [](FullBackup& t) { t.server.programLifetimePolls["regedit.exe"] = 1300; }},
        {"export and copy share 120 s",
         [](FullBackup& t) {
             t.server.programLifetimePolls = {{"regedit.exe", 700}, {"cmd.exe", 700}};
         }},
        {"stale files of an earlier run, editor does nothing",
         [](FullBackup& t) {
             t.server.files.Add_File(kFolder + backup::kFullBackupNew, 10);
             t.server.files.Add_File(kFolder + backup::kTemporaryExport, 10);
             t.server.failingCommands = {"regedit"};
         }},
        {"the second rename, the new file to the backup's name, fails",
         [](FullBackup& t) { t.Fail_Calls(remote::CallKind::Method, "Rename", 2, true); }},
    };
    for (const auto& c : cases) {
        FullBackup t;
        t.server.files.Write_File(kBackupFile, contents);
        c.arrange(t);
        t.Back_Up();
        EXPECT_NE(t.Last_Message().find(c.refusal ? c.refusal : backup::kExportError), std::string::npos) << c.name;
        EXPECT_EQ(t.server.files.Read_File(kBackupFile), contents) << c.name;
        EXPECT_EQ(t.server.startedCommands.empty(), c.refusal != nullptr) << c.name;
    }
}

TEST_F(FullBackupTest, RestorePointCommandTellsWhatWindowsDid) {
    const struct {
        int throttleHours;
        std::optional<remote::DateTime> earlierPoint;  // it is now 12/5/2026 2:03:09 PM
        std::uint32_t createResult;
        const char* message;
        MsgIcon icon;
    } cases[] = {
        {0, {}, 0, backup::kRestorePointMade, MsgIcon::Information},
        {24, remote::DateTime{2026, 12, 5, 11, 3, 9, 60}, 0,
         "Windows kept the restore point of 12/5/2026 11:03:09 AM instead.", MsgIcon::Information},
        {48, remote::DateTime{2026, 12, 4, 8, 3, 9, 60}, 0,
         "Windows kept the restore point of 12/4/2026 8:03:09 AM instead. It is more than 24 hours old.",
         MsgIcon::Exclamation},
        {0, {}, 1, backup::kRestorePointUnsupported, MsgIcon::Exclamation},
    };
    for (const auto& c : cases) {
        FullBackup t;
        t.server.restorePointThrottleHours = c.throttleHours;
        t.server.createRestorePointResult = c.createResult;
        if (c.earlierPoint) t.server.Add_Restore_Point("Installed a driver", *c.earlierPoint);
        t.commands.Restore_Point(t.computer);
        EXPECT_EQ(t.Last_Message(), c.message);
        EXPECT_EQ(t.messages.shown.back().icon, c.icon) << c.message;
        EXPECT_EQ(t.Log_Text().find(c.message) != std::string::npos, c.throttleHours > 0) << c.message;
    }
}

}  // namespace
}  // namespace corvane::testing
