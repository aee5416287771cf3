#include "console/cvnscan_undo.h"

#include "base/log.h"
#include "base/reporter.h"
#include "base/runtime_error.h"
#include "base/text.h"
#include "db/app_tables.h"
#include "remote/target_session.h"
#include "remote/undo_files.h"
#include "remote/wmi_registry_copy.h"

namespace corvane::console {

int Run_Console_Undo(const ConsoleOptions& options, Database& db, const remote::RemotePorts& ports, std::ostream& out,
                     std::ostream& err) {
    remote::RegFile file;
    try {
        file = remote::Read_Reg_File(options.undoFile);
    } catch (const RuntimeError& error) {
        err << "cvnscan: " << error.Description() << '\n';
        return kExitUsage;
    }
    // A file outside an undo folder names no computer to go to; the one it
    // was made for is compared with the target's answer wherever it lies.
    const std::string folderComputer = remote::Undo_Folder_Computer(options.undoFile);
    if (options.computers.empty() && folderComputer.empty()) {
        err << "cvnscan: " << options.undoFile << " is not in an undo folder: name its computer with --computer\n";
        return kExitUsage;
    }
    const std::string madeFor = remote::Undo_File_Computer(options.undoFile);
    const std::string computer = !options.computers.empty() ? options.computers.front() : folderComputer;

    remote::OpenRequest request{.computerName = computer};
    try {
        (void)Get_Computer_Credentials(db, computer, request.credentials.userName, request.credentials.password);
    } catch (const RuntimeError&) {
        // Already reported by the database layer; the caller's own identity is tried.
    }
    remote::TargetSession session(ports, remote::kUndoing);
    std::string errorText;
    try {
        if (session.Open(std::move(request), errorText) != remote::OpenOutcome::Opened) {
            err << "cvnscan: cannot connect to " << computer << ": " << errorText << '\n';
            return kExitNotScanned;
        }
    } catch (const RuntimeError& error) {
        err << "cvnscan: " << error.Description() << '\n';
        return kExitNotScanned;
    }
    const std::string& name = session.Context().TargetName;
    if (!madeFor.empty() && !Equals_Ignore_Case(name, madeFor)) {
        err << "cvnscan: the computer '" << computer << "' answers as '" << name
            << "', but the undo file was made for '" << madeFor << "'; nothing written\n";
        return kExitNotScanned;
    }

    const remote::RegistryWriteReport report =
        remote::WMI_Write_Blocks(session.Registry(), file, [&](std::string_view fullKey, std::string_view valueName) {
            if (!options.yes) {
                err << "Kept: \"" << valueName << "\" of " << fullKey
                    << " holds other data now (--yes overwrites it)\n";
            }
            return options.yes;
        });
    for (const std::string& failure : report.failures) err << "Failed: " << failure << '\n';
    const std::string summary = "Undo of " + options.undoFile + " on " + computer + ": " + std::to_string(report.keys) +
                                " keys, " + std::to_string(report.valuesWritten) + " values written, " +
                                std::to_string(report.valuesUnchanged) + " already as saved, " +
                                std::to_string(report.valuesKept) + " kept with other data, " +
                                std::to_string(report.failures.size()) + " failed";
    out << summary << '\n';
    ports.reporter.Log_Event(summary, report.failures.empty() ? LOG_INFO : LOG_WARNING);
    return report.failures.empty() ? kExitScanned : kExitNotScanned;
}

}  // namespace corvane::console
