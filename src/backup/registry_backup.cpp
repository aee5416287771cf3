#include "backup/registry_backup.h"

#include "backup/backup_folder.h"
#include "backup/command_line.h"
#include "remote/wmi_connection.h"
#include "remote/wmi_files.h"
#include "remote/wmi_system.h"

namespace corvane::backup {
namespace {

bool Delete_If_Present(wmi::IServices& cimv2, const std::string& path) {
    std::int32_t code = 0;
    return !File_Size(cimv2, path) || remote::WMI_Delete_File(cimv2, path, code);
}

}  // namespace

bool Run_And_Wait(wmi::IServices& cimv2, const BackupEnvironment& env, const std::string& commandLine,
                  double& remainingSeconds) {
    std::uint32_t processId = 0;
    if (!remote::WMI_Create_Process(cimv2, env.ports.clock, commandLine, processId)) return false;
    env.progress.Do_Progress();
    remote::Wait_For_Process(cimv2, env.ports.clock, env.ports.reporter, processId, remainingSeconds, &env.progress);
    if (remote::WMI_Process_Ended(cimv2, processId)) return true;
    env.ports.reporter.Show_Error(false, "Still running after the time allowed: " + commandLine);
    return false;
}

std::optional<std::uint64_t> File_Size(wmi::IServices& cimv2, std::string_view path) {
    try {
        const auto files =
            cimv2.ExecQuery("Select FileSize from CIM_DataFile where Name='" + remote::Wql_Escape(path) + "'");
        if (files.empty()) return std::nullopt;
        const wmi::Variant size = files.front()->Get("FileSize");
        return size.Is_Empty() ? 0 : static_cast<std::uint64_t>(size.As_Int64());
    } catch (const RuntimeError&) {
        return std::nullopt;
    }
}

bool Backup_Registry_Key(wmi::IServices& cimv2, const BackupEnvironment& env, const remote::SystemDirectories& programs,
                         std::string_view folder, std::string_view fileName, std::string_view rootKeyName, bool append,
                         double& remainingSeconds) {
    const std::string target = std::string(folder) + (append ? std::string(kTemporaryExport) : std::string(fileName));
    const std::string file = std::string(folder) + std::string(fileName);
    if (!Refused_Path_Message(target, true).empty() || !Refused_Path_Message(file, true).empty()) return false;

    // A file left by an earlier, failed run must not pass for this export.
    if (!Delete_If_Present(cimv2, target)) return false;
    if (!Run_And_Wait(cimv2, env, Export_Command(programs, target, rootKeyName), remainingSeconds)) return false;
    const auto exported = File_Size(cimv2, target);
    if (!exported) return false;
    if (!append) return true;

    const auto before = File_Size(cimv2, file);
    if (!before) return false;
    if (!Run_And_Wait(cimv2, env, Append_Command(programs, file, target), remainingSeconds)) return false;
    if (File_Size(cimv2, file) != *before + *exported) return false;
    std::int32_t code = 0;
    return remote::WMI_Delete_File(cimv2, target, code);
}

bool Create_Full_Backup(const BackupComputer& computer, const BackupEnvironment& env) {
    const wmi::ServicesPtr cimv2 =
        remote::WMI_Connect_To(env.ports, "cimv2", computer.name, computer.userName, computer.password);
    // Files are replaced and deleted only on a computer that can say who it is.
    std::string targetName;
    if (!cimv2 || !remote::WMI_Get_Computer_Name(*cimv2, targetName)) {
        env.ports.reporter.Show_Error(true, kAccessErrorBang);
        return false;
    }
    const auto failed = [&] {
        env.ports.reporter.Show_Error(true, kExportError);
        return false;
    };
    remote::SystemDirectories programs;
    if (!remote::WMI_Get_System_Directories(*cimv2, programs)) return failed();
    const std::string folder = programs.windows + "\\" + kBackupFolderName + "\\";
    for (const std::string& path : {folder, programs.system}) {
        if (const std::string refused = Refused_Path_Message(path, true); !refused.empty()) {
            env.ports.reporter.Show_Error(true, refused);
            return false;
        }
    }
    // Shows and logs its own message: the folder is not the export's fault.
    if (!Restrict_Backup_Folder(*cimv2, env, programs, folder)) return false;

    bool append = false;
    for (const char* rootKey : {"HKEY_LOCAL_MACHINE", "HKEY_USERS"}) {
        double remainingSeconds = kBackupWaitSeconds;
        if (!Backup_Registry_Key(*cimv2, env, programs, folder, kFullBackupNew, rootKey, append, remainingSeconds)) {
            return failed();
        }
        append = true;
    }

    // The old backup steps aside instead of being deleted first, so that a
    // failing rename leaves it in place.
    std::int32_t code = 0;
    const std::string previous = kFullBackupOld;
    env.progress.Do_Progress();
    const bool hadBackup = File_Size(*cimv2, folder + kFullBackupFile).has_value();
    if (!Delete_If_Present(*cimv2, folder + previous) ||
        (hadBackup && !remote::WMI_Rename_File(*cimv2, folder, kFullBackupFile, previous))) {
        (void)remote::WMI_Delete_File(*cimv2, folder + kFullBackupNew, code);
        return failed();
    }
    env.progress.Do_Progress();
    if (!remote::WMI_Rename_File(*cimv2, folder, kFullBackupNew, kFullBackupFile)) {
        if (hadBackup) (void)remote::WMI_Rename_File(*cimv2, folder, previous, kFullBackupFile);
        return failed();
    }
    if (hadBackup && !remote::WMI_Delete_File(*cimv2, folder + previous, code)) {
        env.ports.reporter.Show_Error(false, "Not deleted: " + folder + previous);
    }
    env.progress.Do_Progress();
    (void)remote::WMI_Compress_File(*cimv2, folder + kFullBackupFile);
    env.ports.reporter.Log_Event("Registry backup created: " + computer.name + ": " + folder + kFullBackupFile);
    return true;
}

}  // namespace corvane::backup
