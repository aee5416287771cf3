// The restore dialog as a user meets it, under Wine (a display is needed:
// ctest under xvfb-run), over a simulated computer: its title and list, the
// Restore button following the selection, a deletion through the Delete
// button, and Cancel closing it.
#include <windows.h>
#include <commctrl.h>

#include <cstdlib>

#include "backup/win32/restore_dialog.h"
#include "backup_scene.h"

namespace corvane::testing {
namespace {

// What the timer saw inside the modal dialog, one text.
std::wstring* g_seen = nullptr;

void CALLBACK Drive_Dialog(HWND, UINT, UINT_PTR timer, DWORD) {
    ::KillTimer(nullptr, timer);
    HWND dialog = ::FindWindowW(L"#32770", nullptr);
    HWND list = ::GetDlgItem(dialog, win32::kRestoreList);
    const auto restoreEnabled = [&] {
        return ::IsWindowEnabled(::GetDlgItem(dialog, win32::kRestoreButton)) ? L"on" : L"off";
    };
    wchar_t title[128] = {};
    ::GetWindowTextW(dialog, title, 128);
    *g_seen = title + (L" rows " + std::to_wstring(ListView_GetItemCount(list))) + L" restore " + restoreEnabled();
    ListView_SetItemState(list, 0, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    *g_seen += L" then " + std::wstring(restoreEnabled());
    ::SendMessageW(::GetDlgItem(dialog, win32::kRestoreDelete), BM_CLICK, 0, 0);
    *g_seen += L" rows " + std::to_wstring(ListView_GetItemCount(list));
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
    for (const char* name : {"CVNFullBackup.reg", "CVNFullBackup2.reg"}) {
        scene.server.files.Add_File(BackupScene::kFolder + std::string(name), 4096);
    }
    FakeShell shell;
    std::wstring seen;
    g_seen = &seen;
    ::SetTimer(nullptr, 0, 300, &Drive_Dialog);
    win32::Show_Restore_Dialog(nullptr, backup::RestoreMode::Registry, scene.computer, scene.ports, shell);
    g_seen = nullptr;

    EXPECT_EQ(seen, L"Restore Registry - SERVER1 - Corvane rows 2 restore off then on rows 1");
    EXPECT_EQ(scene.Last_Message(), "Registry backup file deleted successfully.");
}

}  // namespace
}  // namespace corvane::testing
