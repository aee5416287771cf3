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

struct PlaceSet {
    KnownPlaces places;
    const char* name;                          // "not where Windows keeps <name>"
    std::initializer_list<const char*> vista;  // below the profile folder: Windows Vista and later
    std::initializer_list<const char*> xp;     // Windows XP and older
    // Also looked for in the profiles of users who are not logged on. A
    // user's downloads and files waiting to be burnt are theirs to keep.
    bool everyProfile = true;
};

constexpr std::array<PlaceSet, 14> kPlaceSets{{
    {KnownPlaces::UserTemp, "User Temp", {"AppData\\Local\\Temp"}, {"Local Settings\\Temp"}},
    {KnownPlaces::ThumbnailCache, "Thumbnail Cache", {"AppData\\Local\\Microsoft\\Windows\\Explorer"}, {}},
    {KnownPlaces::DownloadedInstallations,
     "Downloaded Installations",
     {"AppData\\Local\\Downloaded Installations"},
     {"Local Settings\\Application Data\\Downloaded Installations"}},
    {KnownPlaces::CdBurn,
     "CD Burn",
     {"AppData\\Local\\Microsoft\\Windows\\Burn"},
     {"Local Settings\\Application Data\\Microsoft\\CD Burning"},
     false},
    {KnownPlaces::Downloads, "Downloads", {"Downloads"}, {}, false},
    {KnownPlaces::Recent, "Recent", {"AppData\\Roaming\\Microsoft\\Windows\\Recent"}, {"Recent"}},
    {KnownPlaces::History, "History", {"AppData\\Local\\Microsoft\\Windows\\History"}, {"Local Settings\\History"}},
    {KnownPlaces::Cookies,
     "Cookies",
     {"AppData\\Local\\Microsoft\\Windows\\INetCookies", "AppData\\Roaming\\Microsoft\\Windows\\Cookies"},
     {"Cookies"}},
    {KnownPlaces::TemporaryInternetFiles,
     "Temporary Internet Files",
     {"AppData\\Local\\Microsoft\\Windows\\INetCache", "AppData\\Local\\Microsoft\\Windows\\Temporary Internet Files"},
     {"Local Settings\\Temporary Internet Files"}},
    {KnownPlaces::FirefoxRoamingProfiles,
     "Firefox profiles",
     {"AppData\\Roaming\\Mozilla\\Firefox\\Profiles"},
     {"Application Data\\Mozilla\\Firefox\\Profiles"}},
    {KnownPlaces::FirefoxLocalProfiles,
     "Firefox profiles",
     {"AppData\\Local\\Mozilla\\Firefox\\Profiles"},
     {"Local Settings\\Application Data\\Mozilla\\Firefox\\Profiles"}},
    {KnownPlaces::ChromeUserData,
     "Chrome data",
     {"AppData\\Local\\Google\\Chrome\\User Data"},
     {"Local Settings\\Application Data\\Google\\Chrome\\User Data"}},
    {KnownPlaces::EdgeUserData,
     "Edge data",
     {"AppData\\Local\\Microsoft\\Edge\\User Data"},
     {"Local Settings\\Application Data\\Microsoft\\Edge\\User Data"}},
    {KnownPlaces::BraveUserData,
     "Brave data",
     {"AppData\\Local\\BraveSoftware\\Brave-Browser\\User Data"},
     {"Local Settings\\Application Data\\BraveSoftware\\Brave-Browser\\User Data"}},
}};

const PlaceSet& Place_Set(KnownPlaces places) {
    return *std::find_if(kPlaceSets.begin(), kPlaceSets.end(),
                         [&](const PlaceSet& set) { return set.places == places; });
}

// The places a profile of this Windows has: XP's up to version 5, Vista's
// from 6 on, both when the version is not known.
std::vector<const char*> Places_Of(const PlaceSet& set, std::string_view osVersion) {
    int major = 0;
    for (const char c : osVersion.substr(0, osVersion.find('.'))) {
        if (c < '0' || c > '9') break;
        major = major * 10 + (c - '0');
    }
    std::vector<const char*> places;
    if (major == 0 || major >= 6) places.insert(places.end(), set.vista.begin(), set.vista.end());
    if (major < 6) places.insert(places.end(), set.xp.begin(), set.xp.end());
    return places;
}

