// The notification-area icon on Windows: a hidden window (frmSysTray's) that
// receives the shell's callback messages, Shell_NotifyIconW with the wide
// structure, and the popup menu. The behaviour (texts, menu items, events)
// is SysTray's.
#pragma once

#include <windows.h>

#include <memory>
#include <string_view>

#include "base/win32/unique_any.h"
#include "base/win32/window_base.h"
#include "periphery/sys_tray.h"

namespace corvane::win32 {

inline constexpr wchar_t kTrayWindowClass[] = L"CorvaneSysTray";

class TrayIcon : public WindowBase<TrayIcon> {
public:
    // Creates the hidden window and adds the icon; Tray() is null when the
    // window could not be created (the program then runs without an icon).
    TrayIcon(HICON icon, std::string_view tip);
    ~TrayIcon();
    TrayIcon(const TrayIcon&) = delete;
    TrayIcon& operator=(const TrayIcon&) = delete;

    [[nodiscard]] SysTray* Tray() noexcept { return tray_.get(); }
    [[nodiscard]] HWND Window() const noexcept { return window_.get(); }
    // Brings the hidden window to the foreground and tracks the popup menu
    // with the right button; the chosen item becomes a MenuClick event.
    void ShowMenu();
    // The menu as it would be shown (tests read it back).
    [[nodiscard]] HMENU Build_Menu() const;

private:
    class Shell final : public INotifyIconShell {
    public:
        bool Notify(TrayCommand command, const TrayIconData& data) override;
        HWND window = nullptr;
    };
    friend class WindowBase<TrayIcon>;
    void Window_Attached(HWND window) noexcept { window_.reset(window); }
    // Windows is destroying the window: the handle is no longer ours to destroy.
    void Window_Detached() noexcept { (void)window_.release(); }
    LRESULT Window_Message(UINT message, WPARAM wParam, LPARAM lParam) noexcept;

    unique_hwnd window_;
    Shell shell_;
    std::unique_ptr<SysTray> tray_;
};

}  // namespace corvane::win32
