// The folder walker of the disk-style categories (disk clean-up, Internet
// Explorer folders, Firefox profiles, the systemwide search): lists one
// folder at a time, walks each sub-folder before listing it, and adds file
// and folder problem rows, a folder after its content so that fixing empties
// it first. The local computer's folders are listed through Win32_Directory
// and CIM_DataFile by Drive and Path (the native store, which shows reparse
// points); a remote computer's through its administrative share, because
// WMI shows a junction as an ordinary folder.
// A database and the journal and log files beside it are one row.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "base/runtime_error.h"

#include "remote/share_walk.h"
#include "remote/wmi.h"
#include "scan/category_run.h"

namespace corvane::scan {

class ClosedFolders;

// "1000 bytes", "1.50 KB", "2.00 MB", "1.00 GB"; withBytes appends
// " (1536 bytes)" from 1024 bytes on.
[[nodiscard]] std::string Format_File_Size(double size, bool withBytes);

// A folder path ("C:\Windows\Temp", "C:") as the Drive ("C:") and the Path
// of WQL ("\\Windows\\Temp\\", apostrophes written "\'").
struct WqlFolder {
    std::string drive;
    std::string path;
};
[[nodiscard]] WqlFolder Wql_Folder(std::string_view folder);

// What one walk lists and how.
struct FolderScan {
    std::string_view folderCondition{};  // added with " and " to the sub-folder query
    std::string_view fileCondition{};    // added with " And (...)" to the file query
    std::string_view folderIcon = "File";
    bool listFolders = true;
    bool listFiles = true;
    bool walkSubFolders = true;                    // false: this folder's own files only
    const ClosedFolders* closedFolders = nullptr;  // never entered nor listed
    std::string_view startFolder{};                // the category's folder the walk began at, for the rows
    std::string_view ownerSid{};                   // the user whose profile holds it; "" for computer-wide folders
    std::string_view keptBy{};                     // the program that holds the files while it runs for that user
};

class FolderWalker {
public:
    FolderWalker(CategoryRun& run, wmi::IServices& cimv2) : run_(run), cimv2_(cimv2) {}
    FolderWalker(const FolderWalker&) = delete;
    FolderWalker& operator=(const FolderWalker&) = delete;

    // Scan_Folder: walks path (drive letter and colon first). A folder whose
    // listing the computer refuses (access denied, a name it cannot read)
    // yields no row at all, neither from inside it nor for itself, and is
    // counted; any other run-time error (a lost connection, a rejected
    // query) is raised and ends the category with the rows found so far.
    // True when every listing of the walk succeeded.
    bool Scan_Folder(std::string_view path, const FolderScan& scan);

    // The sub-folders of path (Win32_Directory by Drive and Path, with
    // " And " + condition when given). A refused listing gives none and is
    // counted like a refused walk; other run-time errors are raised.
    [[nodiscard]] std::vector<wmi::ObjectPtr> Sub_Folders(std::string_view path, std::string_view condition);

    // One log warning when folders could not be listed during the category.
    void Report_Refusals() const;

private:
    [[nodiscard]] bool Through_Share() const;
    // False (and counted) when the share cannot list the folder.
    bool List_Through_Share(std::string_view path, std::string_view folderCondition, std::string_view fileCondition,
                            remote::ShareFolder& listed);
    void Note_Refusal(std::string_view path, std::string_view why);

    CategoryRun& run_;
    wmi::IServices& cimv2_;
    std::int32_t refused_ = 0;
    std::string lastRefusal_;
};

}  // namespace corvane::scan
