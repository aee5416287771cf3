// The four backup and restore commands of the options dialog's Backup page:
// each acts on the computer chosen there and reports through message boxes
// and the dialog's progress panel. The program joins them to the dialog.
#pragma once

#include "backup/backup_ports.h"
#include "backup/registry_backup.h"

namespace corvane::backup {

inline constexpr const char* kBackupCreated = "Registry Backup file created successfully.";
inline constexpr const char* kRestorePointMade = "System Restore Point created successfully.";
inline constexpr const char* kRestorePointUnsupported =
    "This feature is disabled or not supported by the Operating System!";

class BackupCommands final {
public:
    BackupCommands(const remote::RemotePorts& ports, IRestoreDialogOpener& restoreDialog)
        : ports_(ports), restoreDialog_(restoreDialog) {}

    BackupCommands(const BackupCommands&) = delete;
    BackupCommands& operator=(const BackupCommands&) = delete;

    // "Backup Regsitry": asks, then the full backup with the panel shown.
    void Full_Backup(const BackupComputer& computer, IProgressPanel& progress);
    // "Create Restore Point": asks, then a restore point on the computer.
    void Restore_Point(const BackupComputer& computer);
    // "Restore Registry" and "Restore System": the restore dialog in its mode.
    void Restore_Registry(const BackupComputer& computer) {
        restoreDialog_.Show_This_Form(RestoreMode::Registry, computer);
    }
    void Restore_System(const BackupComputer& computer) {
        restoreDialog_.Show_This_Form(RestoreMode::System, computer);
    }

private:
    bool Ask(const std::string& question);

    const remote::RemotePorts& ports_;
    IRestoreDialogOpener& restoreDialog_;
};

}  // namespace corvane::backup
