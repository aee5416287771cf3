#include "remote/target_session.h"

#include <cassert>
#include <utility>

#include "base/runtime_error.h"
#include "remote/wmi_errors.h"
#include "remote/wmi_files.h"

namespace corvane::remote {

namespace {

// The text of a value as the categories use it; values without text form
// (binary data read from the local registry) give "".
std::string Value_Text(const wmi::Variant& value) { return value.Is_Array() ? std::string() : value.As_String(); }

}  // namespace

void TargetSession::Assert_Own_Thread() const noexcept { assert(std::this_thread::get_id() == thread_); }

void TargetSession::Begin(std::string_view computerName) {
    Assert_Own_Thread();
    Close();
    context_.Start_Computer(computerName);
    context_.listings.Enable(purpose_.folderListings);
    context_.Ports().localRegistry.Keep_Last_Key(purpose_.keepLocalKey);
}

OpenOutcome TargetSession::Open(OpenRequest request, std::string& errorText) {
    Begin(request.computerName);
    context_.UserName = std::move(request.credentials.userName);
    context_.Password = std::move(request.credentials.password);
    try {
        connection_.cimv2 = WMI_Connect(context_, "cimv2", errorText);
        if (!connection_.cimv2) {
            Close();
            return OpenOutcome::NotReached;
        }
        std::string name;
        if (purpose_.confirmScannedName) {
            // Nothing more is opened on a computer that is not the one scanned.
            Read_Facts(name);
            if (Stopped_Answering(errorText, true)) return OpenOutcome::NotReached;
            if (const OpenOutcome refused = Confirm_Name(name, request.scannedName); refused != OpenOutcome::Opened) {
                Close();
                return refused;
            }
        }
        if (!Open_Registry(errorText)) {
            if (Stopped_Answering(errorText, false)) return OpenOutcome::NotReached;  // logged by WMI_Connect
            Close();
            return OpenOutcome::DefaultRefused;
        }
        if (!purpose_.confirmScannedName) {
            Read_Facts(name);
            if (Stopped_Answering(errorText, true)) return OpenOutcome::NotReached;
        }
        context_.TargetName = std::move(name);
        context_.Decide_Scan_Mode(purpose_.safeTestsWhenRemote || request.safeScanOption);
        if (purpose_.readFixedDrives) (void)WMI_Get_Fixed_Drives(Cimv2(), context_.FixedDrives);
        return OpenOutcome::Opened;
    } catch (...) {
        Close();
        throw;
    }
}

// A computer that stopped answering (or whose calls were cancelled) was not
// reached, wherever it stopped: not a refused namespace, not a computer
// without a name.
bool TargetSession::Stopped_Answering(std::string& errorText, bool log) {
    const std::uint32_t endedBy = context_.Calls()->Ended_By();
    if (endedBy == 0) return false;
    errorText = std::to_string(Hresult_Number(endedBy)) + ": " + wmi::Hresult_Description(endedBy);
    if (log) context_.Ports().reporter.Show_Error(false, errorText);
    Close();
    return true;
}

void TargetSession::Read_Facts(std::string& name) {
    (void)WMI_Get_Computer_Name(Cimv2(), name);
    (void)WMI_Get_OS_Info(Cimv2(), context_.OSVersion, context_.AddressWidth);
    context_.Decide_Is_Remote(Cimv2());
}

// The rows were found on the computer that answered with the scanned name. A
// name or address that now reaches another computer, or one that does not
// tell its name, gets nothing deleted.
OpenOutcome TargetSession::Confirm_Name(const std::string& name, const std::string& scannedName) {
    Reporter& reporter = context_.Ports().reporter;
    if (name.empty()) {
        reporter.Show_Error(
            false, "The computer '" + context_.ComputerName + "' does not tell its name; nothing is deleted on it.");
        return OpenOutcome::NameUnreadable;
    }
    if (name != scannedName) {
        reporter.Show_Error(false, "The computer '" + context_.ComputerName + "' answers as '" + name + "', not as '" +
                                       scannedName + "' as when it was scanned; its problems are not fixed.");
        return OpenOutcome::OtherName;
    }
    return OpenOutcome::Opened;
}

bool TargetSession::Open_Registry(std::string& errorText) {
    connection_.rootDefault = WMI_Connect(context_, "default", errorText);
    if (!connection_.rootDefault) return false;
    connection_.registry = connection_.rootDefault->Get("StdRegProv");
    (void)connection_.Registry();  // error 91 for a provider that gave no object
    return true;
}

void TargetSession::Close() noexcept {
    connection_.Release();
    context_.listings.Enable(false);
    context_.Ports().localRegistry.Keep_Last_Key(false);
}

wmi::IServices& TargetSession::Cimv2() {
    Assert_Own_Thread();
    return connection_.Cimv2();
}

wmi::IServices& TargetSession::Root_Default() {
    Assert_Own_Thread();
    return connection_.Root_Default();
}

wmi::IObject& TargetSession::Registry() {
    Assert_Own_Thread();
    return connection_.Registry();
}

bool TargetSession::Check_Access(std::uint32_t root, std::string_view keyPath, std::uint32_t required) {
    std::int32_t returnCode = 0;
    return Check_Access(root, keyPath, required, returnCode);
}

bool TargetSession::Check_Access(std::uint32_t root, std::string_view keyPath, std::uint32_t required,
                                 std::int32_t& returnCode) {
    returnCode = 0;
    return WMI_Check_Access(Registry(), root, keyPath, required, returnCode);
}

std::vector<std::string> TargetSession::Enum_Key(std::uint32_t root, std::string_view keyPath) {
    std::vector<std::string> names;
    (void)WMI_Enum_Key(Registry(), root, keyPath, names);
    return names;
}

bool TargetSession::Enum_Key(std::uint32_t root, std::string_view keyPath, std::vector<std::string>& names) {
    names.clear();
    return WMI_Enum_Key(Registry(), root, keyPath, names);
}

std::vector<std::string> TargetSession::Enum_Values(std::uint32_t root, std::string_view keyPath) {
    std::vector<std::string> names;
    (void)WMI_Enum_Values(Registry(), root, keyPath, names);
    return names;
}

bool TargetSession::Is_Empty_Key(std::uint32_t root, std::string_view keyPath) {
    return remote::Is_Empty_Key(context_, Registry(), root, keyPath);
}

bool TargetSession::Enum_Value_Types(std::uint32_t root, std::string_view keyPath, std::vector<std::string>& names,
                                     std::vector<std::int32_t>& types) {
    names.clear();
    types.clear();
    return WMI_Enum_Value_Types(Registry(), root, keyPath, names, types);
}

bool TargetSession::Is_Empty_Key(std::uint32_t root, std::string_view keyPath, const std::vector<std::string>& names,
                                 const std::vector<std::int32_t>& types) {
    return remote::Is_Empty_Key(context_, Registry(), root, keyPath, names, types);
}

bool TargetSession::Enum_String_Values(std::uint32_t root, std::string_view keyPath, StringValues& values) {
    std::vector<std::string> names;
    std::vector<std::int32_t> types;
    std::vector<wmi::Variant> data;
    if (!WMI_Enum_String_Values(Registry(), root, keyPath, names, types, data)) return false;
    values.names = std::move(names);
    values.types = std::move(types);
    values.data.clear();
    values.data.reserve(values.types.size());
    for (const wmi::Variant& value : data) values.data.push_back(Value_Text(value));
    // Index for index, whatever the provider handed back.
    values.names.resize(values.types.size());
    values.data.resize(values.types.size());
    return true;
}

StringRead TargetSession::Get_String_Value(std::uint32_t root, std::string_view keyPath, std::string_view valueName,
                                           std::int32_t valueType, std::string& value) {
    wmi::Variant read;
    const StringRead result = WMI_Get_String_Value(context_, Registry(), root, keyPath, valueName, valueType, read);
    value = Value_Text(read);
    return result;
}

StringRead TargetSession::Get_Expanded_String_Value(std::uint32_t root, std::string_view keyPath,
                                                    std::string_view valueName, std::string& value) {
    wmi::Variant read;
    const StringRead result = WMI_Get_Expanded_String_Value(Registry(), root, keyPath, valueName, read);
    value = Value_Text(read);
    return result;
}

bool TargetSession::Get_Binary_Value(std::uint32_t root, std::string_view keyPath, std::string_view valueName,
                                     std::vector<std::uint8_t>& bytes) {
    return WMI_Get_Binary_Value(Registry(), root, keyPath, valueName, bytes);
}

bool TargetSession::Remote_File_Exists(std::string_view path) {
    return remote::Remote_File_Exists(context_, Cimv2(), path);
}

bool TargetSession::Remote_Folder_Exists(std::string_view path) {
    return remote::Remote_Folder_Exists(context_, Cimv2(), path);
}

bool TargetSession::Is_Fixed_Drive(std::string_view name) const { return remote::Is_Fixed_Drive(context_, name); }

bool TargetSession::Get_Windows_Directory(std::string& directory) {
    return WMI_Get_Windows_Directory(Cimv2(), directory);
}

}  // namespace corvane::remote
