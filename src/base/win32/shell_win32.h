// The shell's "open" verb (ShellExecuteW) for documents, web pages and mail
// addresses. The calling thread should have COM initialised (see com_init.h).
#pragma once

#include "base/ports/shell.h"

namespace corvane::win32 {

class Win32Shell final : public IShell {
public:
    Win32Shell() = default;
    std::intptr_t Open(std::string_view target) override;
};

}  // namespace corvane::win32
