// A full backup of the Wine computer made by Wine's own registry editor and
// command interpreter, then listed, restored after a change (the change is
// gone) and deleted, through the restore dialog's logic.
#include <windows.h>

#include "backup/restore_presenter.h"
#include "backup_scene.h"
#include "base/win32/clock_win32.h"
#include "remote/win32/native_ports.h"
#include "remote/win32/windows_locator.h"

namespace corvane::testing {
namespace {

constexpr const wchar_t* kScratchKey = L"Software\\CorvaneBackupTest";

void Set_Scratch(const std::wstring& text) {
    const auto bytes = static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t));
    ASSERT_EQ(RegSetKeyValueW(HKEY_LOCAL_MACHINE, kScratchKey, L"Value", REG_SZ, text.c_str(), bytes), ERROR_SUCCESS);
}

std::wstring Scratch() {
    wchar_t buffer[64] = {};
    DWORD size = sizeof buffer;
    (void)RegGetValueW(HKEY_LOCAL_MACHINE, kScratchKey, L"Value", RRF_RT_REG_SZ, nullptr, buffer, &size);
    return buffer;
}

TEST(BackupOnWine, FullBackupListedRestoredAfterAChangeAndDeleted) {
    remote::win32::WindowsLocator locator;
    remote::win32::NativeShareLister shares;
    remote::win32::NativeLocalRegistry localRegistry;
    remote::win32::NativeLocalSystem localSystem;
    win32::Win32Clock clock;
    FakeMessageBox messages;
    Reporter reporter(messages);
    const remote::RemotePorts ports{locator, reporter, clock, shares, localRegistry, localSystem};
    FakeProgressPanel progress;
    const backup::BackupComputer computer{"LOCALHOST", "", Secret()};

    Set_Scratch(L"before");
    ASSERT_TRUE(backup::Create_Full_Backup(computer, {ports, progress}))
        << (messages.shown.empty() ? "" : messages.shown.back().text);
    Set_Scratch(L"after");

    FakeRestoreView view;
    FakeShell shell;
    backup::RestorePresenter presenter(backup::RestoreMode::Registry, computer, ports, view, progress, shell);
    presenter.Load();
    ASSERT_EQ(view.rows.size(), 1u);
    EXPECT_EQ(view.rows[0].text, "cvnfullbackup.reg");
    view.selected = 0;
    presenter.Restore_Clicked();
    EXPECT_EQ(messages.shown.back().text, "Registry Restored successfully.");
    EXPECT_EQ(Scratch(), L"before");

    view.selected = 0;
    presenter.Delete_Clicked();
    EXPECT_EQ(messages.shown.back().text, "Registry backup file deleted successfully.");
    EXPECT_EQ(GetFileAttributesW(L"C:\\windows\\CVNBackup\\CVNFullBackup.reg"), INVALID_FILE_ATTRIBUTES);
    RegDeleteTreeW(HKEY_LOCAL_MACHINE, kScratchKey);
    RemoveDirectoryW(L"C:\\windows\\CVNBackup");
}

}  // namespace
}  // namespace corvane::testing
