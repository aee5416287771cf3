#include "periphery/win32/tray_icon.h"

#include <shellapi.h>

#include <cwchar>

#include "base/win32/wide_text.h"

namespace corvane::win32 {

namespace {

constexpr UINT kTrayIconId = 1;
constexpr UINT kFirstMenuCommand = 100;

void Copy_Text(wchar_t* field, std::size_t capacity, std::string_view text) {
    const std::wstring wide = Widen(text);
    const std::size_t length = std::min(wide.size(), capacity - 1);
    std::wmemset(field, L'\0', capacity);
    wide.copy(field, length);
}

}  // namespace

bool TrayIcon::Shell::Notify(TrayCommand command, const TrayIconData& data) {
    NOTIFYICONDATAW nid{};
    nid.cbSize = NOTIFYICONDATAW_V2_SIZE;  // 936 bytes: balloons, every NT-based system
    nid.hWnd = window;
    nid.uID = kTrayIconId;
    nid.uFlags = data.flags;
    nid.uCallbackMessage = data.callbackMessage;
    nid.hIcon = reinterpret_cast<HICON>(data.icon);
    Copy_Text(nid.szTip, std::size(nid.szTip), data.tip);
    Copy_Text(nid.szInfo, std::size(nid.szInfo), data.info);
    Copy_Text(nid.szInfoTitle, std::size(nid.szInfoTitle), data.infoTitle);
    if (command == TrayCommand::SetVersion) {
        nid.uVersion = data.version;
    } else {
        nid.uTimeout = data.timeout;
    }
    nid.dwInfoFlags = data.infoFlags;
    return ::Shell_NotifyIconW(static_cast<DWORD>(command), &nid) != FALSE;
}

TrayIcon::TrayIcon(HICON icon, std::string_view tip) {
    WNDCLASSEXW windowClass{};
    windowClass.lpszClassName = kTrayWindowClass;
    if (!Register_Window_Class(windowClass)) return;
    DWORD error = ERROR_SUCCESS;  // no icon is all a failure means here
    if (!Create_Window(0, kTrayWindowClass, L"Corvane tray", WS_POPUP, 0, 0, 0, 0, error)) return;
    shell_.window = window_.get();
    tray_ = std::make_unique<SysTray>(shell_, reinterpret_cast<std::uintptr_t>(icon), tip);
}

TrayIcon::~TrayIcon() {
    tray_.reset();  // removes the icon while the window still exists
    Unbind(window_.get());
}

LRESULT TrayIcon::Window_Message(UINT message, WPARAM wParam, LPARAM lParam) noexcept {
    if (tray_ && message == kTrayCallbackMessage) {
        try {
            // Version 3 gives the mouse message in lParam, version 4 in its low word.
            tray_->Notification(LOWORD(lParam));
        } catch (...) {
            // An event handler failed; the icon goes on.
        }
        return 0;
    }
    return ::DefWindowProcW(window_.get(), message, wParam, lParam);
}

HMENU TrayIcon::Build_Menu() const {
    HMENU menu = ::CreatePopupMenu();
    if (!menu || !tray_) return menu;
    const auto& items = tray_->Menu_Items();
    for (std::size_t i = 0; i < items.size(); ++i) {
        if (items[i].caption.empty()) continue;
        const std::wstring caption = Widen(items[i].caption);
        ::AppendMenuW(menu, MF_STRING | (items[i].enabled ? MF_ENABLED : MF_GRAYED),
                      kFirstMenuCommand + static_cast<UINT>(i), caption.c_str());
    }
    ::SetMenuDefaultItem(menu, kFirstMenuCommand + static_cast<UINT>(tray_->DefaultMenuIndex()), FALSE);
    return menu;
}

void TrayIcon::ShowMenu() {
    if (!window_ || !tray_) return;
    unique_hmenu menu(Build_Menu());
    if (!menu) return;
    ::SetForegroundWindow(window_.get());
    POINT cursor{};
    ::GetCursorPos(&cursor);
    const UINT chosen = static_cast<UINT>(::TrackPopupMenu(menu.get(), TPM_RIGHTBUTTON | TPM_RETURNCMD | TPM_NONOTIFY,
                                                           cursor.x, cursor.y, 0, window_.get(), nullptr));
    ::PostMessageW(window_.get(), WM_NULL, 0, 0);  // lets the menu close when the user clicks elsewhere
    if (chosen >= kFirstMenuCommand) tray_->Menu_Clicked(static_cast<int>(chosen - kFirstMenuCommand));
}

}  // namespace corvane::win32
