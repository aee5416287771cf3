// The systemwide file search: every folder of every fixed drive of the
// target walked for the files whose extension is in the user's extension
// list (the EXTN setting), files only, the header showing the running total
// after each drive. It never enters the folders of closed_folders.h.
#pragma once

#include <string>
#include <string_view>

#include "scan/scan_arguments.h"

namespace corvane::scan {

// The WQL condition of an extension list: ".tmp;.log;", "tmp;log" and
// "*.tmp; *.log" all give "EXTENSION='tmp' OR EXTENSION='log'". Pieces that
// are empty or blank add nothing (EXTENSION='' would match every file
// without an extension); apostrophes and backslashes are escaped, so no
// piece can change the condition's meaning. "" when nothing is left.
[[nodiscard]] std::string Extension_Condition(std::string_view extensions);

void Scan_Systemwide_Files(ScanArguments& args);  // "wA"

}  // namespace corvane::scan
