// Registry categories that list every entry they find, without an existence
// test: the most-recently-used lists of the open/save dialogs and the
// shell's program-name cache of every user (privacy traces), and the
// programs for which a debugger is registered.
#pragma once

#include "scan/scan_arguments.h"

namespace corvane::scan {

inline constexpr const char* kComDlg32Key = "\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\ComDlg32";
inline constexpr const char* kImageFileOptionsKey =
    "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Image File Execution Options";

void Scan_User_MRU_Lists(ScanArguments& args);      // "fM"
void Scan_Image_File_Options(ScanArguments& args);  // "fN"

}  // namespace corvane::scan
