// The main window under Wine (a display is needed: ctest under xvfb-run): what
// only the window does with the presenter's decisions (pixels, controls, mouse
// clicks, menus, the notification-area icon, the registry editor), and the
// screenshot main_window.bmp (artifacts/main_window.png). Dialogs: dialogs_gui_test.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <array>
#include <functional>
#include <string>

#include "app/win32/check_tree_view.h"
#include "app/win32/image_library.h"
#include "app/win32/main_window_ids.h"
#include "base/ui/results_list_ops.h"
#include "db/app_tables.h"
#include "gui_program.h"
#include "periphery/win32/tray_icon.h"
#include "support/result_rows.h"

namespace corvane::win32 {
namespace {

using namespace corvane::testing;

class MainWindowGui : public GuiProgramTest {};

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

// The first start at the defaults, then a restart: the layout, font and
// categories survive, stored in twips.
TEST_F(MainWindowGui, FirstStartDefaultsThenLayoutFontAndCategoriesSurviveARestart) {
    int dpi = 96;
    {
        ProgramRun run(folder_, messages_);
        HDC dc = ::GetDC(run.handle);
        dpi = ::GetDeviceCaps(dc, LOGPIXELSX);
        ::ReleaseDC(run.handle, dc);
        const MainWindow::Controls c = run.window->Control_Handles();
        // The first start's twips reach the controls as pixels at this DPI.
        EXPECT_EQ(Window_Rect(run.handle).left, ::MulDiv(3500, dpi, 1440));

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

        EXPECT_EQ(run.window->Images().Missing(), "");  // every picture the program names was loaded

        run.window->Run_Command(Command::FontLarge);
        ::MoveWindow(run.handle, 40, 30, 900, 700, TRUE);
        ListView_SetColumnWidth(c.list, 3, 410);

        // Check "Registry Clean Up" with the mouse: its categories follow.
        Click_Tree_Check_Box(c.categoryTree, run.window->Category_View().Item(Category_Node(run, "gR")));
        EXPECT_TRUE(Tree_Item_Checked(c.categoryTree, run.window->Category_View().Item(Category_Node(run, "fA"))));
        EXPECT_TRUE(run.Close());
    }
    // Pixels stored as twips.
    Win32SettingsStore stored(kSettingsRoot);
    EXPECT_EQ(stored.GetSetting("MainWindow", "WindowLeft", ""), std::to_string(::MulDiv(40, 1440, dpi)));
    EXPECT_EQ(stored.GetSetting("RightPane", "CH4", ""), std::to_string(::MulDiv(410, 1440, dpi)));
    ProgramRun again(folder_, messages_);
    const MainWindow::Controls c = again.window->Control_Handles();
    EXPECT_EQ(again.window->Font_Size(), 10);
    EXPECT_TRUE(::GetMenuState(c.menu, Command_Id(static_cast<int>(Command::FontLarge)), MF_BYCOMMAND) & MF_CHECKED);
    EXPECT_EQ(ListView_GetColumnWidth(c.list, 3), 410);
    const CheckTree& categories = again.window->Category_Tree();
    EXPECT_EQ(categories.Count_Checked_Nodes(), 13);
    EXPECT_TRUE(Tree_Item_Checked(c.categoryTree, again.window->Category_View().Item(categories.Find("gR"))));
    const RECT outer = Window_Rect(again.handle);
    EXPECT_EQ((std::array{outer.left, outer.top, outer.right - outer.left, outer.bottom - outer.top}),
              (std::array<LONG, 4>{40, 30, 900, 700}));
}

// A filled list, photographed for the build's artifacts, then driven with
// the mouse and the context menu.
TEST_F(MainWindowGui, AFilledListItsCheckBoxesTheCloseQuestionAndTheContextMenu) {
    {
        Reporter reporter(messages_);
        Database db(reporter);
        ASSERT_TRUE(db.Open_Database(folder_ + "\\nwcvninfo.dll"));
        ASSERT_TRUE(Add_Computer(db, Win32Platform().Computer_Name(), "", ""));
        ASSERT_TRUE(Add_Computer(db, "LAB-PC07", "admin", ""));
    }
    ProgramRun run(folder_, messages_, false);
    ::MoveWindow(run.handle, 20, 20, 1180, 760, TRUE);
    const MainWindow::Controls c = run.window->Control_Handles();
    const std::string local = run.window->Get_Comp_Name();
    ResultsList& results = run.window->Results();
    run.window->Presenter().Category_Node_Checked(run.window->Category_Tree().Find("gR"), true);
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
    Add_Error_Row(results, "LAB-PC07", "The RPC server is unavailable.").checked = false;  // row 14
    run.window->Set_Status_Text(Total_Problems_Text(11));
    Pump(300);  // rows added at the end reach the control within 40 ms
    EXPECT_TRUE(Save_Window_Bitmap(run.handle, "main_window.bmp"));
    EXPECT_EQ(ListView_GetItemCount(c.list), 15);

    // A click on the header's box reaches its rows.
    Click_List_Check_Box(c.list, 0);
    EXPECT_FALSE(List_Row_Checked(c.list, 2));

    // The context menu: Copy puts the list on the clipboard; Add To Exception
    // List takes the selected problem rows out of the list.
    run.window->Run_Context_Command(kContextCopyToClipboard);
    EXPECT_EQ(Clipboard_Text(run.handle), Results_Clipboard_Text(results));
    ListView_SetItemState(c.list, -1, LVIS_SELECTED, LVIS_SELECTED);
    run.window->Run_Context_Command(kContextAddToException);
    EXPECT_EQ(ListView_GetItemCount(c.list), 4);  // the headers and the error row
}

// Minimizing hides the window; a double click on the icon brings it back.
TEST_F(MainWindowGui, NotificationAreaIconRestoresTheWindow) {
    ProgramRun run(folder_, messages_);
    TrayIcon* tray = run.window->Tray();
    ASSERT_TRUE(tray != nullptr && tray->Tray() != nullptr);
    ::ShowWindow(run.handle, SW_MINIMIZE);
    Pump(100);
    EXPECT_FALSE(::IsWindowVisible(run.handle));
    ::SendMessageW(tray->Window(), kTrayCallbackMessage, 0, MAKELPARAM(WM_LBUTTONDBLCLK, 1));
    Pump(100);
    EXPECT_TRUE(::IsWindowVisible(run.handle));
    EXPECT_FALSE(::IsIconic(run.handle));
}

TEST_F(MainWindowGui, MessagePumpRunsOnlyWhenInputOrPaintingWaitsAndReachesSkipAndCancel) {
    ProgramRun run(folder_, messages_);
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

// The registry editor of this Wine prefix, driven to a key and value; a
// remote computer's row opens nothing.
TEST_F(MainWindowGui, OpenRegistryKeyDrivesTheRegistryEditor) {
    ASSERT_EQ(::RegSetKeyValueW(HKEY_LOCAL_MACHINE, L"Software\\CorvaneGuiTest\\Delta_2", L"Gamma", REG_SZ, L"x", 4),
              ERROR_SUCCESS);
    {
        ProgramRun run(folder_, messages_);
        ResultsList& results = run.window->Results();
        Add_Registry_Row(results, 0, "Gamma", "Software\\CorvaneGuiTest\\Delta_2", run.window->Get_Comp_Name());
        Add_Registry_Row(results, 1, "Gamma", "Software\\CorvaneGuiTest\\Delta_2", "REMOTE7");

        run.window->Open_Key_Of_Row(1);
        EXPECT_EQ(::FindWindowW(kRegEditClass, nullptr), nullptr);
        run.window->Open_Key_Of_Row(0);
        HWND editor = ::FindWindowW(kRegEditClass, nullptr);
        ASSERT_NE(editor, nullptr) << "regedit did not start";
        EXPECT_EQ(Editor_Selected_Key(Find_Descendant(editor, L"SysTreeView32")),
                  "HKEY_LOCAL_MACHINE\\Software\\CorvaneGuiTest\\Delta_2");
        EXPECT_TRUE(messages_.shown.empty());

        DWORD processId = 0;
        ::GetWindowThreadProcessId(editor, &processId);
        unique_handle process(::OpenProcess(SYNCHRONIZE, FALSE, processId));
        ::SendMessageW(editor, WM_CLOSE, 0, 0);
        if (process) ::WaitForSingleObject(process.get(), 5000);
    }
    ::RegDeleteTreeW(HKEY_LOCAL_MACHINE, L"Software\\CorvaneGuiTest");
}

}  // namespace
}  // namespace corvane::win32

int main(int argc, char** argv) {
    // Without a window manager Wine draws the window frames itself.
    ::RegSetKeyValueW(HKEY_CURRENT_USER, L"Software\\Wine\\X11 Driver", L"Managed", REG_SZ, L"N", 4);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
