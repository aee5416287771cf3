#include "scan/firefox_profiles.h"

#include <algorithm>
#include <array>

#include "base/text.h"
#include "remote/canonical_path.h"

namespace corvane::scan {

namespace {

struct IniProfile {
    std::string path;
    bool relative = true;
};

void Add_Profile(const IniProfile& profile, std::string_view profilesFolder, std::vector<std::string>& folders) {
    if (profile.path.empty()) return;
    std::string path = profile.path;
    std::replace(path.begin(), path.end(), '/', '\\');
    if (profile.relative) {
        const std::string_view firefox = profilesFolder.substr(0, profilesFolder.rfind('\\'));
        path = std::string(firefox) + "\\" + path;
    }
    const auto canonical = remote::Canonical_Path(path);
    if (!canonical) return;
    const std::size_t slash = canonical->rfind('\\');
    if (slash == std::string::npos || !Equals_Ignore_Case(canonical->substr(0, slash), profilesFolder)) return;
    folders.push_back(*canonical);
}

}  // namespace

bool Is_Firefox_Profile_Name(std::string_view name) {
    constexpr std::array<std::string_view, 6> kEndings{".default",      ".default-release", ".default-esr",
                                                       ".default-beta", ".default-nightly", ".dev-edition-default"};
    const std::string lower = Lower_Ascii(name);
    return std::any_of(kEndings.begin(), kEndings.end(), [&](std::string_view ending) {
        return lower.size() > ending.size() && lower.ends_with(ending);
    });
}

std::vector<std::string> Profiles_Ini_Folders(std::string_view iniText, std::string_view profilesFolder) {
    std::vector<std::string> folders;
    bool inProfile = false;
    IniProfile profile;
    std::size_t start = 0;
    while (start < iniText.size()) {
        std::size_t end = iniText.find('\n', start);
        if (end == std::string_view::npos) end = iniText.size();
        std::string_view raw = iniText.substr(start, end - start);
        start = end + 1;
        if (raw.ends_with('\r')) raw.remove_suffix(1);
        const std::string clean = Trim(raw);
        if (clean.starts_with('[')) {
            if (inProfile) Add_Profile(profile, profilesFolder, folders);
            inProfile = Starts_With_Ignore_Case(clean, "[Profile");
            profile = {};
            continue;
        }
        const std::size_t equals = clean.find('=');
        if (!inProfile || equals == std::string::npos) continue;
        const std::string key = Trim(clean.substr(0, equals));
        const std::string value = Trim(clean.substr(equals + 1));
        if (Equals_Ignore_Case(key, "Path")) profile.path = value;
        if (Equals_Ignore_Case(key, "IsRelative")) profile.relative = value != "0";
    }
    if (inProfile) Add_Profile(profile, profilesFolder, folders);
    return folders;
}

}  // namespace corvane::scan
