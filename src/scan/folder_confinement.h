// Where Windows keeps each category's files, and the test that every folder
// read from a computer passes before the walker may enter it: a user's folder
// (a value of the user's hive, or for a user who is not logged on a known
// place below the profile folder) must be, in canonical form, one of the
// category's known places below that user's profile folder or lie below one;
// a computer-wide folder must lie below the Windows directory; and on the
// local computer no component on the way may be a junction or link. Hive
// values are set by the user, so each is judged on its own before two users'
// folders are taken as one. Which users there are is user_profiles.h's.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "scan/scan_target.h"
#include "scan/user_profiles.h"

namespace corvane::scan {

// The categories' sets of known places (below a profile folder).
enum class KnownPlaces {
    UserTemp,
    ThumbnailCache,
    DownloadedInstallations,
    CdBurn,
    Downloads,
    Recent,
    History,
    Cookies,
    TemporaryInternetFiles,
    FirefoxRoamingProfiles,  // where APPDATA leads
    FirefoxLocalProfiles,    // where LOCALAPPDATA leads
    ChromeUserData,
    EdgeUserData,
    BraveUserData,
};

// A folder to walk, or why not.
struct FolderVerdict {
    std::string folder;   // canonical, long form; empty when refused
    std::string refusal;  // the reason, when refused
};

// A user's folder to walk.
struct UserFolder {
    std::string folder;    // canonical, long form
    std::string ownerSid;  // the user whose profile holds it
    std::string profile;   // that user's profile folder, canonical
};

class FolderConfinement {
public:
    explicit FolderConfinement(ScanTarget& target) : target_(target), profiles_(target) {}
    FolderConfinement(const FolderConfinement&) = delete;
    FolderConfinement& operator=(const FolderConfinement&) = delete;

    // For each user of HKEY_USERS whose key user + keyBelowUser is readable
    // and whose value valueName is a non-empty text: that text + below,
    // judged against the user's profile folder; and unless the places are
    // Downloads or CD Burn, for each user who is not logged on the known
    // places below the profile folder (those of Windows XP on XP and older,
    // of Vista and later otherwise). Each accepted folder once (and none
    // inside another), each refused one a log warning.
    [[nodiscard]] std::vector<UserFolder> User_Folders(std::string_view keyBelowUser, std::string_view valueName,
                                                       std::string_view below, KnownPlaces places);
    // Another folder of that user (a value of the user's hive or of a policy,
    // named by what): judged like those of User_Folders; a refusal is logged.
    [[nodiscard]] FolderVerdict Other_User_Folder(const UserFolder& user, std::string_view folder,
                                                  std::string_view what, KnownPlaces places);
    // The Windows directory the computer reports + below, when it lies below
    // that directory; a refusal is logged.
    [[nodiscard]] FolderVerdict Windows_Folder(std::string_view below);

    // The canonical, long form of a folder read from the computer, and no
    // reparse point on its way (a remote computer's asked through its share).
    [[nodiscard]] FolderVerdict Canonical_Folder(std::string_view folder);

private:
    [[nodiscard]] FolderVerdict Judge(const UserProfile& user, std::string_view folder, KnownPlaces places);
    [[nodiscard]] std::string Long_Form(std::string_view canonical);
    [[nodiscard]] std::string Reparse_Refusal(std::string_view canonical);
    void Warn(std::string_view who, std::string_view what, std::string_view reason);

    ScanTarget& target_;
    UserProfiles profiles_;
};

}  // namespace corvane::scan
