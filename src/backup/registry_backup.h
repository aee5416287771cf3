// The full registry backup of a computer: its own registry editor exports
// HKEY_LOCAL_MACHINE and HKEY_USERS into one .reg file in the "CVNBackup"
// folder of its Windows directory, once that folder is seen to be readable by
// administrators only (backup_folder.h). The old backup is replaced only once
// the new one is complete, then the file is compressed.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "backup/backup_ports.h"
#include "remote/target_context.h"
#include "remote/wmi.h"
#include "remote/wmi_system.h"

namespace corvane::backup {

inline constexpr const char* kBackupFolderName = "CVNBackup";
inline constexpr const char* kFullBackupFile = "CVNFullBackup.reg";
inline constexpr const char* kFullBackupNew = "CVNFullBackup.new";
inline constexpr const char* kFullBackupOld = "CVNFullBackup.old";  // the old backup while the new one takes its name
inline constexpr const char* kTemporaryExport = "tempreg.bak";
inline constexpr double kBackupWaitSeconds = 120;

inline constexpr const char* kAccessErrorBang = "Error while accessing the System!";
inline constexpr const char* kExportError = "Error while exporting Registry!";

// The ports a backup or restore works through.
struct BackupEnvironment {
    const remote::RemotePorts& ports;
    IProgressPanel& progress;
};

// Exports rootKey into folder + fileName (folder ends in "\" and exists), or
// with append into "tempreg.bak" that is then appended to fileName and
// deleted; programs are the target's folders of the editor and interpreter.
// The waits for the registry editor and for the copy share remainingSeconds;
// a program still running when it is used up fails the export, as does a
// file whose size shows an incomplete copy.
bool Backup_Registry_Key(wmi::IServices& cimv2, const BackupEnvironment& env, const remote::SystemDirectories& programs,
                         std::string_view folder, std::string_view fileName, std::string_view rootKeyName, bool append,
                         double& remainingSeconds);

// Starts the command on the target and waits for it within the budget; true
// when it was started and ended in time (a log line names one still running).
bool Run_And_Wait(wmi::IServices& cimv2, const BackupEnvironment& env, const std::string& commandLine,
                  double& remainingSeconds);

// The whole backup of the computer, with its messages on failure; true when
// "CVNFullBackup.reg" was written.
bool Create_Full_Backup(const BackupComputer& computer, const BackupEnvironment& env);

// Size of a file through CIM_DataFile ("'" escaped); nothing when the file is
// not there or cannot be looked at.
[[nodiscard]] std::optional<std::uint64_t> File_Size(wmi::IServices& cimv2, std::string_view path);

}  // namespace corvane::backup
