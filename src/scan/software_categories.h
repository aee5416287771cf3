// Registry categories whose entries name files or folders that must exist:
// vendor keys under HKEY_LOCAL_MACHINE\SOFTWARE, the programs started at
// log-on, the sound files of every user's event schemes and the folders
// Windows Installer registered.
#pragma once

#include <string_view>

#include "scan/scan_arguments.h"

namespace corvane::scan {

class CategoryRun;

inline constexpr const char* kMsConfigStartupKey = "SOFTWARE\\Microsoft\\Shared Tools\\MSConfig\\startupreg";
inline constexpr const char* kMachineRunKey = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";
inline constexpr const char* kUserRunKey = "\\Software\\Microsoft\\Windows\\CurrentVersion\\Run";
inline constexpr const char* kInstallerFoldersKey = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Installer\\Folders";

void Scan_Software(ScanArguments& args);           // "fG"
void Scan_Startup_Programs(ScanArguments& args);   // "fI"
void Scan_Sound_Events(ScanArguments& args);       // "fJ"
void Scan_Installer_Folders(ScanArguments& args);  // "fK"

// The walks below a vendor key and below a user's sound schemes; each
// returns false once Stop or Skip ends the walk. They go no deeper than the
// registry's own nesting limit, so that a key linked to one of its parents
// cannot walk them forever.
inline constexpr int kMaxKeyDepth = 512;
bool Scan_Software_Key(CategoryRun& run, std::string_view keyPath, int depth = 0);
bool Scan_Sound_Key(CategoryRun& run, std::string_view keyPath, int depth = 0);

}  // namespace corvane::scan
