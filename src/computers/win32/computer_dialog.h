// frmBrowseComputer on Windows: a thin view of ComputerList. It shows the
// rows (password column as bullets), lays the edit box over a clicked
// credential cell, asks for files, and moves the focus as the presenter's
// answers say. The Browse button works only when a network browser is given;
// a browse shows the progress panel with its Cancel button.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <functional>
#include <string>
#include <vector>

#include "base/win32/controls.h"
#include "base/win32/dialog.h"
#include "base/win32/list_view.h"
#include "computers/computer_list.h"
#include "computers/network_browse.h"

namespace corvane::win32 {

struct ComputerDialogHooks {
    // The network's browser lists; none: Browse stays disabled. Not owned.
    computers::INetworkBrowser* network = nullptr;
    std::function<void()> openHomePage;
    HIMAGELIST images = nullptr;  // shared with the main window, not owned
    int computerImage = -1;
    HICON importIcon = nullptr;  // the pictures of Import and Export, not owned
    HICON exportIcon = nullptr;
};

class ComputerDialog final : public Dialog {
public:
    ComputerDialog(ComputerList& list, const Reporter& reporter, ComputerDialogHooks hooks)
        : Dialog(&reporter, "Manage Computers"), list_(list), reporter_(reporter), hooks_(std::move(hooks)) {}

    // Modal over `owner`.
    void Show(HWND owner) { Run_Modal(owner, kTemplateId); }
    static constexpr int kTemplateId = 300;

private:
    bool On_Init() override;
    bool On_Command(int id, int code, HWND control) override;
    bool On_Notify(const NMHDR& header, LRESULT& result) override;
    bool On_Message(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result) override;
    // Escape or the close box during a browse cancel the browse instead.
    bool On_Close() override {
        if (browse_ == nullptr) return true;
        browse_->Cancel();
        return false;
    }

    void Show_Rows();
    void Apply_Column_Widths();
    void Add();
    void Begin_Cell_Edit(int row, int column);
    void End_Cell_Edit();
    void Import();
    void Export();
    void Browse();
    void Show_Browse_Panel(bool visible);
    void Show_Browse_Progress(const computers::BrowseProgress& progress);
    void Pump_Messages();
    void Focus_And_Select(Edit box);
    [[nodiscard]] Secret Password_Box() const;

    ComputerList& list_;
    const Reporter& reporter_;
    ComputerDialogHooks hooks_;
    ListView rows_;
    Edit name_, userName_, password_, dummy_;
    ToolTip tips_;
    computers::NetworkBrowse* browse_ = nullptr;  // while a browse runs
    int editRow_ = -1;
    int editColumn_ = 0;
    bool filling_ = false;
    int dpi_ = 96;
    int listWidth_ = 0;
};

}  // namespace corvane::win32
