// The backup folder holds a full export of HKEY_LOCAL_MACHINE and every
// loaded user hive (other users' data, stored secrets), so it must be
// readable by administrators and the system account only, not by the
// "Users: read" the Windows directory passes down. Before a backup the
// folder is created when missing and restricted, with everything already in
// it, by the target's icacls; then its access, and that of each file in it,
// is read back: nothing is written into a folder whose access could not be
// confirmed.
#pragma once

#include <string_view>

#include "backup/registry_backup.h"

namespace corvane::backup {

inline constexpr double kFolderWaitSeconds = 60;

// Creates and restricts the folder (ending in "\") and confirms its access;
// false, after a message and an error log line naming the reason, when the
// access could not be confirmed.
bool Restrict_Backup_Folder(wmi::IServices& cimv2, const BackupEnvironment& env,
                            const remote::SystemDirectories& programs, std::string_view folder);

}  // namespace corvane::backup
