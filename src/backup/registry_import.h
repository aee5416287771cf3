// Restoring a full backup: the target's reg.exe imports the file, and the
// same command line leaves a marker file whose extension is the import's
// exit code, because the process list forgets a process (and its exit code)
// the moment it ends. The outcome is what that marker says within the time
// allowed, never the mere start of the import.
#pragma once

#include <string_view>

#include "backup/registry_backup.h"

namespace corvane::backup {

inline constexpr const char* kImportMarkerName = "CVNRestoreResult";
inline constexpr double kImportWaitSeconds = 300;

enum class ImportOutcome {
    Done,                 // the import ended with exit code 0
    CompletedWithErrors,  // it ended with another code (keys in use refused it, ...)
    Failed,               // it could not be started, or ended without leaving its result
    Unconfirmed,          // no result within the time allowed, or the result could not be read
    FileMissing,          // the file is not there ("File Not Exists!" shown)
};

struct ImportResult {
    ImportOutcome outcome = ImportOutcome::Failed;
    int exitCode = 0;  // with CompletedWithErrors
};

// Imports the backup file at path on the target and waits for its result;
// the marker is written next to the file and deleted afterwards.
ImportResult Import_Registry_File(wmi::IServices& cimv2, const BackupEnvironment& env, std::string_view path);

}  // namespace corvane::backup
