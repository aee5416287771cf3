#include "base/win32/message_box_win32.h"

#include <windows.h>

#include "base/win32/wide_text.h"

namespace corvane::win32 {

namespace {

// MB_* flags of the buttons and icon.
UINT Message_Box_Flags(MsgButtons buttons, MsgIcon icon) {
    UINT flags = 0;
    switch (buttons) {
        case MsgButtons::Ok: flags = MB_OK; break;
        case MsgButtons::OkCancel: flags = MB_OKCANCEL; break;
        case MsgButtons::YesNo: flags = MB_YESNO; break;
    }
    switch (icon) {
        case MsgIcon::None: break;
        case MsgIcon::Critical: flags |= MB_ICONERROR; break;
        case MsgIcon::Question: flags |= MB_ICONQUESTION; break;
        case MsgIcon::Exclamation: flags |= MB_ICONEXCLAMATION; break;
        case MsgIcon::Information: flags |= MB_ICONINFORMATION; break;
    }
    return flags;
}

}  // namespace

MsgResult To_Msg_Result(int result, MsgButtons buttons) {
    switch (result) {
        case IDOK: return MsgResult::Ok;
        case IDCANCEL: return MsgResult::Cancel;
        case IDYES: return MsgResult::Yes;
        case IDNO: return MsgResult::No;
        default: break;
    }
    switch (buttons) {
        case MsgButtons::Ok: return MsgResult::Ok;
        case MsgButtons::OkCancel: return MsgResult::Cancel;
        case MsgButtons::YesNo: return MsgResult::No;
    }
    return MsgResult::Cancel;
}

MsgResult Win32MessageBox::Show(std::string_view text, MsgButtons buttons, MsgIcon icon, std::string_view title) {
    const int result =
        ::MessageBoxW(::GetActiveWindow(), Widen(text).c_str(), Widen(title).c_str(), Message_Box_Flags(buttons, icon));
    return To_Msg_Result(result, buttons);
}

}  // namespace corvane::win32
