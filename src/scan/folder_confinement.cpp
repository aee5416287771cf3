#include "scan/folder_confinement.h"

#include <algorithm>
#include <array>
#include <initializer_list>

#include "base/log.h"
#include "base/reporter.h"
#include "base/text.h"
#include "remote/canonical_path.h"
#include "remote/share_walk.h"
#include "scan/category_run.h"
#include "scan/scan_target.h"

namespace corvane::scan {

namespace {

constexpr const char* kProfileList = "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\ProfileList\\";
// The system account's profile, below the Windows directory: the owner of a
// hive without a ProfileList entry (.DEFAULT).
constexpr const char* kSystemProfile = "\\system32\\config\\systemprofile";

struct PlaceSet {
    KnownPlaces places;
    const char* name;                            // "not where Windows keeps <name>"
    std::initializer_list<const char*> folders;  // below the profile folder: Vista and later, then XP
};

constexpr std::array<PlaceSet, 10> kPlaceSets{{
    {KnownPlaces::UserTemp, "User Temp", {"AppData\\Local\\Temp", "Local Settings\\Temp"}},
    {KnownPlaces::ThumbnailCache, "Thumbnail Cache", {"AppData\\Local\\Microsoft\\Windows\\Explorer"}},
    {KnownPlaces::DownloadedInstallations,
     "Downloaded Installations",
     {"AppData\\Local\\Downloaded Installations", "Local Settings\\Application Data\\Downloaded Installations"}},
    {KnownPlaces::CdBurn,
     "CD Burn",
     {"AppData\\Local\\Microsoft\\Windows\\Burn", "Local Settings\\Application Data\\Microsoft\\CD Burning"}},
    {KnownPlaces::Downloads, "Downloads", {"Downloads"}},
    {KnownPlaces::Recent, "Recent", {"AppData\\Roaming\\Microsoft\\Windows\\Recent", "Recent"}},
    {KnownPlaces::History, "History", {"AppData\\Local\\Microsoft\\Windows\\History", "Local Settings\\History"}},
    {KnownPlaces::Cookies,
     "Cookies",
     {"AppData\\Local\\Microsoft\\Windows\\INetCookies", "AppData\\Roaming\\Microsoft\\Windows\\Cookies", "Cookies"}},
    {KnownPlaces::TemporaryInternetFiles,
     "Temporary Internet Files",
     {"AppData\\Local\\Microsoft\\Windows\\INetCache", "AppData\\Local\\Microsoft\\Windows\\Temporary Internet Files",
      "Local Settings\\Temporary Internet Files"}},
    {KnownPlaces::FirefoxProfiles,
     "Firefox profiles",
     {"AppData\\Roaming\\Mozilla\\Firefox\\Profiles", "AppData\\Local\\Mozilla\\Firefox\\Profiles",
      "Application Data\\Mozilla\\Firefox\\Profiles", "Local Settings\\Application Data\\Mozilla\\Firefox\\Profiles"}},
}};

const PlaceSet& Place_Set(KnownPlaces places) {
    return *std::find_if(kPlaceSets.begin(), kPlaceSets.end(),
                         [&](const PlaceSet& set) { return set.places == places; });
}

}  // namespace

std::vector<std::string> FolderConfinement::User_Folders(std::string_view keyBelowUser, std::string_view valueName,
                                                         std::string_view below, KnownPlaces places) {
    std::vector<std::string> folders;
    for (const std::string& user : target_.Enum_Key(kHkeyUsersRoot, "")) {
        const std::string key = user + std::string(keyBelowUser);
        if (!target_.Check_Access(kHkeyUsersRoot, key, remote::kKeyQueryValue)) continue;
        std::string value;
        if (target_.Get_String_Value(kHkeyUsersRoot, key, valueName, 1, value) != remote::StringRead::Read ||
            value.empty()) {
            continue;
        }
        const Profile profile = Profile_Of(user);
        const FolderVerdict verdict = Judge(profile, value + std::string(below), places);
        if (!verdict.refusal.empty()) {
            Warn("user " + user + ", profile " + (profile.folder.empty() ? "unknown" : profile.folder),
                 std::string(valueName) + " = " + value, verdict.refusal);
            continue;
        }
        // Users whose values name one folder (.DEFAULT and a user, on some
        // systems) must not list its content twice.
        const auto same = [&](const std::string& known) { return Equals_Ignore_Case(known, verdict.folder); };
        if (std::none_of(folders.begin(), folders.end(), same)) folders.push_back(verdict.folder);
    }
    return folders;
}

FolderVerdict FolderConfinement::Windows_Folder(std::string_view below) {
    std::string windows;
    if (!target_.Get_Windows_Directory(windows) || windows.empty()) return {{}, "no Windows directory"};
    const FolderVerdict directory = Canonical_Folder(windows);
    FolderVerdict verdict;
    if (!directory.refusal.empty()) {
        verdict.refusal = directory.refusal;
    } else if (directory.folder.size() <= 3) {
        verdict.refusal = "the Windows directory is a drive root";
    } else {
        verdict = Canonical_Folder(directory.folder + std::string(below));
        if (verdict.refusal.empty() && (!remote::Is_At_Or_Below(verdict.folder, directory.folder) ||
                                        verdict.folder.size() == directory.folder.size())) {
            verdict = {{}, "not below the Windows directory"};
        }
    }
    if (!verdict.refusal.empty())
        Warn("the computer", "Windows directory " + windows + std::string(below), verdict.refusal);
    return verdict;
}

FolderVerdict FolderConfinement::Canonical_Folder(std::string_view folder) {
    const auto canonical = remote::Canonical_Path(folder);
    if (!canonical) return {{}, kRefusedPathForm};
    std::string path = Long_Form(*canonical);
    if (path.empty()) return {{}, kRefusedPathForm};
    std::string refusal = Reparse_Refusal(path);
    if (!refusal.empty()) return {{}, std::move(refusal)};
    return {std::move(path), {}};
}

FolderConfinement::Profile FolderConfinement::Profile_Of(std::string_view user) {
    std::string path;
    const remote::StringRead read = target_.Get_Expanded_String_Value(
        kHkeyLocalMachineRoot, kProfileList + std::string(user), "ProfileImagePath", path);
    if (read == remote::StringRead::CallFailed) return {{}, "the profile folder could not be read"};
    if (read == remote::StringRead::ProviderError) {
        std::string windows;
        if (!target_.Get_Windows_Directory(windows) || windows.empty()) return {{}, "no Windows directory"};
        path = windows + kSystemProfile;
    }
    const auto canonical = remote::Canonical_Path(path);
    if (!canonical || canonical->size() <= 3) return {{}, kRefusedPathForm};
    std::string folder = Long_Form(*canonical);
    if (folder.empty()) return {{}, kRefusedPathForm};
    return {std::move(folder), {}};
}

FolderVerdict FolderConfinement::Judge(const Profile& profile, std::string_view folder, KnownPlaces places) {
    if (profile.folder.empty()) return {{}, profile.refusal};
    const auto canonical = remote::Canonical_Path(folder);
    if (!canonical) return {{}, kRefusedPathForm};
    std::string path = Long_Form(*canonical);
    if (path.empty()) return {{}, kRefusedPathForm};
    const PlaceSet& set = Place_Set(places);
    const bool known = std::any_of(set.folders.begin(), set.folders.end(), [&](const char* place) {
        return remote::Is_At_Or_Below(path, profile.folder + "\\" + place);
    });
    if (!known) return {{}, std::string("not where Windows keeps ") + set.name};
    std::string refusal = Reparse_Refusal(path);
    if (!refusal.empty()) return {{}, std::move(refusal)};
    return {std::move(path), {}};
}

std::string FolderConfinement::Long_Form(std::string_view canonical) {
    if (!remote::Has_Short_Name_Mark(canonical)) return std::string(canonical);
    // Only the computer's file system knows which long name a short one
    // stands for: the local one, or a remote one's administrative share.
    const remote::TargetContext& context = target_.Context();
    const auto longPath = context.IsRemote ? remote::Share_Long_Path(context.Shares(), context.ComputerName, canonical)
                                           : context.Ports().localSystem.Long_Path(canonical);
    if (!longPath) return {};
    const auto again = remote::Canonical_Path(*longPath);
    return again ? *again : std::string();
}

std::string FolderConfinement::Reparse_Refusal(std::string_view canonical) {
    const remote::TargetContext& context = target_.Context();
    if (context.IsRemote) return remote::Share_Reparse_Refusal(context.Shares(), context.ComputerName, canonical);
    return remote::Local_Reparse_Refusal(context.Ports().localSystem, canonical);
}

void FolderConfinement::Warn(std::string_view who, std::string_view what, std::string_view reason) {
    target_.Context().Ports().reporter.Log_Event("Folder not cleaned on " + target_.Context().ComputerName + ", " +
                                                     std::string(who) + ": " + std::string(what) + ": " +
                                                     std::string(reason),
                                                 LOG_WARNING);
}

}  // namespace corvane::scan
