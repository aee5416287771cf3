// The options dialog's Backup page joined to the backup commands: the
// dialog's chosen computer becomes the commands' computer, its progress panel
// theirs, and the restore dialog opens over the options dialog.
#pragma once

#include <windows.h>

#include <functional>

#include "backup/backup_commands.h"
#include "base/ports/shell.h"
#include "remote/undo_files.h"
#include "settings/options_dialog.h"

namespace corvane::win32 {

class OptionsBackup final : public IBackupCommands {
public:
    // owner: the options dialog's window at the time of a command.
    // userData: where the undo files of registry fixes are kept (may be null).
    OptionsBackup(const remote::RemotePorts& ports, IShell& shell, remote::IUserDataFolder* userData,
                  std::function<HWND()> owner)
        : ports_(ports), shell_(shell), userData_(userData), owner_(std::move(owner)) {}

    void Create_Restore_Point(const Target& target) override;
    void Backup_Registry(const Target& target) override;
    void Restore_System(const Target& target) override;
    void Restore_Registry(const Target& target) override;

private:
    // Runs one command on a BackupCommands whose restore dialog is owned by the options dialog.
    void Run(const std::function<void(backup::BackupCommands&)>& command);

    const remote::RemotePorts& ports_;
    IShell& shell_;
    remote::IUserDataFolder* userData_;
    std::function<HWND()> owner_;
};

}  // namespace corvane::win32
