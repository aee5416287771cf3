#include "scan/user_profiles.h"

#include <algorithm>
#include <array>
#include <utility>

#include "base/log.h"
#include "base/reporter.h"
#include "base/text.h"
#include "remote/canonical_path.h"
#include "remote/share_walk.h"
#include "scan/category_run.h"

namespace corvane::scan {

namespace {

constexpr const char* kCurrentVersion = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion";
// The system account's profile, below the Windows directory: the owner of
// the .DEFAULT hive, which has no entry in the profile list.
constexpr const char* kSystemProfile = "\\system32\\config\\systemprofile";
constexpr const char* kDefaultHive = ".DEFAULT";
// Folders of the system as the profile list and CurrentVersion name them,
// and by their usual names at every fixed drive's root.
constexpr std::array<const char*, 3> kOwnedInProfileList{"ProgramData", "Default", "Public"};
constexpr std::array<const char*, 3> kProgramFolders{"ProgramFilesDir", "ProgramFilesDir (x86)", "ProgramW6432Dir"};
constexpr std::array<const char*, 4> kOwnedAtRoot{"Windows", "Program Files", "Program Files (x86)", "ProgramData"};
constexpr std::array<const char*, 2> kContainersAtRoot{"Users", "Documents and Settings"};

bool Holds_Name(const std::vector<std::string>& names, std::string_view name) {
    return std::any_of(names.begin(), names.end(),
                       [&](const std::string& one) { return Equals_Ignore_Case(one, name); });
}

bool Is_Copy(std::string_view key) { return Lower_Ascii(key).ends_with(".bak"); }

// The keys of the profile list that are users' profiles whose hive is not
// among the loaded ones.
std::vector<std::string> Unloaded_Profiles(const std::vector<std::string>& keys,
                                           const std::vector<std::string>& hives) {
    std::vector<std::string> unloaded;
    for (const std::string& key : keys) {
        if (Starts_With_Ignore_Case(key, "S-1-") && !Is_Copy(key) && !Is_Service_Account(key) &&
            !Holds_Name(hives, key)) {
            unloaded.push_back(key);
        }
    }
    return unloaded;
}

void Log_Once(ScanTarget& target, const std::string& text) {
    remote::TargetContext& context = target.Context();
    if (context.First_Note(text)) context.Ports().reporter.Log_Event(text, LOG_WARNING);
}

}  // namespace

bool Is_Service_Account(std::string_view sid) {
    for (const char* account : {"S-1-5-18", "S-1-5-19", "S-1-5-20"}) {
        if (Equals_Ignore_Case(sid, account)) return true;
    }
    return Starts_With_Ignore_Case(sid, "S-1-5-80-") || Starts_With_Ignore_Case(sid, "S-1-5-82-");
}

std::vector<std::string> Registry_Users(ScanTarget& target) {
    std::vector<std::string> hives = target.Enum_Key(kHkeyUsersRoot, "");
    const std::size_t count = Unloaded_Profiles(target.Enum_Key(kHkeyLocalMachineRoot, kProfileListKey), hives).size();
    if (count > 0) {
        const std::string& computer = target.Context().ComputerName;
        Log_Once(target, count == 1
                             ? "1 user profile is not loaded on " + computer + ": its registry entries are not scanned"
                             : std::to_string(count) + " user profiles are not loaded on " + computer +
                                   ": their registry entries are not scanned");
    }
    return hives;
}

const std::vector<UserProfile>& UserProfiles::Users() {
    if (users_) return *users_;
    users_.emplace();
    const std::vector<std::string> hives = target_.Enum_Key(kHkeyUsersRoot, "");
    for (const std::string& hive : hives) {
        const Folder& folder = Profile_Folder(hive);
        users_->push_back({hive, folder.folder, folder.refusal, true});
    }
    const std::vector<std::string> keys = target_.Enum_Key(kHkeyLocalMachineRoot, kProfileListKey);
    const std::vector<std::string> unloaded = Unloaded_Profiles(keys, hives);
    if (unloaded.empty()) return *users_;

    // Every profile folder the list names, so that none is taken inside or
    // around another.
    std::vector<std::pair<std::string, std::string>> listed;  // SID, folder
    for (const std::string& key : keys) {
        if (Is_Copy(key)) continue;
        if (const Folder& folder = Profile_Folder(key); !folder.folder.empty()) listed.emplace_back(key, folder.folder);
    }
    std::string systemUnknown;
    (void)Read_System_Folders(systemUnknown);
    for (const std::string& sid : unloaded) {
        const Folder& folder = Profile_Folder(sid);
        std::string refusal = !folder.refusal.empty() ? folder.refusal : systemUnknown;
        if (refusal.empty()) refusal = Refusal(sid, folder.folder, listed);
        if (refusal.empty()) {
            users_->push_back({sid, folder.folder, {}, false});
            continue;
        }
        Log_Once(target_, "Profile not cleaned on " + target_.Context().ComputerName + ", user " + sid +
                              " (not logged on): ProfileImagePath = " + folder.value + ": " + refusal);
    }
    return *users_;
}

const UserProfiles::Folder& UserProfiles::Profile_Folder(const std::string& sid) {
    const std::string key = Upper_Text(sid);
    if (const auto known = folders_.find(key); known != folders_.end()) return known->second;
    return folders_.emplace(key, Read_Profile_Folder(sid)).first->second;
}

UserProfiles::Folder UserProfiles::Read_Profile_Folder(const std::string& sid) {
    Folder result;
    const remote::StringRead read = target_.Get_Expanded_String_Value(
        kHkeyLocalMachineRoot, std::string(kProfileListKey) + "\\" + sid, "ProfileImagePath", result.value);
    if (read == remote::StringRead::CallFailed) {
        result.refusal = "the profile folder could not be read";
        return result;
    }
    if (read == remote::StringRead::ProviderError) {
        // A hive the list does not name is the system account's only when it
        // is .DEFAULT; a user's classes hive ("<SID>_Classes") is nobody's.
        std::string windows;
        if (!Equals_Ignore_Case(sid, kDefaultHive)) {
            result.refusal = "not in the profile list";
        } else if (!target_.Get_Windows_Directory(windows) || windows.empty()) {
            result.refusal = "no Windows directory";
        } else {
            result.value = windows + kSystemProfile;
        }
        if (!result.refusal.empty()) return result;
    }
    const auto canonical = remote::Canonical_Path(result.value);
    if (canonical && canonical->size() > 3) result.folder = remote::Long_Form(target_.Context(), *canonical);
    if (result.folder.empty()) result.refusal = kRefusedPathForm;
    return result;
}

std::string UserProfiles::Refusal(const std::string& sid, const std::string& folder,
                                  const std::vector<std::pair<std::string, std::string>>& listed) {
    using remote::Is_At_Or_Below;
    if (!target_.Is_Fixed_Drive(folder.substr(0, 2))) return "not on a fixed drive";
    if (Is_At_Or_Below(folder, windows_) || Is_At_Or_Below(windows_, folder)) return "below the Windows directory";
    for (const std::string& owned : owned_) {
        if (Is_At_Or_Below(folder, owned) || Is_At_Or_Below(owned, folder)) return "a folder of the system: " + owned;
    }
    for (const std::string& container : containers_) {
        if (Is_At_Or_Below(container, folder)) return "holds the profiles folder " + container;
    }
    for (const auto& [other, otherFolder] : listed) {
        // Two users whose profiles are one folder have it cleaned once.
        if (Equals_Ignore_Case(other, sid) || Equals_Ignore_Case(otherFolder, folder)) continue;
        if (Is_At_Or_Below(folder, otherFolder)) return "inside the profile of " + other;
        if (Is_At_Or_Below(otherFolder, folder)) return "holds the profile of " + other;
    }
    return {};
}

bool UserProfiles::Read_System_Folders(std::string& why) {
    const remote::TargetContext& context = target_.Context();
    const auto add = [&](std::vector<std::string>& to, std::string_view path) {
        const auto canonical = remote::Canonical_Path(path);
        if (!canonical || canonical->size() <= 3) return;
        std::string longForm = remote::Long_Form(context, *canonical);
        to.push_back(longForm.empty() ? *canonical : std::move(longForm));
    };
    std::string windows;
    const auto canonical = target_.Get_Windows_Directory(windows) ? remote::Canonical_Path(windows) : std::nullopt;
    if (!canonical || canonical->size() <= 3) {
        why = "no Windows directory";
        return false;
    }
    windows_ = remote::Long_Form(context, *canonical);
    if (windows_.empty()) windows_ = *canonical;
    for (const std::string& drive : context.FixedDrives) {
        for (const char* name : kOwnedAtRoot) add(owned_, drive + "\\" + name);
        for (const char* name : kContainersAtRoot) add(containers_, drive + "\\" + name);
    }
    const auto read = [&](const char* key, const char* value, std::vector<std::string>& to) {
        std::string path;
        const remote::StringRead result = target_.Get_Expanded_String_Value(kHkeyLocalMachineRoot, key, value, path);
        if (result == remote::StringRead::Read) add(to, path);
        if (result != remote::StringRead::CallFailed) return true;
        why = std::string(kHklmPrefix) + key + " " + value + " could not be read";
        return false;
    };
    for (const char* value : kOwnedInProfileList) {
        if (!read(kProfileListKey, value, owned_)) return false;
    }
    for (const char* value : kProgramFolders) {
        if (!read(kCurrentVersion, value, owned_)) return false;
    }
    return read(kProfileListKey, "ProfilesDirectory", containers_);
}

}  // namespace corvane::scan
