// The data-protection port on Windows: CryptProtectData and
// CryptUnprotectData for the current user, with an entropy text of the
// program's own, so that other programs of the same user cannot simply ask
// the system for the plain text. crypt32 is loaded from the system directory.
#pragma once

#include "base/ports/data_protection.h"
#include "base/win32/system_library.h"

namespace corvane::win32 {

inline constexpr char kPasswordEntropy[] = "Corvane managed computer credentials v1";

class Win32DataProtection final : public IDataProtection {
public:
    [[nodiscard]] std::string Protect(const Secret& plain) override;
    [[nodiscard]] std::optional<Secret> Unprotect(std::string_view blob) override;

private:
    SystemLibrary crypt32_{L"crypt32.dll"};
};

}  // namespace corvane::win32
