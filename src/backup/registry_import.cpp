#include "backup/registry_import.h"

#include <charconv>

#include "backup/command_line.h"
#include "base/runtime_error.h"
#include "base/text.h"
#include "remote/wmi_files.h"

namespace corvane::backup {
namespace {

// The markers in the folder (ending in "\"); nothing when they cannot be listed.
std::optional<std::vector<wmi::ObjectPtr>> Markers(wmi::IServices& cimv2, std::string_view folder) {
    try {
        return cimv2.ExecQuery("Select Name,Extension From CIM_DataFile Where " + remote::Wql_Folder_Condition(folder) +
                                   " And FileName='" + Lower_Ascii(kImportMarkerName) + "'",
                               wmi::kForwardOnlyReturnImmediately);
    } catch (const RuntimeError&) {
        return std::nullopt;
    }
}

bool Delete_Markers(wmi::IServices& cimv2, const std::vector<wmi::ObjectPtr>& markers) {
    bool all = true;
    for (const wmi::ObjectPtr& marker : markers) {
        std::int32_t code = 0;
        all = remote::WMI_Delete_File(cimv2, marker->Get("Name").As_String(), code) && all;
    }
    return all;
}

ImportResult Read_Result(wmi::IServices& cimv2, std::string_view folder, bool ended) {
    const auto markers = Markers(cimv2, folder);
    if (!markers || markers->size() > 1) return {ImportOutcome::Unconfirmed};
    if (markers->empty()) return {ended ? ImportOutcome::Failed : ImportOutcome::Unconfirmed};
    const std::string code = markers->front()->Get("Extension").As_String();
    (void)Delete_Markers(cimv2, *markers);
    int exitCode = 0;
    const auto parsed = std::from_chars(code.data(), code.data() + code.size(), exitCode);
    if (parsed.ec != std::errc() || parsed.ptr != code.data() + code.size()) return {ImportOutcome::Unconfirmed};
    return exitCode == 0 ? ImportResult{ImportOutcome::Done}
                         : ImportResult{ImportOutcome::CompletedWithErrors, exitCode};
}

}  // namespace

ImportResult Import_Registry_File(wmi::IServices& cimv2, const BackupEnvironment& env, std::string_view path) {
    if (!File_Size(cimv2, path)) {
        env.ports.reporter.Messages().Show("File Not Exists!", MsgButtons::Ok, MsgIcon::Critical);
        return {ImportOutcome::FileMissing};
    }
    remote::SystemDirectories programs;
    const std::size_t slash = path.find_last_of('\\');
    if (slash == std::string_view::npos || slash < 2 || !remote::WMI_Get_System_Directories(cimv2, programs) ||
        !Refused_Path_Message(programs.system, true).empty()) {
        return {ImportOutcome::Failed};
    }
    const std::string_view folder = path.substr(0, slash + 1);
    // A marker left by an earlier run must not pass for this import's result.
    const auto stale = Markers(cimv2, folder);
    if (!stale || !Delete_Markers(cimv2, *stale)) return {ImportOutcome::Failed};

    const std::string command = Import_Command(programs, path, std::string(folder) + kImportMarkerName);
    std::uint32_t processId = 0;
    if (!remote::WMI_Create_Process(cimv2, env.ports.clock, command, processId)) return {ImportOutcome::Failed};
    double remainingSeconds = kImportWaitSeconds;
    remote::Wait_For_Process(cimv2, env.ports.clock, env.ports.reporter, processId, remainingSeconds, &env.progress);
    return Read_Result(cimv2, folder, remote::WMI_Process_Ended(cimv2, processId));
}

}  // namespace corvane::backup
