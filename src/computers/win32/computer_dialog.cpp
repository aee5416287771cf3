#include "computers/win32/computer_dialog.h"

#include <commctrl.h>

#include <algorithm>

#include "base/reporter.h"
#include "base/runtime_error.h"
#include "base/win32/controls.h"
#include "base/win32/file_dialog.h"
#include "base/win32/progress_bar.h"
#include "computers/win32/computer_dialog_ids.h"

namespace corvane::win32 {
namespace {

constexpr wchar_t kBullet = L'\x2022';

}  // namespace

Secret ComputerDialog::Password_Box() const { return password_.Secret_Text(); }

bool ComputerDialog::On_Init() {
    static_assert(kTemplateId == IDD_BROWSE_COMPUTER);
    HDC screen = ::GetDC(nullptr);
    dpi_ = screen ? ::GetDeviceCaps(screen, LOGPIXELSX) : 96;
    if (screen) ::ReleaseDC(nullptr, screen);
    rows_.Attach(Item(IDC_LVW_COMPUTER));
    // The list clips its siblings above it, so that the cell edit box stays
    // visible over it; the frame goes below everything.
    ::SetWindowPos(Item(IDC_COMPUTER_FRAME), HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    name_.Attach(Item(IDC_TXT_COMPUTER));
    userName_.Attach(Item(IDC_TXT_USER_NAME));
    password_.Attach(Item(IDC_TXT_PASSWORD));
    dummy_.Attach(Item(IDC_TXT_DUMMY));
    for (Edit box : {name_, userName_, password_, dummy_}) box.Limit_Text(static_cast<int>(kMaxEntryLength));
    password_.Send(EM_SETPASSWORDCHAR, kBullet);  // the visual styles' default is another dot
    rows_.Set_Extended_Style(LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT, LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT);
    if (hooks_.images) rows_.Set_Image_List(hooks_.images);
    Button(Item(IDC_CMD_EXPORT)).Set_Image(hooks_.exportIcon);
    Button(Item(IDC_CMD_IMPORT)).Set_Image(hooks_.importIcon);
    rows_.Insert_Column(0, "Computer Name", 100);
    rows_.Insert_Column(1, "User Name", 100);
    rows_.Insert_Column(2, "Password", 100);
    listWidth_ = rows_.Client_Rect().right;

    tips_.Attach(::CreateWindowExW(0, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP, CW_USEDEFAULT, CW_USEDEFAULT,
                                   CW_USEDEFAULT, CW_USEDEFAULT, Handle(), nullptr, ::GetModuleHandleW(nullptr),
                                   nullptr));
    const std::pair<int, const char*> tips[] = {
        {IDC_CMD_EXPORT, "Export computer names to a text file"},
        {IDC_CMD_IMPORT, "Import computer names from a text file"},
        {IDC_CMD_SAME_USER,
         "Set the same user name & password for all the listed computers and for newly added computers"},
        {IDC_CMD_BROWSE, "Browse and add computers available in the network"},
        {IDC_CMD_ADD, "Add the computer, user name and password to the list"},
        {IDC_CMD_DELETE, "Delete selected computers from the list"},
    };
    for (const auto& [id, text] : tips) tips_.Add_Tool(Handle(), Item(id), text);
    Control(IDC_CMD_BROWSE).Enable(hooks_.network != nullptr);

    list_.Set_Visible_Row_Count(Get_Visible_Row_Count(rows_));
    list_.Fill_Computer_List();
    Show_Rows();
    return true;
}

void ComputerDialog::Apply_Column_Widths() {
    // The first column is as wide as the name box; the others share the rest
    // of the width the list had without a scroll bar.
    const RECT box = name_.Window_Rect();
    const int first = box.right - box.left;
    const int other = std::max(0, (listWidth_ - first) / 2);
    rows_.Set_Column_Width(0, first);
    rows_.Set_Column_Width(1, other);
    rows_.Set_Column_Width(2, std::max(0, other + ::MulDiv(list_.Password_Column_Adjustment(), dpi_, 1440)));
}

void ComputerDialog::Show_Rows() {
    filling_ = true;
    rows_.Delete_All_Items();
    const auto& rows = list_.Rows();
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const int index = rows_.Insert_Item(static_cast<int>(i), rows[i].name, hooks_.computerImage);
        rows_.Set_Item_Text(index, 1, rows[i].userName);
        rows_.Set_Item_Text(index, 2, Password_Bullets(rows[i].password));
        rows_.Set_Check_State(index, rows[i].checked);
    }
    filling_ = false;
    Apply_Column_Widths();
}

void ComputerDialog::Focus_And_Select(Edit box) {
    box.Focus();
    box.Select_All();
}

void ComputerDialog::Add() {
    const AddOutcome outcome = list_.Add(name_.Text(), userName_.Text(), Password_Box());
    switch (outcome) {
        case AddOutcome::InvalidName:
        case AddOutcome::AlreadyInList: Focus_And_Select(name_); return;
        case AddOutcome::InvalidUserName: Focus_And_Select(userName_); return;
        case AddOutcome::Added:
        case AddOutcome::NotStored: break;
    }
    Show_Rows();
    name_.Set_Text("");
    name_.Focus();
}

void ComputerDialog::Begin_Cell_Edit(int row, int column) {
    if (row < 0 || static_cast<std::size_t>(row) >= list_.Rows().size() || (column != 1 && column != 2)) return;
    editRow_ = row;
    editColumn_ = column;
    RECT cell = rows_.Sub_Item_Rect(row, column);
    ::MapWindowPoints(rows_.Handle(), Handle(), reinterpret_cast<POINT*>(&cell), 2);
    const ComputerRow& data = list_.Rows()[static_cast<std::size_t>(row)];
    dummy_.Send(EM_SETPASSWORDCHAR, column == 2 ? kBullet : 0);
    if (column == 2)
        dummy_.Set_Secret_Text(data.password);
    else
        dummy_.Set_Text(data.userName);
    ::SetWindowPos(dummy_.Handle(), HWND_TOP, cell.left, cell.top, cell.right - cell.left, cell.bottom - cell.top,
                   SWP_SHOWWINDOW);
    Focus_And_Select(dummy_);
}

void ComputerDialog::End_Cell_Edit() {
    if (editRow_ < 0) return;
    const int row = editRow_;
    editRow_ = -1;
    dummy_.Show(false);
    const Secret text = dummy_.Secret_Text();
    dummy_.Set_Text("");
    const EditedColumn column = editColumn_ == 1 ? EditedColumn::UserName : EditedColumn::Password;
    if (list_.Edit_Credentials(static_cast<std::size_t>(row), column, text.View())) {
        const ComputerRow& data = list_.Rows()[static_cast<std::size_t>(row)];
        rows_.Set_Item_Text(row, editColumn_,
                            column == EditedColumn::UserName ? data.userName : Password_Bullets(data.password));
    }
}

void ComputerDialog::Export() {
    if (!list_.Can_Export()) return;
    const auto path = Ask_Save_Text_File(Handle(), "Export computer names as text file", "CVN_Computer_Names");
    if (!path) return;
    Write_File_Bytes(*path, list_.Export_Text());
}

void ComputerDialog::Import() {
    const auto path = Ask_Open_Text_File(Handle(), "Import computer names from a text file");
    if (!path) return;
    list_.Import(Read_File_Bytes(*path), userName_.Text(), Password_Box());
    Show_Rows();
}

void ComputerDialog::Pump_Messages() {
    MSG message{};
    while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) {
            ::PostQuitMessage(static_cast<int>(message.wParam));
            return;
        }
        if (!::IsDialogMessageW(Handle(), &message)) {
            ::TranslateMessage(&message);
            ::DispatchMessageW(&message);
        }
    }
}

