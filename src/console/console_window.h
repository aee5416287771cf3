// The main window as the console scanner has it (a ModelWindow: the two
// trees and the results list as plain models, nothing to show), and message
// boxes written to the error stream and answered No unless the caller said
// yes. The scan's and the fix's progress goes to ConsoleProgress.
#pragma once

#include <ostream>
#include <string>

#include "base/ports/message_box.h"
#include "base/ui/model_window.h"

namespace corvane::console {

using ConsoleWindow = ModelWindow;

// Message boxes of a program without a window: the text goes to the error
// stream; a question is answered Yes only when the caller said so.
class ConsoleMessageBox final : public IMessageBox {
public:
    ConsoleMessageBox(std::ostream& err, bool answerYes) : err_(err), answerYes_(answerYes) {}
    MsgResult Show(std::string_view text, MsgButtons buttons, MsgIcon icon, std::string_view title) override;

private:
    std::ostream& err_;
    bool answerYes_;
};

}  // namespace corvane::console
