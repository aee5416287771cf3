#include "periphery/web_addresses.h"

namespace corvane::periphery {
namespace {

std::string Setting(ISettingsStore& store, std::string_view key, std::string_view defaultValue) {
    std::string value = store.GetSetting(kWebAddressesSection, key, defaultValue);
    return value.empty() ? std::string(defaultValue) : value;
}

std::string With_Trailing_Slash(std::string value) {
    if (value.back() != '/') value += '/';
    return value;
}

}  // namespace

WebAddresses Load_Web_Addresses(ISettingsStore& store) {
    std::string server = Setting(store, "UpdateServer", kDefaultUpdateServer);
    while (server.size() > 1 && server.back() == '/') server.pop_back();
    return {.updateServer = std::move(server),
            .homeSite = With_Trailing_Slash(Setting(store, "HomeSite", kDefaultHomeSite)),
            .help = With_Trailing_Slash(Setting(store, "Help", kDefaultHelp))};
}

}  // namespace corvane::periphery
