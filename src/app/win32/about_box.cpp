#include "app/win32/about_box.h"

#include "app/application.h"
#include "app/main_window_commands.h"
#include "base/win32/shell_win32.h"
#include "base/win32/unique_any.h"
#include "base/win32/wide_text.h"
#include "base/win32/settings_store_win32.h"
#include "periphery/web_addresses.h"

namespace corvane::win32 {

namespace {

struct AboutState {
    unique_hfont titleFont;
    unique_hfont linkFont;
};

unique_hfont Derived_Font(HWND control, bool bold, bool underline, int scalePercent) {
    LOGFONTW face{};
    auto font = reinterpret_cast<HFONT>(::SendMessageW(control, WM_GETFONT, 0, 0));
    if (!font || !::GetObjectW(font, sizeof(face), &face)) return {};
    if (bold) face.lfWeight = FW_BOLD;
    face.lfUnderline = underline ? TRUE : FALSE;
    face.lfHeight = face.lfHeight * scalePercent / 100;
    return unique_hfont(::CreateFontIndirectW(&face));
}

INT_PTR CALLBACK About_Procedure(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
    auto* state = reinterpret_cast<AboutState*>(::GetWindowLongPtrW(dialog, DWLP_USER));
    switch (message) {
        case WM_INITDIALOG: {
            state = new AboutState;
            ::SetWindowLongPtrW(dialog, DWLP_USER, reinterpret_cast<LONG_PTR>(state));
            ::SetDlgItemTextW(dialog, kAboutVersion, Widen(Get_Version_String()).c_str());
            state->titleFont = Derived_Font(::GetDlgItem(dialog, kAboutProduct), true, false, 150);
            state->linkFont = Derived_Font(::GetDlgItem(dialog, kAboutWebLink), false, true, 100);
            ::SendDlgItemMessageW(dialog, kAboutProduct, WM_SETFONT, reinterpret_cast<WPARAM>(state->titleFont.get()), TRUE);
            ::SendDlgItemMessageW(dialog, kAboutWebLink, WM_SETFONT, reinterpret_cast<WPARAM>(state->linkFont.get()), TRUE);
            ::SendDlgItemMessageW(dialog, kAboutMailLink, WM_SETFONT, reinterpret_cast<WPARAM>(state->linkFont.get()), TRUE);
            return TRUE;
        }
        case WM_CTLCOLORSTATIC: {
            const int id = ::GetDlgCtrlID(reinterpret_cast<HWND>(lParam));
            if (id != kAboutWebLink && id != kAboutMailLink) break;
            auto dc = reinterpret_cast<HDC>(wParam);
            ::SetTextColor(dc, RGB(0, 0, 204));
            ::SetBkMode(dc, TRANSPARENT);
            return reinterpret_cast<INT_PTR>(::GetSysColorBrush(COLOR_BTNFACE));
        }
        case WM_COMMAND:
            switch (LOWORD(wParam)) {
                case IDOK:
                case IDCANCEL: ::EndDialog(dialog, LOWORD(wParam)); return TRUE;
                case kAboutWebLink: {
                    Win32SettingsStore settings;
                    Win32Shell().Open(periphery::Load_Web_Addresses(settings).homeSite);
                    return TRUE;
                }
                case kAboutMailLink: Win32Shell().Open(kSupportMail); return TRUE;
                default: break;
            }
            break;
        case WM_DESTROY:
            delete state;  // and with it the fonts
            ::SetWindowLongPtrW(dialog, DWLP_USER, 0);
            break;
        default:
            break;
    }
    return FALSE;
}

}  // namespace

void Show_About_Box(HWND owner) {
    ::DialogBoxParamW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(kAboutDialogId), owner, About_Procedure, 0);
}

}  // namespace corvane::win32
