// The clipboard's text on Windows (CF_UNICODETEXT), owned by the given window.
#pragma once

#include <windows.h>

#include "base/ports/clipboard.h"

namespace corvane::win32 {

class Win32Clipboard final : public IClipboard {
public:
    explicit Win32Clipboard(HWND owner = nullptr) : owner_(owner) {}
    void Set_Owner(HWND owner) noexcept { owner_ = owner; }
    bool Set_Text(std::string_view text) override;

private:
    HWND owner_;
};

// CF_UNICODETEXT of the clipboard as UTF-8; empty when there is none.
[[nodiscard]] std::string Clipboard_Text(HWND owner);

}  // namespace corvane::win32
