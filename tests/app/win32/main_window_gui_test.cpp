// The main window as a user meets it, under Wine (a display is needed: ctest
// under xvfb-run): what only the window does with the presenter's decisions
// (pixels, controls, mouse clicks, menus, dialogs, the notification-area icon,
// the registry editor), and a screenshot of a filled list (main_window.bmp in
// the program folder; the build converts it into artifacts/main_window.png).
// The decisions themselves are the presenter's and models' tests.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <utility>

#include "app/application.h"
#include "app/win32/about_box.h"
#include "app/win32/check_tree_view.h"
#include "app/win32/image_library.h"
#include "app/win32/main_window.h"
#include "app/win32/main_window_ids.h"
#include "app/win32/results_view.h"
#include "backup/win32/restore_dialog.h"
#include "base/base64.h"
#include "base/file_path.h"
#include "base/runtime_error.h"
#include "base/ui/results_list.h"
#include "base/ui/results_list_ops.h"
#include "base/win32/clipboard_win32.h"
#include "base/win32/clock_win32.h"
#include "base/win32/data_protection_win32.h"
#include "base/win32/dialog.h"
#include "base/win32/platform_win32.h"
#include "base/win32/settings_store_win32.h"
#include "base/win32/unique_any.h"
#include "base/win32/wide_text.h"
#include "computers/win32/computer_dialog_ids.h"
#include "db/app_tables.h"
#include "db/database.h"
#include "db/password_codec.h"
#include "periphery/win32/regedit_driver.h"
#include "periphery/win32/tray_icon.h"
#include "remote/undo_files.h"
#include "remote/win32/native_ports.h"
#include "settings/win32/settings_dialog_ids.h"
#include "support/fakes.h"
#include "support/result_rows.h"
#include "support/temp_folder.h"
#include "support/test_database.h"
#include "support/win32/gui_pump.h"

namespace corvane::win32 {
namespace {

using namespace corvane::testing;

constexpr wchar_t kSettingsRoot[] = L"Software\\CorvaneGuiTest";

RECT Window_Rect(HWND window) {
    RECT rect{};
    ::GetWindowRect(window, &rect);
    return rect;
}

// One run of the program: Main with the real platform (program folder = the
// scratch folder holding the database) and the main window, until closed.
class ProgramRun {
public:
    ProgramRun(const std::string& folder, FakeMessageBox& messages, bool balloon = true)
        : platform_(folder), app_(platform_, clock_, messages) {
        app_.Db().Attach_Password_Codec(&passwords_);
        app_.Main([this, balloon](Application& app) {
            MainWindowOptions options;
            options.settingsRoot = kSettingsRoot;
            options.showBalloon = balloon;
            window = MainWindow::Create(app, options);
        });
        if (window) handle = window->Handle();
        Pump(400);  // shown, and the one-shot timer has restored the categories
    }
    ~ProgramRun() {
        if (::IsWindow(handle)) Close();
    }
    // WM_CLOSE as the close box sends it; true when the window is gone.
    bool Close() {
        ::SendMessageW(handle, WM_CLOSE, 0, 0);
        Pump(100);
        if (::IsWindow(handle)) return false;
        window = nullptr;
        return true;
    }
    Application& App() { return app_; }

    MainWindow* window = nullptr;
    HWND handle = nullptr;

private:
    Win32Platform platform_;
    Win32Clock clock_;
    Application app_;
    Win32DataProtection protection_;
    PasswordCodec passwords_{protection_, app_.Reports()};
};

class MainWindowGui : public ::testing::Test {
protected:
    void SetUp() override {
        if (!Have_Display()) GTEST_SKIP() << "CORVANE-GUI-SKIPPED: no display (run ctest under xvfb-run)";
        ::RegDeleteTreeW(HKEY_CURRENT_USER, kSettingsRoot);
        folder_ = Path_Utf8(temp_.Path());
        Create_Installed_Database(folder_ + "\\nwcvninfo.dll");
    }
    void TearDown() override { ::RegDeleteTreeW(HKEY_CURRENT_USER, kSettingsRoot); }

    std::string Setting(const char* section, const char* key) {
        return Win32SettingsStore(kSettingsRoot).GetSetting(section, key, "(none)");
    }

