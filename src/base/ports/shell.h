// Port: the shell's "open" verb for documents, web pages and mail addresses.
#pragma once

#include <cstdint>
#include <string_view>

namespace corvane {

class IShell {
public:
    virtual ~IShell() = default;
    IShell() = default;
    IShell(const IShell&) = delete;
    IShell& operator=(const IShell&) = delete;

    // ShellExecute with the verb "open", shown normally; returns the shell's
    // result (greater than 32 on success).
    virtual std::intptr_t Open(std::string_view target) = 0;
};

}  // namespace corvane
