// The restore dialog as a user meets it, under Wine (a display is needed:
// ctest under xvfb-run), over a simulated computer: its title and list, the
// buttons following the selection, a deletion through the Delete button,
// and Escape closing it.
#include <windows.h>
#include <commctrl.h>

#include <cstdlib>

#include "backup/win32/restore_dialog.h"
#include "backup_scene.h"

namespace corvane::testing {
namespace {

// What the timer saw inside the modal dialog.
struct Seen {
    std::wstring title;
    int rowsAtOpen = -1;
    bool restoreEnabledAtOpen = true;
    bool restoreEnabledAfterSelecting = false;
    int rowsAfterDelete = -1;
};
Seen* g_seen = nullptr;

void CALLBACK Drive_Dialog(HWND, UINT, UINT_PTR timer, DWORD) {
    ::KillTimer(nullptr, timer);
    HWND dialog = ::FindWindowW(L"#32770", nullptr);
    if (dialog == nullptr) return;
    HWND list = ::GetDlgItem(dialog, win32::kRestoreList);
    wchar_t title[128] = {};
    ::GetWindowTextW(dialog, title, 128);
    g_seen->title = title;
    g_seen->rowsAtOpen = ListView_GetItemCount(list);
    g_seen->restoreEnabledAtOpen = ::IsWindowEnabled(::GetDlgItem(dialog, win32::kRestoreButton)) != FALSE;
    ListView_SetItemState(list, 0, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    g_seen->restoreEnabledAfterSelecting = ::IsWindowEnabled(::GetDlgItem(dialog, win32::kRestoreButton)) != FALSE;
    ::SendMessageW(::GetDlgItem(dialog, win32::kRestoreDelete), BM_CLICK, 0, 0);
    g_seen->rowsAfterDelete = ListView_GetItemCount(list);
    ::SendMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
}

TEST(RestoreDialogGui, ListsSelectsDeletesAndCloses) {
    const char* display = std::getenv("DISPLAY");
    if (display == nullptr || *display == '\0') {
        GTEST_SKIP() << "CORVANE-GUI-SKIPPED: no display (run ctest under xvfb-run)";
    }
    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_LISTVIEW_CLASSES | ICC_PROGRESS_CLASS};
    ::InitCommonControlsEx(&controls);
    BackupScene scene;
    scene.server.files.Add_File(std::string(BackupScene::kFolder) + "CVNFullBackup.reg", 4096);
    scene.server.files.Add_File(std::string(BackupScene::kFolder) + "CVNFullBackup2.reg", 4096);
    FakeShell shell;
    Seen seen;
    g_seen = &seen;
    ::SetTimer(nullptr, 0, 300, &Drive_Dialog);
    win32::Show_Restore_Dialog(nullptr, backup::RestoreMode::Registry, scene.computer, scene.ports, shell);
    g_seen = nullptr;

    EXPECT_EQ(seen.title, L"Restore Registry - SERVER1 - Corvane");
    EXPECT_EQ(seen.rowsAtOpen, 2);
    EXPECT_FALSE(seen.restoreEnabledAtOpen);
    EXPECT_TRUE(seen.restoreEnabledAfterSelecting);
    EXPECT_EQ(seen.rowsAfterDelete, 1);
    EXPECT_EQ(scene.Last_Message(), "Registry backup file deleted successfully.");
}

}  // namespace
}  // namespace corvane::testing
