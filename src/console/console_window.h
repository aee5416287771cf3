// The main window as the console scanner has it: the two trees and the
// results list as plain models, the progress panel and the status bar kept as
// texts, no message pump (a hook may stand in, so that a caller can press Stop
// or Skip between items), and message boxes written to the error stream and
// answered No unless the caller said yes.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <ostream>
#include <string>

#include "base/ports/message_box.h"
#include "base/ui/check_tree.h"
#include "base/ui/main_window_port.h"
#include "base/ui/results_list.h"

namespace corvane::scan {

class ConsoleWindow final : public IMainWindow {
public:
    explicit ConsoleWindow(std::string localComputerName) : localName_(std::move(localComputerName)) {}

    void FormDoMyDoEvents() override {
        ++pumpCalls_;
        if (pump_) pump_();
    }
    std::string Get_Comp_Name() override { return localName_; }
    CheckTree& Computer_Tree() override { return computers_; }
    CheckTree& Category_Tree() override { return categories_; }
    ResultsList& Results() override { return results_; }
    void Enable_Commands(bool enabled) override { commandsEnabled_ = enabled; }
    void Set_Status_Text(std::string_view text) override { status_ = std::string(text); }
    void Show_Progress_Panel(bool visible) override { panelVisible_ = visible; }
    void Set_Label(ProgressLabel label, std::string_view text) override { labels_[label] = std::string(text); }
    std::string Label(ProgressLabel label) const override;
    void Set_Progress_Range(int minimum, int maximum) override;
    void Set_Progress_Value(int value) override;
    int Progress_Value() const override { return progressValue_; }
    void Suspend_Results_Drawing(bool) override {}
    std::uintptr_t Native_Handle() const override { return 0; }

    // Called at every pump, as a window would run its event handlers there.
    void Set_Pump_Hook(std::function<void()> hook) { pump_ = std::move(hook); }
    [[nodiscard]] const std::string& Status_Text() const noexcept { return status_; }
    [[nodiscard]] bool Commands_Enabled() const noexcept { return commandsEnabled_; }
    [[nodiscard]] bool Panel_Visible() const noexcept { return panelVisible_; }
    [[nodiscard]] int Progress_Maximum() const noexcept { return progressMax_; }
    [[nodiscard]] std::int64_t Pump_Calls() const noexcept { return pumpCalls_; }

private:
    std::string localName_;
    CheckTree computers_;
    CheckTree categories_;
    ResultsList results_;
    std::map<ProgressLabel, std::string> labels_;
    std::string status_;
    std::function<void()> pump_;
    std::int64_t pumpCalls_ = 0;
    int progressMin_ = 0;
    int progressMax_ = 100;
    int progressValue_ = 0;
    bool commandsEnabled_ = true;
    bool panelVisible_ = false;
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

}  // namespace corvane::scan
