// frmRestoreReg on Windows: the dialog template's controls shown from the
// restore presenter (list, captions, buttons, the progress panel and the
// link). The dialog itself decides nothing; see backup/restore_presenter.h.
#pragma once

#include <windows.h>

#include "backup/backup_ports.h"
#include "base/ports/shell.h"
#include "remote/target_context.h"
#include "remote/undo_files.h"

namespace corvane::win32 {

inline constexpr int kRestoreDialogId = 700;
inline constexpr int kRestoreFrame = 701;   // frameRestoreRegistry
inline constexpr int kRestoreList = 702;    // lvwRegFiles
inline constexpr int kRestoreButton = 703;  // cmdRestore
inline constexpr int kRestoreDelete = 704;  // cmdDelete
inline constexpr int kRestoreClose = 705;   // cmdClose
inline constexpr int kRestoreLink = 706;    // lblLink
inline constexpr int kRestorePanel = 707;   // picProgress
inline constexpr int kRestoreProgressText = 708;
inline constexpr int kRestoreProgressBar = 709;  // pbrProgress

// Show_This_Form: the restore dialog in its mode for the computer, modal
// over owner. The ports serve its connections and messages; userData holds
// the undo files of registry fixes (none are listed without it).
void Show_Restore_Dialog(HWND owner, backup::RestoreMode mode, const backup::BackupComputer& computer,
                         const remote::RemotePorts& ports, IShell& shell, remote::IUserDataFolder* userData = nullptr);

// The opener the backup commands receive: the restore dialog owned by the
// window that hosts them (the options dialog).
class RestoreDialogOpener final : public backup::IRestoreDialogOpener {
public:
    RestoreDialogOpener(HWND owner, const remote::RemotePorts& ports, IShell& shell,
                        remote::IUserDataFolder* userData = nullptr)
        : owner_(owner), ports_(ports), shell_(shell), userData_(userData) {}
    void Show_This_Form(backup::RestoreMode mode, const backup::BackupComputer& computer) override {
        Show_Restore_Dialog(owner_, mode, computer, ports_, shell_, userData_);
    }

private:
    HWND owner_;
    const remote::RemotePorts& ports_;
    IShell& shell_;
    remote::IUserDataFolder* userData_;
};

}  // namespace corvane::win32
