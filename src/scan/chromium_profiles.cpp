#include "scan/chromium_profiles.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <utility>

#include "base/text.h"

namespace corvane::scan {

bool Is_Chromium_Profile_Name(std::string_view name) {
    if (Equals_Ignore_Case(name, "Default") || Equals_Ignore_Case(name, "Guest Profile")) return true;
    constexpr std::string_view kNumbered = "Profile ";
    if (name.size() <= kNumbered.size() || !Equals_Ignore_Case(name.substr(0, kNumbered.size()), kNumbered)) {
        return false;
    }
    const std::string_view number = name.substr(kNumbered.size());
    return std::all_of(number.begin(), number.end(),
                       [](char c) { return std::isdigit(static_cast<unsigned char>(c)); });
}

std::string Expand_Policy_Path(std::string_view path, const PolicyVariables& variables) {
    const std::array<std::pair<std::string_view, const std::string*>, 4> names{{
        {"${local_app_data}", &variables.localAppData},
        {"${roaming_app_data}", &variables.roamingAppData},
        {"${profile}", &variables.profile},
        {"${user_name}", &variables.userName},
    }};
    std::string expanded;
    std::size_t at = 0;
    while (at < path.size()) {
        if (path[at] == '%') return {};
        if (path.substr(at, 2) != "${") {
            expanded += path[at++];
            continue;
        }
        const auto known = std::find_if(names.begin(), names.end(),
                                        [&](const auto& name) { return path.substr(at).starts_with(name.first); });
        if (known == names.end() || known->second->empty()) return {};
        expanded += *known->second;
        at += known->first.size();
    }
    return expanded;
}

}  // namespace corvane::scan