    TempFolder temp_;
    std::string folder_;
    FakeMessageBox messages_;
    int dpi_ = 96;
};

int Dpi_Of(HWND window) {
    HDC dc = ::GetDC(window);
    const int dpi = ::GetDeviceCaps(dc, LOGPIXELSX);
    ::ReleaseDC(window, dc);
    return dpi;
}

bool Tree_Item_Checked(HWND tree, HTREEITEM item) {
    return (TreeView_GetItemState(tree, item, TVIS_STATEIMAGEMASK) & TVIS_STATEIMAGEMASK) == INDEXTOSTATEIMAGEMASK(2);
}

bool List_Row_Checked(HWND list, int row) {
    return (ListView_GetItemState(list, row, LVIS_STATEIMAGEMASK) & LVIS_STATEIMAGEMASK) == INDEXTOSTATEIMAGEMASK(2);
}

// A click on the check box in the middle line of `row`, found by hit-testing
// from x in steps of `step`, as the mouse gives it.
void Click_Check_Box(HWND control, const RECT& row, int x, int step, const std::function<bool(POINT)>& onBox) {
    POINT at{x, (row.top + row.bottom) / 2};
    while (at.x > 0 && at.x < row.left + 80 && !onBox(at)) at.x += step;
    ASSERT_TRUE(onBox(at));
    const LPARAM where = MAKELPARAM(at.x, at.y);
    ::PostMessageW(control, WM_LBUTTONUP, 0, where);
    ::SendMessageW(control, WM_LBUTTONDOWN, MK_LBUTTON, where);
    Pump(150);
}

void Click_Tree_Check_Box(HWND tree, HTREEITEM item) {
    RECT text{};
    TreeView_GetItemRect(tree, item, &text, TRUE);
    Click_Check_Box(tree, text, text.left - 1, -1, [tree](POINT at) {
        TVHITTESTINFO hit{};
        hit.pt = at;
        TreeView_HitTest(tree, &hit);
        return (hit.flags & TVHT_ONITEMSTATEICON) != 0;
    });
}

void Click_List_Check_Box(HWND list, int row) {
    RECT bounds{};
    ListView_GetItemRect(list, row, &bounds, LVIR_BOUNDS);
    Click_Check_Box(list, bounds, bounds.left + 1, 1, [list](POINT at) {
        LVHITTESTINFO hit{};
        hit.pt = at;
        ListView_HitTest(list, &hit);
        return (hit.flags & LVHT_ONITEMSTATEICON) != 0;
    });
}

NodeId Category_Node(ProgramRun& run, const char* key) { return run.window->Category_Tree().Find(key); }

// The first start at the defaults, then two restarts: the second after a
// maximized close, which keeps the normal placement for the restore.
TEST_F(MainWindowGui, FirstStartDefaultsThenLayoutFontAndCategoriesSurviveARestart) {
    int paneRight = 0;
    {
        ProgramRun run(folder_, messages_);
        ASSERT_NE(run.window, nullptr);
        dpi_ = Dpi_Of(run.handle);
        const MainWindow::Controls c = run.window->Control_Handles();
        // The first start's twips reach the controls as pixels at this DPI.
        EXPECT_EQ(Window_Rect(run.handle).left, ::MulDiv(3500, dpi_, 1440));

        // Menu and toolbar follow the command states, both ways.
        const UINT stop = Command_Id(static_cast<int>(Command::StopScan));
        const UINT start = Command_Id(static_cast<int>(Command::StartScan));
        for (const bool idle : {true, false}) {
            run.window->Enable_Commands(idle);
            EXPECT_EQ(::SendMessageW(c.toolbar, TB_ISBUTTONENABLED, stop, 0) != 0, !idle);
            EXPECT_EQ((::GetMenuState(c.menu, start, MF_BYCOMMAND) & MF_GRAYED) == 0, idle);
            EXPECT_EQ(::IsWindowEnabled(c.computerTree) != 0, idle);
        }
        run.window->Enable_Commands(true);

        // Every picture the program names exists.
        EXPECT_EQ(run.window->Images().Missing(), "");
        for (const ImageKey& key : Image_Keys()) EXPECT_GE(run.window->Images().Index(key.key), 0) << key.key;

        run.window->Run_Command(Command::FontLarge);
        ::MoveWindow(run.handle, 40, 30, 900, 700, TRUE);
        ListView_SetColumnWidth(c.list, 3, 410);

        // Drag the splitter beside the left column 40 pixels to the right.
        RECT tree = Window_Rect(c.computerTree);
        POINT gap{tree.right + 2, (tree.top + tree.bottom) / 2};
        ::ScreenToClient(run.handle, &gap);
        ::SendMessageW(run.handle, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(gap.x, gap.y));
        ::SendMessageW(run.handle, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(gap.x + 40, gap.y));
        ::SendMessageW(run.handle, WM_LBUTTONUP, 0, MAKELPARAM(gap.x + 40, gap.y));
        tree = Window_Rect(c.computerTree);
        paneRight = tree.right - Window_Rect(run.handle).left;
        EXPECT_GT(Window_Rect(c.list).left, tree.right);

        // Check "Registry Clean Up" with the mouse: its categories follow.
        Click_Tree_Check_Box(c.categoryTree, run.window->Category_View().Item(Category_Node(run, "gR")));
        EXPECT_TRUE(run.window->Category_Tree().Node(Category_Node(run, "fN")).checked);
        EXPECT_TRUE(Tree_Item_Checked(c.categoryTree, run.window->Category_View().Item(Category_Node(run, "fA"))));
        EXPECT_TRUE(run.Close());
        EXPECT_TRUE(messages_.shown.empty());
    }
    // Pixels stored as twips.
    EXPECT_EQ(Setting("MainWindow", "WindowLeft"), std::to_string(::MulDiv(40, 1440, dpi_)));
    EXPECT_EQ(Setting("RightPane", "CH4"), std::to_string(::MulDiv(410, 1440, dpi_)));
    const auto expect_placement = [](HWND window) {
        const RECT outer = Window_Rect(window);
        EXPECT_EQ(outer.left, 40);
        EXPECT_EQ(outer.top, 30);
        EXPECT_EQ(outer.right - outer.left, 900);
        EXPECT_EQ(outer.bottom - outer.top, 700);
    };
    {
        ProgramRun again(folder_, messages_);
        ASSERT_NE(again.window, nullptr);
        const MainWindow::Controls c = again.window->Control_Handles();
        EXPECT_EQ(again.window->Font_Size(), 10);
        EXPECT_TRUE(::GetMenuState(c.menu, Command_Id(static_cast<int>(Command::FontLarge)), MF_BYCOMMAND) &
                    MF_CHECKED);
        expect_placement(again.handle);
        EXPECT_EQ(Window_Rect(c.computerTree).right - Window_Rect(again.handle).left, paneRight);
        EXPECT_EQ(ListView_GetColumnWidth(c.list, 3), 410);
        const CheckTree& categories = again.window->Category_Tree();
        EXPECT_EQ(categories.Count_Checked_Nodes(), 13);
        EXPECT_TRUE(Tree_Item_Checked(c.categoryTree, again.window->Category_View().Item(categories.Find("gR"))));
        ::ShowWindow(again.handle, SW_MAXIMIZE);
        Pump(100);
        EXPECT_TRUE(again.Close());
    }
    EXPECT_EQ(Setting("MainWindow", "WindowState"), "2");
    ProgramRun third(folder_, messages_);
    ASSERT_NE(third.window, nullptr);
    EXPECT_TRUE(::IsZoomed(third.handle));
    ::ShowWindow(third.handle, SW_RESTORE);  // to the placement kept from before the maximized close
    Pump(100);
    expect_placement(third.handle);
}

TEST_F(MainWindowGui, CheckBoxClicksTheCloseQuestionAndTheContextMenuWorkOnTheRows) {
    ProgramRun run(folder_, messages_);
    ASSERT_NE(run.window, nullptr);
    const MainWindow::Controls c = run.window->Control_Handles();
    const std::string local = run.window->Get_Comp_Name();
    ResultsList& results = run.window->Results();
    Add_Header_Row(results, "fA", local, "[Help Files]");
    Add_Registry_Row(results, 0, "a.hlp", "SOFTWARE\\Help", local);
    Add_Registry_Row(results, 1, "b.hlp", "SOFTWARE\\Help", local);
    Add_Header_Row(results, "fB", local, "[Add/Remove Programs]", "Add/RemovePrograms");
    Add_Registry_Row(results, 2, "Old App", "SOFTWARE\\Uninstall", local, "Add/RemovePrograms");
    Add_Error_Row(results, "REMOTE7", "Access denied");
    Pump(100);  // rows added at the end reach the control within 40 ms
    EXPECT_EQ(ListView_GetItemCount(c.list), 6);
    EXPECT_TRUE(List_Row_Checked(c.list, 1));

    // A click on the header's box reaches its rows, in the model and the control.
    Click_List_Check_Box(c.list, 0);
    EXPECT_FALSE(results.Row(1).checked);
    EXPECT_FALSE(List_Row_Checked(c.list, 2));
    Click_List_Check_Box(c.list, 1);
    EXPECT_TRUE(results.Row(1).checked);

    // The computer tree: check the root (every computer), then uncheck the
    // local computer: every row of it follows, the error row does not.
    HTREEITEM root = TreeView_GetRoot(c.computerTree);
    Click_Tree_Check_Box(c.computerTree, root);
    EXPECT_TRUE(Tree_Item_Checked(c.computerTree, TreeView_GetChild(c.computerTree, root)));
    EXPECT_TRUE(List_Row_Checked(c.list, 2));
    Click_Tree_Check_Box(c.computerTree, TreeView_GetChild(c.computerTree, root));
    for (int row = 0; row < 5; ++row) EXPECT_FALSE(List_Row_Checked(c.list, row)) << row;

    // Exit (the close box's WM_CLOSE) asks about the unfixed rows; No keeps the window.
    messages_.Queue_Answer(MsgResult::No);
    run.window->Run_Command(Command::Exit);
    Pump(100);
    EXPECT_TRUE(::IsWindow(run.handle));
    EXPECT_EQ(messages_.shown.size(), 1u);

    // The context menu of the selected row: Open Registry Key only for a row
    // of this computer; Copy puts the list on the clipboard; Add To Exception
    // List takes the selected problem rows out of the list.
    const auto open_key_grayed = [&](int row) {
        ListView_SetItemState(c.list, -1, 0, LVIS_SELECTED);
        ListView_SetItemState(c.list, row, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
        unique_hmenu menu(run.window->Build_Context_Menu());
        return (::GetMenuState(menu.get(), kContextOpenRegistryKey, MF_BYCOMMAND) & MF_GRAYED) != 0;
    };
    EXPECT_TRUE(open_key_grayed(5));
    EXPECT_FALSE(open_key_grayed(1));
    run.window->Run_Context_Command(kContextCopyToClipboard);
    EXPECT_EQ(Clipboard_Text(run.handle), Results_Clipboard_Text(results));
    ListView_SetItemState(c.list, -1, LVIS_SELECTED, LVIS_SELECTED);
    run.window->Run_Context_Command(kContextAddToException);
    EXPECT_EQ(ListView_GetItemCount(c.list), 3);

    // Clear List (answered Yes) empties the control and resets the status text.
    run.window->Set_Status_Text("Total Problems Found: 3");
    run.window->Run_Command(Command::ClearList);
    EXPECT_EQ(ListView_GetItemCount(c.list), 0);
    EXPECT_EQ(run.window->Status_Text(kStatusTotal), "Total Problems Found: 0");
}

TEST_F(MainWindowGui, NotificationAreaIconMenuAndRestore) {
    ProgramRun run(folder_, messages_);
    ASSERT_NE(run.window, nullptr);
    TrayIcon* tray = run.window->Tray();
    ASSERT_NE(tray, nullptr);
    ASSERT_NE(tray->Tray(), nullptr);
    unique_hmenu menu(tray->Build_Menu());
    EXPECT_EQ(::GetMenuDefaultItem(menu.get(), TRUE, 0), 0u);

    // Minimizing hides the window; a double click on the icon, or the menu's
    // first item, brings it back.
    const std::function<void()> restores[] = {
        [&] { ::SendMessageW(tray->Window(), kTrayCallbackMessage, 0, MAKELPARAM(WM_LBUTTONDBLCLK, 1)); },
        [&] { tray->Tray()->Menu_Clicked(0); }};
    for (const auto& restore : restores) {
        ::ShowWindow(run.handle, SW_MINIMIZE);
        Pump(100);
        EXPECT_FALSE(::IsWindowVisible(run.handle));
        restore();
        Pump(100);
        EXPECT_TRUE(::IsWindowVisible(run.handle));
        EXPECT_FALSE(::IsIconic(run.handle));
    }
}

TEST_F(MainWindowGui, MessagePumpRunsOnlyWhenInputOrPaintingWaitsAndReachesSkipAndCancel) {
    ProgramRun run(folder_, messages_);
    ASSERT_NE(run.window, nullptr);
    int skips = 0;
    int stops = 0;
    run.window->Commands().skip = [&] { ++skips; };
    run.window->Commands().stopScan = [&] { ++stops; };
    run.window->Enable_Commands(false);
    run.window->Show_Progress_Panel(true);
    Pump(100);  // the panel is drawn: nothing waits
    const WPARAM skipClick = MAKEWPARAM(kIdFirstLabel + static_cast<int>(ProgressLabel::Skip), STN_CLICKED);
    ::PostMessageW(run.handle, WM_COMMAND, skipClick, 0);
    run.window->FormDoMyDoEvents();  // only a posted message waits: nothing runs
    EXPECT_EQ(skips, 0);
    ::InvalidateRect(run.window->Control_Handles().list, nullptr, TRUE);
    run.window->FormDoMyDoEvents();  // painting waits: every message is processed
    EXPECT_EQ(skips, 1);
    ::PostMessageW(run.handle, WM_COMMAND, MAKEWPARAM(kIdCancelScanning, BN_CLICKED), 0);
    ::InvalidateRect(run.window->Control_Handles().list, nullptr, TRUE);
    run.window->FormDoMyDoEvents();
    EXPECT_EQ(stops, 1);

    // Closing while busy asks, requests the stop, and closes once the
    // commands are enabled again.
    ::SendMessageW(run.handle, WM_CLOSE, 0, 0);
    EXPECT_TRUE(::IsWindow(run.handle));
    EXPECT_EQ(stops, 2);
    run.window->Show_Progress_Panel(false);
    run.window->Enable_Commands(true);
    Pump(100);
    EXPECT_FALSE(::IsWindow(run.handle));
}

// The registry editor of this Wine prefix, driven to a key and value: first
// started, then reused for another key.
TEST_F(MainWindowGui, OpenRegistryKeyDrivesTheRegistryEditor) {
    for (const wchar_t* path : {L"Software\\CorvaneGuiTest\\Beta", L"Software\\CorvaneGuiTest\\Delta_2"}) {
        unique_hkey key;
        ASSERT_EQ(
            ::RegCreateKeyExW(HKEY_LOCAL_MACHINE, path, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, key.put(), nullptr),
            ERROR_SUCCESS);
        const wchar_t data[] = L"x";
        ::RegSetValueExW(key.get(), L"Gamma", 0, REG_SZ, reinterpret_cast<const BYTE*>(data), sizeof(data));
    }
    {
        ProgramRun run(folder_, messages_);
        ASSERT_NE(run.window, nullptr);
        const std::string local = run.window->Get_Comp_Name();
        ResultsList& results = run.window->Results();
        Add_Registry_Row(results, 0, "Gamma", "Software\\CorvaneGuiTest\\Beta", local);
        Add_Registry_Row(results, 1, "Gamma", "Software\\CorvaneGuiTest\\Delta_2", local);
        Add_Registry_Row(results, 2, "Gamma", "Software\\CorvaneGuiTest\\Beta", "REMOTE7");

        run.window->Open_Key_Of_Row(2);  // a remote computer's row: nothing happens
        EXPECT_EQ(::FindWindowW(kRegEditClass, nullptr), nullptr);

        HWND editor = nullptr;
        const char* const keys[] = {"HKEY_LOCAL_MACHINE\\Software\\CorvaneGuiTest\\Beta",
                                    "HKEY_LOCAL_MACHINE\\Software\\CorvaneGuiTest\\Delta_2"};
        for (const std::size_t row : {0u, 1u}) {  // started, then reused
            run.window->Open_Key_Of_Row(row);
            editor = ::FindWindowW(kRegEditClass, nullptr);
            ASSERT_NE(editor, nullptr) << "regedit did not start";
            EXPECT_EQ(Editor_Selected_Key(Find_Descendant(editor, L"SysTreeView32")), keys[row]);
        }
        EXPECT_TRUE(messages_.shown.empty());

        DWORD processId = 0;
        ::GetWindowThreadProcessId(editor, &processId);
        unique_handle process(::OpenProcess(SYNCHRONIZE, FALSE, processId));
        ::SendMessageW(editor, WM_CLOSE, 0, 0);
        if (process) ::WaitForSingleObject(process.get(), 5000);
    }
    ::RegDeleteTreeW(HKEY_LOCAL_MACHINE, L"Software\\CorvaneGuiTest");
}

// Writes the client area and frame of the window as a 24-bit BMP.
bool Save_Window_Bitmap(HWND window, const char* path) {
    const RECT rect = Window_Rect(window);
    const int width = rect.right - rect.left;
    const int height = rect.bottom - rect.top;
    HDC screen = ::GetDC(nullptr);
    HDC memory = ::CreateCompatibleDC(screen);
    unique_hbitmap bitmap(::CreateCompatibleBitmap(screen, width, height));
    HGDIOBJ old = ::SelectObject(memory, bitmap.get());
    ::BitBlt(memory, 0, 0, width, height, screen, rect.left, rect.top, SRCCOPY);
    ::SelectObject(memory, old);
    BITMAPINFOHEADER info{};
    info.biSize = sizeof(info);
    info.biWidth = width;
    info.biHeight = height;
    info.biPlanes = 1;
    info.biBitCount = 24;
    info.biCompression = BI_RGB;
    const int stride = ((width * 3 + 3) / 4) * 4;
    std::string pixels(static_cast<std::size_t>(stride) * static_cast<std::size_t>(height), '\0');
    const int lines = ::GetDIBits(memory, bitmap.get(), 0, static_cast<UINT>(height), pixels.data(),
                                  reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS);
    ::DeleteDC(memory);
    ::ReleaseDC(nullptr, screen);
    if (lines != height) return false;
    BITMAPFILEHEADER file{};
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof(file) + sizeof(info);
    file.bfSize = file.bfOffBits + static_cast<DWORD>(pixels.size());
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(&file), sizeof(file));
    out.write(reinterpret_cast<const char*>(&info), sizeof(info));
    out.write(pixels.data(), static_cast<std::streamsize>(pixels.size()));
    return static_cast<bool>(out);
}

TEST_F(MainWindowGui, ScreenshotOfAFilledResultsList) {
    {
        FakeMessageBox quiet;
        Reporter reporter(quiet);
        Database db(reporter);
        ASSERT_TRUE(db.Open_Database(folder_ + "\\nwcvninfo.dll"));
        ASSERT_TRUE(Add_Computer(db, Win32Platform().Computer_Name(), "", ""));
        ASSERT_TRUE(Add_Computer(db, "LAB-PC07", "admin", ""));
    }
    ProgramRun run(folder_, messages_, false);
    ASSERT_NE(run.window, nullptr);
    ::MoveWindow(run.handle, 20, 20, 1180, 760, TRUE);
    const std::string local = run.window->Get_Comp_Name();
    ResultsList& results = run.window->Results();
    CheckTree& categories = run.window->Category_Tree();
    run.window->Presenter().Category_Node_Checked(categories.Find("gR"), true);
    run.window->Presenter().Computer_Node_Checked(run.window->Computer_Tree().Find("rR"), true);
    int number = 0;
    const auto header = [&](const char* category, const char* text, const char* icon, int problems) {
        Add_Header_Row(results, category, local, text, icon).status = std::to_string(problems) + " Problems Found";
    };
    header("fA", "[Help Files]", "HelpFile", 3);
    for (const char* file : {"acrobat.hlp", "vbenlr3.hlp", "winhlp32.hlp"}) {
        Add_Registry_Row(results, number++, file, "SOFTWARE\\Microsoft\\Windows\\Help", local);
    }
    header("fB", "[Add/Remove Programs]", "Add/RemovePrograms", 2);
    for (const char* app : {"OldViewer 2.1", "Trial Suite"}) {
        const std::string key = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\" + std::string(app);
        Add_Registry_Row(results, number++, app, key, local, "Add/RemovePrograms").status = "Invalid uninstall entry";
    }
    results.Row(results.Count() - 1).problem->fixed = true;
    header("dB", "[User Temp Files]", "File", 6);
    for (int i = 0; i < 6; ++i) {
        const std::string name = "setup" + std::to_string(i) + ".tmp";
        ListRow& row = Add_File_Row(results, number++, "C:\\users\\admin\\Temp\\" + name, local, FixType::File, "dB");
        row.text = name;
        row.checked = i != 2;
        row.data = std::to_string(12 + i * 7) + " KB";
        row.status = "TMP File";
    }
    Add_Error_Row(results, "LAB-PC07", "The RPC server is unavailable.").checked = false;
    run.window->Set_Status_Text(Total_Problems_Text(11));
    Pump(300);
    EXPECT_TRUE(Save_Window_Bitmap(run.handle, "main_window.bmp"));
}

// A dialog whose command throws: the guard logs the error with the dialog's
// name, nothing crosses the dialog procedure, and the dialog goes on to close.
class ThrowingDialog final : public Dialog {
public:
    explicit ThrowingDialog(const Reporter& reporter) : Dialog(&reporter, "Throwing") {}

private:
    bool On_Init() override {
        ::PostMessageW(Handle(), WM_COMMAND, 999, 0);
        ::PostMessageW(Handle(), WM_COMMAND, IDOK, 0);
        return true;
    }
    bool On_Command(int id, int, HWND) override {
        if (id == 999) throw RuntimeError(5, "Invalid procedure call");
        End(id);
        return true;
    }
};

TEST_F(MainWindowGui, DialogCallbacksLogWhatTheyThrowAndGoOn) {
    TestDatabase t;
    ThrowingDialog dialog(t.reporter);
    EXPECT_EQ(dialog.Run_Modal(nullptr, kAboutDialogId), IDOK);
    EXPECT_NE(t.Log_Text().find("Dialog Throwing: 5: Invalid procedure call"), std::string::npos) << t.Log_Text();
    EXPECT_TRUE(t.messages.shown.empty());
}

// Runs `act` on the modal dialog titled `title` from a timer inside the
// dialog's own loop, while `open` (a main-window command) shows it; `act`
// closes the dialog.
struct DialogVisit {
    const wchar_t* title;
    std::function<void(HWND)> act;
    bool visited = false;
};
DialogVisit* g_visit = nullptr;

void CALLBACK Visit_Dialog(HWND, UINT, UINT_PTR timer, DWORD) {
    HWND dialog = g_visit ? ::FindWindowW(L"#32770", g_visit->title) : nullptr;
    if (!dialog) return;
    ::KillTimer(nullptr, timer);
    g_visit->visited = true;
    ::RedrawWindow(dialog, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    g_visit->act(dialog);
}

// `open` returns when the dialog is closed; visits nest (a dialog opened from
// a dialog).
void Visit_During(const std::function<void()>& open, const wchar_t* title, std::function<void(HWND)> act) {
    DialogVisit visit{title, std::move(act)};
    DialogVisit* outer = std::exchange(g_visit, &visit);
    const UINT_PTR timer = ::SetTimer(nullptr, 0, 300, Visit_Dialog);
    open();
    ::KillTimer(nullptr, timer);
    g_visit = outer;
    EXPECT_TRUE(visit.visited) << Narrow(title);
}

void Visit(MainWindow& window, Command command, const wchar_t* title, std::function<void(HWND)> act) {
    Visit_During([&] { window.Run_Command(command); }, title, std::move(act));
}

bool Shot(HWND dialog, const char* path) {
    ::RedrawWindow(dialog, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    Pump(200);
    return Save_Window_Bitmap(dialog, path);
}

void Click(HWND dialog, int id) {
    ::SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(::GetDlgItem(dialog, id)));
}
std::string Item_Text(HWND dialog, int id) {
    wchar_t text[512] = {};
    ::GetDlgItemTextW(dialog, id, text, 512);
    return Narrow(text);
}

// Manage Computers: two computers added, the list and the tree follow, and the
// remote one's password is stored protected and Wine's CryptUnprotectData
// gives it back.
TEST_F(MainWindowGui, ManageComputersAddsToTheTreeAndProtectsThePassword) {
    ProgramRun run(folder_, messages_, false);
    ASSERT_NE(run.window, nullptr);
    int rows = 0;
    Visit(*run.window, Command::ManageComputers, L"Manage Computers - Corvane", [&](HWND dialog) {
        EXPECT_EQ(::SendDlgItemMessageW(dialog, IDC_TXT_PASSWORD, EM_GETPASSWORDCHAR, 0, 0), 0x2022);
        for (const int button : {IDC_CMD_IMPORT, IDC_CMD_EXPORT}) {
            EXPECT_NE(::SendDlgItemMessageW(dialog, button, BM_GETIMAGE, IMAGE_ICON, 0), 0) << button;
        }
        // Wine has no network browser: Browse says so and adds nothing.
        Click(dialog, IDC_CMD_BROWSE);
        EXPECT_EQ(messages_.shown.empty() ? "" : messages_.shown.back().text, "No browser servers found.");
        EXPECT_FALSE(::IsWindowVisible(::GetDlgItem(dialog, IDC_PIC_COMPUTER)));
        EXPECT_EQ(ListView_GetItemCount(::GetDlgItem(dialog, IDC_LVW_COMPUTER)), 0);
        ::SetDlgItemTextW(dialog, IDC_TXT_COMPUTER, L"localhost");
        Click(dialog, IDC_CMD_ADD);
        ::SetDlgItemTextW(dialog, IDC_TXT_COMPUTER, L"lab-pc09");
        ::SetDlgItemTextW(dialog, IDC_TXT_USER_NAME, L"admin");
        ::SetDlgItemTextW(dialog, IDC_TXT_PASSWORD, L"pw!9");
        Click(dialog, IDC_CMD_ADD);
        HWND list = ::GetDlgItem(dialog, IDC_LVW_COMPUTER);
        rows = ListView_GetItemCount(list);
        wchar_t text[64] = {};
        ListView_GetItemText(list, 1, 2, text, 64);
        EXPECT_EQ(std::wstring(text), L"\x2022\x2022\x2022\x2022");
        EXPECT_EQ(Item_Text(dialog, IDC_TXT_COMPUTER), "");
        // A click on the password cell lays the edit box over it with the password.
        RECT cell{};
        ListView_GetSubItemRect(list, 1, 2, LVIR_BOUNDS, &cell);
        const LPARAM point = MAKELPARAM(cell.left + 5, (cell.top + cell.bottom) / 2);
        ::SendMessageW(list, WM_LBUTTONDOWN, MK_LBUTTON, point);
        ::SendMessageW(list, WM_LBUTTONUP, 0, point);
        Pump(100);
        EXPECT_TRUE(::IsWindowVisible(::GetDlgItem(dialog, IDC_TXT_DUMMY)));
        EXPECT_EQ(Item_Text(dialog, IDC_TXT_DUMMY), "pw!9");
        EXPECT_TRUE(Shot(dialog, "dialog_computers.bmp"));
        Click(dialog, IDC_CMD_CLOSE);
    });
    EXPECT_EQ(rows, 2);
    CheckTree& computers = run.window->Computer_Tree();
    ASSERT_NE(computers.Find("mLAB-PC09"), kNoNode);
    ASSERT_NE(computers.Find("mLOCALHOST"), kNoNode);

    const auto stored = Query_Column(run.App().Db(), "SELECT CMP_PASSWORD FROM COMPUTER_TBL WHERE CMP_PASSWORD<>''");
    ASSERT_EQ(stored.size(), 1u);
    ASSERT_EQ(stored[0].rfind("DPAPI:", 0), 0u) << stored[0];
    const auto blob = Base64_Decode(stored[0].substr(6));
    ASSERT_TRUE(blob.has_value());
    const auto plain = Win32DataProtection().Unprotect(*blob);
    ASSERT_TRUE(plain.has_value());
    EXPECT_EQ(plain->View(), "pw!9");
}

// Exception List: internal entries listed, Add through the Add/Edit dialog.
TEST_F(MainWindowGui, ExceptionListShowsTheEntriesAndAddsOne) {
    ProgramRun run(folder_, messages_, false);
    ASSERT_NE(run.window, nullptr);
    int before = 0, after = 0;
    Visit(*run.window, Command::ExceptionList, L"Exception List - Corvane", [&](HWND dialog) {
        HWND list = ::GetDlgItem(dialog, IDC_LVW_EXCEPTIONS);
        before = ListView_GetItemCount(list);
        EXPECT_FALSE(::IsWindowEnabled(::GetDlgItem(dialog, IDC_EXC_EDIT)));
        for (const int button : {IDC_EXC_IMPORT, IDC_EXC_EXPORT}) {
            EXPECT_NE(::SendDlgItemMessageW(dialog, button, BM_GETIMAGE, IMAGE_ICON, 0), 0) << button;
        }
        Visit_During([&] { Click(dialog, IDC_EXC_ADD); }, L"Add Exceptions - Corvane",
                     [](HWND box) {
                         ::SetDlgItemTextW(box, IDC_TXT_EXCEPTION, L"software\\oldapp");
                         Click(box, IDOK);
                     });
        after = ListView_GetItemCount(list);
        EXPECT_TRUE(Shot(dialog, "dialog_exceptions.bmp"));
        Click(dialog, IDC_EXC_CLOSE);
    });
    EXPECT_GT(before, 0);
    EXPECT_EQ(after, before + 1);
    EXPECT_TRUE(Is_In_Exception_List(run.App().Db(), "HKEY_CURRENT_USER\\Software\\OldApp\\Settings"));
}

// Options: the stored extensions shown and a change saved; on the Backup page
// the restore dialog of the local computer lists the undo file of a registry
// fix next to the full backups, enables Restore for the selected row, and
// deletes the undo file with Delete.
TEST_F(MainWindowGui, OptionsSaveAndTheirRestoreDialogListsUndoFiles) {
    ProgramRun run(folder_, messages_, false);
    ASSERT_NE(run.window, nullptr);
    const std::string name = run.window->Get_Comp_Name();
    const std::string undoFolder =
        remote::Undo_Folder(remote::win32::NativeUserDataFolder().Local_Application_Data(), name);
    std::error_code ignored;
    std::filesystem::remove_all(Utf8_Path(undoFolder), ignored);
    Win32Clock clock;
    remote::UndoFile undo(undoFolder, clock);
    std::string failure;
    ASSERT_TRUE(undo.Append(remote::Parse_Reg_Text("Windows Registry Editor Version 5.00\r\n\r\n"
                                                   "[HKEY_CURRENT_USER\\Software\\CorvaneGuiTest]\r\n"
                                                   "\"Mode\"=\"on\"\r\n\"Count\"=dword:00000003\r\n")
                                .keys,
                            failure))
        << failure;
    std::int32_t mask = 0;
    std::string extensions;
    ASSERT_TRUE(Load_Settings(run.App().Db(), mask, extensions));
    Visit(*run.window, Command::Options, L"Options - Corvane", [&](HWND dialog) {
        EXPECT_EQ(Item_Text(dialog, IDC_TXT_EXTENSIONS), extensions);
        EXPECT_TRUE(Shot(dialog, "dialog_options.bmp"));
        ::SetDlgItemTextW(dialog, IDC_TXT_EXTENSIONS, L".bak;");
        Click(dialog, IDC_CMD_SAVE);
        HWND pages = ::GetDlgItem(dialog, IDC_TVW_OPTIONS);  // Options: General, Backup, Systemwide
        TreeView_SelectItem(pages, TreeView_GetNextSibling(pages, TreeView_GetChild(pages, TreeView_GetRoot(pages))));
        for (const int button : {IDC_CMD_BACKUP_REGISTRY, IDC_CMD_RESTORE_REGISTRY}) {
            HWND control = ::GetDlgItem(dialog, button);
            EXPECT_TRUE(::IsWindowVisible(control) && ::IsWindowEnabled(control)) << button;
        }
        EXPECT_TRUE(Shot(dialog, "dialog_options_backup.bmp"));
        const std::wstring title = L"Restore Registry - " + Widen(Item_Text(dialog, IDC_CBO_COMPUTERS)) + L" - Corvane";
        Visit_During([&] { Click(dialog, IDC_CMD_RESTORE_REGISTRY); }, title.c_str(),
                     [&](HWND box) {
                         HWND list = ::GetDlgItem(box, kRestoreList);
                         const int rows = ListView_GetItemCount(list);
                         EXPECT_TRUE(Shot(box, "dialog_restore_undo.bmp"));
                         // Restore follows the selection; Delete removes the undo file's row.
                         EXPECT_FALSE(::IsWindowEnabled(::GetDlgItem(box, kRestoreButton)));
                         ListView_SetItemState(list, rows - 1, LVIS_SELECTED | LVIS_FOCUSED,
                                               LVIS_SELECTED | LVIS_FOCUSED);
                         EXPECT_TRUE(::IsWindowEnabled(::GetDlgItem(box, kRestoreButton)));
                         Click(box, kRestoreDelete);
                         EXPECT_EQ(ListView_GetItemCount(list), rows - 1);
                         Click(box, kRestoreClose);
                     });
        Click(dialog, IDC_OPT_CLOSE);
    });
    EXPECT_TRUE(remote::List_Undo_Files(remote::win32::NativeUserDataFolder().Local_Application_Data(), name).empty());
    std::filesystem::remove_all(Utf8_Path(undoFolder), ignored);
    std::string saved;
    ASSERT_TRUE(Get_Extensions(run.App().Db(), saved));
    EXPECT_EQ(saved, ".bak;");
}

}  // namespace
}  // namespace corvane::win32

int main(int argc, char** argv) {
    // Without a window manager Wine draws the window frames itself.
    HKEY key = nullptr;
    if (::RegCreateKeyExW(HKEY_CURRENT_USER, L"Software\\Wine\\X11 Driver", 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key,
                          nullptr) == ERROR_SUCCESS) {
        ::RegSetValueExW(key, L"Managed", 0, REG_SZ, reinterpret_cast<const BYTE*>(L"N"), 4);
        ::RegCloseKey(key);
    }
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
