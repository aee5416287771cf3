#include "scan/chromium_categories.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/log.h"
#include "base/reporter.h"
#include "scan/category_descriptor.h"
#include "scan/chromium_profiles.h"
#include "scan/folder_category.h"
#include "scan/running_browsers.h"
#include "scan/scan_target.h"

namespace corvane::scan {

namespace {

struct ChromiumBrowser {
    const char* name;       // "Chrome", as the log names it
    const char* process;    // its program's process name
    const char* dataBelow;  // the user-data folder below the user's LOCALAPPDATA
    const char* policyKey;  // below HKEY_LOCAL_MACHINE and below the user's hive
    KnownPlaces places;
};

constexpr ChromiumBrowser kChrome{"Chrome", "chrome.exe", "\\Google\\Chrome\\User Data",
                                  "SOFTWARE\\Policies\\Google\\Chrome", KnownPlaces::ChromeUserData};
constexpr ChromiumBrowser kEdge{"Edge", "msedge.exe", "\\Microsoft\\Edge\\User Data",
                                "SOFTWARE\\Policies\\Microsoft\\Edge", KnownPlaces::EdgeUserData};
constexpr ChromiumBrowser kBrave{"Brave", "brave.exe", "\\BraveSoftware\\Brave-Browser\\User Data",
                                 "SOFTWARE\\Policies\\BraveSoftware\\Brave", KnownPlaces::BraveUserData};

// Emptied whole, their folders after their content.
constexpr std::string_view kProfileCaches[] = {"\\Cache", "\\Code Cache", "\\GPUCache", "\\Media Cache"};
constexpr std::string_view kDataCaches[] = {"\\ShaderCache", "\\GrShaderCache"};
// Only these files, each with its journal as one row; never a sub-folder.
constexpr const char* kCookieFiles = "(FileName = 'Cookies' OR FileName = 'Cookies-journal') AND Extension = ''";
constexpr const char* kHistoryFiles =
    "(FileName = 'History' OR FileName = 'History-journal' OR FileName = 'Visited Links' OR "
    "FileName = 'Top Sites' OR FileName = 'Top Sites-journal' OR FileName = 'Shortcuts' OR "
    "FileName = 'Shortcuts-journal' OR FileName = 'Favicons' OR FileName = 'Favicons-journal') AND Extension = ''";

enum class Data { Cache, Cookies, History };

// Where one user's browser keeps its data: the user-data folder and the
// folder a policy moved the cache to ("" none).
struct BrowserPlaces {
    std::string userData;
    std::string diskCache;
};

class ChromiumScan {
public:
    ChromiumScan(ScanArguments& args, const ChromiumBrowser& browser, Data data)
        : category_(args), target_(args.target), browser_(browser), data_(data), running_(args.target) {}

    void Run() {
        if (category_.Runs()) {
            for (const UserFolder& user : category_.Confinement().User_Folders(kVolatileEnvironment, "LOCALAPPDATA",
                                                                               browser_.dataBelow, browser_.places)) {
                const std::optional<BrowserPlaces> places = Places_Of(user);
                if (!places || running_.Runs_For(browser_.process, browser_.name, user.ownerSid)) continue;
                Walk_User(user, *places);
                if (category_.Stopped()) break;
            }
        }
        category_.Finish();
    }

private:
    // A policy value of the computer, else of the user's hive: "" when
    // neither sets it, nullopt when one cannot be read.
    std::optional<std::string> Policy(const UserFolder& user, std::string_view valueName) {
        for (const auto& [root, key] : {std::pair{kHkeyLocalMachineRoot, std::string(browser_.policyKey)},
                                        std::pair{kHkeyUsersRoot, user.ownerSid + "\\" + browser_.policyKey}}) {
            std::string value;
            switch (target_.Get_String_Value(root, key, valueName, 1, value)) {
                case remote::StringRead::Read: return value;
                case remote::StringRead::CallFailed: return std::nullopt;
                default: break;
            }
        }
        return std::string();
    }

    std::string Environment(const UserFolder& user, std::string_view valueName) {
        std::string value;
        if (target_.Get_String_Value(kHkeyUsersRoot, user.ownerSid + kVolatileEnvironment, valueName, 1, value) !=
            remote::StringRead::Read) {
            return {};
        }
        return value;
    }

    // The folder a policy value names, judged for that user; "" when the
    // policy is not set, nullopt when the folder may not be walked.
    std::optional<std::string> Policy_Folder(const UserFolder& user, std::string_view valueName) {
        const std::optional<std::string> value = Policy(user, valueName);
        if (!value) {
            Warn(user, std::string(valueName) + " could not be read");
            return std::nullopt;
        }
        if (value->empty()) return std::string();
        const PolicyVariables variables{Environment(user, "LOCALAPPDATA"), Environment(user, "APPDATA"), user.profile,
                                        Environment(user, "USERNAME")};
        const std::string folder = Expand_Policy_Path(*value, variables);
        if (folder.empty()) {
            Warn(user, std::string(valueName) + " = " + *value + ": a variable that cannot be expanded");
            return std::nullopt;
        }
        FolderVerdict verdict = category_.Confinement().Other_User_Folder(
            user, folder, std::string(browser_.name) + " policy " + std::string(valueName), browser_.places);
        if (!verdict.refusal.empty()) return std::nullopt;
        return std::move(verdict.folder);
    }

