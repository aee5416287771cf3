#include "scan/browser_categories.h"

#include <algorithm>
#include <array>
#include <optional>
#include <span>
#include <vector>

#include "base/text.h"
#include "remote/machine_store.h"
#include "scan/category_descriptor.h"
#include "scan/firefox_profiles.h"
#include "scan/folder_category.h"
#include "scan/running_browsers.h"
#include "scan/scan_control.h"
#include "scan/scan_target.h"
#include "scan/user_profiles.h"

namespace corvane::scan {

namespace {

constexpr const char* kHkeyUsersText = "HKEY_USERS";
constexpr const char* kTypedUrls = "\\Software\\Microsoft\\Internet Explorer\\TypedURLs";
constexpr const char* kFormsStorage = "\\Software\\Microsoft\\Internet Explorer\\IntelliForms\\Storage";
constexpr const char* kProfilesBelow = "\\Mozilla\\Firefox\\Profiles";
constexpr const char* kFirefoxProcess = "firefox.exe";
// profiles.ini is a few hundred bytes; anything far larger is not one.
constexpr std::size_t kMaxProfilesIni = 1024 * 1024;

std::string Users_Key(std::string_view keyPath) { return std::string(kHkeyUsersText) + "\\" + std::string(keyPath); }

// Every string value of each key is a row; true when the category must end
// (Stop or Skip after a value).
bool List_Values(CategoryRun& run, ScanTarget& target, const std::string& keyPath) {
    if (run.Is_Excepted(Users_Key(keyPath)) || !target.Check_Access(kHkeyUsersRoot, keyPath, remote::kKeyQueryValue)) {
        return false;
    }
    StringValues values;
    if (!target.Enum_String_Values(kHkeyUsersRoot, keyPath, values)) return false;
    const auto upperBound = static_cast<std::int64_t>(values.names.size()) - 1;
    for (std::size_t i = 0; i < values.names.size(); ++i) {
        const std::string& name = values.names[i];
        if (!run.Is_Excepted(Users_Key(keyPath) + "\\" + name)) {
            // Form data are binary: the fix compares their bytes, as it reads them.
            std::vector<std::uint8_t> bytes;
            std::optional<std::string> evidence = values.data[i];
            if (values.types[i] == static_cast<std::int32_t>(remote::kRegBinary)) {
                evidence = target.Get_Binary_Value(kHkeyUsersRoot, keyPath, name, bytes)
                               ? std::optional<std::string>(Binary_Evidence(bytes))
                               : std::nullopt;
            }
            run.Add_Registry_Problem({.type = FixType::Value,
                                      .text = name,
                                      .data = values.data[i],
                                      .problem = "Typed URLs",
                                      .keyPath = keyPath,
                                      .registryKey = Users_Key(keyPath),
                                      .valueName = name,
                                      .root = kHkeyUsersRoot,
                                      .evidence = Listed_Evidence(std::move(evidence))});
        }
        if (run.After_Entry(static_cast<std::int64_t>(i), upperBound) != EntryStep::Continue) return true;
    }
    return false;
}

void IE_Registry_Category(ScanArguments& args, std::span<const std::string_view> keysBelowUser) {
    CategoryRun run(args);
    if (!run.Is_Excepted(kHkeyUsersText)) {
        bool ended = false;
        for (const std::string& user : Registry_Users(args.target)) {
            for (const std::string_view below : keysBelowUser) {
                ended = List_Values(run, args.target, user + std::string(below));
                if (ended) break;
            }
            if (ended || run.Stop_Requested()) break;
        }
    }
    run.Finish();
}

struct FirefoxData {
    const char* environmentValue;           // APPDATA or LOCALAPPDATA
    KnownPlaces places;                     // where that value leads
    std::vector<const char*> foldersBelow;  // below the profile; "" the profile itself
    std::vector<const char*> fileNames;     // matched anywhere in a file's path; none: every file
};

std::string File_Condition(const FirefoxData& data) {
    std::string condition;
    for (const char* name : data.fileNames) {
        if (!condition.empty()) condition += " OR ";
        condition += "NAME LIKE '%" + std::string(name) + "%'";
    }
    return condition;
}

// The profiles that profiles.ini beside the Profiles folder names, when the
// file can be read directly (the local computer); nothing otherwise.
std::optional<std::vector<std::string>> Named_Profiles(ScanTarget& target, const std::string& profiles) {
    if (target.Context().IsRemote) return std::nullopt;
    const std::string ini = profiles.substr(0, profiles.rfind('\\')) + "\\profiles.ini";
    const auto text = target.Context().Ports().localSystem.Read_Small_File(ini, kMaxProfilesIni);
    if (!text) return std::nullopt;
    return Profiles_Ini_Folders(*text, profiles);
}

bool Is_Profile(const std::optional<std::vector<std::string>>& named, const std::string& folder) {
    if (!named) return Is_Firefox_Profile_Name(folder.substr(folder.find_last_of('\\') + 1));
    return std::any_of(named->begin(), named->end(),
                       [&](const std::string& profile) { return Equals_Ignore_Case(profile, folder); });
}

void Firefox_Category(ScanArguments& args, const FirefoxData& data) {
    FolderCategory category(args);
    ScanTarget& target = args.target;
    const std::string condition = File_Condition(data);
    if (!category.Runs()) return category.Finish();
    RunningBrowsers running(target);
    for (const UserFolder& profiles : category.Confinement().User_Folders(kVolatileEnvironment, data.environmentValue,
                                                                          kProfilesBelow, data.places)) {
        if (!Is_Walkable_Folder(target, profiles.folder) ||
            running.Runs_For(kFirefoxProcess, "Firefox", profiles.ownerSid)) {
            continue;
        }
        // Data files are deleted one by one; the profile's folders stay. The
        // cache is emptied whole, its folders after their content.
        const FolderScan scan{.folderCondition = "",
                              .fileCondition = condition,
                              .folderIcon = "File",
                              .listFolders = condition.empty(),
                              .ownerSid = profiles.ownerSid,
                              .keptBy = kFirefoxProcess};
        const auto named = Named_Profiles(target, profiles.folder);
        for (const wmi::ObjectPtr& profile : category.Walker().Sub_Folders(profiles.folder, "")) {
            const std::string folder = profile->Get("Name").As_String();
            if (!Is_Profile(named, folder)) continue;
            for (const char* below : data.foldersBelow) {
                category.Walk(folder + below, scan);
                if (category.Stopped()) break;
            }
            if (category.Stopped()) break;
        }
        if (category.Stopped()) break;
    }
    category.Finish();
}

}  // namespace

void Scan_IE_Typed_URLs(ScanArguments& args) {
    constexpr std::array<std::string_view, 1> kKeys{kTypedUrls};
    IE_Registry_Category(args, kKeys);
}

void Scan_IE_Forms_Data(ScanArguments& args) {
    const std::string storage = kFormsStorage;
    const std::array<std::string, 2> keys{storage + "1", storage + "2"};
    const std::array<std::string_view, 2> views{keys[0], keys[1]};
    IE_Registry_Category(args, views);
}

void Scan_Firefox_Cookies(ScanArguments& args) {
    Firefox_Category(args, {"APPDATA", KnownPlaces::FirefoxRoamingProfiles, {""}, {"cookies.sqlite"}});
}
void Scan_Firefox_Cache(ScanArguments& args) {
    Firefox_Category(args, {"LOCALAPPDATA", KnownPlaces::FirefoxLocalProfiles, {"\\Cache", "\\cache2"}, {}});
}
void Scan_Firefox_Downloads(ScanArguments& args) {
    // Today's download list lives in places.sqlite beside the bookmarks: only
    // the old separate file can be deleted on its own.
    Firefox_Category(args, {"APPDATA", KnownPlaces::FirefoxRoamingProfiles, {""}, {"downloads.sqlite"}});
}
void Scan_Firefox_Form_History(ScanArguments& args) {
    Firefox_Category(args, {"APPDATA", KnownPlaces::FirefoxRoamingProfiles, {""}, {"formhistory.sqlite"}});
}
void Scan_Firefox_Passwords(ScanArguments& args) {
    // key4.db also holds the primary password and the certificates' keys.
    Firefox_Category(args, {"APPDATA", KnownPlaces::FirefoxRoamingProfiles, {""}, {"signons.sqlite", "logins.json"}});
}
void Scan_Firefox_Search(ScanArguments& args) {
    Firefox_Category(args,
                     {"APPDATA", KnownPlaces::FirefoxRoamingProfiles, {""}, {"search.sqlite", "search.json.mozlz4"}});
}
void Scan_Firefox_Page_Settings(ScanArguments& args) {
    Firefox_Category(
        args, {"APPDATA", KnownPlaces::FirefoxRoamingProfiles, {""}, {"content-prefs.sqlite", "permissions.sqlite"}});
}

namespace {

constexpr ScanCategory kCategories[] = {
    {"iD", "IE URL History", "IEUrlHistory", "[IE Url History]", &Scan_IE_Typed_URLs, kListedValueRules},
    {"iE", "IE Forms Data", "IEUrlHistory", "[IE Forms Data]", &Scan_IE_Forms_Data, kListedValueRules},
    {"xA", "Cookies", "Firefox", "[Firefox Cookies]", &Scan_Firefox_Cookies, kBrowserFileRules},
    {"xC", "Internet Cache", "Firefox", "[Firefox Cache]", &Scan_Firefox_Cache, kBrowserFileRules},
    {"xE", "Download History", "Firefox", "[Firefox Download History]", &Scan_Firefox_Downloads, kBrowserFileRules},
    {"xF", "Form Information", "Firefox", "[Firefox Form Info]", &Scan_Firefox_Form_History, kBrowserFileRules},
    {"xG", "Saved Passwords", "Firefox", "[Firefox Saved Passwords]", &Scan_Firefox_Passwords, kBrowserFileRules},
    {"xH", "Search Information", "Firefox", "[Firefox Search Info]", &Scan_Firefox_Search, kBrowserFileRules},
    {"xI", "Individual Page Settings", "Firefox", "[Firefox Individual Page Settings]", &Scan_Firefox_Page_Settings,
     kBrowserFileRules},
};

}  // namespace

std::span<const ScanCategory> Browser_Categories() { return kCategories; }

}  // namespace corvane::scan
