#include "db/password_codec.h"

#include "app/base64.h"
#include "app/reporter.h"
#include "app/text.h"
#include "db/scramble.h"

namespace corvane {

std::string PasswordCodec::Encode(const Secret& password) {
    if (password.Empty()) return {};
    return std::string(kProtectedPasswordPrefix) + Base64_Encode(protection_.Protect(password));
}

Secret PasswordCodec::Decode(std::string_view computer, std::string_view stored) {
    if (!stored.starts_with(kProtectedPasswordPrefix)) {
        std::string plain = Scramble_Text(stored);  // written before passwords were protected
        return Secret::Adopt(plain);
    }
    if (const auto blob = Base64_Decode(stored.substr(kProtectedPasswordPrefix.size()))) {
        if (auto plain = protection_.Unprotect(*blob)) return std::move(*plain);
    }
    if (warned_.insert(Upper_Ascii(computer)).second) {
        reporter_.Log_Event("The stored password of " + std::string(computer) +
                                " cannot be read by this user on this computer; it is used as empty.",
                            LOG_WARNING);
    }
    return {};
}

}  // namespace corvane
