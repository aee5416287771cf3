// Copies registry content through StdRegProv in both directions: reads exactly
// what a deletion will remove (a value, a key, or a key with every sub-key)
// as blocks of a .reg file, and writes such blocks back with CreateKey and the
// Set*Value methods. Writing back never deletes; a value that exists with
// other data is replaced only when the caller's question allows it.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "remote/reg_file.h"
#include "remote/wmi.h"

namespace corvane::remote {

// The value types StdRegProv's Set*Value methods write: REG_SZ,
// REG_EXPAND_SZ, REG_BINARY, REG_DWORD, REG_MULTI_SZ and REG_QWORD. Any other
// (REG_NONE, REG_LINK, REG_DWORD_BIG_ENDIAN, the resource lists, unknown
// types) only the program's own store of the local computer writes back.
[[nodiscard]] bool Writable_Through_Wmi(std::uint32_t type);

enum class ValueTypes {
    Any,                 // the local computer's own store writes every type back
    WritableThroughWmi,  // a value of another type fails the read, naming its type
};

// The value with its type and data; no block when the key has no such value.
// False (with the reason) when anything could not be read completely.
[[nodiscard]] bool WMI_Read_Value_Block(wmi::IObject& registry, std::uint32_t rootKey, std::string_view keyPath,
                                        std::string_view valueName, ValueTypes types, std::vector<RegKeyBlock>& blocks,
                                        std::string& failure);
// The key with all its values, and with withSubKeys every key below it (each
// parent before its sub-keys).
[[nodiscard]] bool WMI_Read_Key_Blocks(wmi::IObject& registry, std::uint32_t rootKey, std::string_view keyPath,
                                       bool withSubKeys, ValueTypes types, std::vector<RegKeyBlock>& blocks,
                                       std::string& failure);

struct RegistryWriteReport {
    int keys = 0;  // keys created or found in place
    int valuesWritten = 0;
    int valuesUnchanged = 0;  // already held the same data
    int valuesKept = 0;       // held other data and the question said no
    std::vector<std::string> failures;
};

// Asked before a value that exists with other data is replaced.
using OverwriteQuestion = std::function<bool(std::string_view fullKey, std::string_view valueName)>;

// Writes every key and value of the file; deletions the file may ask for
// ("[-KEY]", "name"=-) are ignored. Failures are reported, the rest goes on
// (a value of a type only the local store writes fails on any other
// computer, and the values after it are still written).
[[nodiscard]] RegistryWriteReport WMI_Write_Blocks(wmi::IObject& registry, const RegFile& file,
                                                   const OverwriteQuestion& mayOverwrite);

}  // namespace corvane::remote
