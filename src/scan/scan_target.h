// The computer being scanned, as the driver and the category routines see
// it: the connection to its management service (root\cimv2, root\default and
// the registry provider), the process-wide context of the current target,
// and the registry and file routines bound to both. One object serves the
// whole scan; Begin_Computer and Release move it from computer to computer.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "remote/target_context.h"
#include "remote/wmi_connection.h"
#include "remote/wmi_registry.h"

namespace corvane::scan {

// What WMI_Enum_String_Values gives: the names, their types and the text of
// the string values (empty for every other type), index for index.
struct StringValues {
    std::vector<std::string> names;
    std::vector<std::int32_t> types;
    std::vector<std::string> data;
};

class ScanTarget {
public:
    // context is the target context that the fixing routine shares; it also
    // carries the locator and the local shortcuts.
    explicit ScanTarget(remote::TargetContext& context) : context_(context) {}
    ScanTarget(const ScanTarget&) = delete;
    ScanTarget& operator=(const ScanTarget&) = delete;

    [[nodiscard]] remote::TargetContext& Context() noexcept { return context_; }
    [[nodiscard]] const remote::TargetContext& Context() const noexcept { return context_; }

    // ---- connection (the driver)
    // Empties the context's per-computer fields, sets the computer name and
    // starts the folder listings of this computer's scan and the local
    // registry's kept key.
    void Begin_Computer(std::string_view computerName);
    // WMI_Connect of "cimv2" and "default"; on failure errorText tells why.
    [[nodiscard]] bool Connect_Cimv2(std::string& errorText);
    [[nodiscard]] bool Connect_Default(std::string& errorText);
    // default.Get("StdRegProv").
    void Open_Registry();
    // TargetName, OSVersion and AddressWidth (a failed read keeps the old
    // values), and whether the backend is the local computer's own store.
    void Read_Computer_Facts();
    void Read_Fixed_Drives();
    // Drops the three service objects, the folder listings and the kept key.
    void Release() noexcept;

    // ---- registry (the category routines); roots are the registry API's numbers
    [[nodiscard]] bool Check_Access(std::uint32_t root, std::string_view keyPath, std::uint32_t required);
    // The same with CheckAccess's return code (2: there is no such key).
    [[nodiscard]] bool Check_Access(std::uint32_t root, std::string_view keyPath, std::uint32_t required,
                                    std::int32_t& returnCode);
    [[nodiscard]] std::vector<std::string> Enum_Key(std::uint32_t root, std::string_view keyPath);
    // The same; false when the call itself failed (the list is then empty).
    [[nodiscard]] bool Enum_Key(std::uint32_t root, std::string_view keyPath, std::vector<std::string>& names);
    [[nodiscard]] std::vector<std::string> Enum_Values(std::uint32_t root, std::string_view keyPath);
    // A key that could be read and holds nothing (remote::Is_Empty_Key).
    [[nodiscard]] bool Is_Empty_Key(std::uint32_t root, std::string_view keyPath);
    // EnumValues with the types, nothing read; false when the call failed or said no.
    [[nodiscard]] bool Enum_Value_Types(std::uint32_t root, std::string_view keyPath, std::vector<std::string>& names,
                                        std::vector<std::int32_t>& types);
    // Is_Empty_Key for a key whose values were just listed (Enum_Value_Types).
    [[nodiscard]] bool Is_Empty_Key(std::uint32_t root, std::string_view keyPath, const std::vector<std::string>& names,
                                    const std::vector<std::int32_t>& types);
    [[nodiscard]] bool Enum_String_Values(std::uint32_t root, std::string_view keyPath, StringValues& values);
    // remote::WMI_Get_String_Value; value gets the text.
    [[nodiscard]] remote::StringRead Get_String_Value(std::uint32_t root, std::string_view keyPath,
                                                      std::string_view valueName, std::int32_t valueType,
                                                      std::string& value);

    // remote::WMI_Get_Expanded_String_Value, expanded by the computer itself.
    [[nodiscard]] remote::StringRead Get_Expanded_String_Value(std::uint32_t root, std::string_view keyPath,
                                                               std::string_view valueName, std::string& value);

    // GetBinaryValue; true with the value's length in bytes when it was read.
    [[nodiscard]] bool Get_Binary_Size(std::uint32_t root, std::string_view keyPath, std::string_view valueName,
                                       std::size_t& size);

    // ---- files (follow the safe or fast scan mode of the context)
    [[nodiscard]] bool Remote_File_Exists(std::string_view path);
    [[nodiscard]] bool Remote_Folder_Exists(std::string_view path);
    [[nodiscard]] bool Is_Fixed_Drive(std::string_view name) const;
    [[nodiscard]] bool Get_Windows_Directory(std::string& directory);

    // The root\cimv2 services of the current computer (the folder walker's
    // queries); raises error 91 when not connected.
    [[nodiscard]] wmi::IServices& Cimv2();

private:
    [[nodiscard]] wmi::IObject& Registry();

    remote::TargetContext& context_;
    remote::WmiConnection connection_;
};

}  // namespace corvane::scan
