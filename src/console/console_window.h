// The main window as the console scanner has it: the two trees and the
// results list as plain models, nothing to show, enable or draw; and message
// boxes written to the error stream and answered No unless the caller said
// yes. The scan's and the fix's progress goes to ConsoleProgress.
#pragma once

#include <ostream>
#include <string>

#include "base/ports/message_box.h"
#include "base/ui/check_tree.h"
#include "base/ui/main_window_port.h"
#include "base/ui/results_list.h"

namespace corvane::console {

class ConsoleWindow final : public IMainWindow {
public:
    explicit ConsoleWindow(std::string localComputerName) : localName_(std::move(localComputerName)) {}

    std::string Get_Comp_Name() override { return localName_; }
    CheckTree& Computer_Tree() override { return computers_; }
    CheckTree& Category_Tree() override { return categories_; }
    ResultsList& Results() override { return results_; }
    void Enable_Commands(bool) override {}
    void Set_Status_Text(std::string_view) override {}
    void Show_Progress_Panel(bool) override {}
    void Suspend_Results_Drawing(bool) override {}
    std::uintptr_t Native_Handle() const override { return 0; }

private:
    std::string localName_;
    CheckTree computers_;
    CheckTree categories_;
    ResultsList results_;
};

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
