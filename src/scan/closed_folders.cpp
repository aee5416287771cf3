#include "scan/closed_folders.h"

#include <array>

#include "base/text.h"
#include "scan/category_run.h"
#include "scan/scan_target.h"
#include "scan/user_profiles.h"

namespace corvane::scan {

namespace {

constexpr const char* kCurrentVersionKey = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion";
// Where Windows names the program folders (both views on 64-bit Windows).
constexpr std::array<std::string_view, 6> kProgramFolderValues{"ProgramFilesDir",      "ProgramFilesDir (x86)",
                                                               "ProgramW6432Dir",      "CommonFilesDir",
                                                               "CommonFilesDir (x86)", "CommonW6432Dir"};
// Kept out at every fixed drive's root even when the computer names them
// elsewhere: another Windows, its programs and profiles, and what each
// volume keeps for itself.
constexpr std::array<std::string_view, 10> kClosedAtEveryRoot{"Windows",
                                                              "Program Files",
                                                              "Program Files (x86)",
                                                              "ProgramData",
                                                              "System Volume Information",
                                                              "$Recycle.Bin",
                                                              "RECYCLER",
                                                              "RECYCLED",
                                                              "Users",
                                                              "Documents and Settings"};
constexpr std::int32_t kKeyNotFound = 2;

// The string values of a key; false when the key exists but cannot be read.
bool Read_Values(ScanTarget& target, const std::string& key, StringValues& values, std::string& why) {
    std::int32_t code = 0;
    if (target.Check_Access(kHkeyLocalMachineRoot, key, remote::kKeyQueryValue, code)) {
        (void)target.Enum_String_Values(kHkeyLocalMachineRoot, key, values);
        return true;
    }
    if (code == kKeyNotFound) return true;
    why = std::string(kHklmPrefix) + key + " cannot be read (" + std::to_string(code) + ")";
    return false;
}

void Add_Values(ClosedFolders& folders, const StringValues& values, auto&& wanted) {
    for (std::size_t i = 0; i < values.names.size(); ++i) {
        if (wanted(values.names[i])) folders.Add(values.data[i]);
    }
}

}  // namespace

std::string Folder_Key(std::string_view path) {
    if (path.size() < 3 || path[1] != ':' || (path[2] != '\\' && path[2] != '/')) return {};
    const char drive = path[0];
    if (!((drive >= 'A' && drive <= 'Z') || (drive >= 'a' && drive <= 'z'))) return {};
    std::vector<std::string> names;
    std::string_view rest = path.substr(3);
    while (!rest.empty()) {
        const std::size_t end = rest.find_first_of("\\/");
        std::string_view name = rest.substr(0, end);
        rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
        if (name == "..") {
            if (!names.empty()) names.pop_back();
            continue;
        }
        while (!name.empty() && (name.back() == '.' || name.back() == ' ')) name.remove_suffix(1);
        if (!name.empty()) names.push_back(Upper_Text(name));
    }
    std::string key = Upper_Text(path.substr(0, 2));
    for (const std::string& name : names) key += "\\" + name;
    return key;
}

void ClosedFolders::Add(std::string_view path) {
    if (std::string key = Folder_Key(path); !key.empty()) keys_.insert(std::move(key));
}

bool ClosedFolders::Contains(std::string_view path) const {
    const std::string key = Folder_Key(path);
    return !key.empty() && keys_.contains(key);
}

bool Read_Closed_Folders(ScanTarget& target, const std::vector<std::string>& drives, ClosedFolders& folders,
                         std::string& why) {
    for (const std::string& drive : drives) {
        for (const std::string_view name : kClosedAtEveryRoot) folders.Add(drive + "\\" + std::string(name));
    }
    std::string windows;
    if (!target.Get_Windows_Directory(windows) || Folder_Key(windows).empty()) {
        why = "the Windows directory cannot be read";
        return false;
    }
    folders.Add(windows);

    StringValues values;
    if (!Read_Values(target, kCurrentVersionKey, values, why)) return false;
    Add_Values(folders, values, [](const std::string& name) {
        for (const std::string_view wanted : kProgramFolderValues) {
            if (Equals_Ignore_Case(name, wanted)) return true;
        }
        return false;
    });
    // ProgramData, ProfilesDirectory, Default, Public and the older forms:
    // every folder the profile list names, and each profile's own folder.
    values = {};
    if (!Read_Values(target, kProfileListKey, values, why)) return false;
    Add_Values(folders, values, [](const std::string&) { return true; });
    for (const std::string& profile : target.Enum_Key(kHkeyLocalMachineRoot, kProfileListKey)) {
        values = {};
        if (!Read_Values(target, std::string(kProfileListKey) + "\\" + profile, values, why)) return false;
        Add_Values(folders, values,
                   [](const std::string& name) { return Equals_Ignore_Case(name, "ProfileImagePath"); });
    }
    return true;
}

}  // namespace corvane::scan
