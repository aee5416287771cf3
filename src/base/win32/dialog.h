// The base of every dialog: runs a dialog template modally, keeps `this` from
// WM_INITDIALOG on and dispatches to virtual On_Init, On_Command, On_Notify,
// On_Size and On_Message. Every call into a dialog runs behind the same
// guard as the main window: an exception is logged as an error line and
// never crosses the dialog procedure. Escape and the close box come to
// On_Close, which closes the dialog unless a dialog says otherwise.
#pragma once

#include <windows.h>

#include <initializer_list>
#include <string>
#include <string_view>

#include "base/win32/window.h"

namespace corvane {
class Reporter;
}

namespace corvane::win32 {

class Dialog {
public:
    // `reporter` receives the errors the guard catches; `name` says which
    // dialog in that log line.
    Dialog(const Reporter* reporter, std::string_view name)
        : reporter_(reporter), where_("Dialog " + std::string(name)) {}
    virtual ~Dialog() = default;
    Dialog(const Dialog&) = delete;
    Dialog& operator=(const Dialog&) = delete;

    // Shows the template `templateId` of this program modally over `owner`;
    // returns the result given to End, or -1 when it could not be shown.
    INT_PTR Run_Modal(HWND owner, int templateId);

    [[nodiscard]] HWND Handle() const noexcept { return dialog_; }
    [[nodiscard]] HWND Item(int id) const noexcept { return ::GetDlgItem(dialog_, id); }
    [[nodiscard]] Window Control(int id) const noexcept { return Window(Item(id)); }
    void End(INT_PTR result) const noexcept { ::EndDialog(dialog_, result); }

protected:
    // WM_INITDIALOG; false when the dialog set the focus itself.
    virtual bool On_Init() { return true; }
    // WM_COMMAND; true when handled.
    virtual bool On_Command(int /*id*/, int /*code*/, HWND /*control*/) { return false; }
    // WM_NOTIFY; true when handled, with `result` the notification's answer.
    virtual bool On_Notify(const NMHDR& /*header*/, LRESULT& /*result*/) { return false; }
    virtual void On_Size(int /*width*/, int /*height*/) {}
    // Escape, Cancel and the close box; true lets the dialog close.
    virtual bool On_Close() { return true; }
    // Any other message; true when handled, with `result` the procedure's answer.
    virtual bool On_Message(UINT /*message*/, WPARAM /*wParam*/, LPARAM /*lParam*/, INT_PTR& /*result*/) {
        return false;
    }

private:
    static INT_PTR CALLBACK Procedure(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) noexcept;
    INT_PTR Dispatch(UINT message, WPARAM wParam, LPARAM lParam);

    const Reporter* reporter_;
    std::string where_;  // names the dialog in the guard's log lines
    HWND dialog_ = nullptr;
};

// The link labels of the dialogs: on WM_CTLCOLORSTATIC for one of linkIds,
// blue text on the dialog's face. False for every other message or control.
bool Color_Link_Label(UINT message, WPARAM wParam, LPARAM lParam, std::initializer_list<int> linkIds, INT_PTR& result);

}  // namespace corvane::win32
