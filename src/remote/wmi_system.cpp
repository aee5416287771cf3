#include "remote/wmi_system.h"

#include <cstdio>
#include <optional>

#include "base/runtime_error.h"
#include "remote/wmi_results.h"

namespace corvane::remote {

namespace {

bool Is_Full_Path(std::string_view path) {
    return path.size() >= 3 && ((path[0] >= 'A' && path[0] <= 'Z') || (path[0] >= 'a' && path[0] <= 'z')) &&
           path[1] == ':' && path[2] == '\\';
}

}  // namespace

bool WMI_Get_System_Directories(wmi::IServices& cimv2, SystemDirectories& directories) {
    try {
        const auto systems = cimv2.ExecQuery("Select WindowsDirectory,SystemDirectory FROM Win32_OperatingSystem",
                                             wmi::kReturnImmediately);
        if (systems.size() != 1) return false;
        directories.windows = systems.front()->Get("WindowsDirectory").As_String();
        directories.system = systems.front()->Get("SystemDirectory").As_String();
    } catch (const RuntimeError&) {
        return false;
    }
    return Is_Full_Path(directories.windows) && Is_Full_Path(directories.system);
}

bool WMI_Process_Ended(wmi::IServices& cimv2, std::uint32_t processId) {
    try {
        return cimv2.ExecQuery("Select Name From Win32_Process where ProcessId=" + std::to_string(processId)).empty();
    } catch (const RuntimeError&) {
        return false;
    }
}

std::optional<std::vector<std::string>> WMI_Process_Owners(wmi::IServices& cimv2, std::string_view processName) {
    constexpr std::int32_t kProcessGone = 9;
    std::vector<std::string> owners;
    try {
        for (const wmi::ObjectPtr& process :
             cimv2.ExecQuery("Select Handle, Name From Win32_Process Where Name = '" + std::string(processName) + "'",
                             wmi::kForwardOnlyReturnImmediately)) {
            const wmi::PropertyBag out = process->Exec_Method("GetOwnerSid", {});
            const std::int32_t code = Return_Code(out);
            if (code == kProcessGone) continue;  // ended since the listing
            const auto sid = out.find("Sid");
            if (code != 0 || sid == out.end() || sid->second.Is_Empty()) return std::nullopt;
            owners.push_back(sid->second.As_String());
        }
    } catch (const RuntimeError&) {
        return std::nullopt;
    }
    return owners;
}

bool WMI_Create_Process(wmi::IServices& cimv2, IClock& clock, std::string_view commandLine, std::uint32_t& processId) {
    bool created = false;
    try {
        const wmi::ObjectPtr process = cimv2.Get("Win32_Process");
        wmi::PropertyBag in;
        in["CommandLine"] = wmi::Variant(commandLine);
        const wmi::PropertyBag out = process->Exec_Method("Create", in);
        const std::int32_t code = Return_Code(out);
        if (Return_Code_Succeeded(code)) {
            const auto id = out.find("ProcessId");
            if (id != out.end() && !id->second.Is_Empty())
                processId = static_cast<std::uint32_t>(id->second.As_Int64());
            created = true;
        }
    } catch (const RuntimeError&) {
        created = false;
    }
    clock.Sleep(2000);
    return created;
}

void Wait_For_Process(wmi::IServices& cimv2, IClock& clock, const Reporter& reporter, std::uint32_t processId,
                      double& remainingSeconds, IProgressStep* progressBar) {
    try {
        const std::string query = "Select Name From Win32_Process where ProcessId=" + std::to_string(processId);
        for (;;) {
            if (cimv2.ExecQuery(query, wmi::kReturnImmediately).empty() || remainingSeconds < 0) return;
            clock.Sleep(100);
            remainingSeconds -= 0.1;
            if (progressBar != nullptr) progressBar->Do_Progress();
        }
    } catch (const RuntimeError& error) {
        reporter.Show_Error(false, error);
    }
}

bool WMI_Shutdown(wmi::IServices& cimv2, std::string_view, std::uint32_t flags) {
    try {
        wmi::PropertyBag in;
        in["Flags"] = wmi::Variant(static_cast<std::int32_t>(flags));
        std::optional<std::int32_t> code;
        for (const auto& object : cimv2.ExecQuery("Select Name From Win32_OperatingSystem where Primary=true",
                                                  wmi::kForwardOnlyReturnImmediately)) {
            code = Return_Code(object->Exec_Method("Win32Shutdown", in));
        }
        return code && Return_Code_Succeeded(*code);
    } catch (const RuntimeError&) {
        return false;
    }
}

bool WMI_Create_Restore_Point(wmi::IServices& rootDefault, IClock& clock, std::int32_t& returnCode) {
    try {
        const wmi::CallControl::LongerLimit longer(rootDefault.Call_Control(), wmi::kRestorePointCallLimit);
        wmi::PropertyBag in;
        in["Description"] = wmi::Variant(Append_Date_Time_Stamp(clock, "CVNRestorePoint"));
        in["RestorePointType"] = wmi::Variant(std::int32_t{12});
        in["EventType"] = wmi::Variant(std::int32_t{100});
        returnCode = Return_Code(rootDefault.Get("SystemRestore")->Exec_Method("CreateRestorePoint", in));
        return returnCode == 0;
    } catch (const RuntimeError& error) {
        returnCode = error.Number();
        return false;
    }
}

bool WMI_Restore_System(wmi::IServices& rootDefault, std::uint32_t sequenceNumber, std::int32_t& returnCode) {
    try {
        wmi::PropertyBag in;
        in["SequenceNumber"] = wmi::Variant(sequenceNumber);
        returnCode = Return_Code(rootDefault.Get("SystemRestore")->Exec_Method("Restore", in));
        return returnCode == 0;
    } catch (const RuntimeError& error) {
        returnCode = error.Number();
        return false;
    }
}

std::string Append_Date_Time_Stamp(IClock& clock, std::string_view name) {
    const LocalTime now = clock.Now();
    char buffer[48];
    std::snprintf(buffer, sizeof buffer, "(%04d-%02d-%02d)(%02d-%02d-%02d)", now.year, now.month, now.day, now.hour,
                  now.minute, now.second);
    return std::string(name) + buffer;
}

}  // namespace corvane::remote
