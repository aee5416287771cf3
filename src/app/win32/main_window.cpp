#include "app/win32/main_window.h"

#include <commctrl.h>

#include "app/application.h"
#include "app/win32/about_box.h"
#include "app/win32/check_tree_view.h"
#include "app/win32/dialog_commands.h"
#include "app/win32/image_library.h"
#include "app/win32/main_window_ids.h"
#include "app/win32/main_window_wiring.h"
#include "app/win32/results_view.h"
#include "app/win32/show_main_window.h"
#include "base/open_url.h"
#include "base/ports/message_box.h"
#include "base/ui/results_list_ops.h"
#include "base/version.h"
#include "base/win32/common_controls.h"
#include "base/win32/wide_text.h"
#include "base/win32/window_guard.h"
#include "periphery/registry_editor.h"
#include "periphery/update_check.h"
#include "periphery/win32/tray_icon.h"
#include "periphery/win32/winhttp_client.h"

namespace corvane::win32 {

namespace {

constexpr DWORD kPumpMask = 0xA5;  // QS_KEY | QS_MOUSEBUTTON | QS_PAINT | QS_HOTKEY
constexpr const char* kTrayBalloon = "Scans and fixes network and local registry/files.";

int Window_Dpi(HWND window) {
    using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
    if (HMODULE user32 = ::GetModuleHandleW(L"user32.dll")) {
        if (auto getDpi = reinterpret_cast<GetDpiForWindowFn>(
                reinterpret_cast<void*>(::GetProcAddress(user32, "GetDpiForWindow")))) {
            if (const UINT dpi = getDpi(window)) return static_cast<int>(dpi);
        }
    }
    HDC dc = ::GetDC(window);
    const int dpi = dc ? ::GetDeviceCaps(dc, LOGPIXELSX) : 96;
    if (dc) ::ReleaseDC(window, dc);
    return dpi > 0 ? dpi : 96;
}

}  // namespace

MainWindow::MainWindow(Application& app, const MainWindowOptions& options)
    : app_(app),
      options_(options),
      settings_(options.settingsRoot),
      registryEditor_(app.Reports().Messages()),
      presenter_(std::make_unique<MainWindowPresenter>(app, settings_, computers_, categories_, results_)) {}

MainWindow::~MainWindow() {
    // The views stop observing before the models go.
    resultsView_.reset();
    computerView_.reset();
    categoryView_.reset();
}

MainWindow* MainWindow::Create(Application& app, const MainWindowOptions& options, DWORD* error) {
    WNDCLASSEXW windowClass{};
    windowClass.hIcon = Program_Icon(32);
    windowClass.hIconSm = Program_Icon(16);
    windowClass.hCursor = nullptr;  // set per position (splitters)
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = kMainWindowClass;
    DWORD failure = ERROR_SUCCESS;
    MainWindow* created = nullptr;
    if (!Register_Window_Class(windowClass)) {
        failure = ::GetLastError();
    } else {
        // The window takes the object over at WM_NCCREATE and deletes it at
        // WM_NCDESTROY; if creation fails before that, the pointer still owns it.
        std::unique_ptr<MainWindow> self(new MainWindow(app, options));
        self->creator_ = &self;
        created = self.get();
        if (!created->Create_Window(WS_EX_APPWINDOW, kMainWindowClass, L"Corvane",
                                    WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, CW_USEDEFAULT, CW_USEDEFAULT, 800, 600,
                                    failure)) {
            created = nullptr;
        }
    }
    if (!created) {
        if (error) *error = failure;
        return nullptr;
    }
    created->Show_Loaded();
    return created;
}

bool MainWindow::Form_Load() {
    dpi_ = Window_Dpi(window_);
    (void)CommonControls().Register_Classes(ICC_LISTVIEW_CLASSES | ICC_TREEVIEW_CLASSES | ICC_BAR_CLASSES |
                                            ICC_COOL_CLASSES | ICC_PROGRESS_CLASS);
    images_ = std::make_unique<ImageLibrary>();
    if (!images_->Missing().empty()) app_.Reports().Log_Event("Pictures missing: " + images_->Missing(), LOG_WARNING);
    clipboard_.Set_Owner(window_);
    Create_Menu();
    Create_Controls();

    // Start counter, settings, computer tree, category tree, default computer.
    const MainWindowSettings settings = presenter_->Load();
    Restore_Layout(settings);
    Apply_Font(settings.fontSize);
    Enable_Commands(true);
    // Extended list styles: every bit from border selection (0x8000) upward
    // is offered; the list uses check boxes, full-row selection, double
    // buffering and label tips.
    const DWORD extended = LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT | LVS_EX_DOUBLEBUFFER | LVS_EX_LABELTIP;
    ListView_SetExtendedListViewStyleEx(list_, extended, extended);
    // Flatten_List_Header: the column headings are not push buttons.
    if (HWND header = ListView_GetHeader(list_)) {
        ::SetWindowLongPtrW(header, GWL_STYLE,
                            ::GetWindowLongPtrW(header, GWL_STYLE) & ~static_cast<LONG_PTR>(HDS_BUTTONS));
    }
    Show_Progress_Panel(false);
    Create_Tray_Icon();
    Wire_Main_Window_Commands(app_, *this, *this, commands_);
    commands_.checkUpdates = [this] {
        periphery::win32::WinHttpClient http;
        periphery::Check_For_Updates(http, app_.Reports().Messages(), shell_,
                                     periphery::Load_Web_Addresses(settings_, app_.Reports()), CORVANE_VERSION_TEXT);
    };
    Wire_Dialog_Commands(app_, *this, commands_);

    app_.Set_Unload_All_Forms([window = window_] {
        if (::IsWindow(window)) ::DestroyWindow(window);
    });
    return true;
}

periphery::WebAddresses MainWindow::Web_Addresses() { return periphery::Load_Web_Addresses(settings_, app_.Reports()); }

void MainWindow::Show_Loaded() {
    // Show the window in the stored state, then let the one-shot timer
    // restore the chosen categories.
    switch (restored_.windowState) {
        case WindowState::Maximized: ::ShowWindow(window_, SW_SHOWMAXIMIZED); break;
        case WindowState::Minimized: ::ShowWindow(window_, SW_SHOWMINNOACTIVE); break;
        case WindowState::Normal: ::ShowWindow(window_, SW_SHOWNORMAL); break;
    }
    ::UpdateWindow(window_);
    ::SetTimer(window_, kTickOnceTimer, kTickOnceIntervalMs, nullptr);
}

void MainWindow::Restore_Layout(const MainWindowSettings& settings) {
    restored_ = settings;
    leftPaneWidth_ = settings.leftPaneWidth;
    leftPaneHeight_ = settings.leftPaneHeight;
    std::array<int, 4> columns{};
    for (std::size_t i = 0; i < 4; ++i) columns[i] = To_Pixels(settings.columnWidths[i]);
    resultsView_->Set_Column_Widths(columns);
    if (settings.windowState != WindowState::Minimized) {
        ::MoveWindow(window_, To_Pixels(settings.left), To_Pixels(settings.top), To_Pixels(settings.width),
                     To_Pixels(settings.height), FALSE);
    }
    Form_Resize();
}

MainWindowSettings MainWindow::Current_Layout() const {
    MainWindowSettings s;
    s.leftPaneWidth = leftPaneWidth_;
    s.leftPaneHeight = leftPaneHeight_;
    // A size that has not changed since it was restored keeps its stored
    // twips, so that rounding to pixels does not creep from run to run.
    auto twips = [this](int restoredTwips, int pixels) {
        return To_Pixels(restoredTwips) == pixels ? restoredTwips : To_Twips(pixels);
    };
    const std::array<int, 4> columns = resultsView_->Column_Widths();
    for (std::size_t i = 0; i < 4; ++i) s.columnWidths[i] = twips(restored_.columnWidths[i], columns[i]);
    s.fontSize = fontSize_;
    if (::IsIconic(window_)) {
        s.windowState = WindowState::Minimized;
    } else if (::IsZoomed(window_)) {
        s.windowState = WindowState::Maximized;
    }
    RECT outer{};
    ::GetWindowRect(window_, &outer);
    s.left = twips(restored_.left, outer.left);
    s.top = twips(restored_.top, outer.top);
    s.width = twips(restored_.width, outer.right - outer.left);
    s.height = twips(restored_.height, outer.bottom - outer.top);
    return s;
}

void MainWindow::Create_Tray_Icon() {
    tray_ = std::make_unique<TrayIcon>(Program_Icon(16), "Corvane");
    SysTray* tray = tray_->Tray();
    if (!tray) return;
    tray->AddMenuItem("&Open", "open", true);
    tray->Set_ToolTip("Corvane");
    tray->Set_IconHandle(reinterpret_cast<std::uintptr_t>(Program_Icon(16)));
    if (options_.showBalloon) tray->ShowBalloonTip(kTrayBalloon, "Corvane", 1, 30000);
    tray->events.menuClick = [this](int, const std::string& key) {
        if (key == "open") Restore_From_Tray();
    };
    tray->events.doubleClick = [this](int button) {
        if (button == 1) Restore_From_Tray();
    };
    tray->events.mouseDown = [this](int button) {
        if (button == 2) tray_->ShowMenu();
    };
}

void MainWindow::Restore_From_Tray() {
    ::ShowWindow(window_, SW_RESTORE);
    ::ShowWindow(window_, SW_SHOW);
    ::SetForegroundWindow(window_);
}

void MainWindow::Fill_Computers() {
    presenter_->Fill_Computers(computers_);
    presenter_->Load_Default_Computer();
}

std::string MainWindow::Get_Comp_Name() { return presenter_->Get_Comp_Name(); }

void MainWindow::FormDoMyDoEvents() {
    if (::GetQueueStatus(kPumpMask) == 0) return;
    if (::IsIconic(window_) && ::IsWindowVisible(window_)) ::ShowWindow(window_, SW_RESTORE);
    MSG message{};
    while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) {
            ::PostQuitMessage(static_cast<int>(message.wParam));
            return;
        }
        ::TranslateMessage(&message);
        ::DispatchMessageW(&message);
    }
}

