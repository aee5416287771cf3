#include "scan/folder_category.h"

#include <cctype>

#include "base/ui/main_window_port.h"
#include "base/ui/progress_events.h"
#include "scan/scan_target.h"

namespace corvane::scan {

bool Is_Walkable_Folder(ScanTarget& target, std::string_view folder) {
    while (folder.ends_with('\\')) folder.remove_suffix(1);
    if (folder.size() < 4 || folder[1] != ':' || folder[2] != '\\') return false;
    if (std::isalpha(static_cast<unsigned char>(folder[0])) == 0) return false;
    return target.Is_Fixed_Drive(folder.substr(0, 2));
}

FolderCategory::FolderCategory(ScanArguments& args)
    : run_(args), walker_(run_, args.target.Cimv2()), confinement_(args.target) {
    args.progress.Pump();
    args.window.Suspend_Results_Drawing(true);
}

FolderCategory::~FolderCategory() { run_.Args().window.Suspend_Results_Drawing(false); }

void FolderCategory::Walk(std::string_view folder, const FolderScan& scan) {
    if (!Is_Walkable_Folder(run_.Args().target, folder)) return;
    FolderScan fromHere = scan;
    if (fromHere.startFolder.empty()) fromHere.startFolder = folder;
    (void)walker_.Scan_Folder(folder, fromHere);
}

void FolderCategory::Finish() {
    run_.Finish();
    walker_.Report_Refusals();
}

}  // namespace corvane::scan
