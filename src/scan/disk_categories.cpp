#include "scan/disk_categories.h"

#include <string>

#include "base/extract_file_path.h"
#include "base/ui/main_window_port.h"
#include "scan/folder_category.h"
#include "scan/scan_control.h"
#include "scan/scan_target.h"

namespace corvane::scan {

namespace {

void Walk_Windows_Folder(FolderCategory& category, std::string_view below) {
    std::string windows;
    if (category.Run().Args().target.Get_Windows_Directory(windows) && !windows.empty()) {
        category.Walk(windows + std::string(below));
    }
}

void Walk_User_Folders(FolderCategory& category, std::string_view keyBelowUser, std::string_view valueName,
                       std::string_view below) {
    for (const std::string& folder : User_Folder_Values(category.Run().Args().target, keyBelowUser, valueName)) {
        category.Walk(folder + std::string(below));
        if (category.Stopped()) break;
    }
}

void Windows_Folder_Category(ScanArguments& args, std::string_view below) {
    FolderCategory category(args);
    Walk_Windows_Folder(category, below);
    category.Finish();
}

void User_Folder_Category(ScanArguments& args, std::string_view keyBelowUser, std::string_view valueName,
                          std::string_view below = {}) {
    FolderCategory category(args);
    Walk_User_Folders(category, keyBelowUser, valueName, below);
    category.Finish();
}

// The row of an invalid shortcut, when its target lies on a fixed drive and
// neither a file nor a folder of that name exists there.
void Test_Shortcut(CategoryRun& run, ScanTarget& target, const wmi::IObject& shortcut) {
    const std::string name = shortcut.Get("Name").As_String();
    if (run.Is_Excepted(name)) return;
    std::string shortcutTarget = shortcut.Get("Target").As_String();
    if (!Extract_File_Path(shortcutTarget) || !target.Is_Fixed_Drive(shortcutTarget.substr(0, 2))) return;
    if (target.Remote_File_Exists(shortcutTarget) || target.Remote_Folder_Exists(shortcutTarget)) return;
    std::string text = shortcut.Get("FileName").As_String();
    if (const std::string extension = shortcut.Get("Extension").As_String(); !extension.empty()) {
        text += "." + extension;
    }
    run.Add_File_Problem({.fixDigit = '3',
                          .text = std::move(text),
                          .detail = shortcutTarget,
                          .path = name,
                          .kind = "Invalid Shortcuts",
                          .location = name},
                         true);
    IMainWindow& window = run.Args().window;
    window.Set_Label(ProgressLabel::ProblemsCount, std::to_string(run.Args().control.TotalProblems));
    window.FormDoMyDoEvents();
}

}  // namespace

void Scan_Mini_Dump_Files(ScanArguments& args) { Windows_Folder_Category(args, "\\Minidump"); }
void Scan_Windows_Temp_Files(ScanArguments& args) { Windows_Folder_Category(args, "\\Temp"); }
void Scan_Prefetch_Files(ScanArguments& args) { Windows_Folder_Category(args, "\\Prefetch"); }

void Scan_User_Temp_Files(ScanArguments& args) {
    User_Folder_Category(args, kVolatileEnvironment, "LOCALAPPDATA", "\\Temp");
}
void Scan_Thumbnail_Cache_Files(ScanArguments& args) {
    User_Folder_Category(args, kVolatileEnvironment, "LOCALAPPDATA", "\\Microsoft\\Windows\\Explorer");
}
void Scan_Downloaded_Temp_Files(ScanArguments& args) {
    User_Folder_Category(args, kShellFolders, "{374DE290-123F-4565-9164-39C4925E467B}");
}
void Scan_CD_Burn_Temp_Files(ScanArguments& args) { User_Folder_Category(args, kShellFolders, "CD Burning"); }
void Scan_Recent_File_Shortcuts(ScanArguments& args) { User_Folder_Category(args, kShellFolders, "Recent"); }
void Scan_IE_History_Files(ScanArguments& args) { User_Folder_Category(args, kShellFolders, "History"); }
void Scan_IE_Cookie_Files(ScanArguments& args) { User_Folder_Category(args, kShellFolders, "Cookies"); }
void Scan_IE_Temporary_Files(ScanArguments& args) { User_Folder_Category(args, kShellFolders, "Cache"); }

void Scan_Downloaded_Installations(ScanArguments& args) {
    FolderCategory category(args);
    Walk_User_Folders(category, kVolatileEnvironment, "LOCALAPPDATA", "\\Downloaded Installations");
    if (!category.Stopped()) Walk_Windows_Folder(category, "\\Downloaded Installations");
    category.Finish();
}

void Scan_Invalid_Shortcuts(ScanArguments& args) {
    FolderCategory category(args);
    CategoryRun& run = category.Run();
    ScanTarget& target = args.target;
    for (std::string recent : User_Folder_Values(target, kShellFolders, "Recent")) {
        if (!Extract_File_Path(recent) || !Is_Walkable_Folder(target, recent)) continue;
        const WqlFolder wql = Wql_Folder(recent);
        const auto shortcuts = target.Cimv2().ExecQuery(
            "Select * From Win32_ShortcutFile Where Drive='" + wql.drive + "' And Path='" + wql.path + "'",
            wmi::kReturnImmediately);
        bool leave = false;
        for (const wmi::ObjectPtr& shortcut : shortcuts) {
            Test_Shortcut(run, target, *shortcut);
            leave = args.control.StopRequested || args.control.SkipRequested;
            if (leave) break;
        }
        if (leave) break;
    }
    category.Finish();
}

}  // namespace corvane::scan