    std::optional<BrowserPlaces> Places_Of(const UserFolder& user) {
        const std::optional<std::string> userData = Policy_Folder(user, "UserDataDir");
        if (!userData) return std::nullopt;
        const std::optional<std::string> diskCache = Policy_Folder(user, "DiskCacheDir");
        if (!diskCache) return std::nullopt;
        return BrowserPlaces{userData->empty() ? user.folder : *userData, *diskCache};
    }

    void Warn(const UserFolder& user, const std::string& what) {
        target_.Context().Ports().reporter.Log_Event(std::string(browser_.name) + " of user " + user.ownerSid + " on " +
                                                         target_.Context().ComputerName + " not cleaned: its policy " +
                                                         what,
                                                     LOG_WARNING);
    }

    std::vector<std::string> Profiles(const std::string& folder) {
        std::vector<std::string> profiles;
        for (const wmi::ObjectPtr& profile : category_.Walker().Sub_Folders(folder, "")) {
            std::string path = profile->Get("Name").As_String();
            if (Is_Chromium_Profile_Name(path.substr(path.find_last_of('\\') + 1))) profiles.push_back(std::move(path));
        }
        return profiles;
    }

    void Walk_User(const UserFolder& user, const BrowserPlaces& places) {
        if (!Is_Walkable_Folder(target_, places.userData)) return;
        FolderScan scan;
        scan.ownerSid = user.ownerSid;
        scan.keptBy = browser_.process;
        if (data_ != Data::Cache) {
            scan.fileCondition = data_ == Data::Cookies ? kCookieFiles : kHistoryFiles;
            scan.listFolders = false;
            scan.walkSubFolders = false;
        }
        for (const std::string& profile : Profiles(places.userData)) {
            if (data_ == Data::Cache) {
                for (const std::string_view below : kProfileCaches) Walk(profile + std::string(below), scan);
            } else {
                Walk(profile, scan);
                // Today's builds keep the cookies in the profile's Network folder.
                if (data_ == Data::Cookies) Walk(profile + "\\Network", scan);
            }
            if (category_.Stopped()) return;
        }
        if (data_ != Data::Cache) return;
        for (const std::string_view below : kDataCaches) Walk(places.userData + std::string(below), scan);
        // A moved cache holds a folder per profile.
        if (places.diskCache.empty() || !Is_Walkable_Folder(target_, places.diskCache)) return;
        for (const std::string& profile : Profiles(places.diskCache)) {
            for (const std::string_view below : kProfileCaches) Walk(profile + std::string(below), scan);
            if (category_.Stopped()) return;
        }
    }

    void Walk(const std::string& folder, const FolderScan& scan) {
        if (!category_.Stopped()) category_.Walk(folder, scan);
    }

    FolderCategory category_;
    ScanTarget& target_;
    const ChromiumBrowser& browser_;
    Data data_;
    RunningBrowsers running_;
};

void Chromium_Category(ScanArguments& args, const ChromiumBrowser& browser, Data data) {
    ChromiumScan(args, browser, data).Run();
}

}  // namespace

void Scan_Chrome_Cache(ScanArguments& args) { Chromium_Category(args, kChrome, Data::Cache); }
void Scan_Chrome_Cookies(ScanArguments& args) { Chromium_Category(args, kChrome, Data::Cookies); }
void Scan_Chrome_History(ScanArguments& args) { Chromium_Category(args, kChrome, Data::History); }
void Scan_Edge_Cache(ScanArguments& args) { Chromium_Category(args, kEdge, Data::Cache); }
void Scan_Edge_Cookies(ScanArguments& args) { Chromium_Category(args, kEdge, Data::Cookies); }
void Scan_Edge_History(ScanArguments& args) { Chromium_Category(args, kEdge, Data::History); }
void Scan_Brave_Cache(ScanArguments& args) { Chromium_Category(args, kBrave, Data::Cache); }
void Scan_Brave_Cookies(ScanArguments& args) { Chromium_Category(args, kBrave, Data::Cookies); }
void Scan_Brave_History(ScanArguments& args) { Chromium_Category(args, kBrave, Data::History); }

namespace {

constexpr ScanCategory kCategories[] = {
    {"bA", "Chrome Cache", "Chromium", "[Chrome Cache]", &Scan_Chrome_Cache, kBrowserFileRules},
    {"bB", "Chrome Cookies", "Chromium", "[Chrome Cookies]", &Scan_Chrome_Cookies, kBrowserFileRules},
    {"bC", "Chrome History", "Chromium", "[Chrome History]", &Scan_Chrome_History, kBrowserFileRules},
    {"bD", "Edge Cache", "Chromium", "[Edge Cache]", &Scan_Edge_Cache, kBrowserFileRules},
    {"bE", "Edge Cookies", "Chromium", "[Edge Cookies]", &Scan_Edge_Cookies, kBrowserFileRules},
    {"bF", "Edge History", "Chromium", "[Edge History]", &Scan_Edge_History, kBrowserFileRules},
    {"bG", "Brave Cache", "Chromium", "[Brave Cache]", &Scan_Brave_Cache, kBrowserFileRules},
    {"bH", "Brave Cookies", "Chromium", "[Brave Cookies]", &Scan_Brave_Cookies, kBrowserFileRules},
    {"bI", "Brave History", "Chromium", "[Brave History]", &Scan_Brave_History, kBrowserFileRules},
};

}  // namespace

std::span<const ScanCategory> Chromium_Categories() { return kCategories; }

}  // namespace corvane::scan
