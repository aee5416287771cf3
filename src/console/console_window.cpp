#include "console/console_window.h"

#include "base/text.h"

namespace corvane::console {

MsgResult ConsoleMessageBox::Show(std::string_view text, MsgButtons buttons, MsgIcon, std::string_view) {
    const std::string oneLine = Replace_All(Replace_All(text, "\r\n\r\n", " "), "\r\n", " ");
    switch (buttons) {
        case MsgButtons::YesNo:
            err_ << oneLine << (answerYes_ ? " [Yes]" : " [No]") << '\n';
            return answerYes_ ? MsgResult::Yes : MsgResult::No;
        case MsgButtons::OkCancel:
            err_ << oneLine << (answerYes_ ? " [OK]" : " [Cancel]") << '\n';
            return answerYes_ ? MsgResult::Ok : MsgResult::Cancel;
        case MsgButtons::Ok: break;
    }
    err_ << oneLine << '\n';
    return MsgResult::Ok;
}

}  // namespace corvane::console
