#include "scan/browser_categories.h"

#include <array>
#include <span>
#include <vector>

#include "base/text.h"
#include "scan/folder_category.h"
#include "scan/scan_control.h"
#include "scan/scan_target.h"

namespace corvane::scan {

namespace {

constexpr const char* kHkeyUsersText = "HKEY_USERS";
constexpr const char* kTypedUrls = "\\Software\\Microsoft\\Internet Explorer\\TypedURLs";
constexpr const char* kFormsStorage = "\\Software\\Microsoft\\Internet Explorer\\IntelliForms\\Storage";
constexpr const char* kProfilesBelow = "\\Mozilla\\Firefox\\Profiles";
// Both generations: "xxxxxxxx.default" and today's "xxxxxxxx.default-release".
constexpr const char* kProfileFilter = "Name Like '%.default%'";

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
            run.Add_Registry_Problem({.fixDigit = '1',
                                      .text = name,
                                      .data = values.data[i],
                                      .problem = "Typed URLs",
                                      .keyPath = keyPath,
                                      .registryKey = Users_Key(keyPath),
                                      .valueName = name,
                                      .root = kHkeyUsersRoot});
        }
        if (run.After_Entry(static_cast<std::int64_t>(i), upperBound) != EntryStep::Continue) return true;
    }
    return false;
}

void IE_Registry_Category(ScanArguments& args, std::span<const std::string_view> keysBelowUser) {
    CategoryRun run(args);
    if (!run.Is_Excepted(kHkeyUsersText)) {
        bool ended = false;
        for (const std::string& user : args.target.Enum_Key(kHkeyUsersRoot, "")) {
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

void Firefox_Category(ScanArguments& args, const FirefoxData& data) {
    FolderCategory category(args);
    ScanTarget& target = args.target;
    const std::string condition = File_Condition(data);
    // Data files are deleted one by one; the profile's folders stay. The
    // cache is emptied whole, its folders after their content.
    const FolderScan scan{
        .folderCondition = "", .fileCondition = condition, .folderIcon = "File", .listFolders = condition.empty()};
    for (const std::string& base : User_Folder_Values(target, kVolatileEnvironment, data.environmentValue)) {
        const std::string profiles = base + kProfilesBelow;
        if (!Is_Walkable_Folder(target, profiles)) continue;
        for (const wmi::ObjectPtr& profile : category.Walker().Sub_Folders(profiles, kProfileFilter)) {
            const std::string folder = profile->Get("Name").As_String();
            if (!Is_Firefox_Profile_Name(folder.substr(folder.find_last_of('\\') + 1))) continue;
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

bool Is_Firefox_Profile_Name(std::string_view name) { return Lower_Ascii(name).find(".default") != std::string::npos; }

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

void Scan_Firefox_Cookies(ScanArguments& args) { Firefox_Category(args, {"APPDATA", {""}, {"cookies.sqlite"}}); }
void Scan_Firefox_Cache(ScanArguments& args) { Firefox_Category(args, {"LOCALAPPDATA", {"\\Cache", "\\cache2"}, {}}); }
void Scan_Firefox_Downloads(ScanArguments& args) {
    Firefox_Category(args, {"APPDATA", {""}, {"downloads.sqlite", "places.sqlite"}});
}
void Scan_Firefox_Form_History(ScanArguments& args) {
    Firefox_Category(args, {"APPDATA", {""}, {"formhistory.sqlite"}});
}
void Scan_Firefox_Passwords(ScanArguments& args) {
    Firefox_Category(args, {"APPDATA", {""}, {"signons.sqlite", "logins.json", "key4.db"}});
}
void Scan_Firefox_Search(ScanArguments& args) {
    Firefox_Category(args, {"APPDATA", {""}, {"search.sqlite", "search.json.mozlz4"}});
}
void Scan_Firefox_Page_Settings(ScanArguments& args) {
    Firefox_Category(args, {"APPDATA", {""}, {"content-prefs.sqlite", "permissions.sqlite"}});
}

}  // namespace corvane::scan
