// Port: message boxes. Every box carries the title "Corvane" unless a caller
// names another; the Win32 implementation calls MessageBoxW, tests script answers.
#pragma once

#include <string>
#include <string_view>

namespace corvane {

enum class MsgButtons { Ok, OkCancel, YesNo };
enum class MsgIcon { None, Critical, Question, Exclamation, Information };
enum class MsgResult { Ok, Cancel, Yes, No };

class IMessageBox {
public:
    virtual ~IMessageBox() = default;
    IMessageBox() = default;
    IMessageBox(const IMessageBox&) = delete;
    IMessageBox& operator=(const IMessageBox&) = delete;

    virtual MsgResult Show(std::string_view text, MsgButtons buttons, MsgIcon icon,
                           std::string_view title = "Corvane") = 0;
};

}  // namespace corvane
