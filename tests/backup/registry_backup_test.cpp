// Full registry backups and the restore-point command on simulated
// computers: what lands in the backup folder, which failures keep the old
// backup, the shared wait budget, quoting of awkward folder names, and what
// the command says when Windows keeps an earlier restore point.
#include "backup/registry_backup.h"

#include <functional>

#include "backup/backup_commands.h"
#include "backup/command_line.h"
#include "backup_scene.h"
#include "remote/reg_file.h"

namespace corvane::testing {
namespace {

using backup::BackupCommands;

class NoRestoreDialog final : public backup::IRestoreDialogOpener {
public:
    void Show_This_Form(backup::RestoreMode, const backup::BackupComputer&) override {}
};

struct FullBackup : BackupScene {
    void Back_Up() { commands.Full_Backup(computer, progress); }
    [[nodiscard]] std::string Contents(const std::string& name) const {
        const auto bytes = server.files.Read_File(kFolder + name);
        return bytes ? std::string(bytes->begin(), bytes->end()) : "<missing>";
    }
    [[nodiscard]] std::vector<std::string> Keys_In(const std::string& name) const {
        std::vector<std::string> keys;
        for (const auto& block : remote::Parse_Reg_File(*server.files.Read_File(kFolder + name)).keys) {
            keys.push_back(remote::Root_Key_Name(block.root) + "\\" + block.keyPath);
        }
        return keys;
    }

