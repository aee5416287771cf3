// Where Windows keeps each category's files, and the test that every folder
// read from a computer passes before the walker may enter it: a user's folder
// (a value of the user's hive) must be, in canonical form, one of the
// category's known places below that user's profile folder or lie below one;
// a computer-wide folder must lie below the Windows directory; and on the
// local computer no component on the way may be a junction or link. Hive
// values are set by the user, so each is judged on its own before two users'
// folders are taken as one.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "scan/scan_target.h"

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
    FirefoxProfiles,
    ChromeUserData,
    EdgeUserData,
    BraveUserData,
};

// Why a folder is not walked, as the log names it.
inline constexpr const char* kRefusedPathForm = "refused path form";

// A user's folder that may be walked, with whose it is.
struct UserFolder {
    std::string user;     // the user's key below HKEY_USERS (the SID)
    std::string profile;  // the user's profile folder, canonical
    std::string folder;   // canonical, long form
};

// A folder to walk, or why not.
struct FolderVerdict {
    std::string folder;   // canonical, long form; empty when refused
    std::string refusal;  // the reason, when refused
};

class FolderConfinement {
public:
    explicit FolderConfinement(ScanTarget& target) : target_(target) {}
    FolderConfinement(const FolderConfinement&) = delete;
    FolderConfinement& operator=(const FolderConfinement&) = delete;

    // For each user of HKEY_USERS whose key user + keyBelowUser is readable
    // and whose value valueName is a non-empty text: that text + below,
    // judged against the user's profile folder; each accepted folder once,
    // each refused one a log warning.
    [[nodiscard]] std::vector<std::string> User_Folders(std::string_view keyBelowUser, std::string_view valueName,
                                                        std::string_view below, KnownPlaces places);
    // The same, each folder with its user and profile folder.
    [[nodiscard]] std::vector<UserFolder> User_Places(std::string_view keyBelowUser, std::string_view valueName,
                                                      std::string_view below, KnownPlaces places);
    // Another folder of that user (a value of the user's hive or of a policy,
    // named by what): judged like those of User_Places; a refusal is logged.
    [[nodiscard]] FolderVerdict Other_User_Folder(const UserFolder& user, std::string_view folder,
                                                  std::string_view what, KnownPlaces places);
    // The Windows directory the computer reports + below, when it lies below
    // that directory; a refusal is logged.
    [[nodiscard]] FolderVerdict Windows_Folder(std::string_view below);

    // The canonical, long form of a folder read from the computer, and no
    // reparse point on its way (a remote computer's asked through its share).
    [[nodiscard]] FolderVerdict Canonical_Folder(std::string_view folder);

private:
    struct Profile {
        std::string folder;   // canonical; empty when unknown
        std::string refusal;  // why it is unknown
    };
    [[nodiscard]] Profile Profile_Of(std::string_view user);
    [[nodiscard]] FolderVerdict Judge(const Profile& profile, std::string_view folder, KnownPlaces places);
    [[nodiscard]] std::string Long_Form(std::string_view canonical);
    [[nodiscard]] std::string Reparse_Refusal(std::string_view canonical);
    void Warn(std::string_view who, std::string_view what, std::string_view reason);

    ScanTarget& target_;
};

}  // namespace corvane::scan
