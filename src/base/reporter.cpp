#include "base/reporter.h"

#include "base/runtime_error.h"

namespace corvane {

void Reporter::Show_Error(bool showMessage, std::string_view message) const {
    if (showMessage) messageBox_.Show(message, MsgButtons::Ok, MsgIcon::Critical);
    Log_Event(message, LOG_ERROR, true);
}

void Reporter::Show_Error(bool showMessage, const RuntimeError& error) const {
    if (showMessage) messageBox_.Show(error.Text(), MsgButtons::Ok, MsgIcon::Critical);
    Log_Event(error.Origin().empty() ? error.Text() : error.Text() + " (at " + error.Origin() + ")", LOG_ERROR, true);
}

void KeptLogLines::Write_To(const Reporter& reporter) const {
    for (const Line& line : lines_) reporter.Log_Event(line.text, line.type, line.dated);
}

void Reporter::Log_Event(std::string_view text, int type, bool dated) const {
    if (lines_ != nullptr) {
        lines_->Add_Line(text, type, dated);
    } else if (log_ != nullptr) {
        log_->Log_Event(text, type, dated);
    }
}

}  // namespace corvane