void MainWindow::Enable_Commands(bool enabled) {
    for (const CommandInfo& info : Main_Window_Commands()) {
        const UINT id = Command_Id(static_cast<int>(info.command));
        const bool state = Command_Enabled_For(info.command, enabled);
        ::EnableMenuItem(menu_, id, MF_BYCOMMAND | (state ? MF_ENABLED : MF_GRAYED));
        toolbar_.Enable_Button(id, state);
    }
    ::EnableWindow(computerTree_, enabled);
    ::EnableWindow(categoryTree_, enabled);
    ::DrawMenuBar(window_);
    busy_ = !enabled;
    if (enabled && closePending_) ::PostMessageW(window_, kCloseConfirmed, 0, 0);
}

void MainWindow::Set_Status_Text(std::string_view text) { status_.Set_Text(kStatusTotal, text); }

std::string MainWindow::Status_Text(int part) const { return status_.Text(part); }

void MainWindow::Show_Progress_Panel(bool visible) {
    if (visible)
        ::SetWindowPos(panel_, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);
    else
        ::ShowWindow(panel_, SW_HIDE);
}

void MainWindow::Set_Label(ProgressLabel label, std::string_view text) {
    const auto index = static_cast<std::size_t>(label);
    if (index >= labels_.size()) return;
    ::SetWindowTextW(labels_[index], Widen(text).c_str());
}