void ComputerDialog::Show_Browse_Panel(bool visible) {
    for (int id : {IDC_PIC_COMPUTER, IDC_LBL_COMPUTER, IDC_PBR_COMPUTER, IDC_CMD_CANCEL}) {
        if (visible) {
            ::SetWindowPos(Item(id), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);
        } else {
            Control(id).Show(false);
        }
    }
    // Nothing else may start, nor the dialog close, while the network is asked.
    for (int id : {IDC_CMD_BROWSE, IDC_CMD_ADD, IDC_CMD_DELETE, IDC_CMD_SAME_USER, IDC_CMD_IMPORT, IDC_CMD_EXPORT,
                   IDC_CMD_CLOSE}) {
        Control(id).Enable(!visible);
    }
    if (visible) ::SetFocus(Item(IDC_CMD_CANCEL));
    ::UpdateWindow(Handle());
}

void ComputerDialog::Show_Browse_Progress(const computers::BrowseProgress& progress) {
    ProgressBar bar(Item(IDC_PBR_COMPUTER));
    bar.Set_Range32(0, progress.maximum);
    bar.Set_Pos(progress.value);
}

void ComputerDialog::Browse() {
    if (hooks_.network == nullptr || browse_ != nullptr) return;
    computers::NetworkBrowse browse(*hooks_.network, reporter_.Messages());
    std::vector<std::string> managed;
    for (const ComputerRow& row : list_.Rows()) managed.push_back(row.name);
    browse_ = &browse;
    Show_Browse_Panel(true);
    std::vector<std::string> found;
    try {
        found = browse.Browse(
            managed,
            {.doEvents = [this] { Pump_Messages(); },
             .showProgress = [this](const computers::BrowseProgress& progress) { Show_Browse_Progress(progress); }});
    } catch (...) {
        browse_ = nullptr;
        Show_Browse_Panel(false);
        throw;
    }
    browse_ = nullptr;
    Show_Browse_Panel(false);
    list_.Add_Browsed(found, userName_.Text(), Password_Box());
    Show_Rows();
}

