// The restore dialog's logic on a simulated computer: which backups and
// restore points it lists, restoring a backup after a change, deleting one,
// and rolling back to a restore point with the forced restart.
#include "backup/restore_presenter.h"

#include "backup_scene.h"

namespace corvane::testing {
namespace {

using backup::RestoreMode;
using backup::RestorePresenter;

class FakeRestoreView final : public backup::IRestoreView {
public:
    void Set_Captions(std::string_view dialogTitle, std::string_view, bool showDelete) override {
        title = dialogTitle;
        deleteShown = showDelete;
    }
    void Set_Columns(const std::vector<backup::RestoreColumn>&) override {}
    void Show_Rows(const std::vector<backup::RestoreRow>& shown) override { rows = shown; }
    void Remove_Row(int index) override {
        rows.erase(rows.begin() + index);
        selected = -1;
    }
    int Selected_Row() const override { return selected; }
    int Rows_Per_Page() const override { return 8; }
    void Widen_First_Column(int twips) override { widened += twips; }
    void Enable_Buttons(bool restore, bool) override { restoreEnabled = restore; }
    void Close() override {}

    std::string title;
    bool deleteShown = false;
    std::vector<backup::RestoreRow> rows;
    int selected = -1;
    int widened = 0;
    bool restoreEnabled = true;
};

struct RestoreDialog : BackupScene {
    RestorePresenter& Open(RestoreMode mode) {
        presenter = std::make_unique<RestorePresenter>(mode, computer, ports, view, progress, shell);
        presenter->Load();
        return *presenter;
    }
    void Select(int row) {
        view.selected = row;
        presenter->Selection_Changed();
    }
    [[nodiscard]] std::string Setting() {
        remote::RegistryValue value;
        (void)server.registry.Get_Value(remote::kHkeyLocalMachine, "SOFTWARE\\Vendor", "Setting", value);
        return value.text;
    }

