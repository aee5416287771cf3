#include "console/console_window.h"

#include <algorithm>

#include "base/text.h"

namespace corvane::scan {

std::string ConsoleWindow::Label(ProgressLabel label) const {
    const auto found = labels_.find(label);
    return found == labels_.end() ? std::string() : found->second;
}

void ConsoleWindow::Set_Progress_Range(int minimum, int maximum) {
    progressMin_ = minimum;
    progressMax_ = std::max(minimum, maximum);
    progressValue_ = std::clamp(progressValue_, progressMin_, progressMax_);
}

void ConsoleWindow::Set_Progress_Value(int value) { progressValue_ = std::clamp(value, progressMin_, progressMax_); }

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

}  // namespace corvane::scan
