#include "base/win32/dialog.h"

#include <algorithm>

#include "base/win32/window_guard.h"

namespace corvane::win32 {

INT_PTR Dialog::Run_Modal(HWND owner, int templateId) {
    return ::DialogBoxParamW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(templateId), owner, &Dialog::Procedure,
                             reinterpret_cast<LPARAM>(this));
}

INT_PTR CALLBACK Dialog::Procedure(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
    auto* self = reinterpret_cast<Dialog*>(::GetWindowLongPtrW(dialog, DWLP_USER));
    if (message == WM_INITDIALOG) {
        self = reinterpret_cast<Dialog*>(lParam);
        ::SetWindowLongPtrW(dialog, DWLP_USER, lParam);
        self->dialog_ = dialog;
    }
    // Messages before WM_INITDIALOG (WM_SETFONT) find no dialog yet.
    if (!self) return FALSE;
    if (message == WM_NCDESTROY) {
        ::SetWindowLongPtrW(dialog, DWLP_USER, 0);
        self->dialog_ = nullptr;
        return FALSE;
    }
    return Call_Guarded(self->reporter_, self->where_, INT_PTR{FALSE},
                        [&] { return self->Dispatch(message, wParam, lParam); });
}

INT_PTR Dialog::Dispatch(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_INITDIALOG: return On_Init() ? TRUE : FALSE;
        case WM_COMMAND: {
            const int id = LOWORD(wParam);
            if (On_Command(id, HIWORD(wParam), reinterpret_cast<HWND>(lParam))) return TRUE;
            if (id == IDCANCEL) {
                if (On_Close()) End(IDCANCEL);
                return TRUE;
            }
            return FALSE;
        }
        case WM_CLOSE:
            // The close box, handled here so that it takes the same path as Escape.
            if (On_Close()) End(IDCANCEL);
            return TRUE;
        case WM_NOTIFY: {
            LRESULT result = 0;
            if (!On_Notify(*reinterpret_cast<const NMHDR*>(lParam), result)) return FALSE;
            ::SetWindowLongPtrW(dialog_, DWLP_MSGRESULT, result);
            return TRUE;
        }
        case WM_SIZE: On_Size(LOWORD(lParam), HIWORD(lParam)); return TRUE;
        default: {
            INT_PTR result = FALSE;
            return On_Message(message, wParam, lParam, result) ? result : FALSE;
        }
    }
}

bool Color_Link_Label(UINT message, WPARAM wParam, LPARAM lParam, std::initializer_list<int> linkIds, INT_PTR& result) {
    if (message != WM_CTLCOLORSTATIC) return false;
    const int id = ::GetDlgCtrlID(reinterpret_cast<HWND>(lParam));
    if (std::find(linkIds.begin(), linkIds.end(), id) == linkIds.end()) return false;
    auto dc = reinterpret_cast<HDC>(wParam);
    ::SetTextColor(dc, RGB(0, 0, 204));
    ::SetBkMode(dc, TRANSPARENT);
    result = reinterpret_cast<INT_PTR>(::GetSysColorBrush(COLOR_BTNFACE));
    return true;
}

}  // namespace corvane::win32
