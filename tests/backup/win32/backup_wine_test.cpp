// The Wine computer: its icacls is a stub, so no backup is written into the
// folder it leaves open. A backup put there by hand is listed, restored through
// Wine's own cmd and reg import (the change and the result marker gone), its
// exit code seen when reg import refuses a file, and deleted.
#include <windows.h>

#include <filesystem>
#include <fstream>

#include "backup/restore_presenter.h"
#include "backup_scene.h"
#include "base/win32/clock_win32.h"
#include "remote/win32/native_ports.h"
#include "remote/win32/windows_locator.h"

namespace corvane::testing {
namespace {

constexpr const wchar_t* kScratchKey = L"Software\\CorvaneBackupTest";

std::wstring Scratch() {
    wchar_t buffer[64] = {};
    DWORD size = sizeof buffer;
    (void)RegGetValueW(HKEY_LOCAL_MACHINE, kScratchKey, L"Value", RRF_RT_REG_SZ, nullptr, buffer, &size);
    return buffer;
}

void Write_Backup(const char* text) {
    std::filesystem::create_directory(L"C:\\windows\\CVNBackup");
    std::ofstream(std::filesystem::path(L"C:\\windows\\CVNBackup\\CVNFullBackup.reg"), std::ios::binary) << text;
}

TEST(BackupOnWine, NoBackupIntoAnOpenFolderAndARestoreReportsItsResult) {
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

    EXPECT_FALSE(backup::Create_Full_Backup(computer, {ports, progress}));
    ASSERT_FALSE(messages.shown.empty());
    EXPECT_NE(messages.shown.back().text.find("could not be made readable by administrators only"), std::string::npos)
        << messages.shown.back().text;
    EXPECT_EQ(GetFileAttributesW(L"C:\\windows\\CVNBackup\\CVNFullBackup.new"), INVALID_FILE_ATTRIBUTES);

    ASSERT_EQ(RegSetKeyValueW(HKEY_LOCAL_MACHINE, kScratchKey, L"Value", REG_SZ, L"after", sizeof L"after"),
              ERROR_SUCCESS);
    Write_Backup("REGEDIT4\r\n\r\n[HKEY_LOCAL_MACHINE\\Software\\CorvaneBackupTest]\r\n\"Value\"=\"before\"\r\n");
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
    EXPECT_EQ(GetFileAttributesW(L"C:\\windows\\CVNBackup\\CVNRestoreResult.0"), INVALID_FILE_ATTRIBUTES);

    // reg import refuses a file that is no registry file: its exit code is seen.
    Write_Backup("This is no registry file.\r\n");
    view.selected = 0;
    presenter.Restore_Clicked();
    EXPECT_EQ(messages.shown.back().text.substr(0, 55), "The registry import completed with errors (exit code 1)");

    view.selected = 0;
    presenter.Delete_Clicked();
    EXPECT_EQ(messages.shown.back().text, "Registry backup file deleted successfully.");
    EXPECT_EQ(GetFileAttributesW(L"C:\\windows\\CVNBackup\\CVNFullBackup.reg"), INVALID_FILE_ATTRIBUTES);
    RegDeleteTreeW(HKEY_LOCAL_MACHINE, kScratchKey);
    RemoveDirectoryW(L"C:\\windows\\CVNBackup");
}

}  // namespace
}  // namespace corvane::testing
