#include "app/win32/options_backup.h"

#include "backup/win32/restore_dialog.h"

namespace corvane::win32 {
namespace {

backup::BackupComputer Computer_Of(const IBackupCommands::Target& target) {
    return {
        .name = std::string(target.computer), .userName = std::string(target.userName), .password = target.password};
}

// The options dialog's panel has one caption of its own, the backup's, and
// the bar the backup drives.
class OptionsPanel final : public backup::IProgressPanel {
public:
    explicit OptionsPanel(IOptionsProgress& panel) : panel_(panel) {}
    void Set_Progress(std::string_view, int, int) override { panel_.Set_Progress_For_BackupRegistry(); }
    void Visible_Progress_Bar(bool visible) override { panel_.Visible_Progress_Bar(visible); }
    void Do_Progress() override { panel_.Do_Progess(); }

private:
    IOptionsProgress& panel_;
};

}  // namespace

void OptionsBackup::Run(const std::function<void(backup::BackupCommands&)>& command) {
    RestoreDialogOpener restoreDialog(owner_ ? owner_() : nullptr, ports_, shell_, userData_);
    backup::BackupCommands commands(ports_, restoreDialog);
    command(commands);
}

void OptionsBackup::Create_Restore_Point(const Target& target) {
    Run([&](backup::BackupCommands& commands) { commands.Restore_Point(Computer_Of(target)); });
}

void OptionsBackup::Backup_Registry(const Target& target) {
    OptionsPanel panel(target.progress);
    Run([&](backup::BackupCommands& commands) { commands.Full_Backup(Computer_Of(target), panel); });
}

void OptionsBackup::Restore_System(const Target& target) {
    Run([&](backup::BackupCommands& commands) { commands.Restore_System(Computer_Of(target)); });
}

void OptionsBackup::Restore_Registry(const Target& target) {
    Run([&](backup::BackupCommands& commands) { commands.Restore_Registry(Computer_Of(target)); });
}

}  // namespace corvane::win32
