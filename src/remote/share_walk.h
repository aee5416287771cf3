// What the folder walks and deletions through the file system's own view
// (share_lister.h) share: the components a path passes from its start folder
// down, whether one of them is a reparse point, and the log's words for a
// checked deletion, and one folder of a remote computer listed through its
// administrative share in the shape WMI's file classes give.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/ports/shell.h"
#include "remote/listed_identity.h"
#include "remote/share_lister.h"
#include "remote/target_context.h"
#include "remote/wmi.h"
#include "remote/wql.h"

namespace corvane::remote {

// startFolder, then each longer prefix of path down to path itself
// ("C:\a", "C:\a\b\c" -> "C:\a", "C:\a\b", "C:\a\b\c"); empty when path
// does not lie at or below startFolder.
[[nodiscard]] std::vector<std::string> Components_From(std::string_view startFolder, std::string_view path);

enum class WayCheck { Plain, ReparsePoint, Missing, Unknown };

// Asks the lister for every component from startFolder down to path: the
// first reparse point, a missing one or one that cannot be told ends it.
[[nodiscard]] WayCheck Check_Way(IShareLister& lister, std::string_view startFolder, std::string_view path);

// The deletion of a file or folder row: the checked deletion of the item's
// path below its start folder with the identity the scan saw, through the
// local path on the local computer and the administrative share on a remote
// one (share_lister.h, Delete_Checked).
[[nodiscard]] DeleteResult Delete_File_Item(const TargetContext& context, const FileItem& item);
// The identity of what a path names now, through the same view as
// Delete_File_Item; unknown for a reparse point or when it cannot be read.
[[nodiscard]] FileIdentity Present_Identity(const TargetContext& context, std::string_view path);

// Why a canonical path of a remote computer must not be walked or deleted
// through, asked through its administrative shares from the drive's first
// folder down: kReparsePointOnTheWay (local_system.h) for a reparse point,
// "the administrative share cannot be listed" when that cannot be told;
// empty when no component is one (or one is missing).
[[nodiscard]] std::string Share_Reparse_Refusal(IShareLister& lister, std::string_view computerName,
                                                std::string_view canonicalPath);
// The long form of a canonical path of a remote computer whose components
// may be short names, as its share resolves them; nothing when it cannot.
[[nodiscard]] std::optional<std::string> Share_Long_Path(IShareLister& lister, std::string_view computerName,
                                                         std::string_view canonicalPath);

// The long form of a canonical path whose components may be short names, as
// the computer's own file system makes it (the local one, or a remote
// computer's administrative share), canonical again; "" when it cannot.
[[nodiscard]] std::string Long_Form(const TargetContext& context, std::string_view canonicalPath);

// One folder of a remote computer through its administrative share, as a
// Drive-and-Path query of Win32_Directory and of CIM_DataFile would list it:
// objects with Name (the full path in lower case), FileName, Extension,
// FileSize and FileType (the shell's name), kept when the condition (null:
// none) holds. A reparse point is left out of both. The identity of an
// object listed here is Listed_Identity's (listed_identity.h).
struct ShareFolder {
    std::vector<wmi::ObjectPtr> folders;
    std::vector<wmi::ObjectPtr> files;
};
[[nodiscard]] ListingResult List_Share_Folder(IShareLister& lister, IShell* shell, std::string_view computerName,
                                              std::string_view folder, const wql::Condition* folderCondition,
                                              const wql::Condition* fileCondition, ShareFolder& listed);

}  // namespace corvane::remote
