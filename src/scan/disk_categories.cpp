#include "scan/disk_categories.h"

#include <string>

#include "base/extract_file_path.h"
#include "base/ui/progress_events.h"
#include "remote/share_walk.h"
#include "scan/category_descriptor.h"
#include "scan/folder_category.h"
#include "scan/scan_control.h"
#include "scan/scan_target.h"

namespace corvane::scan {

namespace {

void Walk_Windows_Folder(FolderCategory& category, std::string_view below) {
    if (!category.Runs()) return;
    const FolderVerdict verdict = category.Confinement().Windows_Folder(below);
    if (verdict.refusal.empty()) category.Walk(verdict.folder);
}

void Walk_User_Folders(FolderCategory& category, std::string_view keyBelowUser, std::string_view valueName,
                       std::string_view below, KnownPlaces places) {
    if (!category.Runs()) return;
    for (const UserFolder& user : category.Confinement().User_Folders(keyBelowUser, valueName, below, places)) {
        category.Walk(user.folder, {.ownerSid = user.ownerSid});
        if (category.Stopped()) break;
    }
}

void Windows_Folder_Category(ScanArguments& args, std::string_view below) {
    FolderCategory category(args);
    Walk_Windows_Folder(category, below);
    category.Finish();
}

void User_Folder_Category(ScanArguments& args, std::string_view keyBelowUser, std::string_view valueName,
                          KnownPlaces places, std::string_view below = {}) {
    FolderCategory category(args);
    Walk_User_Folders(category, keyBelowUser, valueName, below, places);
    category.Finish();
}

// The row of an invalid shortcut of the Recent folder, when its target lies
// on a fixed drive and neither a file nor a folder of that name exists there.
// The shortcut's identity is read through the file system's own view (WMI's
// listing has none), so that the fix deletes this very file or nothing.
void Test_Shortcut(CategoryRun& run, ScanTarget& target, const UserFolder& recent, const wmi::IObject& shortcut) {
    const std::string name = shortcut.Get("Name").As_String();
    if (run.Is_Excepted(name)) return;
    std::string shortcutTarget = shortcut.Get("Target").As_String();
    if (!Extract_File_Path(shortcutTarget) || !target.Is_Fixed_Drive(shortcutTarget.substr(0, 2))) return;
    if (target.Remote_File_Exists(shortcutTarget) || target.Remote_Folder_Exists(shortcutTarget)) return;
    const FileIdentity identity = remote::Present_Identity(target.Context(), name);
    if (!identity.known) return;
    std::string text = shortcut.Get("FileName").As_String();
    if (const std::string extension = shortcut.Get("Extension").As_String(); !extension.empty()) {
        text += "." + extension;
    }
    run.Add_File_Problem({.type = FixType::File,
                          .text = std::move(text),
                          .detail = shortcutTarget,
                          .path = name,
                          .kind = "Invalid Shortcuts",
                          .location = name,
                          .startFolder = recent.folder,
                          .ownerSid = recent.ownerSid,
                          .identity = identity,
                          .evidence = Path_Evidence(shortcutTarget)},
                         true);
    run.Let_Messages_Through();
}

}  // namespace

void Scan_Mini_Dump_Files(ScanArguments& args) { Windows_Folder_Category(args, "\\Minidump"); }
void Scan_Windows_Temp_Files(ScanArguments& args) { Windows_Folder_Category(args, "\\Temp"); }
void Scan_Prefetch_Files(ScanArguments& args) { Windows_Folder_Category(args, "\\Prefetch"); }

void Scan_User_Temp_Files(ScanArguments& args) {
    User_Folder_Category(args, kVolatileEnvironment, "LOCALAPPDATA", KnownPlaces::UserTemp, "\\Temp");
}
void Scan_Thumbnail_Cache_Files(ScanArguments& args) {
    User_Folder_Category(args, kVolatileEnvironment, "LOCALAPPDATA", KnownPlaces::ThumbnailCache,
                         "\\Microsoft\\Windows\\Explorer");
}
void Scan_Downloaded_Temp_Files(ScanArguments& args) {
    User_Folder_Category(args, kShellFolders, "{374DE290-123F-4565-9164-39C4925E467B}", KnownPlaces::Downloads);
}
void Scan_CD_Burn_Temp_Files(ScanArguments& args) {
    User_Folder_Category(args, kShellFolders, "CD Burning", KnownPlaces::CdBurn);
}
void Scan_Recent_File_Shortcuts(ScanArguments& args) {
    User_Folder_Category(args, kShellFolders, "Recent", KnownPlaces::Recent);
}
void Scan_IE_History_Files(ScanArguments& args) {
    User_Folder_Category(args, kShellFolders, "History", KnownPlaces::History);
}
void Scan_IE_Cookie_Files(ScanArguments& args) {
    User_Folder_Category(args, kShellFolders, "Cookies", KnownPlaces::Cookies);
}
void Scan_IE_Temporary_Files(ScanArguments& args) {
    User_Folder_Category(args, kShellFolders, "Cache", KnownPlaces::TemporaryInternetFiles);
}

void Scan_Downloaded_Installations(ScanArguments& args) {
    FolderCategory category(args);
    Walk_User_Folders(category, kVolatileEnvironment, "LOCALAPPDATA", "\\Downloaded Installations",
                      KnownPlaces::DownloadedInstallations);
    if (!category.Stopped()) Walk_Windows_Folder(category, "\\Downloaded Installations");
    category.Finish();
}

void Scan_Invalid_Shortcuts(ScanArguments& args) {
    FolderCategory category(args);
    CategoryRun& run = category.Run();
    ScanTarget& target = args.target;
    if (!category.Runs()) return category.Finish();
    for (const UserFolder& recent :
         category.Confinement().User_Folders(kShellFolders, "Recent", "", KnownPlaces::Recent)) {
        if (!Is_Walkable_Folder(target, recent.folder)) continue;
        const WqlFolder wql = Wql_Folder(recent.folder);
        const auto shortcuts = target.Cimv2().ExecQuery(
            "Select * From Win32_ShortcutFile Where Drive='" + wql.drive + "' And Path='" + wql.path + "'",
            wmi::kReturnImmediately);
        bool leave = false;
        for (const wmi::ObjectPtr& shortcut : shortcuts) {
            Test_Shortcut(run, target, recent, *shortcut);
            leave = args.control.StopRequested || args.control.SkipRequested;
            if (leave) break;
        }
        if (leave) break;
    }
    category.Finish();
}

namespace {

// A shortcut row names the shortcut file.
constexpr RecheckRule kShortcutRules[] = {{FixType::File, Reason::ShortcutTargetMissing}};

constexpr ScanCategory kCategories[] = {
    {"dA", "Mini Dump Files", "File", "[Mini Dump Files]", &Scan_Mini_Dump_Files, kFileRules},
    {"dB", "User Temp Files", "File", "[User Temp Files]", &Scan_User_Temp_Files, kFileRules},
    {"dC", "Invalid Shortcuts", "File", "[Invalid Shortcuts]", &Scan_Invalid_Shortcuts, kShortcutRules},
    {"dD", "CD Burn Temp Files", "File", "[CD Burn Temp Files]", &Scan_CD_Burn_Temp_Files, kFileRules},
    {"dE", "Thumbnail Cache Files", "File", "[Thumbnail Cache Files]", &Scan_Thumbnail_Cache_Files, kFileRules},
    {"dF", "Downloaded Temp Files", "File", "[Downloaded Temp Files]", &Scan_Downloaded_Temp_Files, kFileRules, false},
    {"dG", "Windows Temp Files", "File", "[Windows Temp Files]", &Scan_Windows_Temp_Files, kFileRules},
    {"dH", "Recently Used File Shortcuts", "File", "[Recently Used File Shortcuts]", &Scan_Recent_File_Shortcuts,
     kFileRules},
    {"dI", "Prefetch Application Cache Files", "File", "[Prefetch Application Cache Files]", &Scan_Prefetch_Files,
     kFileRules},
    {"dJ", "Downloaded Installation Files", "File", "[Downloaded Installation Files]", &Scan_Downloaded_Installations,
     kFileRules},
    {"iA", "History Files", "IEUrlHistory", "[History Files]", &Scan_IE_History_Files, kFileRules},
    {"iB", "Cookie Files", "IEUrlHistory", "[Cookie Files]", &Scan_IE_Cookie_Files, kFileRules},
    {"iC", "Temporary Internet Files", "IEUrlHistory", "[Temporary Internet Files]", &Scan_IE_Temporary_Files,
     kFileRules},
};

}  // namespace

std::span<const ScanCategory> Disk_Categories() { return kCategories; }

}  // namespace corvane::scan
