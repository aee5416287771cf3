// The shell's "open" verb (ShellExecuteW) for documents, web pages and mail
// addresses, and its file type names. The calling thread should have COM initialised (see com_init.h).
#pragma once

#include "base/ports/shell.h"

namespace corvane::win32 {

class Win32Shell final : public IShell {
public:
    Win32Shell() = default;
    std::intptr_t Open(std::string_view target) override;
    // SHGetFileInfoW with SHGFI_USEFILEATTRIBUTES | SHGFI_TYPENAME.
    [[nodiscard]] std::string File_Type_Name(std::string_view extension) override;
};

}  // namespace corvane::win32
