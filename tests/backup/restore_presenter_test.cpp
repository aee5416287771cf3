// The restore dialog's logic on a simulated computer: which backups and
// restore points it lists, restoring a backup and what its import says,
// deleting one, writing an undo file back, and the forced restart.
#include "backup/restore_presenter.h"

#include <algorithm>
#include <functional>

#include "backup_scene.h"
#include "base/file_path.h"
#include "remote/reg_file.h"
#include "remote/undo_files.h"

namespace corvane::testing {
namespace {

using backup::RestoreMode;

class RestoreDialogTest : public ::testing::Test, public BackupScene {};

TEST_F(RestoreDialogTest, ListsOnlyFullBackupFilesOrSaysWhyNot) {
    for (const char* name : {"CVNFullBackup.reg", "cvnfullbackup-old.REG", "CVNFullBackup.new", "other.reg"}) {
        server.files.Add_File(kFolder + name, 5000, server.now);
    }
    Open(RestoreMode::Registry);
    EXPECT_EQ(view.title, "Restore Registry - SERVER1 - Corvane");
    ASSERT_EQ(view.rows.size(), 2u);
    // The management service gives names in lower case.
    EXPECT_EQ(view.rows[0].text + "|" + view.rows[1].text, "cvnfullbackup-old.reg|cvnfullbackup.reg");
    EXPECT_EQ(view.rows[0].size, "5 KB");
    EXPECT_EQ(view.rows[0].date, "12/5/2026 2:03:09 PM");
    EXPECT_FALSE(view.restoreEnabled);

    server.systemRestore = false;
    Open(RestoreMode::System);
    EXPECT_EQ(Last_Message(), "This Feature is disabled or not supported by the Operating System!");
    server.reachable = false;
    Open(RestoreMode::Registry);
    EXPECT_EQ(Last_Message(), backup::kAccessErrorBang);
    EXPECT_TRUE(view.rows.empty());
}

// The import counts as done only when the result it left says so in time.
TEST_F(RestoreDialogTest, RestoringReportsWhatTheImportDid) {
    const std::string backup = "REGEDIT4\r\n\r\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\Vendor]\r\n\"Setting\"=\"0\"\r\n";
    const struct {
        const char* name;
        std::function<void(BackupScene&)> arrange;  // once the list is shown
        const char* message;                        // the start of the first after the question
        const char* logged;
        bool imported = false;    // the value was written
        bool resultLeft = false;  // the import's result file stays, unseen
    } cases[] = {
        {"done", [](BackupScene&) {}, "Registry Restored successfully.", "I: Registry restored: SERVER1", true},
        {"keys in use refuse it", [](BackupScene& t) { t.server.importRefusesKeys = true; },
         "The registry import completed with errors (exit code 1)",
         "W: Registry restore completed with errors (exit code 1)", true},
        {"the file is gone", [](BackupScene& t) { (void)t.server.files.Delete_File(kBackupFile); }, "File Not Exists!",
         "E: Registry restore failed: SERVER1"},
        {"the interpreter does nothing, leaving an earlier run's result",
         [](BackupScene& t) {
             t.server.files.Add_File(kFolder + "CVNRestoreResult.0");
             t.server.failingCommands = {"reg.exe"};
         },
         "Error while restoring the Registry!", "E: Registry restore failed: SERVER1"},
        {"still running when the time is up",
         [](BackupScene& t) {
             t.server.failingCommands = {"reg.exe"};
             t.server.programLifetimePolls["cmd.exe"] = 4000;
         },
         "The registry import was started, but its outcome could not be confirmed",
         "W: Registry restore not confirmed: SERVER1"},
        {"the result cannot be read",
         [](BackupScene& t) { t.Fail_Calls(remote::CallKind::Query, "CVNRestoreResult", 2); },
         "The registry import was started, but its outcome could not be confirmed", "W: Registry restore not confirmed",
         true, true},
    };
    for (const auto& c : cases) {
        BackupScene t;
        t.server.files.Write_File(kBackupFile, {backup.begin(), backup.end()});
        t.Open(RestoreMode::Registry);
        c.arrange(t);
        t.Select(0);
        t.presenter->Restore_Clicked();
        EXPECT_TRUE(t.messages.shown.at(1).text.starts_with(c.message)) << c.name << ": " << t.messages.shown[1].text;
        EXPECT_NE(t.Log_Text().find(c.logged), std::string::npos) << c.name;
        remote::RegistryValue value;
        (void)t.server.registry.Get_Value(remote::kHkeyLocalMachine, "SOFTWARE\\Vendor", "Setting", value);
        EXPECT_EQ(value.text, c.imported ? "0" : "1") << c.name;
        const auto files = t.server.files.List(kFolder);
        EXPECT_EQ(std::any_of(files.begin(), files.end(),
                              [](const auto& file) { return file.path.find("CVNRestoreResult") != file.path.npos; }),
                  c.resultLeft)
            << c.name;
    }
}

TEST_F(RestoreDialogTest, DeletingRemovesTheFileAndItsRowOnlyWhenItWorked) {
    server.files.Add_File(kBackupFile, 100);
    Open(RestoreMode::Registry);
    Select(0);
    Fail_Calls(remote::CallKind::Method, "Delete", 1, true);
    presenter->Delete_Clicked();
    EXPECT_EQ(Last_Message(), "Error while deleting the file!");
    EXPECT_EQ(view.rows.size(), 1u);

    presenter->Delete_Clicked();
    EXPECT_EQ(Last_Message(), "Registry backup file deleted successfully.");
    EXPECT_TRUE(view.rows.empty());
    EXPECT_FALSE(server.files.Find(kBackupFile));
    EXPECT_FALSE(view.restoreEnabled);

    // A file deleted meanwhile by someone else: its row goes, and the message says why.
    server.files.Add_File(kBackupFile, 100);
    Open(RestoreMode::Registry);
    (void)server.files.Delete_File(kBackupFile);
    Select(0);
    presenter->Delete_Clicked();
    EXPECT_EQ(Last_Message(), backup::kBackupFileGoneMessage);
    EXPECT_TRUE(view.rows.empty());
}

// Restore points of any program are listed and can be rolled back to.
TEST_F(RestoreDialogTest, RollBackWithForcedRestart) {
    const struct {
        std::uint32_t restoreResult;
        std::uint32_t shutdownResult;
        const char* message;
        MsgIcon icon;
    } cases[] = {
        {0, 0, "System restored successfully and Windows restarted.", MsgIcon::Information},
        {0, 1, "System restored successfully. You must restart the System manually!", MsgIcon::Exclamation},
        {1058, 0, "This Feature is disabled or not supported by the Operating System!", MsgIcon::Exclamation},
        {5, 0, "Error while restoring the System!", MsgIcon::Critical},
    };
    for (const auto& c : cases) {
        BackupScene t;
        t.server.Add_Restore_Point("Installed Office", t.server.now);
        t.server.restoreResult = c.restoreResult;
        t.server.shutdownResult = c.shutdownResult;
        t.server.Add_Restore_Point("CVNRestorePoint(2026-12-01)(10-00-00)", {2026, 12, 1, 10, 0, 0, 60});
        t.Open(RestoreMode::System);
        ASSERT_EQ(t.view.rows.size(), 2u);
        t.Select(0);
        t.presenter->Restore_Clicked();
        EXPECT_EQ(t.messages.shown.front().text,
                  "This will restart the system forcefully.\r\nAre you sure you want to restore the system with this "
                  "Restore Point 'Installed Office' ?");
        EXPECT_EQ(t.Last_Message(), c.message);
        EXPECT_EQ(t.messages.shown.back().icon, c.icon) << c.message;
        EXPECT_EQ(t.server.shutdownRequests,
                  c.restoreResult == 0 ? std::vector<std::uint32_t>{6} : std::vector<std::uint32_t>{});
    }
}

struct ScratchUserData final : remote::IUserDataFolder {
    std::string Local_Application_Data() override { return Path_Utf8(folder.Path()); }
    TempFolder folder;
};

// An undo file of SERVER1's vendor key, listed after the full backups and
// written back: a value changed since is overwritten only when the user says
// so.
TEST_F(RestoreDialogTest, UndoFileListedNextToBackupsAndWrittenBack) {
    constexpr std::uint32_t kHklm = remote::kHkeyLocalMachine;
    const auto vendor = [&] { return server.registry.Export_Reg_Text(kHklm, "SOFTWARE\\Vendor"); };
    ScratchUserData userData;
    server.files.Add_File(kBackupFile, 100);
    const std::string before = vendor();
    remote::UndoFile file(remote::Undo_Folder(userData.Local_Application_Data(), "SERVER1"), clock);
    std::string failure;
    ASSERT_TRUE(file.Append(remote::Parse_Reg_Text(before).keys, failure)) << failure;
    server.registry.Set_String(kHklm, "SOFTWARE\\Vendor", "Setting", "2");
    const std::string changed = vendor();

    Open(RestoreMode::Registry, &userData);
    ASSERT_EQ(view.rows.size(), 2u);
    EXPECT_EQ(view.rows[1].text, "Undo of the fix of 2026-12-05 14:03:09 (1 keys, 1 values)");
    Select(1);
    for (const MsgResult overwrite : {MsgResult::No, MsgResult::Yes}) {
        messages.shown.clear();
        messages.Queue_Answer(MsgResult::Yes);
        messages.Queue_Answer(overwrite);
        presenter->Restore_Clicked();
        EXPECT_EQ(vendor(), overwrite == MsgResult::Yes ? before : changed);
        EXPECT_EQ(messages.shown.size(), 3u) << "the overwrite question";
        EXPECT_EQ(Last_Message().substr(0, 30), "Registry Restored successfully");
    }

    // Deleting it removes the local file, not the computer's backup.
    presenter->Delete_Clicked();
    EXPECT_EQ(Last_Message(), "Registry backup file deleted successfully.");
    EXPECT_TRUE(remote::List_Undo_Files(userData.Local_Application_Data(), "SERVER1").empty());
    EXPECT_TRUE(server.files.Find(kBackupFile));
}

}  // namespace
}  // namespace corvane::testing
