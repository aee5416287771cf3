#include "scan/folder_category.h"

#include <algorithm>
#include <cctype>

#include "base/text.h"
#include "base/ui/main_window_port.h"
#include "scan/scan_target.h"

namespace corvane::scan {

bool Is_Walkable_Folder(ScanTarget& target, std::string_view folder) {
    while (folder.ends_with('\\')) folder.remove_suffix(1);
    if (folder.size() < 4 || folder[1] != ':' || folder[2] != '\\') return false;
    if (std::isalpha(static_cast<unsigned char>(folder[0])) == 0) return false;
    return target.Is_Fixed_Drive(folder.substr(0, 2));
}

std::vector<std::string> User_Folder_Values(ScanTarget& target, std::string_view keyBelowUser,
                                            std::string_view valueName) {
    std::vector<std::string> folders;
    for (const std::string& user : target.Enum_Key(kHkeyUsersRoot, "")) {
        const std::string key = user + std::string(keyBelowUser);
        if (!target.Check_Access(kHkeyUsersRoot, key, remote::kKeyQueryValue)) continue;
        std::string folder;
        if (target.Get_String_Value(kHkeyUsersRoot, key, valueName, 1, folder) != remote::StringRead::Read ||
            folder.empty()) {
            continue;
        }
        // Profiles that share a folder (.DEFAULT and a user, on some systems)
        // must not list its content twice.
        const auto same = [&](const std::string& known) { return Lower_Ascii(known) == Lower_Ascii(folder); };
        if (std::none_of(folders.begin(), folders.end(), same)) folders.push_back(std::move(folder));
    }
    return folders;
}

FolderCategory::FolderCategory(ScanArguments& args) : run_(args), walker_(run_, args.target.Cimv2()) {
    args.window.FormDoMyDoEvents();
    args.window.Suspend_Results_Drawing(true);
}

FolderCategory::~FolderCategory() { run_.Args().window.Suspend_Results_Drawing(false); }

void FolderCategory::Walk(std::string_view folder, const FolderScan& scan) {
    if (Is_Walkable_Folder(run_.Args().target, folder)) (void)walker_.Scan_Folder(folder, scan);
}

void FolderCategory::Finish() {
    run_.Finish();
    walker_.Report_Refusals();
}

}  // namespace corvane::scan