void MainWindow::Set_Progress(int minimum, int maximum, int value) {
    progressBar_.Set_Range32(minimum, maximum);
    progressBar_.Set_Pos(value);
}

void MainWindow::Suspend_Results_Drawing(bool suspend) { resultsView_->Suspend_Drawing(suspend); }

void MainWindow::Clear_List() {
    if (presenter_->Clear_List()) Set_Status_Text(Total_Problems_Text(0));
}

void MainWindow::Run_Command(Command command) {
    auto run = [](const std::function<void()>& handler) {
        if (handler) handler();
    };
    switch (command) {
        case Command::ManageComputers: run(commands_.manageComputers); break;
        case Command::StartScan: run(commands_.startScan); break;
        case Command::StopScan: run(commands_.stopScan); break;
        case Command::FixProblems: run(commands_.fixProblems); break;
        case Command::ClearList: Clear_List(); break;
        case Command::ExceptionList: run(commands_.exceptionList); break;
        case Command::Exit: ::SendMessageW(window_, WM_CLOSE, 0, 0); break;
        case Command::FontSmall:
        case Command::FontMedium:
        case Command::FontLarge:
            Apply_Font(Font_Size_Of(command));
            Save_Font_Size(settings_, fontSize_);
            break;
        case Command::Refresh:
            for (HWND control : {computerTree_, categoryTree_, list_}) {
                ::InvalidateRect(control, nullptr, TRUE);
                ::UpdateWindow(control);
            }
            break;
        case Command::Options: run(commands_.options); break;
        case Command::ViewLog: shell_.Open(app_.Log_File_Path()); break;
        case Command::FAQs: (void)Open_Web_Address(shell_, Web_Addresses().Faq_Page()); break;
        case Command::Troubleshoot: (void)Open_Web_Address(shell_, Web_Addresses().Troubleshooting_Page()); break;
        case Command::Home: (void)Open_Web_Address(shell_, Web_Addresses().homeSite); break;
        case Command::Support: shell_.Open(kSupportMail); break;
        case Command::CheckUpdates: run(commands_.checkUpdates); break;
        case Command::About: Show_About_Box(window_, app_.Reports()); break;
    }
}

