#include "settings/win32/options_view.h"

#include <commctrl.h>

#include <array>
#include <span>

#include "base/reporter.h"
#include "base/text.h"
#include "base/win32/controls.h"
#include "base/win32/progress_bar.h"
#include "base/win32/tree_view.h"
#include "db/app_tables.h"
#include "settings/win32/settings_dialog_ids.h"

namespace corvane::win32 {
namespace {

// frameOptions: each page's frame first, then the controls it holds.
constexpr int kGeneralPage[] = {IDC_PAGE_GENERAL,    IDC_FRAME_FIXING,     IDC_OPT_MANUAL,     IDC_OPT_AUTOMATIC,
                                IDC_CHK_SHUTDOWN,    IDC_CHK_ABORT_FIXING, IDC_FRAME_SCANNING, IDC_OPT_SAFE_SCAN,
                                IDC_OPT_UNSAFE_SCAN, IDC_LBL_AT_ONCE,      IDC_TXT_AT_ONCE,    IDC_UPD_AT_ONCE};
constexpr int kBackupPage[] = {IDC_PAGE_BACKUP,        IDC_FRAME_RESTORE_POINT,      IDC_CHK_RESTORE_POINT,
                               IDC_CHK_REG_BACKUP,     IDC_FRAME_RESTORE_OPS,        IDC_LBL_SELECT_COMPUTER,
                               IDC_CBO_COMPUTERS,      IDC_CMD_CREATE_RESTORE_POINT, IDC_CMD_BACKUP_REGISTRY,
                               IDC_CMD_RESTORE_SYSTEM, IDC_CMD_RESTORE_REGISTRY};
constexpr int kSystemwidePage[] = {IDC_PAGE_SYSTEMWIDE, IDC_LBL_EXTENSIONS, IDC_TXT_EXTENSIONS,
                                   IDC_LBL_EXTENSIONS_NOTE};
constexpr std::array<std::span<const int>, 3> kPages = {kGeneralPage, kBackupPage, kSystemwidePage};

constexpr int kBackupCommands[] = {IDC_CMD_CREATE_RESTORE_POINT, IDC_CMD_BACKUP_REGISTRY, IDC_CMD_RESTORE_SYSTEM,
                                   IDC_CMD_RESTORE_REGISTRY};

}  // namespace

bool OptionsView::On_Init() {
    static_assert(kTemplateId == IDD_OPTIONS);
    // Build_Options_Tree: node data is the index into the node table.
    TreeView tree(Item(IDC_TVW_OPTIONS));
    if (images_) tree.Set_Image_List(images_);
    const auto& nodes = Options_Tree_Nodes();
    HTREEITEM root = nullptr;
    HTREEITEM general = nullptr;
    for (std::size_t i = 0; i < nodes.size(); ++i) {
        const int image = imageOf_ ? imageOf_(nodes[i].image) : -1;
        HTREEITEM item =
            tree.Insert_Item(nodes[i].parent.empty() ? TVI_ROOT : root, nodes[i].text, image, static_cast<LPARAM>(i));
        if (nodes[i].parent.empty()) root = item;
        if (nodes[i].key == "o0") general = item;
    }
    tree.Expand(root);
    Show_Options_Page(0);
    tree.Select_Item(general);

    options_.Load(computerNames_);
    ComboBox computers(Item(IDC_CBO_COMPUTERS));
    for (const std::string& name : options_.Computers()) computers.Add_String(name);
    if (computers.Count() > 0) computers.Set_Cur_Sel(0);
    for (int id : kBackupCommands) Control(id).Enable(options_.Backup_Commands_Available());
    Edit(Item(IDC_TXT_EXTENSIONS)).Limit_Text(255);
    Edit(Item(IDC_TXT_AT_ONCE)).Limit_Text(2);
    ::SendMessageW(Item(IDC_UPD_AT_ONCE), UDM_SETRANGE32, 1, kMaxComputersAtOnce);
    // The progress panel, centred in the dialog, hidden until a backup command shows it.
    const RECT client = Window(Handle()).Client_Rect();
    RECT panel = Control(IDC_PIC_PROGRESS).Window_Rect();
    ::MapWindowPoints(nullptr, Handle(), reinterpret_cast<POINT*>(&panel), 2);
    const int dx = (client.right - (panel.right - panel.left)) / 2 - panel.left;
    const int dy = (client.bottom - (panel.bottom - panel.top)) / 2 - panel.top;
    for (int id : {IDC_PIC_PROGRESS, IDC_LBL_PROGRESS, IDC_PBR_PROGRESS}) {
        RECT r = Control(id).Window_Rect();
        ::MapWindowPoints(nullptr, Handle(), reinterpret_cast<POINT*>(&r), 2);
        Control(id).Move(r.left + dx, r.top + dy, r.right - r.left, r.bottom - r.top);
    }
    Visible_Progress_Bar(false);
    Show_State();
    return true;
}

void OptionsView::Show_Options_Page(int page) {
    for (std::size_t p = 0; p < kPages.size(); ++p) {
        for (int id : kPages[p]) Control(id).Show(static_cast<int>(p) == page);
    }
}

void OptionsView::Show_State() {
    showing_ = true;
    const OptionsState& state = options_.State();
    auto check = [this](int id, bool on) { Button(Item(id)).Set_Check(on); };
    check(IDC_OPT_AUTOMATIC, state.automatic.value_or(false));
    check(IDC_OPT_MANUAL, state.automatic.has_value() && !*state.automatic);
    check(IDC_OPT_SAFE_SCAN, state.safeScan.value_or(false));
    check(IDC_OPT_UNSAFE_SCAN, state.safeScan.has_value() && !*state.safeScan);
    check(IDC_CHK_SHUTDOWN, state.shutdown);
    Control(IDC_CHK_SHUTDOWN).Enable(state.shutdownEnabled);
    check(IDC_CHK_ABORT_FIXING, state.abortFixing);
    check(IDC_CHK_RESTORE_POINT, state.restorePoint);
    check(IDC_CHK_REG_BACKUP, state.regBackup);
    if (Control(IDC_TXT_EXTENSIONS).Text() != state.extensions) Control(IDC_TXT_EXTENSIONS).Set_Text(state.extensions);
    const std::string atOnce = std::to_string(state.computersAtOnce);
    if (Control(IDC_TXT_AT_ONCE).Text() != atOnce) Control(IDC_TXT_AT_ONCE).Set_Text(atOnce);
    Control(IDC_CMD_SAVE).Enable(state.saveEnabled);
    showing_ = false;
}

bool OptionsView::On_Command(int id, int code, HWND) {
    auto checked = [this, id] { return Button(Item(id)).Get_Check(); };
    if (showing_) return true;
    switch (id) {
        case IDC_OPT_AUTOMATIC:
        case IDC_OPT_MANUAL:
            if (code == BN_CLICKED) options_.Choose_Automatic(id == IDC_OPT_AUTOMATIC);
            break;
        case IDC_OPT_SAFE_SCAN:
        case IDC_OPT_UNSAFE_SCAN:
            if (code == BN_CLICKED) options_.Choose_Safe_Scan(id == IDC_OPT_SAFE_SCAN);
            break;
        case IDC_CHK_SHUTDOWN: options_.Set_Shutdown(checked()); break;
        case IDC_CHK_ABORT_FIXING: options_.Set_Abort_Fixing(checked()); break;
        case IDC_CHK_RESTORE_POINT: options_.Set_Restore_Point(checked()); break;
        case IDC_CHK_REG_BACKUP: options_.Set_Reg_Backup(checked()); break;
        case IDC_TXT_EXTENSIONS:
            if (code != EN_CHANGE) return true;
            options_.Set_Extensions(Control(IDC_TXT_EXTENSIONS).Text());
            break;
        case IDC_TXT_AT_ONCE:
            // An empty field waits for the number being typed.
            if (code != EN_CHANGE || Control(IDC_TXT_AT_ONCE).Text().empty()) return true;
            options_.Set_Computers_At_Once(Text_To_Int32(Control(IDC_TXT_AT_ONCE).Text()));
            break;
        case IDC_CBO_COMPUTERS:
            if (code == CBN_SELCHANGE) {
                ComboBox combo(Item(IDC_CBO_COMPUTERS));
                options_.Choose_Computer(combo.Item_Text(combo.Cur_Sel()));
            }
            return true;
        case IDC_CMD_CREATE_RESTORE_POINT:
            options_.Run_Backup_Command(&IBackupCommands::Create_Restore_Point, *this);
            return true;
        case IDC_CMD_BACKUP_REGISTRY:
            options_.Run_Backup_Command(&IBackupCommands::Backup_Registry, *this);
            return true;
        case IDC_CMD_RESTORE_SYSTEM: options_.Run_Backup_Command(&IBackupCommands::Restore_System, *this); return true;
        case IDC_CMD_RESTORE_REGISTRY:
            options_.Run_Backup_Command(&IBackupCommands::Restore_Registry, *this);
            return true;
        case IDC_CMD_SAVE: options_.Save_Options(); break;
        case IDC_OPT_LINK:
            if (openHomePage_) openHomePage_();
            return true;
        case IDC_OPT_CLOSE:
            if (options_.Query_Close()) End(IDCANCEL);
            return true;
        default: return false;
    }
    Show_State();
    return true;
}

void OptionsView::Visible_Progress_Bar(bool visible) {
    for (int id : {IDC_PIC_PROGRESS, IDC_LBL_PROGRESS, IDC_PBR_PROGRESS}) {
        if (visible)
            ::SetWindowPos(Item(id), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);
        else
            Control(id).Show(false);
    }
    ::UpdateWindow(Handle());
    MSG message{};
    while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) {
            ::PostQuitMessage(static_cast<int>(message.wParam));
            break;
        }
        if (!::IsDialogMessageW(Handle(), &message)) {
            ::TranslateMessage(&message);
            ::DispatchMessageW(&message);
        }
    }
}

