#include "backup/backup_commands.h"

#include "remote/restore_point_check.h"
#include "remote/wmi_connection.h"

namespace corvane::backup {

bool BackupCommands::Ask(const std::string& question) {
    return ports_.reporter.Messages().Show(question, MsgButtons::YesNo, MsgIcon::Question) != MsgResult::No;
}

void BackupCommands::Full_Backup(const BackupComputer& computer, IProgressPanel& progress) {
    if (!Ask("Are you sure you want to create a Full Registry Backup for the Computer '" + computer.name + "' ?")) {
        return;
    }
    progress.Visible_Progress_Bar(true);
    progress.Set_Progress("Please wait while backing up registry...", 20, 1);
    const bool created = Create_Full_Backup(computer, {ports_, progress});
    progress.Visible_Progress_Bar(false);
    if (created) ports_.reporter.Messages().Show(kBackupCreated, MsgButtons::Ok, MsgIcon::Information);
}

void BackupCommands::Restore_Point(const BackupComputer& computer) {
    if (!Ask("Are you sure you want to create a System Restore Point for the Computer '" + computer.name + "' ?")) {
        return;
    }
    IMessageBox& messages = ports_.reporter.Messages();
    const wmi::ServicesPtr rootDefault =
        remote::WMI_Connect_To(ports_, "default", computer.name, computer.userName, computer.password);
    if (!rootDefault) {
        messages.Show(kAccessErrorBang, MsgButtons::Ok, MsgIcon::Critical);
        return;
    }
    const remote::CheckedRestorePoint point = remote::WMI_Create_Checked_Restore_Point(*rootDefault, ports_.clock);
    switch (point.outcome) {
        case remote::RestorePointOutcome::Created:
            messages.Show(kRestorePointMade, MsgButtons::Ok, MsgIcon::Information);
            break;
        case remote::RestorePointOutcome::KeptRecent:
        case remote::RestorePointOutcome::KeptOld: {
            // Windows answered success but made no new point.
            std::string text = remote::Kept_Restore_Point_Text(point.kept);
            if (!point.Succeeded()) text += " It is more than 24 hours old.";
            ports_.reporter.Log_Event(text + " (" + computer.name + ")", point.Succeeded() ? LOG_INFO : LOG_WARNING);
            messages.Show(text, MsgButtons::Ok, point.Succeeded() ? MsgIcon::Information : MsgIcon::Exclamation);
            break;
        }
        case remote::RestorePointOutcome::Failed:
            messages.Show(kRestorePointUnsupported, MsgButtons::Ok, MsgIcon::Exclamation);
            break;
    }
}

}  // namespace corvane::backup
