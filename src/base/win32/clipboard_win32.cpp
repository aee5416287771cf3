#include "base/win32/clipboard_win32.h"

#include <cstring>

#include "base/win32/wide_text.h"

namespace corvane::win32 {

namespace {

class ClipboardSession {
public:
    explicit ClipboardSession(HWND owner) {
        // Another program may hold the clipboard for a moment.
        for (int attempt = 0; attempt < 10 && !open_; ++attempt) {
            open_ = ::OpenClipboard(owner) != FALSE;
            if (!open_) ::Sleep(20);
        }
    }
    ~ClipboardSession() {
        if (open_) ::CloseClipboard();
    }
    ClipboardSession(const ClipboardSession&) = delete;
    ClipboardSession& operator=(const ClipboardSession&) = delete;
    [[nodiscard]] bool Is_Open() const noexcept { return open_; }

private:
    bool open_ = false;
};

}  // namespace

bool Win32Clipboard::Set_Text(std::string_view text) {
    const std::wstring wide = Widen(text);
    ClipboardSession session(owner_);
    if (!session.Is_Open() || !::EmptyClipboard()) return false;
    const std::size_t bytes = (wide.size() + 1) * sizeof(wchar_t);
    HGLOBAL memory = ::GlobalAlloc(GMEM_MOVEABLE, bytes);
    if (!memory) return false;
    void* target = ::GlobalLock(memory);
    if (!target) {
        ::GlobalFree(memory);
        return false;
    }
    std::memcpy(target, wide.c_str(), bytes);
    ::GlobalUnlock(memory);
    if (!::SetClipboardData(CF_UNICODETEXT, memory)) {
        ::GlobalFree(memory);
        return false;
    }
    return true;  // the clipboard owns the memory now
}

std::string Clipboard_Text(HWND owner) {
    ClipboardSession session(owner);
    if (!session.Is_Open()) return {};
    HANDLE data = ::GetClipboardData(CF_UNICODETEXT);
    if (!data) return {};
    const auto* text = static_cast<const wchar_t*>(::GlobalLock(data));
    if (!text) return {};
    std::string result = Narrow(text);
    ::GlobalUnlock(data);
    return result;
}

}  // namespace corvane::win32
