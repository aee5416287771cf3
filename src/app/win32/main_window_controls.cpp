// The main window's controls: menus, toolbar in a rebar, status bar, the two
// trees, the results list, the progress panel, fonts and the layout in twips.
#include <windows.h>
#include <commctrl.h>

#include "app/application.h"
#include "app/main_window_commands.h"
#include "app/win32/check_tree_view.h"
#include "app/win32/image_library.h"
#include "app/win32/main_window.h"
#include "app/win32/main_window_ids.h"
#include "app/win32/results_view.h"
#include "base/win32/wide_text.h"

namespace corvane::win32 {

namespace {

constexpr wchar_t kPanelClass[] = L"CorvaneProgressPanel";

// The panel passes its children's commands on to the main window.
LRESULT CALLBACK Panel_Procedure(HWND panel, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
    if (message == WM_COMMAND) return ::SendMessageW(::GetParent(panel), message, wParam, lParam);
    if (message == WM_CTLCOLORSTATIC &&
        ::GetDlgCtrlID(reinterpret_cast<HWND>(lParam)) == kIdFirstLabel + static_cast<int>(ProgressLabel::Skip)) {
        auto dc = reinterpret_cast<HDC>(wParam);
        ::SetTextColor(dc, RGB(0, 0, 204));
        ::SetBkColor(dc, ::GetSysColor(COLOR_BTNFACE));
        return reinterpret_cast<LRESULT>(::GetSysColorBrush(COLOR_BTNFACE));
    }
    return ::DefWindowProcW(panel, message, wParam, lParam);
}

bool Register_Panel_Class() {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.lpfnWndProc = Panel_Procedure;
    windowClass.hInstance = ::GetModuleHandleW(nullptr);
    windowClass.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = kPanelClass;
    return ::RegisterClassExW(&windowClass) != 0 || ::GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

HWND Child(HWND parent, const wchar_t* className, const wchar_t* text, DWORD style, int id, DWORD exStyle = 0) {
    return ::CreateWindowExW(exStyle, className, text, WS_CHILD | style, 0, 0, 10, 10, parent,
                             reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), ::GetModuleHandleW(nullptr), nullptr);
}

// The trees', list's and progress panel's face at a size in points.
unique_hfont Make_Font(int points, int weight, int dpi) {
    LOGFONTW face{};
    face.lfHeight = -::MulDiv(points, dpi, 72);
    face.lfWeight = weight;
    face.lfCharSet = DEFAULT_CHARSET;
    ::lstrcpynW(face.lfFaceName, L"Tahoma", LF_FACESIZE);
    return unique_hfont(::CreateFontIndirectW(&face));
}

const wchar_t* Menu_Title(MenuGroup group) {
    switch (group) {
        case MenuGroup::File: return L"&File";
        case MenuGroup::View: return L"&View";
        case MenuGroup::Tools: return L"&Tools";
        case MenuGroup::Help: return L"&Help";
    }
    return L"";
}

}  // namespace

int MainWindow::To_Pixels(int twips) const noexcept { return ::MulDiv(twips, dpi_, 1440); }
int MainWindow::To_Twips(int pixels) const noexcept { return ::MulDiv(pixels, 1440, dpi_); }

void MainWindow::Create_Menu() {
    menu_ = ::CreateMenu();
    HMENU font = ::CreatePopupMenu();
    for (MenuGroup group : {MenuGroup::File, MenuGroup::View, MenuGroup::Tools, MenuGroup::Help}) {
        HMENU popup = ::CreatePopupMenu();
        bool first = true;
        for (const CommandInfo& info : Main_Window_Commands()) {
            if (info.group != group) continue;
            const std::wstring caption = Widen(info.caption);
            const UINT id = Command_Id(static_cast<int>(info.command));
            if (Font_Size_Of(info.command) != 0) {
                ::AppendMenuW(font, MF_STRING, id, caption.c_str());
                if (info.command == Command::FontSmall)
                    ::AppendMenuW(popup, MF_POPUP, reinterpret_cast<UINT_PTR>(font), L"&Font");
                continue;
            }
            if (info.separatorBefore && !first) ::AppendMenuW(popup, MF_SEPARATOR, 0, nullptr);
            ::AppendMenuW(popup, MF_STRING, id, caption.c_str());
            first = false;
        }
        ::AppendMenuW(menu_, MF_POPUP, reinterpret_cast<UINT_PTR>(popup), Menu_Title(group));
    }
    ::SetMenu(window_, menu_);
}

void MainWindow::Create_Toolbar() {
    rebar_.Attach(Child(window_, REBARCLASSNAMEW, nullptr,
                        WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | RBS_VARHEIGHT | CCS_NODIVIDER |
                            CCS_NOPARENTALIGN | CCS_NORESIZE,
                        kIdRebar, WS_EX_TOOLWINDOW));
    toolbar_.Attach(Child(
        rebar_.Handle(), TOOLBARCLASSNAMEW, nullptr,
        WS_VISIBLE | TBSTYLE_FLAT | TBSTYLE_TOOLTIPS | CCS_NODIVIDER | CCS_NORESIZE | CCS_NOPARENTALIGN, kIdToolbar));
    toolbar_.Button_Struct_Size();
    toolbar_.Set_Image_List(images_->Toolbar());
    std::vector<TBBUTTON> buttons;
    MenuGroup lastGroup = MenuGroup::File;
    for (const CommandInfo& info : Main_Window_Commands()) {
        if (info.toolbarKey.empty()) continue;
        if (!buttons.empty() && (info.separatorBefore || info.group != lastGroup)) {
            TBBUTTON separator{};
            separator.fsStyle = BTNS_SEP;
            buttons.push_back(separator);
        }
        lastGroup = info.group;
        TBBUTTON button{};
        // A button with a tool tip shows the picture keyed like the button.
        button.iBitmap = info.toolTip.empty() ? I_IMAGENONE : images_->Index(info.toolbarKey);
        button.idCommand = static_cast<int>(Command_Id(static_cast<int>(info.command)));
        button.fsState = TBSTATE_ENABLED;
        button.fsStyle = BTNS_BUTTON;
        buttons.push_back(button);
    }
    toolbar_.Add_Buttons(buttons);
    toolbar_.Auto_Size();
    const SIZE size = toolbar_.Get_Max_Size();

    REBARBANDINFOW band{};
    band.cbSize = REBARBANDINFOW_V6_SIZE;
    band.fMask = RBBIM_CHILD | RBBIM_CHILDSIZE | RBBIM_STYLE | RBBIM_SIZE;
    band.fStyle = RBBS_CHILDEDGE | RBBS_GRIPPERALWAYS;
    band.hwndChild = toolbar_.Handle();
    band.cxMinChild = size.cx;
    band.cyMinChild = size.cy;
    band.cx = size.cx;
    rebar_.Insert_Band(band);
}

void MainWindow::Create_Status_Bar() {
    status_.Attach(Child(window_, STATUSCLASSNAMEW, nullptr, WS_VISIBLE | SBARS_SIZEGRIP, kIdStatus));
    // Texts of panels that do not exist yet are lost: make the three first.
    const std::array<int, 3> parts{160, 360, -1};
    status_.Set_Parts(parts);
    status_.Set_Text(kStatusHomeSite, "www.corvane.example");
    status_.Set_Text(kStatusVersion, Get_Version_String());
    Set_Status_Text(Total_Problems_Text(0));
}

void MainWindow::Create_Progress_Panel() {
    Register_Panel_Class();
    panel_ = Child(window_, kPanelClass, nullptr, WS_BORDER | WS_CLIPSIBLINGS, kIdProgressPanel, WS_EX_DLGMODALFRAME);
    for (std::size_t i = 0; i < labels_.size(); ++i) {
        const auto label = static_cast<ProgressLabel>(i);
        DWORD style = WS_VISIBLE | SS_LEFT | SS_NOPREFIX | SS_ENDELLIPSIS;
        if (label == ProgressLabel::Skip) style |= SS_NOTIFY;
        if (label == ProgressLabel::ScannedItemCount) style = WS_VISIBLE | SS_RIGHT | SS_NOPREFIX;
        labels_[i] = Child(panel_, L"STATIC", nullptr, style, kIdFirstLabel + static_cast<int>(i));
    }
    ::SetWindowTextW(labels_[static_cast<std::size_t>(ProgressLabel::Skip)], Widen(kSkipCaption).c_str());
    // The panel's own font (the list's size changes with the View menu, the panel's does not).
    panelFont_ = Make_Font(8, FW_NORMAL, dpi_);
    panelBoldFont_ = Make_Font(8, FW_BOLD, dpi_);
    for (HWND label : labels_) Window(label).Set_Font(panelFont_.get(), false);
    Window(labels_[static_cast<std::size_t>(ProgressLabel::Progress)]).Set_Font(panelBoldFont_.get(), false);
    progressBar_.Attach(Child(panel_, PROGRESS_CLASSW, nullptr, WS_VISIBLE | PBS_SMOOTH, kIdProgressBar));
    cancelButton_ = Child(panel_, L"BUTTON", L"Cancel", WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, kIdCancelScanning);
    Window(cancelButton_).Set_Font(panelFont_.get(), false);
    Set_Progress(0, 100, 0);

    // Rows of the panel in twips: the first line, two caption/value lines,
    // the phase line, the counts, the bar, then Skip and Cancel.
    const int width = kProgressPanelWidth - 2 * 120 - 60;
    const int column = 2000;
    auto place = [&](HWND control, int left, int top, int w, int h) {
        ::MoveWindow(control, To_Pixels(left), To_Pixels(top), To_Pixels(w), To_Pixels(h), FALSE);
    };
    auto label = [&](ProgressLabel l) { return labels_[static_cast<std::size_t>(l)]; };
    place(label(ProgressLabel::Progress), 120, 120, width, 260);
    place(label(ProgressLabel::ScannedItems), 120, 480, column - 120, 260);
    place(label(ProgressLabel::ComputerName), column, 480, width - column + 120, 260);
    place(label(ProgressLabel::Category), column, 780, width - column + 120, 260);
    place(label(ProgressLabel::ScanCategory), 120, 1080, width, 260);
    place(label(ProgressLabel::ProblemsFound), 120, 1380, column - 120, 260);
    place(label(ProgressLabel::ProblemsCount), column, 1380, 1500, 260);
    place(label(ProgressLabel::ScannedItemCount), column + 1500, 1380, width - column - 1380, 260);
    place(progressBar_.Handle(), 120, 1720, width, 240);
    place(label(ProgressLabel::Skip), 120, 2120, 800, 260);
    place(cancelButton_, 120 + width - 1200, 2060, 1200, 360);
}

void MainWindow::Create_Controls() {
    Create_Toolbar();
    Create_Status_Bar();
    computerTree_ = Child(window_, WC_TREEVIEWW, nullptr,
                          WS_VISIBLE | WS_TABSTOP | TVS_HASLINES | TVS_HASBUTTONS | TVS_LINESATROOT | TVS_SHOWSELALWAYS,
                          kIdComputerTree, WS_EX_CLIENTEDGE);
    categoryTree_ = Child(window_, WC_TREEVIEWW, nullptr,
                          WS_VISIBLE | WS_TABSTOP | TVS_HASLINES | TVS_HASBUTTONS | TVS_LINESATROOT | TVS_SHOWSELALWAYS,
                          kIdCategoryTree, WS_EX_CLIENTEDGE);
    list_ =
        Child(window_, WC_LISTVIEWW, nullptr, WS_VISIBLE | WS_TABSTOP | LVS_REPORT | LVS_OWNERDATA | LVS_SHOWSELALWAYS,
              kIdResultsList, WS_EX_CLIENTEDGE);
    Create_Progress_Panel();
    computerView_ = std::make_unique<CheckTreeView>(
        computerTree_, computers_, *images_,
        [this](NodeId node, bool checked) { presenter_->Computer_Node_Checked(node, checked); });
    categoryView_ = std::make_unique<CheckTreeView>(
        categoryTree_, categories_, *images_,
        [this](NodeId node, bool checked) { presenter_->Category_Node_Checked(node, checked); });
    resultsView_ = std::make_unique<ResultsView>(list_, results_, *images_);
    resultsView_->onUserCheck = [this](std::size_t row, bool checked) { presenter_->Row_Checked(row, checked); };
    resultsView_->onDoubleClick = [this](std::size_t) {
        const std::size_t selected = resultsView_->First_Selected();
        if (selected < results_.Count()) Open_Key_Of_Row(selected);
    };
    resultsView_->onContextMenu = [this](POINT screen) { Show_Context_Menu(screen); };
}

void MainWindow::Apply_Font(int size) {
    fontSize_ = size;
    unique_hfont font = Make_Font(size, FW_NORMAL, dpi_);
    unique_hfont bold = Make_Font(size, FW_BOLD, dpi_);
    for (HWND control : {computerTree_, categoryTree_}) {
        Window(control).Set_Font(font.get());
    }
    resultsView_->Set_Fonts(font.get(), bold.get());
    font_ = std::move(font);
    boldFont_ = std::move(bold);
    for (const CommandInfo& info : Main_Window_Commands()) {
        const int itemSize = Font_Size_Of(info.command);
        if (itemSize == 0) continue;
        ::CheckMenuItem(menu_, Command_Id(static_cast<int>(info.command)),
                        MF_BYCOMMAND | (itemSize == size ? MF_CHECKED : MF_UNCHECKED));
    }
}

LayoutInput MainWindow::Layout_Input() const {
    RECT client{};
    ::GetClientRect(window_, &client);
    RECT rebar{};
    ::GetWindowRect(rebar_.Handle(), &rebar);
    RECT status{};
    ::GetWindowRect(status_.Handle(), &status);
    LayoutInput in;
    in.innerWidth = To_Twips(client.right);
    in.innerHeight = To_Twips(client.bottom);
    in.coolBarHeight = To_Twips(rebar.bottom - rebar.top);
    in.statusBarHeight = To_Twips(status.bottom - status.top);
    in.leftPaneWidth = leftPaneWidth_;
    in.leftPaneHeight = leftPaneHeight_;
    in.categoryTree = categoryRect_;
    in.list = listRect_;
    in.panelWidth = kProgressPanelWidth;
    in.panelHeight = kProgressPanelHeight;
    return in;
}

void MainWindow::Place(HWND control, const RectTwips& rect) {
    ::MoveWindow(control, To_Pixels(rect.left), To_Pixels(rect.top), To_Pixels(rect.width), To_Pixels(rect.height),
                 TRUE);
}

void MainWindow::Form_Resize() {
    if (!window_ || !rebar_) return;
    if (::IsIconic(window_)) {
        // Minimized, the program lives on as the notification-area icon.
        ::ShowWindow(window_, SW_HIDE);
        return;
    }
    RECT client{};
    ::GetClientRect(window_, &client);
    rebar_.Move(0, 0, client.right, rebar_.Bar_Height());
    status_.Reposition();
    const int total = client.right;
    const std::array<int, 3> parts{std::max(120, total / 4), std::max(240, total / 2), -1};
    status_.Set_Parts(parts);

    layout_ = Layout_Main_Window(Layout_Input());
    Place(computerTree_, layout_.computerTree);
    Place(categoryTree_, layout_.categoryTree);
    Place(list_, layout_.list);
    Place(panel_, layout_.progressPanel);
    categoryRect_ = layout_.categoryTree;
    listRect_ = layout_.list;
    ::SetWindowPos(panel_, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void MainWindow::Update_Splitter_Cursor(POINT client) {
    const Splitter splitter =
        dragging_ != Splitter::None ? dragging_ : Splitter_At(layout_, To_Twips(client.x), To_Twips(client.y));
    if (splitter == Splitter::Vertical)
        ::SetCursor(::LoadCursorW(nullptr, IDC_SIZEWE));
    else if (splitter == Splitter::Horizontal)
        ::SetCursor(::LoadCursorW(nullptr, IDC_SIZENS));
    else
        ::SetCursor(::LoadCursorW(nullptr, IDC_ARROW));
}

MainWindow::Controls MainWindow::Control_Handles() const {
    return {rebar_.Handle(), toolbar_.Handle(),     status_.Handle(),
            computerTree_,   categoryTree_,         list_,
            panel_,          progressBar_.Handle(), menu_};
}

}  // namespace corvane::win32
