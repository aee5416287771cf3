// The program's web addresses: the update server, the home site (home page,
// status-bar link, download page) and the help pages. Each is a per-user
// setting (section "WebAddresses") with the maker's address as its default,
// so that an administrator or a test can point the program elsewhere.
#pragma once

#include <string>
#include <string_view>

#include "base/ports/settings_store.h"

namespace corvane {
class Reporter;
}

namespace corvane::periphery {

inline constexpr std::string_view kWebAddressesSection = "WebAddresses";
inline constexpr std::string_view kDefaultUpdateServer = "https://www.corvane.example";
inline constexpr std::string_view kDefaultHomeSite = "https://www.corvane.example/";
inline constexpr std::string_view kDefaultHelp = "https://www.corvane.example/";

struct WebAddresses {
    std::string updateServer;  // scheme, host and an optional path prefix, no trailing "/"
    std::string homeSite;      // ends with "/"
    std::string help;          // ends with "/"

    [[nodiscard]] std::string Update_Address() const { return updateServer + "/fns/genfns.php"; }
    [[nodiscard]] std::string Download_Page() const { return homeSite + "corvane/corvane-download.html?sr=cvn"; }
    [[nodiscard]] std::string Faq_Page() const { return help + "faq.html"; }
    [[nodiscard]] std::string Troubleshooting_Page() const { return help + "wmi-troubleshooting.html"; }
};

// Keys "UpdateServer", "HomeSite", "Help"; an empty stored text reads as the
// default, and the slashes at the ends are made to fit the forms above. Any
// user of the computer can set these, so a text that is not an http or https
// address (Is_Web_Address: a file, a registered handler) reads as the default
// too, with one warning in the log.
[[nodiscard]] WebAddresses Load_Web_Addresses(ISettingsStore& store, const Reporter& reporter);

}  // namespace corvane::periphery