void OptionsView::Set_Progress_For_BackupRegistry() {
    Control(IDC_LBL_PROGRESS).Set_Text("Please wait while backing up registry...");
    progressMaximum_ = 20;
    progressValue_ = 1;
    ProgressBar bar(Item(IDC_PBR_PROGRESS));
    bar.Set_Range32(0, progressMaximum_);
    bar.Set_Pos(progressValue_);
}

void OptionsView::Do_Progess() {
    ProgressBar bar(Item(IDC_PBR_PROGRESS));
    bar.Set_Range32(0, ++progressMaximum_);
    bar.Set_Pos(++progressValue_);
}

bool OptionsView::On_Notify(const NMHDR& header, LRESULT& result) {
    if (header.idFrom != IDC_TVW_OPTIONS || header.code != TVN_SELCHANGEDW) return false;
    const auto& change = reinterpret_cast<const NMTREEVIEWW&>(header);
    const auto index = static_cast<std::size_t>(change.itemNew.lParam);
    const auto& nodes = Options_Tree_Nodes();
    if (index < nodes.size()) Show_Options_Page(Page_Of_Node(nodes[index].key));
    result = 0;
    return true;
}

bool OptionsView::On_Message(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result) {
    return Color_Link_Label(message, wParam, lParam, {IDC_OPT_LINK}, result);
}

}  // namespace corvane::win32