HMENU MainWindow::Build_Context_Menu() {
    HMENU menu = ::CreatePopupMenu();
    const std::size_t row = resultsView_->First_Selected();
    const bool local = row < results_.Count() && Row_Belongs_To(results_, row, Get_Comp_Name());
    ::AppendMenuW(menu, MF_STRING, kContextAddToException, L"&Add To Exception List");
    ::AppendMenuW(menu, MF_STRING | (local ? MF_ENABLED : MF_GRAYED), kContextOpenRegistryKey, L"&Open Registry Key");
    ::AppendMenuW(menu, MF_STRING, kContextCopyToClipboard, L"&Copy To Clipboard");
    return menu;
}

void MainWindow::Show_Context_Menu(POINT screen) {
    if (resultsView_->First_Selected() >= results_.Count()) return;
    unique_hmenu menu(Build_Context_Menu());
    const UINT chosen = static_cast<UINT>(
        ::TrackPopupMenu(menu.get(), TPM_RIGHTBUTTON | TPM_RETURNCMD, screen.x, screen.y, 0, window_, nullptr));
    if (chosen != 0) Run_Context_Command(chosen);
}

void MainWindow::Run_Context_Command(UINT id) {
    switch (id) {
        case kContextAddToException:
            resultsView_->Read_Selection();
            presenter_->Add_To_Exception_List();
            break;
        case kContextOpenRegistryKey: Open_Key_Of_Row(resultsView_->First_Selected()); break;
        case kContextCopyToClipboard: presenter_->Copy_To_Clipboard(clipboard_); break;
        default: break;
    }
}

void MainWindow::Open_Key_Of_Row(std::size_t row) {
    if (row >= results_.Count()) return;
    if (Kind_Of_Key(results_.Row(row).key) != RowKind::RegistryProblem) return;
    if (!Row_Belongs_To(results_, row, Get_Comp_Name())) return;
    Open_Registry_Editor(registryEditor_, app_.Reports(), Registry_Key_Of_Row(results_, row),
                         results_.Row(row).problem->registry.valueName);
}

bool MainWindow::Query_Unload() {
    if (!presenter_->Query_Unload()) return false;
    if (commands_.stopScan) commands_.stopScan();
    return true;
}

void MainWindow::Form_Unload() {
    if (unloaded_) return;
    unloaded_ = true;
    ::KillTimer(window_, kTickOnceTimer);
    presenter_->Save_On_Unload(Current_Layout());
    tray_.reset();
}

void MainWindow::On_Command(UINT id, UINT code, HWND) {
    if (id >= kFirstCommandId && id <= Command_Id(static_cast<int>(Command::About))) {
        Run_Command(static_cast<Command>(id - kFirstCommandId));
    } else if (id == kIdCancelScanning) {
        Run_Command(Command::StopScan);
    } else if (id == static_cast<UINT>(kIdFirstLabel + static_cast<int>(ProgressLabel::Skip)) && code == STN_CLICKED) {
        if (commands_.skip) commands_.skip();
    }
}

LRESULT MainWindow::On_Notify(const NMHDR& header) {
    LRESULT result = 0;
    if (resultsView_ && resultsView_->On_Notify(header, result)) return result;
    if (computerView_ && computerView_->On_Notify(header, kSyncComputerChecks)) return 0;
    if (categoryView_ && categoryView_->On_Notify(header, kSyncCategoryChecks)) return 0;
    if (header.hwndFrom == status_.Handle() && header.code == NM_CLICK) {
        const auto& mouse = reinterpret_cast<const NMMOUSE&>(header);
        if (mouse.dwItemSpec == kStatusHomeSite) (void)Open_Web_Address(shell_, Web_Addresses().homeSite);
        return 0;
    }
    if (header.code == TTN_GETDISPINFOW) {
        auto& tip = reinterpret_cast<NMTTDISPINFOW&>(const_cast<NMHDR&>(header));
        const UINT id = static_cast<UINT>(header.idFrom);
        if (id >= kFirstCommandId && id <= Command_Id(static_cast<int>(Command::About))) {
            const std::wstring text = Widen(Command_Info(static_cast<Command>(id - kFirstCommandId)).toolTip);
            ::lstrcpynW(tip.szText, text.c_str(), static_cast<int>(std::size(tip.szText)));
        }
        return 0;
    }
    if (header.hwndFrom == rebar_.Handle() && header.code == RBN_HEIGHTCHANGE) Form_Resize();
    return 0;
}

