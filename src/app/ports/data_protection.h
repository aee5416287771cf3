// Port: the system's protection of data for the current user (on Windows the
// data protection API). Protect turns a plain text into a blob that only the
// same user on the same computer can turn back; Unprotect answers nothing
// when it cannot (another user, another computer, a damaged blob).
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "app/secret.h"

namespace corvane {

class IDataProtection {
public:
    virtual ~IDataProtection() = default;
    IDataProtection() = default;
    IDataProtection(const IDataProtection&) = delete;
    IDataProtection& operator=(const IDataProtection&) = delete;

    // The protected blob's bytes; raises RuntimeError when the system refuses.
    [[nodiscard]] virtual std::string Protect(const Secret& plain) = 0;
    [[nodiscard]] virtual std::optional<Secret> Unprotect(std::string_view blob) = 0;
};

}  // namespace corvane
