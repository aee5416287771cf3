#include "scan/scan_target.h"

#include "remote/wmi_files.h"
#include "remote/wmi_registry.h"
#include "remote/wmi_system.h"

namespace corvane::scan {

namespace {

// The text of a value as the categories use it; values without text form
// (binary data read from the local registry) give "".
std::string Value_Text(const wmi::Variant& value) { return value.Is_Array() ? std::string() : value.As_String(); }

}  // namespace

void ScanTarget::Begin_Computer(std::string_view computerName) {
    connection_.Release();
    context_.Start_Computer(computerName);
    context_.listings.Enable(true);
    context_.Ports().localRegistry.Keep_Last_Key(true);
}

bool ScanTarget::Connect_Cimv2(std::string& errorText) {
    connection_.cimv2 = remote::WMI_Connect(context_, "cimv2", errorText);
    return connection_.cimv2 != nullptr;
}

bool ScanTarget::Connect_Default(std::string& errorText) {
    connection_.rootDefault = remote::WMI_Connect(context_, "default", errorText);
    return connection_.rootDefault != nullptr;
}

void ScanTarget::Open_Registry() { connection_.registry = connection_.Root_Default().Get("StdRegProv"); }

void ScanTarget::Read_Computer_Facts() {
    (void)remote::WMI_Get_Computer_Name(Cimv2(), context_.TargetName);
    (void)remote::WMI_Get_OS_Info(Cimv2(), context_.OSVersion, context_.AddressWidth);
    context_.Decide_Is_Remote(Cimv2());
}

void ScanTarget::Read_Fixed_Drives() { (void)remote::WMI_Get_Fixed_Drives(Cimv2(), context_.FixedDrives); }

void ScanTarget::Release() noexcept {
    connection_.Release();
    context_.listings.Enable(false);
    context_.Ports().localRegistry.Keep_Last_Key(false);
}

wmi::IServices& ScanTarget::Cimv2() { return connection_.Cimv2(); }

wmi::IObject& ScanTarget::Registry() { return connection_.Registry(); }

bool ScanTarget::Check_Access(std::uint32_t root, std::string_view keyPath, std::uint32_t required) {
    std::int32_t returnCode = 0;
    return Check_Access(root, keyPath, required, returnCode);
}

bool ScanTarget::Check_Access(std::uint32_t root, std::string_view keyPath, std::uint32_t required,
                              std::int32_t& returnCode) {
    returnCode = 0;
    return remote::WMI_Check_Access(Registry(), root, keyPath, required, returnCode);
}

std::vector<std::string> ScanTarget::Enum_Key(std::uint32_t root, std::string_view keyPath) {
    std::vector<std::string> names;
    (void)remote::WMI_Enum_Key(Registry(), root, keyPath, names);
    return names;
}

bool ScanTarget::Enum_Key(std::uint32_t root, std::string_view keyPath, std::vector<std::string>& names) {
    names.clear();
    return remote::WMI_Enum_Key(Registry(), root, keyPath, names);
}

std::vector<std::string> ScanTarget::Enum_Values(std::uint32_t root, std::string_view keyPath) {
    std::vector<std::string> names;
    (void)remote::WMI_Enum_Values(Registry(), root, keyPath, names);
    return names;
}

bool ScanTarget::Is_Empty_Key(std::uint32_t root, std::string_view keyPath) {
    return remote::Is_Empty_Key(context_, Registry(), root, keyPath);
}

bool ScanTarget::Enum_Value_Types(std::uint32_t root, std::string_view keyPath, std::vector<std::string>& names,
                                  std::vector<std::int32_t>& types) {
    names.clear();
    types.clear();
    return remote::WMI_Enum_Value_Types(Registry(), root, keyPath, names, types);
}

bool ScanTarget::Is_Empty_Key(std::uint32_t root, std::string_view keyPath, const std::vector<std::string>& names,
                              const std::vector<std::int32_t>& types) {
    return remote::Is_Empty_Key(context_, Registry(), root, keyPath, names, types);
}

bool ScanTarget::Enum_String_Values(std::uint32_t root, std::string_view keyPath, StringValues& values) {
    std::vector<std::string> names;
    std::vector<std::int32_t> types;
    std::vector<wmi::Variant> data;
    if (!remote::WMI_Enum_String_Values(Registry(), root, keyPath, names, types, data)) return false;
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

remote::StringRead ScanTarget::Get_String_Value(std::uint32_t root, std::string_view keyPath,
                                                std::string_view valueName, std::int32_t valueType,
                                                std::string& value) {
    wmi::Variant read;
    const remote::StringRead result =
        remote::WMI_Get_String_Value(context_, Registry(), root, keyPath, valueName, valueType, read);
    value = Value_Text(read);
    return result;
}

remote::StringRead ScanTarget::Get_Expanded_String_Value(std::uint32_t root, std::string_view keyPath,
                                                         std::string_view valueName, std::string& value) {
    wmi::Variant read;
    const remote::StringRead result = remote::WMI_Get_Expanded_String_Value(Registry(), root, keyPath, valueName, read);
    value = Value_Text(read);
    return result;
}

bool ScanTarget::Get_Binary_Size(std::uint32_t root, std::string_view keyPath, std::string_view valueName,
                                 std::size_t& size) {
    return remote::WMI_Get_Binary_Size(Registry(), root, keyPath, valueName, size);
}

bool ScanTarget::Remote_File_Exists(std::string_view path) {
    return remote::Remote_File_Exists(context_, Cimv2(), path);
}

bool ScanTarget::Remote_Folder_Exists(std::string_view path) {
    return remote::Remote_Folder_Exists(context_, Cimv2(), path);
}

bool ScanTarget::Is_Fixed_Drive(std::string_view name) const { return remote::Is_Fixed_Drive(context_, name); }

bool ScanTarget::Get_Windows_Directory(std::string& directory) {
    return remote::WMI_Get_Windows_Directory(Cimv2(), directory);
}

}  // namespace corvane::scan
