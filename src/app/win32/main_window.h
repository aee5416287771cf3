// frmMain on Windows: the only top-level window, with the toolbar in a rebar,
// the computer and category trees, the virtual results list, the status bar,
// the progress panel, the menus, the splitters, the notification-area icon
// and the About box. It implements IMainWindow for the scan and fix work and
// draws the progress panel for its presenter; the decisions are the
// presenters' and the rows and nodes are models.
#pragma once

#include <windows.h>

#include <array>
#include <memory>
#include <string>

#include "app/main_window_commands.h"
#include "app/main_window_layout.h"
#include "app/main_window_presenter.h"
#include "app/progress_presenter.h"
#include "base/ui/check_tree.h"
#include "base/ui/main_window_port.h"
#include "base/ui/results_list.h"
#include "base/win32/clipboard_win32.h"
#include "base/win32/progress_bar.h"
#include "base/win32/settings_store_win32.h"
#include "base/win32/shell_win32.h"
#include "base/win32/status_bar.h"
#include "base/win32/toolbar.h"
#include "base/win32/unique_any.h"
#include "base/win32/window_base.h"
#include "periphery/web_addresses.h"
#include "periphery/win32/regedit_driver.h"

namespace corvane {
class Application;
}

namespace corvane::win32 {

class CheckTreeView;
class ImageLibrary;
class ResultsView;
class TrayIcon;

inline constexpr wchar_t kMainWindowClass[] = L"CorvaneMainWindow";

struct MainWindowOptions {
    std::wstring settingsRoot = L"Software\\Corvane";  // below HKEY_CURRENT_USER
    bool showBalloon = true;
};

class MainWindow final : public IMainWindow, public IProgressPanelView, public WindowBase<MainWindow> {
public:
    // Loads and shows the window (ShowThisForm). The window owns itself and
    // is deleted when it is destroyed; nullptr when creation failed, with the
    // reason in `error` when asked for.
    static MainWindow* Create(Application& app, const MainWindowOptions& options = {}, DWORD* error = nullptr);
    ~MainWindow() override;

    // IMainWindow
    [[nodiscard]] std::string Get_Comp_Name() override;
    [[nodiscard]] CheckTree& Computer_Tree() override { return computers_; }
    [[nodiscard]] CheckTree& Category_Tree() override { return categories_; }
    [[nodiscard]] ResultsList& Results() override { return results_; }
    void Enable_Commands(bool enabled) override;
    void Set_Status_Text(std::string_view text) override;
    void Show_Progress_Panel(bool visible) override;
    void Suspend_Results_Drawing(bool suspend) override;
    [[nodiscard]] std::uintptr_t Native_Handle() const override { return reinterpret_cast<std::uintptr_t>(window_); }

    // IProgressPanelView
    void Set_Label(ProgressLabel label, std::string_view text) override;
    void Set_Progress(int minimum, int maximum, int value) override;
    void FormDoMyDoEvents() override;

    [[nodiscard]] MainWindowCommands& Commands() noexcept { return commands_; }
    [[nodiscard]] MainWindowPresenter& Presenter() noexcept { return *presenter_; }
    [[nodiscard]] HWND Handle() const noexcept { return window_; }
    // Fills the computer tree again from the database (after the computer dialog).
    void Fill_Computers();
    // Runs a command as its menu item or toolbar button would.
    void Run_Command(Command command);

    // For the window's own tests: the controls and helpers behind the commands.
    struct Controls {
        HWND rebar, toolbar, status, computerTree, categoryTree, list, panel, progressBar;
        HMENU menu;
    };
    [[nodiscard]] Controls Control_Handles() const;
    [[nodiscard]] CheckTreeView& Category_View() noexcept { return *categoryView_; }
    [[nodiscard]] const ImageLibrary& Images() const noexcept { return *images_; }
    [[nodiscard]] TrayIcon* Tray() noexcept { return tray_.get(); }
    [[nodiscard]] std::string Status_Text(int part) const;
    [[nodiscard]] int Font_Size() const noexcept { return fontSize_; }
    void Run_Context_Command(UINT id);
    void Open_Key_Of_Row(std::size_t row);

private:
    friend class WindowBase<MainWindow>;
    MainWindow(Application& app, const MainWindowOptions& options);
    void Window_Attached(HWND window) noexcept;
    void Window_Detached() noexcept;
    LRESULT Window_Message(UINT message, WPARAM wParam, LPARAM lParam) noexcept;
    LRESULT Handle_Message(UINT message, WPARAM wParam, LPARAM lParam);

    bool Form_Load();
    void Show_Loaded();
    void Create_Controls();
    void Create_Menu();
    void Create_Toolbar();
    void Create_Status_Bar();
    void Create_Progress_Panel();
    void Create_Tray_Icon();
    void Restore_Layout(const MainWindowSettings& settings);
    [[nodiscard]] MainWindowSettings Current_Layout() const;
    void Apply_Font(int size);
    void Form_Resize();
    [[nodiscard]] LayoutInput Layout_Input() const;
    void Place(HWND control, const RectTwips& rect);
    void On_Command(UINT id, UINT code, HWND control);
    LRESULT On_Notify(const NMHDR& header);
    bool Query_Unload();
    void Form_Unload();
    void Restore_From_Tray();
    void Clear_List();
    // The context menu of the list as it opens for the selected row.
    [[nodiscard]] HMENU Build_Context_Menu();
    void Show_Context_Menu(POINT screen);
    void Update_Splitter_Cursor(POINT client);
    // The per-user web addresses, read at each use.
    [[nodiscard]] periphery::WebAddresses Web_Addresses();

    [[nodiscard]] int To_Pixels(int twips) const noexcept;
    [[nodiscard]] int To_Twips(int pixels) const noexcept;

    Application& app_;
    MainWindowOptions options_;
    Win32SettingsStore settings_;
    Win32Clipboard clipboard_;
    Win32Shell shell_;
    Win32RegistryEditor registryEditor_;
    CheckTree computers_;
    CheckTree categories_;
    ResultsList results_;
    std::unique_ptr<MainWindowPresenter> presenter_;
    MainWindowCommands commands_;

    HWND window_ = nullptr;
    // Create's owner of this object until the window takes it over.
    std::unique_ptr<MainWindow>* creator_ = nullptr;
    Rebar rebar_;
    Toolbar toolbar_;
    StatusBar status_;
    HWND computerTree_ = nullptr;
    HWND categoryTree_ = nullptr;
    HWND list_ = nullptr;
    HWND panel_ = nullptr;
    ProgressBar progressBar_;
    HWND cancelButton_ = nullptr;
    std::array<HWND, 9> labels_{};
    HMENU menu_ = nullptr;
    std::unique_ptr<ImageLibrary> images_;
    std::unique_ptr<CheckTreeView> computerView_;
    std::unique_ptr<CheckTreeView> categoryView_;
    std::unique_ptr<ResultsView> resultsView_;
    std::unique_ptr<TrayIcon> tray_;
    unique_hfont font_;
    unique_hfont boldFont_;
    unique_hfont panelFont_;
    unique_hfont panelBoldFont_;

    int dpi_ = 96;
    int fontSize_ = 8;
    int leftPaneWidth_ = 4500;  // twips
    int leftPaneHeight_ = 2500;
    RectTwips categoryRect_;
    RectTwips listRect_;
    LayoutResult layout_;
    MainWindowSettings restored_;  // as read at load
    Splitter dragging_ = Splitter::None;
    bool busy_ = false;
    bool closePending_ = false;
    bool unloaded_ = false;
};

}  // namespace corvane::win32
