// The status bar (msctls_statusbar32): its parts and their texts.
// Quirk: the text of a part that does not exist yet is dropped, so set the
// parts first.
#pragma once

#include <commctrl.h>

#include <span>
#include <string>
#include <string_view>

#include "base/win32/window.h"

namespace corvane::win32 {

class StatusBar : public Window {
public:
    using Window::Window;

    // Right edges of the parts in pixels; -1 runs to the window's edge.
    bool Set_Parts(std::span<const int> rightEdges) const noexcept {
        return Send(SB_SETPARTS, rightEdges.size(), reinterpret_cast<LPARAM>(rightEdges.data())) != 0;
    }
    bool Set_Text(int part, std::string_view text) const {
        const std::wstring wide = Widen(text);
        return Send(SB_SETTEXTW, static_cast<WPARAM>(part), reinterpret_cast<LPARAM>(wide.c_str())) != 0;
    }
    [[nodiscard]] std::string Text(int part) const {
        const auto length = LOWORD(Send(SB_GETTEXTLENGTHW, static_cast<WPARAM>(part)));
        std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
        Send(SB_GETTEXTW, static_cast<WPARAM>(part), reinterpret_cast<LPARAM>(text.data()));
        return Narrow_Buffer(text.data(), text.size());
    }
    // Lets the bar place itself at the bottom of its parent.
    void Reposition() const noexcept { Send(WM_SIZE); }
};

}  // namespace corvane::win32
