// Port: the shell's "open" verb for documents, web pages and mail addresses,
// and its names of file types.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "base/text.h"

namespace corvane {

// The name Windows gives files of an unregistered type: "TMP File", and
// "File" without an extension.
[[nodiscard]] inline std::string Unregistered_File_Type_Name(std::string_view extension) {
    return extension.empty() ? std::string("File") : Upper_Ascii(extension) + " File";
}

class IShell {
public:
    virtual ~IShell() = default;
    IShell() = default;
    IShell(const IShell&) = delete;
    IShell& operator=(const IShell&) = delete;

    // ShellExecute with the verb "open", shown normally; returns the shell's
    // result (greater than 32 on success).
    virtual std::intptr_t Open(std::string_view target) = 0;

    // The type name the shell shows for files with this extension (without
    // its dot: "txt" -> "Text Document").
    [[nodiscard]] virtual std::string File_Type_Name(std::string_view extension) {
        return Unregistered_File_Type_Name(extension);
    }
};

}  // namespace corvane
