// Opening a connection to a computer's management service, and the facts
// read right after connecting. Connection failures are logged (error line,
// no message box) and come back as "number: description" texts; nothing here
// shows a message.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "base/runtime_error.h"
#include "remote/target_context.h"
#include "remote/wmi.h"

namespace corvane::remote {

// The objects held for one connected computer (a TargetSession's);
// dropping them disconnects.
struct WmiConnection {
    wmi::ServicesPtr cimv2;
    wmi::ServicesPtr rootDefault;  // root\default
    wmi::ObjectPtr registry;       // rootDefault->Get("StdRegProv")

    void Release() noexcept {
        registry.reset();
        rootDefault.reset();
        cimv2.reset();
    }
    [[nodiscard]] bool Connected() const noexcept { return cimv2 && rootDefault && registry; }
    // The objects themselves; run-time error 91 when one is not held.
    [[nodiscard]] wmi::IServices& Cimv2() const { return Held(cimv2); }
    [[nodiscard]] wmi::IServices& Root_Default() const { return Held(rootDefault); }
    [[nodiscard]] wmi::IObject& Registry() const { return Held(registry); }

private:
    template <class T>
    static T& Held(const std::shared_ptr<T>& object) {
        if (!object) throw RuntimeError(error_number::kObjectNotSet, "Object variable or With block variable not set");
        return *object;
    }
};

// ConnectServer's flags: 128 (use max wait) when the local Windows is XP or
// later, else 0.
[[nodiscard]] std::int32_t Connect_Flags(const OsVersionNumbers& localVersion);

// Connects to root\<nameSpace> ("cimv2", "default") of context.ComputerName
// with its user name and password. On failure: errorText = "number:
// description", the text is logged as an error line, the result is null.
[[nodiscard]] wmi::ServicesPtr WMI_Connect(TargetContext& context, std::string_view nameSpace, std::string& errorText);

// The same with explicit server and credentials; null on any error, nothing logged.
[[nodiscard]] wmi::ServicesPtr WMI_Connect_To(const RemotePorts& ports, std::string_view nameSpace,
                                              std::string_view server, std::string_view user, const Secret& password);

// "Select Name From Win32_ComputerSystem"; false (name untouched) on failure.
bool WMI_Get_Computer_Name(wmi::IServices& cimv2, std::string& name);
// Version of Win32_OperatingSystem, AddressWidth of Win32_Processor (the last
// processor read wins); false (outputs untouched) on failure.
bool WMI_Get_OS_Info(wmi::IServices& cimv2, std::string& version, std::int32_t& addressWidth);
// Names of the fixed disks ("Select Name From Win32_LogicalDisk Where
// DriveType=3"); true when at least one was found.
bool WMI_Get_Fixed_Drives(wmi::IServices& cimv2, std::vector<std::string>& drives);

}  // namespace corvane::remote