LRESULT MainWindow::Handle_Message(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_CREATE: return Form_Load() ? 0 : -1;
        case WM_SIZE: Form_Resize(); return 0;
        case WM_GETMINMAXINFO: {
            auto& info = *reinterpret_cast<MINMAXINFO*>(lParam);
            info.ptMinTrackSize = {To_Pixels(kMinimumWindowWidth), To_Pixels(kMinimumWindowHeight)};
            return 0;
        }
        case WM_COMMAND: On_Command(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam)); return 0;
        case WM_NOTIFY: return On_Notify(*reinterpret_cast<const NMHDR*>(lParam));
        case WM_TIMER:
            if (wParam == kTickOnceTimer) {
                ::KillTimer(window_, kTickOnceTimer);
                presenter_->Restore_Categories();
            }
            return 0;
        case kSyncComputerChecks: computerView_->Sync_Checks_From_Control(); return 0;
        case kSyncCategoryChecks: categoryView_->Sync_Checks_From_Control(); return 0;
        case WM_SETCURSOR:
            if (reinterpret_cast<HWND>(wParam) == window_ && LOWORD(lParam) == HTCLIENT) {
                POINT point{};
                ::GetCursorPos(&point);
                ::ScreenToClient(window_, &point);
                Update_Splitter_Cursor(point);
                return TRUE;
            }
            break;
        case WM_LBUTTONDOWN: {
            const POINT point{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
            dragging_ = Splitter_At(layout_, To_Twips(point.x), To_Twips(point.y));
            if (dragging_ != Splitter::None) ::SetCapture(window_);
            return 0;
        }
        case WM_MOUSEMOVE:
            if (dragging_ != Splitter::None && (wParam & MK_LBUTTON)) {
                const POINT point{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
                const PaneSizes sizes = Drag_Splitter(Layout_Input(), dragging_, To_Twips(point.x), To_Twips(point.y));
                if (sizes.leftPaneWidth != leftPaneWidth_ || sizes.leftPaneHeight != leftPaneHeight_) {
                    leftPaneWidth_ = sizes.leftPaneWidth;
                    leftPaneHeight_ = sizes.leftPaneHeight;
                    Form_Resize();
                }
            }
            return 0;
        case WM_LBUTTONUP:
        case WM_CAPTURECHANGED:
            if (dragging_ != Splitter::None) {
                dragging_ = Splitter::None;
                if (message == WM_LBUTTONUP) ::ReleaseCapture();
            }
            return 0;
        case WM_CLOSE:
            if (!Query_Unload()) return 0;
            if (busy_) {
                // A scan or fix is on the stack below this message: it ends
                // at its next test of the stop request, then the close goes on.
                closePending_ = true;
                return 0;
            }
            ::DestroyWindow(window_);
            return 0;
        case kCloseConfirmed:
            if (!busy_) ::DestroyWindow(window_);
            return 0;
        case WM_DESTROY:
            Form_Unload();
            app_.Set_Unload_All_Forms({});
            app_.End_Program();
            ::PostQuitMessage(0);
            return 0;
        default: break;
    }
    return ::DefWindowProcW(window_, message, wParam, lParam);
}

void MainWindow::Window_Attached(HWND window) noexcept {
    window_ = window;
    if (creator_) (void)creator_->release();
    creator_ = nullptr;
}

void MainWindow::Window_Detached() noexcept {
    window_ = nullptr;
    delete this;
}

LRESULT MainWindow::Window_Message(UINT message, WPARAM wParam, LPARAM lParam) noexcept {
    // A load that fails, or throws, makes CreateWindowExW fail.
    const LRESULT fallback = message == WM_CREATE ? -1 : 0;
    return Call_Guarded(&app_.Reports(), "Main window", fallback,
                        [&] { return Handle_Message(message, wParam, lParam); });
}

}  // namespace corvane::win32

namespace corvane {

void Show_Main_Window(Application& app) {
    DWORD error = ERROR_SUCCESS;
    if (win32::MainWindow::Create(app, {}, &error)) return;
    // Without a window nothing could ever end the message loop: end now.
    app.Reports().Show_Error(false, "The main window could not be created (error " + std::to_string(error) + ")");
    app.End_Program();
    ::PostQuitMessage(1);
}

}  // namespace corvane