    NoRestoreDialog noDialog;
    BackupCommands commands{ports, noDialog};
};

class FullBackupTest : public ::testing::Test, public FullBackup {};

TEST_F(FullBackupTest, ExportsBothRootsIntoOneCompressedFileInAFolderItCreates) {
    Back_Up();
    ASSERT_FALSE(server.startedCommands.empty());
    EXPECT_EQ(server.startedCommands.front(), "cmd.exe /q /c md \"C:\\Windows\\CVNBackup\"");
    const std::string file = std::string(kFolder) + backup::kFullBackupFile;
    ASSERT_TRUE(server.files.Find(file));
    EXPECT_TRUE(server.files.Is_Compressed(file));
    EXPECT_EQ(Keys_In(backup::kFullBackupFile),
              (std::vector<std::string>{"HKEY_LOCAL_MACHINE\\SOFTWARE", "HKEY_LOCAL_MACHINE\\SOFTWARE\\Vendor",
                                        "HKEY_USERS\\S-1-5-21-7", "HKEY_USERS\\S-1-5-21-7\\Software",
                                        "HKEY_USERS\\S-1-5-21-7\\Software\\App"}));
    for (const char* left : {backup::kFullBackupNew, backup::kTemporaryExport, backup::kFullBackupOld}) {
        EXPECT_FALSE(server.files.Find(kFolder + std::string(left))) << left;
    }
    EXPECT_EQ(messages.shown.front().text,
              "Are you sure you want to create a Full Registry Backup for the Computer 'SERVER1' ?");
    EXPECT_EQ(Last_Message(), backup::kBackupCreated);
    EXPECT_FALSE(progress.visible);
}

TEST_F(FullBackupTest, EveryFailureKeepsTheOldBackup) {
    struct Case {
        const char* name;
        std::function<void(FullBackup&)> arrange;
        bool newHoldsOnlyHklm;
    };
    const Case cases[] = {
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
             t.network.Add_Fault({.kind = remote::CallKind::Method, .computer = {}, .match = "Rename", .fromCall = 2, .once = true});
         },
         false},
    };
    for (const Case& c : cases) {
        FullBackup t;
        t.server.files.Write_File(kFolder + std::string(backup::kFullBackupFile), {'o', 'l', 'd'});
        c.arrange(t);
        t.Back_Up();
        EXPECT_EQ(t.Last_Message(), backup::kExportError) << c.name;
        EXPECT_EQ(t.Contents(backup::kFullBackupFile), "old") << c.name;
        if (c.newHoldsOnlyHklm) {
            EXPECT_EQ(t.Keys_In(backup::kFullBackupNew).back(), "HKEY_LOCAL_MACHINE\\SOFTWARE\\Vendor") << c.name;
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
        {"C:\\Win\"dows", true, "The path 'C:\\Win\"dows\\CVNBackup\\' cannot be used in a command line"},
        {"C:\\Win%OS%", true, "or a percent sign."},
    };
    for (const auto& c : cases) {
        FullBackup t;
        t.server.facts.windowsDirectory = c.windows;
        t.server.reachable = c.reachable;
        t.Back_Up();
        EXPECT_NE(t.Last_Message().find(c.message), std::string::npos) << c.windows;
        EXPECT_TRUE(t.server.startedCommands.empty()) << c.windows;
    }
}

TEST_F(FullBackupTest, FolderNamesWithBlanksApostrophesAndAmpersandsStayWhole) {
    const std::string windows = "C:\\Win dows & Co's";
    server.facts.windowsDirectory = windows;
    server.files.Add_Folder(windows);
    Back_Up();
    EXPECT_EQ(Last_Message(), backup::kBackupCreated);
    EXPECT_TRUE(server.files.Find(windows + "\\CVNBackup\\CVNFullBackup.reg"));
    const std::string file = "\"" + windows + "\\CVNBackup\\CVNFullBackup.new\"";
    EXPECT_EQ(server.startedCommands.at(3), "cmd.exe /s /q /c Copy /y /b " + file + " + \"" + windows +
                                                "\\CVNBackup\\tempreg.bak\" " + file);
}

TEST_F(FullBackupTest, RestorePointCommandTellsWhatWindowsDid) {
    const struct {
        const char* name;
        int throttleHours;
        int earlierPointHoursAgo;  // -1: none
        std::uint32_t createResult;
        const char* message;
        MsgIcon icon;
    } cases[] = {
        {"new point", 0, -1, 0, backup::kRestorePointMade, MsgIcon::Information},
        {"kept this morning's", 24, 3, 0, "Windows kept the restore point of 12/5/2026 11:03:09 AM instead.",
         MsgIcon::Information},
        {"kept one of yesterday", 48, 30,  0,
         "Windows kept the restore point of 12/4/2026 8:03:09 AM instead. It is more than 24 hours old.",
         MsgIcon::Exclamation},
        {"refused", 0, -1, 1, backup::kRestorePointUnsupported, MsgIcon::Exclamation},
    };
    for (const auto& c : cases) {
        FullBackup t;
        t.server.restorePointThrottleHours = c.throttleHours;
        t.server.createRestorePointResult = c.createResult;
        if (c.earlierPointHoursAgo >= 0) {
            remote::DateTime earlier = t.server.now;
            earlier.hour -= c.earlierPointHoursAgo;
            if (earlier.hour < 0) earlier = {2026, 12, 4, earlier.hour + 24, 3, 9, 60};
            t.server.Add_Restore_Point("Installed a driver", earlier);
        }
        t.commands.Restore_Point(t.computer);
        EXPECT_EQ(t.Last_Message(), c.message) << c.name;
        EXPECT_EQ(t.messages.shown.back().icon, c.icon) << c.name;
        if (c.throttleHours > 0) {
            EXPECT_NE(t.Log_Text().find(c.message), std::string::npos) << c.name;
        }
    }
}

TEST(CommandLine, PathsThatQuotingCannotProtectAreRefused) {
    const struct {
        const char* path;
        bool forCmd;
        bool refused;
    } cases[] = {
        {"C:\\Win dows & Co's\\x.reg", true, false}, {"C:\\a\"b", false, true}, {"C:\\a\nb", false, true},
        {"C:\\a\rb", true, true},  {"C:\\100%", true, true}, {"C:\\100%\\x.reg", false, false},
    };
    for (const auto& c : cases) EXPECT_EQ(!backup::Refused_Path_Message(c.path, c.forCmd).empty(), c.refused) << c.path;
}

}  // namespace
}  // namespace corvane::testing