// Adds a folder unless it lies at or below one already there; one already
// there that lies below it gives way, so that no content is listed twice
// (.DEFAULT and a user naming one folder, two users of one profile).
void Add_Once(std::vector<UserFolder>& folders, UserFolder folder) {
    if (std::any_of(folders.begin(), folders.end(),
                    [&](const UserFolder& known) { return remote::Is_At_Or_Below(folder.folder, known.folder); })) {
        return;
    }
    std::erase_if(folders,
                  [&](const UserFolder& known) { return remote::Is_At_Or_Below(known.folder, folder.folder); });
    folders.push_back(std::move(folder));
}

}  // namespace

std::vector<UserFolder> FolderConfinement::User_Folders(std::string_view keyBelowUser, std::string_view valueName,
                                                        std::string_view below, KnownPlaces places) {
    const PlaceSet& set = Place_Set(places);
    std::vector<UserFolder> folders;
    for (const UserProfile& user : profiles_.Users()) {
        if (!user.loaded) {
            if (!set.everyProfile) continue;
            for (const char* place : Places_Of(set, target_.Context().OSVersion)) {
                const FolderVerdict verdict = Judge(user, user.folder + "\\" + place, places);
                if (verdict.refusal.empty()) {
                    Add_Once(folders, {verdict.folder, user.sid, user.folder});
                } else {
                    Warn("user " + user.sid + " (not logged on), profile " + user.folder, place, verdict.refusal);
                }
            }
            continue;
        }
        const std::string key = user.sid + std::string(keyBelowUser);
        if (!target_.Check_Access(kHkeyUsersRoot, key, remote::kKeyQueryValue)) continue;
        std::string value;
        if (target_.Get_String_Value(kHkeyUsersRoot, key, valueName, 1, value) != remote::StringRead::Read ||
            value.empty()) {
            continue;
        }
        const FolderVerdict verdict = Judge(user, value + std::string(below), places);
        if (!verdict.refusal.empty()) {
            Warn("user " + user.sid + ", profile " + (user.folder.empty() ? "unknown" : user.folder),
                 std::string(valueName) + " = " + value, verdict.refusal);
            continue;
        }
        Add_Once(folders, {verdict.folder, user.sid, user.folder});
    }
    return folders;
}

FolderVerdict FolderConfinement::Other_User_Folder(const UserFolder& user, std::string_view folder,
                                                   std::string_view what, KnownPlaces places) {
    FolderVerdict verdict =
        Judge({.sid = user.ownerSid, .folder = user.profile, .refusal = {}, .loaded = true}, folder, places);
    if (!verdict.refusal.empty()) {
        Warn("user " + user.ownerSid + ", profile " + user.profile, std::string(what) + " = " + std::string(folder),
             verdict.refusal);
    }
    return verdict;
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

FolderVerdict FolderConfinement::Judge(const UserProfile& user, std::string_view folder, KnownPlaces places) {
    if (user.folder.empty()) return {{}, user.refusal};
    const auto canonical = remote::Canonical_Path(folder);
    if (!canonical) return {{}, kRefusedPathForm};
    std::string path = Long_Form(*canonical);
    if (path.empty()) return {{}, kRefusedPathForm};
    const PlaceSet& set = Place_Set(places);
    const auto below = [&](const char* place) { return remote::Is_At_Or_Below(path, user.folder + "\\" + place); };
    const bool known =
        std::any_of(set.vista.begin(), set.vista.end(), below) || std::any_of(set.xp.begin(), set.xp.end(), below);
    if (!known) return {{}, std::string("not where Windows keeps ") + set.name};
    std::string refusal = Reparse_Refusal(path);
    if (!refusal.empty()) return {{}, std::move(refusal)};
    return {std::move(path), {}};
}

std::string FolderConfinement::Long_Form(std::string_view canonical) {
    return remote::Long_Form(target_.Context(), canonical);
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
