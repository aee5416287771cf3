// Port: the clipboard's text. Setting it clears the clipboard first.
#pragma once

#include <string>
#include <string_view>

namespace corvane {

class IClipboard {
public:
    virtual ~IClipboard() = default;
    IClipboard() = default;
    IClipboard(const IClipboard&) = delete;
    IClipboard& operator=(const IClipboard&) = delete;

    // False when the clipboard could not be opened or written.
    virtual bool Set_Text(std::string_view text) = 0;
};

}  // namespace corvane
