// The thin layer over the registry provider StdRegProv (the `registry` object
// of a WmiConnection) that scanners and the fixing routine call. Return codes
// are data; run-time errors end a routine with its failure result and are
// raised again to the caller, except a refused access (Is_Swallowed_Error,
// wmi_results.h), which only makes the routine fail. A lost connection always
// reaches the caller, so that a scan never reads "empty" into a computer that
// stopped answering.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "remote/target_context.h"
#include "remote/wmi.h"
#include "remote/wmi_results.h"

namespace corvane::remote {

inline constexpr std::uint32_t kHkeyLocalMachineRoot = 0x80000002u;
inline constexpr std::uint32_t kHkeyUsersRoot = 0x80000003u;
inline constexpr std::uint32_t kKeyQueryValue = 1;
inline constexpr std::uint32_t kAccessDelete = 0x10000;

// EnumKey; true once the call was made, whatever it returned (a missing key
// gives an empty list).
bool WMI_Enum_Key(wmi::IObject& registry, std::uint32_t rootKey, std::string_view keyPath,
                  std::vector<std::string>& subKeyNames);
// EnumValues without Types; true once the call was made.
bool WMI_Enum_Values(wmi::IObject& registry, std::uint32_t rootKey, std::string_view keyPath,
                     std::vector<std::string>& valueNames);
// EnumValues with Types, nothing read; true only when EnumValues returned 0
// (a key without values gives two empty lists).
bool WMI_Enum_Value_Types(wmi::IObject& registry, std::uint32_t rootKey, std::string_view keyPath,
                          std::vector<std::string>& valueNames, std::vector<std::int32_t>& valueTypes);
// EnumValues with Types, then GetStringValue (type 1) or GetExpandedStringValue
// (type 2) per value; other types leave their value Empty. True when
// EnumValues returned 0 with at least one value.
bool WMI_Enum_String_Values(wmi::IObject& registry, std::uint32_t rootKey, std::string_view keyPath,
                            std::vector<std::string>& valueNames, std::vector<std::int32_t>& valueTypes,
                            std::vector<wmi::Variant>& values);

// What WMI_Get_String_Value found.
enum class StringRead {
    Read,           // a non-empty value
    Empty,          // an empty string, or no value (locally: nothing readable)
    ProviderError,  // the provider answered with an error code (no such key or value, another type)
    CallFailed,     // the call failed with a swallowed error (refused access); a lost connection raises
};

// On the local computer (context.IsRemote false) the value is read natively
// (Query_Local_Value, any type); otherwise GetStringValue, only for
// valueType 1 (any other type makes no call and keeps value).
[[nodiscard]] StringRead WMI_Get_String_Value(TargetContext& context, wmi::IObject& registry, std::uint32_t rootKey,
                                              std::string_view keyPath, std::string_view valueName,
                                              std::int32_t valueType, wmi::Variant& value);

// GetExpandedStringValue: a REG_EXPAND_SZ (or REG_SZ) value with the
// environment references expanded by the computer itself, on every computer.
[[nodiscard]] StringRead WMI_Get_Expanded_String_Value(wmi::IObject& registry, std::uint32_t rootKey,
                                                       std::string_view keyPath, std::string_view valueName,
                                                       wmi::Variant& value);

// GetBinaryValue; true with the value's bytes when the provider read it.
bool WMI_Get_Binary_Value(wmi::IObject& registry, std::uint32_t rootKey, std::string_view keyPath,
                          std::string_view valueName, std::vector<std::uint8_t>& bytes);
// True only for a key that could be read and really holds nothing: no
// sub-keys, and no values but perhaps a default value that is absent or an
// empty string. A default value of any other type (a number, binary data) is
// content. Reads that fail (refused access) look empty, so the key must also
// grant reading (CheckAccess with KEY_QUERY_VALUE).
[[nodiscard]] bool Is_Empty_Key(TargetContext& context, wmi::IObject& registry, std::uint32_t rootKey,
                                std::string_view keyPath);
// The same for a key whose values the caller has just listed
// (WMI_Enum_Value_Types): the listing is not asked for again.
[[nodiscard]] bool Is_Empty_Key(TargetContext& context, wmi::IObject& registry, std::uint32_t rootKey,
                                std::string_view keyPath, const std::vector<std::string>& valueNames,
                                const std::vector<std::int32_t>& valueTypes);

// CheckAccess; the granted flag as it comes back; returnCode only passed out.
bool WMI_Check_Access(wmi::IObject& registry, std::uint32_t rootKey, std::string_view keyPath, std::uint32_t required,
                      std::int32_t& returnCode);
bool WMI_Delete_Value(wmi::IObject& registry, std::uint32_t rootKey, std::string_view keyPath,
                      std::string_view valueName, std::int32_t& returnCode);
bool WMI_Delete_Key(wmi::IObject& registry, std::uint32_t rootKey, std::string_view keyPath, std::int32_t& returnCode);
// Depth first: EnumKey, itself for each sub-key in the provider's order
// (results ignored), then DeleteKey; true when the key's own DeleteKey succeeded.
// A registry link (a "SymbolicLinkValue" of type REG_LINK) is deleted as
// itself and never walked; a tree deeper than 512 levels stops with error 28.
// The three deletions refuse (error 5, nothing deleted) a key or value name
// holding a zero character, which the registry functions would cut short.
bool WMI_Delete_Key_Tree(wmi::IObject& registry, std::uint32_t rootKey, std::string_view keyPath,
                         std::int32_t& returnCode);

// The scanners' filter for enumerated sub-key names: lets every name through.
[[nodiscard]] constexpr bool Accept_Key_Name(std::string_view) noexcept { return true; }

}  // namespace corvane::remote
