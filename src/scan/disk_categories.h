// The disk clean-up categories and the three Internet Explorer folder
// categories: each finds its folder on the target (under the Windows
// directory, or per user from the registry) and hands it to the folder
// walker; Invalid Shortcuts instead lists the shortcuts of each user's
// Recent folder whose target is gone from a fixed drive.
#pragma once

#include "scan/scan_arguments.h"

namespace corvane::scan {

void Scan_Mini_Dump_Files(ScanArguments& args);           // "dA"
void Scan_User_Temp_Files(ScanArguments& args);           // "dB"
void Scan_Invalid_Shortcuts(ScanArguments& args);         // "dC"
void Scan_CD_Burn_Temp_Files(ScanArguments& args);        // "dD"
void Scan_Thumbnail_Cache_Files(ScanArguments& args);     // "dE"
void Scan_Downloaded_Temp_Files(ScanArguments& args);     // "dF"
void Scan_Windows_Temp_Files(ScanArguments& args);        // "dG"
void Scan_Recent_File_Shortcuts(ScanArguments& args);     // "dH"
void Scan_Prefetch_Files(ScanArguments& args);            // "dI"
void Scan_Downloaded_Installations(ScanArguments& args);  // "dJ"
void Scan_IE_History_Files(ScanArguments& args);          // "iA"
void Scan_IE_Cookie_Files(ScanArguments& args);           // "iB"
void Scan_IE_Temporary_Files(ScanArguments& args);        // "iC"

}  // namespace corvane::scan
