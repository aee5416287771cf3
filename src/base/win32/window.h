// A non-owning view of any window or control: the few calls every control
// shares (text, enabling, showing, placing, fonts, focus). Control wrappers
// derive from it; destroying the window stays with whoever created it.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

#include "app/win32/wide_text.h"

namespace corvane::win32 {

class Window {
public:
    Window() noexcept = default;
    explicit Window(HWND window) noexcept : window_(window) {}

    [[nodiscard]] HWND Handle() const noexcept { return window_; }
    void Attach(HWND window) noexcept { window_ = window; }
    explicit operator bool() const noexcept { return window_ != nullptr; }

    LRESULT Send(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const noexcept {
        return ::SendMessageW(window_, message, wParam, lParam);
    }

    [[nodiscard]] std::string Text() const {
        const int length = ::GetWindowTextLengthW(window_);
        if (length <= 0) return {};
        std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
        const int copied = ::GetWindowTextW(window_, text.data(), length + 1);
        text.resize(static_cast<std::size_t>(copied > 0 ? copied : 0));
        return Narrow(text);
    }
    void Set_Text(std::string_view text) const { ::SetWindowTextW(window_, Widen(text).c_str()); }

    void Enable(bool enabled) const noexcept { ::EnableWindow(window_, enabled ? TRUE : FALSE); }
    [[nodiscard]] bool Is_Enabled() const noexcept { return ::IsWindowEnabled(window_) != FALSE; }
    void Show(bool visible) const noexcept { ::ShowWindow(window_, visible ? SW_SHOW : SW_HIDE); }
    [[nodiscard]] bool Is_Visible() const noexcept { return ::IsWindowVisible(window_) != FALSE; }
    void Move(int left, int top, int width, int height, bool repaint = true) const noexcept {
        ::MoveWindow(window_, left, top, width, height, repaint ? TRUE : FALSE);
    }
    void Focus() const noexcept { ::SetFocus(window_); }
    void Set_Font(HFONT font, bool redraw = true) const noexcept {
        Send(WM_SETFONT, reinterpret_cast<WPARAM>(font), redraw ? TRUE : FALSE);
    }
    [[nodiscard]] HFONT Font() const noexcept { return reinterpret_cast<HFONT>(Send(WM_GETFONT)); }
    [[nodiscard]] RECT Client_Rect() const noexcept {
        RECT rect{};
        ::GetClientRect(window_, &rect);
        return rect;
    }
    [[nodiscard]] RECT Window_Rect() const noexcept {
        RECT rect{};
        ::GetWindowRect(window_, &rect);
        return rect;
    }

private:
    HWND window_ = nullptr;
};

}  // namespace corvane::win32
