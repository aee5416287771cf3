// The progress bar (msctls_progress32): range and position.
#pragma once

#include <commctrl.h>

#include "base/win32/window.h"

namespace corvane::win32 {

class ProgressBar : public Window {
public:
    using Window::Window;

    void Set_Range32(int minimum, int maximum) const noexcept {
        Send(PBM_SETRANGE32, static_cast<WPARAM>(minimum), maximum);
    }
    void Set_Pos(int position) const noexcept { Send(PBM_SETPOS, static_cast<WPARAM>(position)); }
    [[nodiscard]] int Get_Pos() const noexcept { return static_cast<int>(Send(PBM_GETPOS)); }
};

}  // namespace corvane::win32
