// Message boxes through MessageBoxW, owned by the active window of the thread
// so that they stay modal to it.
#pragma once

#include "base/ports/message_box.h"

namespace corvane::win32 {

class Win32MessageBox final : public IMessageBox {
public:
    Win32MessageBox() = default;
    MsgResult Show(std::string_view text, MsgButtons buttons, MsgIcon icon, std::string_view title) override;
};

// The answer for MessageBoxW's result; a box that could not be shown (0)
// answers Cancel or No, so that nothing is done that the user did not confirm.
[[nodiscard]] MsgResult To_Msg_Result(int result, MsgButtons buttons);

}  // namespace corvane::win32
