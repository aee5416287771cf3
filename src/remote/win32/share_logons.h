// The credentials each remote computer's administrative shares are reached
// with: one new-credentials logon token per server (LogonUserW with
// LOGON32_LOGON_NEW_CREDENTIALS: the program keeps its own identity locally
// and presents these credentials on the network), impersonated only around
// the share calls. Unlike WNetAddConnection2, which holds one set of
// credentials per server for the whole logon session (error 1219 for a
// second), every computer keeps its own.
#pragma once

#include <windows.h>

#include <map>
#include <mutex>
#include <string>
#include <string_view>

#include "base/secret.h"
#include "base/win32/unique_any.h"

namespace corvane::remote::win32 {

// Impersonates a token on the calling thread until it goes.
class Impersonation {
public:
    Impersonation() = default;
    explicit Impersonation(HANDLE token) : active_(token != nullptr && ImpersonateLoggedOnUser(token) != FALSE) {}
    ~Impersonation() {
        if (active_) RevertToSelf();
    }
    Impersonation(const Impersonation&) = delete;
    Impersonation& operator=(const Impersonation&) = delete;

private:
    bool active_ = false;
};

class ShareLogons {
public:
    // Logs the user on for that server ("DOMAIN\user", "user@domain", or a
    // bare user name of the server itself); an empty user forgets the server.
    void Use(std::string_view server, std::string_view user, const Secret& password);
    // The token for the server a "\\server\..." path names; null for any other path.
    [[nodiscard]] HANDLE Token_For(std::string_view path) const;

private:
    // Workers of several computers ask at once; each server is one computer's.
    mutable std::mutex mutex_;
    std::map<std::string, ::corvane::win32::unique_handle> tokens_;  // upper-cased server
};

}  // namespace corvane::remote::win32