    FakeRestoreView view;
    FakeShell shell;
    std::unique_ptr<RestorePresenter> presenter;
};

class RestoreDialogTest : public ::testing::Test, public RestoreDialog {};

TEST_F(RestoreDialogTest, RegistryModeListsOnlyFullBackupFiles) {
    for (const char* name : {"CVNFullBackup.reg", "cvnfullbackup-old.REG", "CVNFullBackup.new", "other.reg"}) {
        server.files.Add_File(kFolder + std::string(name), 5000, server.now);
    }
    Open(RestoreMode::Registry);
    EXPECT_EQ(view.title, "Restore Registry - SERVER1 - Corvane");
    ASSERT_EQ(view.rows.size(), 2u);
    // The management service gives names and paths in lower case.
    EXPECT_EQ(view.rows[0].text + "|" + view.rows[1].text, "cvnfullbackup-old.reg|cvnfullbackup.reg");
    EXPECT_EQ(view.rows[0].tag, "c:\\windows\\cvnbackup\\");
    EXPECT_EQ(view.rows[0].size, "5 KB");
    EXPECT_EQ(view.rows[0].date, "12/5/2026 2:03:09 PM");
    EXPECT_FALSE(view.restoreEnabled);
}

TEST_F(RestoreDialogTest, RestoringABackupUndoesALaterChange) {
    ASSERT_TRUE(backup::Create_Full_Backup(computer, {ports, progress}));
    remote::RegistryValue changed;
    changed.text = "2";
    (void)server.registry.Set_Value(remote::kHkeyLocalMachine, "SOFTWARE\\Vendor", "Setting", changed);
    Open(RestoreMode::Registry);
    Select(0);
    presenter->Restore_Clicked();
    EXPECT_EQ(messages.shown.front().text,
              "Are you sure you want to Restore the Registry with this file 'cvnfullbackup.reg' ?");
    EXPECT_EQ(Last_Message(), "Registry Restored successfully.");
    EXPECT_EQ(Setting(), "1");

    (void)server.files.Delete_File(kFolder + std::string("CVNFullBackup.reg"));
    presenter->Restore_Clicked();
    EXPECT_EQ(messages.shown[messages.shown.size() - 2].text, "File Not Exists!");
    EXPECT_EQ(Last_Message(), "Error while restoring the Registry!");
}

TEST_F(RestoreDialogTest, DeletingRemovesTheFileAndItsRowOnlyWhenItWorked) {
    const std::string path = kFolder + std::string("CVNFullBackup.reg");
    server.files.Add_File(path, 100);
    Open(RestoreMode::Registry);
    Select(0);
    network.Add_Fault({.kind = remote::CallKind::Method, .computer = {}, .match = "Delete", .once = true});
    presenter->Delete_Clicked();
    EXPECT_EQ(Last_Message(), "Error while deleting the file!");
    EXPECT_EQ(view.rows.size(), 1u);

    presenter->Delete_Clicked();
    EXPECT_EQ(Last_Message(), "Registry backup file deleted successfully.");
    EXPECT_TRUE(view.rows.empty());
    EXPECT_FALSE(server.files.Find(path));
    EXPECT_FALSE(view.restoreEnabled);
}

TEST_F(RestoreDialogTest, SystemModeListsEveryProgramsRestorePointsAndRollsBack) {
    server.Add_Restore_Point("Installed Office", {2026, 11, 2, 9, 0, 0, 60});
    server.Add_Restore_Point("CVNRestorePoint(2026-12-01)(10-00-00)", {2026, 12, 1, 10, 0, 0, 60});
    Open(RestoreMode::System);
    EXPECT_EQ(view.title, "Restore System - SERVER1 - Corvane");
    EXPECT_FALSE(view.deleteShown);
    ASSERT_EQ(view.rows.size(), 2u);
    EXPECT_EQ(view.rows[0].text, "Installed Office");
    Select(0);
    presenter->Restore_Clicked();
    EXPECT_EQ(messages.shown.front().text,
              "This will restart the system forcefully.\r\nAre you sure you want to restore the system with this "
              "Restore Point 'Installed Office' ?");
    EXPECT_EQ(server.shutdownRequests, std::vector<std::uint32_t>{6});
    EXPECT_EQ(Last_Message(), "System restored successfully and Windows restarted.");
}

TEST_F(RestoreDialogTest, RollBackOutcomes) {
    const struct {
        const char* name;
        std::uint32_t restoreResult;
        std::uint32_t shutdownResult;
        const char* message;
        MsgIcon icon;
    } cases[] = {
        {"restart refused", 0, 1, "System restored successfully. You must restart the System manually!",
         MsgIcon::Exclamation},
        {"service disabled", 1058, 0, "This Feature is disabled or not supported by the Operating System!",
         MsgIcon::Exclamation},
        {"other failure", 5, 0, "Error while restoring the System!", MsgIcon::Critical},
    };
    for (const auto& c : cases) {
        RestoreDialog t;
        t.server.Add_Restore_Point("Installed Office", t.server.now);
        t.server.restoreResult = c.restoreResult;
        t.server.shutdownResult = c.shutdownResult;
        t.Open(RestoreMode::System);
        t.Select(0);
        t.presenter->Restore_Clicked();
        EXPECT_EQ(t.Last_Message(), c.message) << c.name;
        EXPECT_EQ(t.messages.shown.back().icon, c.icon) << c.name;
        EXPECT_EQ(t.server.shutdownRequests.size(), c.restoreResult == 0 ? 1u : 0u) << c.name;
    }
}

TEST_F(RestoreDialogTest, ListingFailures) {
    server.systemRestore = false;
    Open(RestoreMode::System);
    EXPECT_EQ(Last_Message(), "This Feature is disabled or not supported by the Operating System!");
    server.reachable = false;
    Open(RestoreMode::Registry);
    EXPECT_EQ(Last_Message(), backup::kAccessErrorBang);
    EXPECT_TRUE(view.rows.empty());
}

}  // namespace
}  // namespace corvane::testing
