// The registry categories that look for entries pointing at files or folders
// that no longer exist, or that hold nothing: help files, uninstall entries,
// application paths, fonts and shared DLL counters, all under
// HKEY_LOCAL_MACHINE. Each writes registry problem rows in the common shape.
#pragma once

#include "scan/scan_arguments.h"

namespace corvane::scan {

inline constexpr const char* kHelpFilesParent = "Software\\Microsoft\\Windows\\";
inline constexpr const char* kUninstallKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall";
inline constexpr const char* kAppPathsKey = "Software\\Microsoft\\Windows\\CurrentVersion\\App Paths";
inline constexpr const char* kFontsKey = "Software\\Microsoft\\Windows NT\\CurrentVersion\\Fonts";
inline constexpr const char* kSharedDllsKey = "Software\\Microsoft\\Windows\\CurrentVersion\\SharedDLLs";

void Scan_Help_Files(ScanArguments& args);         // "fA"
void Scan_Uninstall_Entries(ScanArguments& args);  // "fB"
void Scan_Application_Paths(ScanArguments& args);  // "fD"
void Scan_Windows_Fonts(ScanArguments& args);      // "fE"
void Scan_Shared_DLLs(ScanArguments& args);        // "fF"

}  // namespace corvane::scan
