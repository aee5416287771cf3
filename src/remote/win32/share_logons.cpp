#include "remote/win32/share_logons.h"

#include "base/text.h"
#include "base/win32/wide_text.h"

using namespace ::corvane::win32;  // the handle owners and Widen

namespace corvane::remote::win32 {

void ShareLogons::Use(std::string_view server, std::string_view user, const Secret& password) {
    const std::string key = Upper_Text(server);
    const std::lock_guard lock(mutex_);
    tokens_.erase(key);
    if (user.empty()) return;
    std::wstring domain;
    std::wstring name = Widen(user);
    if (const std::size_t slash = user.find('\\'); slash != std::string_view::npos) {
        domain = Widen(user.substr(0, slash));
        name = Widen(user.substr(slash + 1));
    } else if (user.find('@') == std::string_view::npos) {
        domain = Widen(server);  // an account of the computer itself
    }
    std::wstring secret = Widen(password.View());
    HANDLE token = nullptr;
    const BOOL made = LogonUserW(name.c_str(), domain.empty() ? nullptr : domain.c_str(), secret.c_str(),
                                 LOGON32_LOGON_NEW_CREDENTIALS, LOGON32_PROVIDER_WINNT50, &token);
    SecureZeroMemory(secret.data(), secret.size() * sizeof(wchar_t));
    if (made) tokens_.emplace(key, unique_handle(token));
}

HANDLE ShareLogons::Token_For(std::string_view path) const {
    if (!path.starts_with("\\\\")) return nullptr;
    const std::lock_guard lock(mutex_);
    const std::size_t serverEnd = path.find('\\', 2);
    const auto found =
        tokens_.find(Upper_Text(path.substr(2, serverEnd == std::string_view::npos ? serverEnd : serverEnd - 2)));
    return found == tokens_.end() ? nullptr : found->second.get();
}

}  // namespace corvane::remote::win32
