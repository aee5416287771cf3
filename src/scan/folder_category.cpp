#include "scan/folder_category.h"

#include <cctype>

#include "base/log.h"
#include "base/reporter.h"
#include "base/ui/progress_events.h"
#include "base/ui/results_list.h"
#include "remote/wmi_files.h"
#include "scan/scan_target.h"

namespace corvane::scan {

bool Is_Walkable_Folder(ScanTarget& target, std::string_view folder) {
    while (folder.ends_with('\\')) folder.remove_suffix(1);
    if (folder.size() < 4 || folder[1] != ':' || folder[2] != '\\') return false;
    if (std::isalpha(static_cast<unsigned char>(folder[0])) == 0) return false;
    return target.Is_Fixed_Drive(folder.substr(0, 2));
}

namespace {

// Whether a remote computer's administrative share of its system drive
// lists; logs why not. The local computer needs none.
bool Share_Listable(ScanTarget& target, std::string_view header) {
    remote::TargetContext& context = target.Context();
    if (!context.IsRemote) return true;
    std::string windows;
    const std::string drive =
        target.Get_Windows_Directory(windows) && windows.size() >= 2 ? windows.substr(0, 2) : "C:";
    const std::string root = remote::Share_Path(context.ComputerName, drive);
    if (context.Shares().Find(root, remote::kListEverything) == remote::ListingResult::Found) return true;
    context.Ports().reporter.Log_Event(std::string(header) + " did not run on " + context.ComputerName +
                                           ": its administrative share " + root +
                                           " cannot be listed, and WMI alone cannot tell a junction from a folder",
                                       LOG_WARNING);
    return false;
}

}  // namespace

FolderCategory::FolderCategory(ScanArguments& args)
    : run_(args), walker_(run_, args.target.Cimv2()), confinement_(args.target) {
    args.progress.Pump();
    args.results.Suspend_Drawing(true);
    runs_ = Share_Listable(args.target, run_.Header());
}

FolderCategory::~FolderCategory() { run_.Args().results.Suspend_Drawing(false); }

void FolderCategory::Walk(std::string_view folder, const FolderScan& scan) {
    if (!runs_ || !Is_Walkable_Folder(run_.Args().target, folder)) return;
    FolderScan fromHere = scan;
    if (fromHere.startFolder.empty()) fromHere.startFolder = folder;
    (void)walker_.Scan_Folder(folder, fromHere);
}

void FolderCategory::Finish() {
    run_.Finish();
    if (!runs_) run_.Write_Header_Note(kShareUnavailableNote);
    walker_.Report_Refusals();
}

}  // namespace corvane::scan
