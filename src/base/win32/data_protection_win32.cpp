#include "base/win32/data_protection_win32.h"

#include <windows.h>
#include <dpapi.h>

#include "base/runtime_error.h"
#include "base/win32/unique_any.h"

namespace corvane::win32 {
namespace {

DATA_BLOB Blob_Of(std::string_view bytes) noexcept {
    DATA_BLOB blob{};
    blob.cbData = static_cast<DWORD>(bytes.size());
    blob.pbData = reinterpret_cast<BYTE*>(const_cast<char*>(bytes.data()));
    return blob;
}

}  // namespace

std::string Win32DataProtection::Protect(const Secret& plain) {
    DATA_BLOB input = Blob_Of(plain.View());
    DATA_BLOB entropy = Blob_Of(kPasswordEntropy);
    DATA_BLOB output{};
    const auto protect = crypt32_.Get<decltype(::CryptProtectData)>("CryptProtectData");
    if (!protect(&input, L"Corvane", &entropy, nullptr, nullptr, CRYPTPROTECT_UI_FORBIDDEN, &output)) {
        const DWORD code = ::GetLastError();
        throw RuntimeError(error_number::kPasswordNotProtected,
                           "The password could not be protected (error " + std::to_string(code) + ").");
    }
    const unique_hlocal owned(output.pbData);
    return std::string(reinterpret_cast<const char*>(output.pbData), output.cbData);
}

std::optional<Secret> Win32DataProtection::Unprotect(std::string_view blob) {
    DATA_BLOB input = Blob_Of(blob);
    DATA_BLOB entropy = Blob_Of(kPasswordEntropy);
    DATA_BLOB output{};
    const auto unprotect = crypt32_.Find<decltype(::CryptUnprotectData)>("CryptUnprotectData");
    if (!unprotect || !unprotect(&input, nullptr, &entropy, nullptr, nullptr, CRYPTPROTECT_UI_FORBIDDEN, &output)) {
        return std::nullopt;
    }
    const unique_hlocal owned(output.pbData);
    Secret plain(std::string_view(reinterpret_cast<const char*>(output.pbData), output.cbData));
    ::SecureZeroMemory(output.pbData, output.cbData);
    return plain;
}

}  // namespace corvane::win32
