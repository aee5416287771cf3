// Which folders below a Firefox "Profiles" folder are profiles: those that
// the profiles.ini beside it names, where that file can be read; otherwise
// those whose name ends as Firefox names the profiles it makes, so that a
// copy such as "abcd.default.bak" is never taken for one.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace corvane::scan {

// True for a profile folder name that Firefox makes: "abcd1234.default",
// ".default-release", ".default-esr", ".default-beta", ".default-nightly",
// ".dev-edition-default" (case ignored).
[[nodiscard]] bool Is_Firefox_Profile_Name(std::string_view name);

// The canonical paths of the profiles that a profiles.ini text names
// ("Path=" of its [Profile...] sections, relative to the folder that holds
// the file unless "IsRelative=0"), keeping only those directly inside
// profilesFolder (canonical).
[[nodiscard]] std::vector<std::string> Profiles_Ini_Folders(std::string_view iniText, std::string_view profilesFolder);

}  // namespace corvane::scan
