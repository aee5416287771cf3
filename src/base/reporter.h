// The common reporting path (Show_Error) and the log shortcut every layer uses.
// Holds the process-wide log (absent before Main creates it) and the message-box
// port; it is created by Main and handed down, never reached globally.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "base/log.h"
#include "base/ports/message_box.h"

namespace corvane {

class RuntimeError;

// Where a reporter's log lines go instead of the log: a worker thread keeps
// them for the thread that owns the log.
class ILogLines {
public:
    virtual ~ILogLines() = default;
    virtual void Add_Line(std::string_view text, int type, bool dated) = 0;
};

// Log lines kept on a worker thread and written later, in order, by the
// thread that owns the log.
class KeptLogLines final : public ILogLines {
public:
    void Add_Line(std::string_view text, int type, bool dated) override {
        lines_.push_back({std::string(text), type, dated});
    }
    void Write_To(const class Reporter& reporter) const;

private:
    struct Line {
        std::string text;
        int type = LOG_INFO;
        bool dated = true;
    };
    std::vector<Line> lines_;
};

class Reporter {
public:
    explicit Reporter(IMessageBox& messageBox) : messageBox_(messageBox) {}
    Reporter(const Reporter&) = delete;
    Reporter& operator=(const Reporter&) = delete;

    void Attach_Log(clsLog* log) noexcept { log_ = log; }
    // Lines go to these instead of the log from now on (null: the log again).
    void Divert_Lines(ILogLines* lines) noexcept { lines_ = lines; }
    [[nodiscard]] clsLog* Log() const noexcept { return log_; }
    [[nodiscard]] IMessageBox& Messages() const noexcept { return messageBox_; }

    // Shows the message (critical icon, OK, title "Corvane") when asked and
    // always writes it to the log as a dated error line.
    void Show_Error(bool showMessage, std::string_view message) const;
    // The same with the error's "number: description" as the message.
    void Show_Error(bool showMessage, const RuntimeError& error) const;

    // Log_Event on the process-wide log, if there is one.
    void Log_Event(std::string_view text, int type = LOG_INFO, bool dated = true) const;

private:
    IMessageBox& messageBox_;
    clsLog* log_ = nullptr;
    ILogLines* lines_ = nullptr;
};

}  // namespace corvane