bool ComputerDialog::On_Command(int id, int code, HWND) {
    // Errors of a command end it and are shown; the dialog stays open.
    try {
        switch (id) {
            case IDOK:  // Enter moves from box to box and adds from the password box
                if (::GetFocus() == name_.Handle())
                    userName_.Focus();
                else if (::GetFocus() == userName_.Handle())
                    password_.Focus();
                else if (::GetFocus() == password_.Handle())
                    Add();
                else if (::GetFocus() == dummy_.Handle())
                    rows_.Focus();
                return true;
            case IDC_CMD_ADD: Add(); return true;
            case IDC_CMD_DELETE:
                list_.Delete_Checked();
                Show_Rows();
                return true;
            case IDC_CMD_SAME_USER:
                switch (list_.Set_Same_User_Name_Password(userName_.Text(), Password_Box())) {
                    case SameOutcome::EmptyUserName: userName_.Focus(); break;
                    case SameOutcome::EmptyPassword: password_.Focus(); break;
                    case SameOutcome::Done: Show_Rows(); break;
                    case SameOutcome::Declined: break;
                }
                return true;
            case IDC_CMD_IMPORT: Import(); return true;
            case IDC_CMD_EXPORT: Export(); return true;
            case IDC_CMD_BROWSE: Browse(); return true;
            case IDC_CMD_CANCEL:
                if (browse_ != nullptr) browse_->Cancel();
                return true;
            case IDC_CHK_SELECT_ALL:
                list_.Select_All(Button(Item(IDC_CHK_SELECT_ALL)).Get_Check());
                Show_Rows();
                return true;
            case IDC_TXT_DUMMY:
                if (code == EN_KILLFOCUS) End_Cell_Edit();
                return true;
            case IDC_LINK_HOME:
                if (hooks_.openHomePage) hooks_.openHomePage();
                return true;
            case IDC_CMD_CLOSE: End(IDCANCEL); return true;
            default: return false;
        }
    } catch (const RuntimeError& error) {
        reporter_.Show_Error(true, error);
    }
    return true;
}

bool ComputerDialog::On_Notify(const NMHDR& header, LRESULT& result) {
    if (header.idFrom != IDC_LVW_COMPUTER) return false;
    result = 0;
    switch (header.code) {
        case NM_CLICK:
        case NM_RCLICK: {
            const auto& click = reinterpret_cast<const NMITEMACTIVATE&>(header);
            const LVHITTESTINFO hit = rows_.Sub_Item_Hit_Test(click.ptAction);
            if (hit.iItem >= 0 && !(hit.flags & LVHT_ONITEMSTATEICON)) Begin_Cell_Edit(hit.iItem, hit.iSubItem);
            return true;
        }
        case LVN_ITEMCHANGED: {
            const auto& change = reinterpret_cast<const NMLISTVIEW&>(header);
            if (!filling_ && (change.uChanged & LVIF_STATE) &&
                (change.uNewState ^ change.uOldState) & LVIS_STATEIMAGEMASK) {
                list_.Set_Checked(static_cast<std::size_t>(change.iItem), rows_.Get_Check_State(change.iItem));
            }
            return true;
        }
        default: return false;
    }
}

bool ComputerDialog::On_Message(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result) {
    return Color_Link_Label(message, wParam, lParam, {IDC_LINK_HOME}, result);
}

}  // namespace corvane::win32
