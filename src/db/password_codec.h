// How a managed computer's password is kept in COMPUTER_TBL: protected for
// the current user as "DPAPI:" followed by the Base64 of the system's blob.
// Older databases hold it scrambled like the names; such a password still
// reads, and is stored protected at its next save. A protected password that
// cannot be turned back (another user, another computer) reads as empty, and
// the log says so once per computer, naming the computer, never the text.
#pragma once

#include <set>
#include <string>
#include <string_view>

#include "app/ports/data_protection.h"
#include "app/secret.h"

namespace corvane {

class Reporter;

inline constexpr std::string_view kProtectedPasswordPrefix = "DPAPI:";

class PasswordCodec {
public:
    PasswordCodec(IDataProtection& protection, const Reporter& reporter)
        : protection_(protection), reporter_(reporter) {}
    PasswordCodec(const PasswordCodec&) = delete;
    PasswordCodec& operator=(const PasswordCodec&) = delete;

    // The column's text for a password; an empty password stays empty.
    [[nodiscard]] std::string Encode(const Secret& password);
    // The password of `computer` from the column's text.
    [[nodiscard]] Secret Decode(std::string_view computer, std::string_view stored);

private:
    IDataProtection& protection_;
    const Reporter& reporter_;
    std::set<std::string> warned_;  // computers whose password could not be read, already logged
};

}  // namespace corvane
