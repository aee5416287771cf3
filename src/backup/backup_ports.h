// What the backup and restore logic needs from the dialogs that host it:
// the chosen computer, the progress panel (label and bar) of the dialog, and
// the opening of the restore dialog. The Win32 dialogs implement them, the
// tests use plain fakes.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "base/secret.h"
#include "remote/wmi_system.h"

namespace corvane::backup {

// The computer chosen in the options and its credentials; every command
// connects anew with these three values.
struct BackupComputer {
    std::string name;
    std::string userName;
    Secret password;
};

// The progress panel: a caption, a bar, shown or hidden. Do_Progress (from
// IProgressStep) adds 1 to the bar's maximum and then 1 to its value.
class IProgressPanel : public remote::IProgressStep {
public:
    // The caption, and the bar's maximum and value.
    virtual void Set_Progress(std::string_view caption, int maximum, int value) = 0;
    // Shows or hides the panel, then lets the window process pending messages.
    virtual void Visible_Progress_Bar(bool visible) = 0;
};

// The restore dialog's two modes, by the numbers the dialog has always used.
enum class RestoreMode : std::int32_t { Registry = 0, System = 2 };

// Opens the restore dialog modally for the computer, owned by the dialog
// that asks.
class IRestoreDialogOpener {
public:
    virtual ~IRestoreDialogOpener() = default;
    IRestoreDialogOpener() = default;
    IRestoreDialogOpener(const IRestoreDialogOpener&) = delete;
    IRestoreDialogOpener& operator=(const IRestoreDialogOpener&) = delete;

    virtual void Show_This_Form(RestoreMode mode, const BackupComputer& computer) = 0;
};

}  // namespace corvane::backup
