// frmExceptionList and frmAddException on Windows: thin views of
// ExceptionList. Internal entries are drawn blue; Edit and Delete follow the
// selection; files are asked for with the common dialogs.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <functional>

#include "base/win32/dialog.h"
#include "base/win32/list_view.h"
#include "settings/exception_list.h"

namespace corvane::win32 {

struct ExceptionDialogHooks {
    std::function<void()> openRegistryEditor;  // the Add/Edit dialog's "Open Registry Editor"
    std::function<void()> openHomePage;
    HIMAGELIST images = nullptr;  // shared with the main window, not owned
    int exceptionImage = -1;
    HICON importIcon = nullptr;  // the pictures of Import and Export, not owned
    HICON exportIcon = nullptr;
};

class ExceptionListDialog final : public Dialog {
public:
    ExceptionListDialog(ExceptionList& list, const Reporter& reporter, ExceptionDialogHooks hooks)
        : Dialog(&reporter, "Exception List"), list_(list), reporter_(reporter), hooks_(std::move(hooks)) {}

    void Show(HWND owner) { Run_Modal(owner, kTemplateId); }
    static constexpr int kTemplateId = 400;

private:
    bool On_Init() override;
    bool On_Command(int id, int code, HWND control) override;
    bool On_Notify(const NMHDR& header, LRESULT& result) override;
    bool On_Message(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result) override;

    void Show_Rows();
    void Read_Selection();
    void Update_Buttons();
    void Open_Add_Edit(ExceptionEditMode mode);

    ExceptionList& list_;
    const Reporter& reporter_;
    ExceptionDialogHooks hooks_;
    ListView rows_;
    int columnWidth_ = 0;
    int dpi_ = 96;
};

// Show_This_Form: modal over the list; `row` is the entry edited in Edit mode.
class AddExceptionDialog final : public Dialog {
public:
    AddExceptionDialog(ExceptionList& list, const Reporter& reporter, ExceptionEditMode mode, std::size_t row,
                       std::function<void()> openRegistryEditor)
        : Dialog(&reporter, "Add Exception"),
          list_(list),
          mode_(mode),
          row_(row),
          openRegistryEditor_(std::move(openRegistryEditor)) {}

    // True when the dialog changed the list.
    bool Show(HWND owner) { return Run_Modal(owner, kTemplateId) == IDOK; }
    static constexpr int kTemplateId = 450;

private:
    bool On_Init() override;
    bool On_Command(int id, int code, HWND control) override;

    ExceptionList& list_;
    ExceptionEditMode mode_;
    std::size_t row_;
    std::function<void()> openRegistryEditor_;
};

}  // namespace corvane::win32
