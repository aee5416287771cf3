#include "remote/wmi_connection.h"

#include "base/runtime_error.h"
#include "remote/wmi_errors.h"

namespace corvane::remote {

std::int32_t Connect_Flags(const OsVersionNumbers& localVersion) {
    // Systems newer than the known ones (major version above 6) count as
    // later than XP too, instead of falling to code 0.
    const bool newer = localVersion.platformId == 2 && localVersion.major > 6;
    return (Get_OS_Version_Code(localVersion) >= 2501 || newer) ? wmi::kConnectUseMaxWait : 0;
}

namespace {

wmi::ServicesPtr Connect(const RemotePorts& ports, std::string_view nameSpace, std::string_view server,
                         std::string_view user, const Secret& password, wmi::CallControlPtr calls) {
    const std::int32_t flags = Connect_Flags(ports.localSystem.Os_Version());
    wmi::ServicesPtr services =
        ports.locator.ConnectServer(server, "root\\" + std::string(nameSpace), user, password, flags, std::move(calls));
    if (!services) wmi::Raise_Hresult(wmi::hresult::kWbemFailed);
    return services;
}

}  // namespace

wmi::ServicesPtr WMI_Connect(TargetContext& context, std::string_view nameSpace, std::string& errorText) {
    try {
        wmi::ServicesPtr services = Connect(context.Ports(), nameSpace, context.ComputerName, context.UserName,
                                            context.Password, context.Calls());
        // Its administrative shares are reached with the same credentials.
        context.Ports().shares.Use_Credentials(context.ComputerName, context.UserName, context.Password);
        errorText.clear();
        return services;
    } catch (const RuntimeError& error) {
        errorText = error.Text();
        context.Ports().reporter.Show_Error(false, error);
        return nullptr;
    }
}

wmi::ServicesPtr WMI_Connect_To(const RemotePorts& ports, std::string_view nameSpace, std::string_view server,
                                std::string_view user, const Secret& password) {
    try {
        // A connection of its own, under the same time limit.
        return Connect(ports, nameSpace, server, user, password, std::make_shared<wmi::CallControl>(ports.callLimit));
    } catch (const RuntimeError&) {
        return nullptr;
    }
}

bool WMI_Get_Computer_Name(wmi::IServices& cimv2, std::string& name) {
    try {
        std::string found;
        bool any = false;
        for (const auto& object : cimv2.ExecQuery("Select Name From Win32_ComputerSystem", wmi::kReturnImmediately)) {
            found = object->Get("Name").As_String();
            any = true;
        }
        if (!any) return false;
        name = found;
        return true;
    } catch (const RuntimeError&) {
        return false;
    }
}

bool WMI_Get_OS_Info(wmi::IServices& cimv2, std::string& version, std::int32_t& addressWidth) {
    try {
        std::string foundVersion = version;
        std::int32_t foundWidth = addressWidth;
        for (const auto& object : cimv2.ExecQuery("Select * from Win32_OperatingSystem", wmi::kReturnImmediately)) {
            foundVersion = object->Get("Version").As_String();
        }
        for (const auto& object : cimv2.ExecQuery("Select * from Win32_Processor", wmi::kReturnImmediately)) {
            foundWidth = object->Get("AddressWidth").As_Int32();
        }
        version = foundVersion;
        addressWidth = foundWidth;
        return true;
    } catch (const RuntimeError&) {
        return false;
    }
}

bool WMI_Get_Fixed_Drives(wmi::IServices& cimv2, std::vector<std::string>& drives) {
    try {
        std::vector<std::string> found;
        for (const auto& object :
             cimv2.ExecQuery("Select Name From Win32_LogicalDisk Where DriveType=3", wmi::kReturnImmediately)) {
            found.push_back(object->Get("Name").As_String());
        }
        if (found.empty()) return false;
        drives = std::move(found);
        return true;
    } catch (const RuntimeError&) {
        return false;
    }
}

}  // namespace corvane::remote
