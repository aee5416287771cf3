#include "settings/win32/exception_dialogs.h"

#include <commctrl.h>

#include "base/reporter.h"
#include "base/runtime_error.h"
#include "base/win32/controls.h"
#include "base/win32/file_dialog.h"
#include "settings/win32/settings_dialog_ids.h"

namespace corvane::win32 {

namespace {}  // namespace

bool ExceptionListDialog::On_Init() {
    static_assert(kTemplateId == IDD_EXCEPTION_LIST);
    HDC screen = ::GetDC(nullptr);
    dpi_ = screen ? ::GetDeviceCaps(screen, LOGPIXELSX) : 96;
    if (screen) ::ReleaseDC(nullptr, screen);
    rows_.Attach(Item(IDC_LVW_EXCEPTIONS));
    rows_.Set_Extended_Style(LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);
    if (hooks_.images) rows_.Set_Image_List(hooks_.images);
    Button(Item(IDC_EXC_EXPORT)).Set_Image(hooks_.exportIcon);
    Button(Item(IDC_EXC_IMPORT)).Set_Image(hooks_.importIcon);
    columnWidth_ = rows_.Client_Rect().right;
    rows_.Insert_Column(0, "Exception Text", columnWidth_);

    ToolTip tips(::CreateWindowExW(0, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP, CW_USEDEFAULT, CW_USEDEFAULT,
                                   CW_USEDEFAULT, CW_USEDEFAULT, Handle(), nullptr, ::GetModuleHandleW(nullptr),
                                   nullptr));
    tips.Add_Tool(Handle(), Item(IDC_EXC_IMPORT), "Import Exceptions from a text file");
    tips.Add_Tool(Handle(), Item(IDC_EXC_EXPORT), "Export Exceptions to a text file");

    list_.Set_Visible_Row_Count(Get_Visible_Row_Count(rows_));
    list_.Fill_Exception_List();
    Show_Rows();
    Control(IDC_EXC_EDIT).Enable(false);
    Control(IDC_EXC_DELETE).Enable(false);
    return true;
}

void ExceptionListDialog::Show_Rows() {
    rows_.Delete_All_Items();
    const auto& rows = list_.Rows();
    for (std::size_t i = 0; i < rows.size(); ++i) {
        rows_.Insert_Item(static_cast<int>(i), rows[i].text, hooks_.exceptionImage, static_cast<LPARAM>(rows[i].type));
        if (rows[i].selected) rows_.Select(static_cast<int>(i), true);
    }
    rows_.Set_Column_Width(0, columnWidth_ + ::MulDiv(list_.Column_Adjustment(), dpi_, 1440));
}

void ExceptionListDialog::Read_Selection() {
    for (int i = 0; i < rows_.Item_Count(); ++i) list_.Set_Selected(static_cast<std::size_t>(i), rows_.Is_Selected(i));
}

void ExceptionListDialog::Update_Buttons() {
    Read_Selection();
    const bool allowed = list_.Edit_Allowed();
    Control(IDC_EXC_EDIT).Enable(allowed);
    Control(IDC_EXC_DELETE).Enable(allowed);
}

void ExceptionListDialog::Open_Add_Edit(ExceptionEditMode mode) {
    Read_Selection();
    const std::size_t row = list_.First_Selected();
    if (mode == ExceptionEditMode::Edit && row >= list_.Rows().size()) return;
    AddExceptionDialog dialog(list_, reporter_, mode, row, hooks_.openRegistryEditor);
    dialog.Show(Handle());
    Show_Rows();
}

bool ExceptionListDialog::On_Command(int id, int, HWND) {
    try {
        switch (id) {
            case IDC_EXC_ADD: Open_Add_Edit(ExceptionEditMode::Add); return true;
            case IDC_EXC_EDIT: Open_Add_Edit(ExceptionEditMode::Edit); return true;
            case IDC_EXC_DELETE:
                Read_Selection();
                list_.Delete_Selected();
                Show_Rows();
                Update_Buttons();
                return true;
            case IDC_EXC_EXPORT: {
                if (!list_.Can_Export()) return true;
                const auto path = Ask_Save_Text_File(Handle(), "Export Exceptions as text file", "CVN_Exception_List");
                if (path) Write_File_Bytes(*path, list_.Export_Text());
                return true;
            }
            case IDC_EXC_IMPORT: {
                const auto path = Ask_Open_Text_File(Handle(), "Import Exceptions from a text file");
                if (!path) return true;
                Read_Selection();
                list_.Import(Read_File_Bytes(*path));
                Show_Rows();
                return true;
            }
            case IDC_EXC_LINK:
                if (hooks_.openHomePage) hooks_.openHomePage();
                return true;
            case IDC_EXC_CLOSE: End(IDCANCEL); return true;
            default: return false;
        }
    } catch (const RuntimeError& error) {
        reporter_.Show_Error(true, error);
    }
    return true;
}

bool ExceptionListDialog::On_Notify(const NMHDR& header, LRESULT& result) {
    if (header.idFrom != IDC_LVW_EXCEPTIONS) return false;
    result = 0;
    switch (header.code) {
        case NM_CLICK: Update_Buttons(); return true;
        case NM_CUSTOMDRAW: {
            // Internal entries are blue (the list's data holds the type).
            auto& draw = reinterpret_cast<NMLVCUSTOMDRAW&>(const_cast<NMHDR&>(header));
            if (draw.nmcd.dwDrawStage == CDDS_PREPAINT) {
                result = CDRF_NOTIFYITEMDRAW;
            } else if (draw.nmcd.dwDrawStage == CDDS_ITEMPREPAINT) {
                if (draw.nmcd.lItemlParam == EXCEPTION_INTERNAL) draw.clrText = RGB(0, 0, 255);
                result = CDRF_DODEFAULT;
            }
            return true;
        }
        default: return false;
    }
}

bool ExceptionListDialog::On_Message(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result) {
    return Color_Link_Label(message, wParam, lParam, {IDC_EXC_LINK}, result);
}

bool AddExceptionDialog::On_Init() {
    static_assert(kTemplateId == IDD_ADD_EXCEPTION);
    const bool add = mode_ == ExceptionEditMode::Add;
    Window(Handle()).Set_Text(add ? "Add Exceptions - Corvane" : "Edit Exceptions - Corvane");
    Control(IDC_ADD_FRAME).Set_Text(add ? "Add Exception Text" : "Edit Exception Text");
    Edit box(Item(IDC_TXT_EXCEPTION));
    box.Limit_Text(0);  // no limit of its own
    if (!add && row_ < list_.Rows().size()) box.Set_Text(list_.Rows()[row_].text);
    box.Focus();
    box.Select_All();
    return false;  // the focus is set
}

bool AddExceptionDialog::On_Command(int id, int code, HWND) {
    switch (id) {
        case IDOK:  // OK, or Enter in the text box
            switch (list_.Confirm(mode_, Control(IDC_TXT_EXCEPTION).Text(), row_)) {
                case ConfirmOutcome::RefocusEmpty: Control(IDC_TXT_EXCEPTION).Focus(); break;
                case ConfirmOutcome::StayOpen: break;
                case ConfirmOutcome::Close: End(IDOK); break;
            }
            return true;
        case IDC_TXT_EXCEPTION:
            if (code == EN_SETFOCUS) Edit(Item(IDC_TXT_EXCEPTION)).Select_All();
            return true;
        case IDC_ADD_REGEDIT:
            if (openRegistryEditor_) openRegistryEditor_();
            return true;
        case IDC_ADD_CLOSE: End(IDCANCEL); return true;
        default: return false;
    }
}

}  // namespace corvane::win32
