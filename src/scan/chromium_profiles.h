// What Chromium-based browsers (Chrome, Edge, Brave) keep where: which
// folders of a user-data folder are profiles, and the folder a policy value
// (UserDataDir, DiskCacheDir) names once its variables are expanded for one
// user. Whether that folder may be walked is folder_confinement.h's.
#pragma once

#include <string>
#include <string_view>

namespace corvane::scan {

// True for "Default", "Guest Profile" and "Profile <number>" (case ignored).
[[nodiscard]] bool Is_Chromium_Profile_Name(std::string_view name);

// The user's values of the variables a Chromium policy path may hold; an
// empty one is unknown.
struct PolicyVariables {
    std::string localAppData;    // ${local_app_data}
    std::string roamingAppData;  // ${roaming_app_data}
    std::string profile;         // ${profile}
    std::string userName;        // ${user_name}
};

// The policy's path with its variables expanded; empty when it holds any
// other variable, an unknown one or an environment reference (%NAME%),
// which only the browser's own session could expand.
[[nodiscard]] std::string Expand_Policy_Path(std::string_view path, const PolicyVariables& variables);

}  // namespace corvane::scan
