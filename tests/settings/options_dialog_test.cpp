#include "settings/options_dialog.h"

#include <gtest/gtest.h>

#include "db/app_tables.h"
#include "settings/general_options.h"
#include "support/test_database.h"

namespace corvane {
namespace {

using testing::TestDatabase;

// Each case: the stored mask, what the user changes, the mask saved. Bits the
// dialog does not show (16, 128, ...) survive; Manual clears Shutdown.
TEST(OptionsDialogSave, BitsFromTheControlsAndUnknownBitsKept) {
    struct Case {
        std::int32_t stored;
        void (*change)(OptionsDialog&);
        std::int32_t saved;
    };
    const Case cases[] = {
        {16 | 128, [](OptionsDialog& d) { d.Set_Reg_Backup(true); }, 16 | 128 | GO_REGISTRY_BACKUP},
        {GO_AUTOMATIC_FIXING | GO_SHUTDOWN | GO_SAFE_SCAN, [](OptionsDialog& d) { d.Choose_Automatic(false); },
         GO_SAFE_SCAN},
        {GO_SAFE_SCAN, [](OptionsDialog& d) { d.Set_Shutdown(true); }, GO_SAFE_SCAN},  // disabled under Manual
        {0,
         [](OptionsDialog& d) {
             d.Choose_Automatic(true);
             d.Set_Shutdown(true);
             d.Choose_Safe_Scan(true);
         },
         GO_AUTOMATIC_FIXING | GO_SHUTDOWN | GO_SAFE_SCAN},
        {GO_ABORT_FIXING | GO_RESTORE_POINT, [](OptionsDialog& d) { d.Set_Abort_Fixing(false); }, GO_RESTORE_POINT},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.stored);
        TestDatabase t;
        ASSERT_TRUE(Save_Settings(t.db, c.stored, ".tmp;"));
        OptionsDialog dialog(t.db, t.reporter, nullptr);
        dialog.Load({});
        EXPECT_FALSE(dialog.State().saveEnabled);
        c.change(dialog);
        EXPECT_TRUE(dialog.State().saveEnabled);
        ASSERT_TRUE(dialog.Save_Options());
        std::int32_t mask = 0;
        std::string extn;
        ASSERT_TRUE(Load_Settings(t.db, mask, extn));
        EXPECT_EQ(mask, c.saved);
        EXPECT_EQ(t.messages.shown.back().text, "Successfully saved the changes.");
        EXPECT_FALSE(dialog.State().saveEnabled);
    }
}

// Closing asks only after a change; an empty extension list is stored, and
// the computers scanned at once within 1 to 32.
TEST(OptionsDialogClose, AsksOnlyAfterAChangeAndWhatIsSavedIsStored) {
    TestDatabase t;
    OptionsDialog dialog(t.db, t.reporter, nullptr);
    dialog.Load({});
    EXPECT_TRUE(dialog.Query_Close());
    EXPECT_TRUE(t.messages.shown.empty());
    dialog.Set_Extensions("");
    t.messages.Queue_Answer(MsgResult::No);
    EXPECT_FALSE(dialog.Query_Close());
    EXPECT_EQ(t.messages.shown.back().text, "Are you sure you want to close without saving changes?");
    EXPECT_EQ(dialog.State().computersAtOnce, 8);
    dialog.Set_Computers_At_Once(99);
    EXPECT_EQ(dialog.State().computersAtOnce, 32);
    dialog.Set_Computers_At_Once(3);
    ASSERT_TRUE(dialog.Save_Options());
    EXPECT_EQ(Get_Computers_At_Once(t.db), 3);
    std::string extn = "x";
    ASSERT_TRUE(Get_Extensions(t.db, extn));
    EXPECT_EQ(extn, "");
}

TEST(OptionsDialogLoad, AMissingRowKeepsTheInitialControlsAndSaysSo) {
    TestDatabase t;
    ASSERT_TRUE(t.Run_Sql("DELETE FROM SETTINGS_TBL"));
    OptionsDialog dialog(t.db, t.reporter, nullptr);
    dialog.Load({"PC1"});
    EXPECT_EQ(t.messages.shown.back().text, "Error Reading from DB!");
    EXPECT_EQ(dialog.State().extensions, ".tmp;");
    EXPECT_FALSE(dialog.State().automatic.has_value());
    EXPECT_FALSE(dialog.Save_Options());
    EXPECT_EQ(dialog.Chosen_Computer(), "PC1");
}

struct RecordingBackup final : IBackupCommands {
    void Create_Restore_Point(const Target&) override {}
    void Backup_Registry(const Target& t) override {
        calls += std::string(t.computer) + "/" + std::string(t.userName) + "/" + std::string(t.password.View()) + " ";
    }
    void Restore_System(const Target&) override {}
    void Restore_Registry(const Target&) override {}
    std::string calls;
};

struct NoProgress final : IOptionsProgress {
    void Visible_Progress_Bar(bool) override {}
    void Set_Progress_For_BackupRegistry() override {}
    void Do_Progess() override {}
};

TEST(OptionsDialogBackup, CommandsActOnTheChosenComputerWithItsCredentials) {
    TestDatabase t;
    ASSERT_TRUE(Add_Computer(t.db, "PC2", "admin", "pw"));
    RecordingBackup backup;
    OptionsDialog dialog(t.db, t.reporter, &backup);
    dialog.Load({"PC1", "PC2"});
    dialog.Choose_Computer("PC2");
    NoProgress progress;
    dialog.Run_Backup_Command(&IBackupCommands::Backup_Registry, progress);
    EXPECT_EQ(backup.calls, "PC2/admin/pw ");
}

}  // namespace
}  // namespace corvane
