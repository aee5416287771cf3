// The progress panel of a dialog (picProgress with its label and the bar
// pbrProgress) as the backup and restore logic drives it. The options dialog
// and the restore dialog each attach their own three controls.
#pragma once

#include <windows.h>

#include "backup/backup_ports.h"

namespace corvane::win32 {

class ProgressPanel final : public backup::IProgressPanel {
public:
    ProgressPanel() = default;

    // The dialog and the ids of the panel, its label and its bar.
    void Attach(HWND dialog, int panelId, int labelId, int barId) noexcept;
    // Places the panel, keeping its label and bar on it, in the middle of
    // the dialog's client area.
    void Center() const;

    void Set_Progress(std::string_view caption, int maximum, int value) override;
    void Visible_Progress_Bar(bool visible) override;
    void Do_Progress() override;

private:
    HWND dialog_ = nullptr;
    int ids_[3] = {};  // panel, label, bar
    int maximum_ = 0;
    int value_ = 0;
};

}  // namespace corvane::win32
