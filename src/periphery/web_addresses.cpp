#include "periphery/web_addresses.h"

#include "base/open_url.h"
#include "base/reporter.h"

namespace corvane::periphery {
namespace {

std::string Setting(ISettingsStore& store, const Reporter& reporter, std::string_view key,
                    std::string_view defaultValue) {
    std::string value = store.GetSetting(kWebAddressesSection, key, defaultValue);
    if (value.empty()) return std::string(defaultValue);
    if (!Is_Web_Address(value)) {
        reporter.Log_Event("The web address setting " + std::string(key) + " (" + value +
                               ") is not an http or https address; " + std::string(defaultValue) + " is used.",
                           LOG_WARNING);
        return std::string(defaultValue);
    }
    return value;
}

std::string With_Trailing_Slash(std::string value) {
    if (value.back() != '/') value += '/';
    return value;
}

}  // namespace

WebAddresses Load_Web_Addresses(ISettingsStore& store, const Reporter& reporter) {
    std::string server = Setting(store, reporter, "UpdateServer", kDefaultUpdateServer);
    while (server.size() > 1 && server.back() == '/') server.pop_back();
    return {.updateServer = std::move(server),
            .homeSite = With_Trailing_Slash(Setting(store, reporter, "HomeSite", kDefaultHomeSite)),
            .help = With_Trailing_Slash(Setting(store, reporter, "Help", kDefaultHelp))};
}

}  // namespace corvane::periphery
