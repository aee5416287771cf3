// The four backup and restore commands of the options dialog's Backup page,
// behind one small interface the dialog receives: each acts on the computer
// chosen there and reports through message boxes and the dialog's progress
// panel.
#pragma once

#include "backup/backup_ports.h"
#include "backup/registry_backup.h"

namespace corvane::backup {

inline constexpr const char* kBackupCreated = "Registry Backup file created successfully.";
inline constexpr const char* kRestorePointMade = "System Restore Point created successfully.";
inline constexpr const char* kRestorePointUnsupported =
    "This feature is disabled or not supported by the Operating System!";

class IBackupCommands {
public:
    virtual ~IBackupCommands() = default;
    IBackupCommands() = default;
    IBackupCommands(const IBackupCommands&) = delete;
    IBackupCommands& operator=(const IBackupCommands&) = delete;

    // "Backup Regsitry": asks, then the full backup with the panel shown.
    virtual void Full_Backup(const BackupComputer& computer, IProgressPanel& progress) = 0;
    // "Create Restore Point": asks, then a restore point on the computer.
    virtual void Restore_Point(const BackupComputer& computer) = 0;
    // "Restore Registry" and "Restore System": the restore dialog in its mode.
    virtual void Restore_Registry(const BackupComputer& computer) = 0;
    virtual void Restore_System(const BackupComputer& computer) = 0;
};

class BackupCommands final : public IBackupCommands {
public:
    BackupCommands(const remote::RemotePorts& ports, IRestoreDialogOpener& restoreDialog)
        : ports_(ports), restoreDialog_(restoreDialog) {}

    void Full_Backup(const BackupComputer& computer, IProgressPanel& progress) override;
    void Restore_Point(const BackupComputer& computer) override;
    void Restore_Registry(const BackupComputer& computer) override {
        restoreDialog_.Show_This_Form(RestoreMode::Registry, computer);
    }
    void Restore_System(const BackupComputer& computer) override {
        restoreDialog_.Show_This_Form(RestoreMode::System, computer);
    }

private:
    bool Ask(const std::string& question);

    const remote::RemotePorts& ports_;
    IRestoreDialogOpener& restoreDialog_;
};

}  // namespace corvane::backup
