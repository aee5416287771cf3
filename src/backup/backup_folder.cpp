#include "backup/backup_folder.h"

#include "backup/command_line.h"
#include "base/runtime_error.h"
#include "remote/wmi_files.h"
#include "remote/wmi_security.h"

namespace corvane::backup {
namespace {

bool Folder_Exists(wmi::IServices& cimv2, std::string_view folder) {
    try {
        return !cimv2
                    .ExecQuery("Select Name from Win32_Directory Where Name='" +
                               remote::Wql_Escape(Without_Trailing_Slash(folder)) + "'")
                    .empty();
    } catch (const RuntimeError&) {
        return false;
    }
}

// Empty when the path's access is confirmed; otherwise why not.
std::string Access_Problem(wmi::IServices& cimv2, const std::string& path) {
    const auto security = remote::WMI_Get_File_Security(cimv2, path);
    if (!security) return "the access of '" + path + "' could not be read";
    const std::string beyond = remote::Access_Beyond_Administrators(*security);
    return beyond.empty() ? std::string() : "'" + path + "': " + beyond;
}

// The folder itself, then every file in it (backups of earlier runs).
std::string Folder_Access_Problem(wmi::IServices& cimv2, std::string_view folder) {
    const std::string self(Without_Trailing_Slash(folder));
    if (std::string problem = Access_Problem(cimv2, self); !problem.empty()) return problem;
    std::vector<wmi::ObjectPtr> files;
    try {
        files = cimv2.ExecQuery("Select Name From CIM_DataFile Where " + remote::Wql_Folder_Condition(self),
                                wmi::kForwardOnlyReturnImmediately);
    } catch (const RuntimeError& error) {
        return "the files in it could not be listed (" + error.Text() + ")";
    }
    for (const wmi::ObjectPtr& file : files) {
        if (std::string problem = Access_Problem(cimv2, file->Get("Name").As_String()); !problem.empty()) {
            return problem;
        }
    }
    return {};
}

}  // namespace

bool Restrict_Backup_Folder(wmi::IServices& cimv2, const BackupEnvironment& env,
                            const remote::SystemDirectories& programs, std::string_view folder) {
    double remainingSeconds = kFolderWaitSeconds;
    std::string problem;
    env.progress.Do_Progress();
    if (!Folder_Exists(cimv2, folder) &&
        !Run_And_Wait(cimv2, env, Make_Folder_Command(programs, folder), remainingSeconds)) {
        problem = "it could not be created";
    } else if (!Run_And_Wait(cimv2, env, Restrict_Folder_Command(programs, folder), remainingSeconds)) {
        problem = "its access could not be changed";
    } else {
        problem = Folder_Access_Problem(cimv2, folder);
    }
    if (problem.empty()) return true;
    env.ports.reporter.Show_Error(true, "The backup folder '" + std::string(Without_Trailing_Slash(folder)) +
                                            "' could not be made readable by administrators only: " + problem +
                                            ". No backup was written.");
    return false;
}

}  // namespace corvane::backup
