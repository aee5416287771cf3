// What the main window's and the dialogs' tests under Wine share: one run of
// the program with its main window, and a fixture with a scratch program
// folder holding the installed database and a per-user settings key of its
// own. A display is needed (ctest under xvfb-run); without one the tests skip.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <fstream>
#include <stdexcept>
#include <string>

#include "app/application.h"
#include "app/win32/main_window.h"
#include "base/file_path.h"
#include "base/win32/clock_win32.h"
#include "base/win32/data_protection_win32.h"
#include "base/win32/platform_win32.h"
#include "base/win32/settings_store_win32.h"
#include "base/win32/unique_any.h"
#include "db/password_codec.h"
#include "support/fakes.h"
#include "support/temp_folder.h"
#include "support/test_database.h"
#include "support/win32/gui_pump.h"

namespace corvane::win32 {

inline constexpr wchar_t kSettingsRoot[] = L"Software\\CorvaneGuiTest";

// One run of the program: Main with the real platform (program folder = the
// scratch folder holding the database) and the main window, until closed.
// Without a window it throws, and the test fails there.
class ProgramRun {
public:
    ProgramRun(const std::string& folder, testing::FakeMessageBox& messages, bool balloon = true)
        : platform_(folder), app_(platform_, clock_, messages) {
        app_.Db().Attach_Password_Codec(&passwords_);
        app_.Main([this, balloon](Application& app) {
            MainWindowOptions options;
            options.settingsRoot = kSettingsRoot;
            options.showBalloon = balloon;
            window = MainWindow::Create(app, options);
        });
        if (!window) throw std::runtime_error("the main window was not created");
        handle = window->Handle();
        testing::Pump(400);  // shown, and the one-shot timer has restored the categories
    }
    ~ProgramRun() {
        if (::IsWindow(handle)) Close();
    }
    // WM_CLOSE as the close box sends it; true when the window is gone.
    bool Close() {
        ::SendMessageW(handle, WM_CLOSE, 0, 0);
        testing::Pump(100);
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

class GuiProgramTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (!testing::Have_Display()) GTEST_SKIP() << "CORVANE-GUI-SKIPPED: no display (run ctest under xvfb-run)";
        ::RegDeleteTreeW(HKEY_CURRENT_USER, kSettingsRoot);
        folder_ = Path_Utf8(temp_.Path());
        testing::Create_Installed_Database(folder_ + "\\nwcvninfo.dll");
    }
    void TearDown() override { ::RegDeleteTreeW(HKEY_CURRENT_USER, kSettingsRoot); }

    testing::TempFolder temp_;
    std::string folder_;
    testing::FakeMessageBox messages_;
};

inline RECT Window_Rect(HWND window) {
    RECT rect{};
    ::GetWindowRect(window, &rect);
    return rect;
}

// Writes the client area and frame of the window as a 24-bit BMP.
inline bool Save_Window_Bitmap(HWND window, const char* path) {
    const RECT rect = Window_Rect(window);
    // 24 bits a pixel, uncompressed.
    BITMAPINFOHEADER info{
        sizeof(BITMAPINFOHEADER), rect.right - rect.left, rect.bottom - rect.top, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
    HDC screen = ::GetDC(nullptr);
    HDC memory = ::CreateCompatibleDC(screen);
    unique_hbitmap bitmap(::CreateCompatibleBitmap(screen, info.biWidth, info.biHeight));
    HGDIOBJ old = ::SelectObject(memory, bitmap.get());
    ::BitBlt(memory, 0, 0, info.biWidth, info.biHeight, screen, rect.left, rect.top, SRCCOPY);
    ::SelectObject(memory, old);
    const int stride = (info.biWidth * 3 + 3) / 4 * 4;
    std::string pixels(static_cast<std::size_t>(stride) * static_cast<std::size_t>(info.biHeight), '\0');
    const int lines = ::GetDIBits(memory, bitmap.get(), 0, static_cast<UINT>(info.biHeight), pixels.data(),
                                  reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS);
    ::DeleteDC(memory);
    ::ReleaseDC(nullptr, screen);
    if (lines != info.biHeight) return false;
    const DWORD offset = sizeof(BITMAPFILEHEADER) + sizeof(info);
    const BITMAPFILEHEADER file{0x4D42, offset + static_cast<DWORD>(pixels.size()), 0, 0, offset};  // "BM"
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(&file), sizeof(file));
    out.write(reinterpret_cast<const char*>(&info), sizeof(info));
    out.write(pixels.data(), static_cast<std::streamsize>(pixels.size()));
    return static_cast<bool>(out);
}

}  // namespace corvane::win32
