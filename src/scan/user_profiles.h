// Whose files the per-user categories clean and whose registry the per-user
// registry categories read. A user whose hive is loaded in HKEY_USERS names
// their folders in their own values; a user profile of the profile list
// whose hive is not loaded (a user who is not logged on) has only its
// profile folder, below which folder_confinement.h knows where each
// category's files are kept. ProfileImagePath is read as untrusted: the
// service accounts, ".bak" copies of a key and profiles below the Windows
// directory are never taken, nor a folder that is not a plain local path or
// that holds or lies inside another profile or a folder of the system.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "scan/scan_target.h"

namespace corvane::scan {

// The computer's profile list: a key per profile, ProfileImagePath its folder.
inline constexpr const char* kProfileListKey = "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\ProfileList";

// Why a folder is not walked, as the log names it.
inline constexpr const char* kRefusedPathForm = "refused path form";

// One user of the computer.
struct UserProfile {
    std::string sid;      // the key below HKEY_USERS or the profile list
    std::string folder;   // the profile folder, canonical and long; empty when unknown
    std::string refusal;  // why the folder is unknown
    bool loaded = false;  // the hive is in HKEY_USERS
};

// The accounts Windows runs services under: S-1-5-18, -19, -20, and the
// service and application-pool identities (S-1-5-80-*, S-1-5-82-*).
[[nodiscard]] bool Is_Service_Account(std::string_view sid);

// The keys of HKEY_USERS, for the per-user registry categories. The first
// call for a computer logs how many user profiles are not loaded: their
// registry is not there to be scanned.
[[nodiscard]] std::vector<std::string> Registry_Users(ScanTarget& target);

class UserProfiles {
public:
    explicit UserProfiles(ScanTarget& target) : target_(target) {}
    UserProfiles(const UserProfiles&) = delete;
    UserProfiles& operator=(const UserProfiles&) = delete;

    // Every loaded hive (a hive without an entry in the profile list is the
    // system account's when it is .DEFAULT, nobody's otherwise), then every
    // user profile whose hive is not loaded and whose folder passes; read
    // once. Each refused profile is logged once per computer.
    [[nodiscard]] const std::vector<UserProfile>& Users();

private:
    struct Folder {
        std::string folder;
        std::string refusal;
        std::string value;  // ProfileImagePath as read
    };
    [[nodiscard]] const Folder& Profile_Folder(const std::string& sid);
    [[nodiscard]] Folder Read_Profile_Folder(const std::string& sid);
    // Why a profile whose hive is not loaded is not taken; "" when it is.
    // listed: every profile folder of the list, by SID.
    [[nodiscard]] std::string Refusal(const std::string& sid, const std::string& folder,
                                      const std::vector<std::pair<std::string, std::string>>& listed);
    [[nodiscard]] bool Read_System_Folders(std::string& why);

    ScanTarget& target_;
    std::optional<std::vector<UserProfile>> users_;
    std::map<std::string, Folder> folders_;  // by upper-case SID
    std::string windows_;                    // the Windows directory, canonical and long
    std::vector<std::string> owned_;         // folders of the system: no profile holds or lies in one
    std::vector<std::string> containers_;    // folders of profiles: no profile holds one
};

}  // namespace corvane::scan
