// The registry editor's export format (.reg), both forms: "REGEDIT4" (text
// values in the ANSI code page) and "Windows Registry Editor Version 5.00"
// (UTF-16). Decoders take bytes or text; the writer produces UTF-8 text that
// Reg_File_Bytes turns into what the registry editor writes.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "remote/machine_store.h"

namespace corvane::remote {

enum class RegFormat { Regedit4, Version5 };

struct RegValueLine {
    std::string name;                    // "" is the default value ("@")
    std::optional<RegistryValue> value;  // nothing: delete the value ("name"=-)
};

struct RegKeyBlock {
    std::uint32_t root = kHkeyLocalMachine;
    std::string keyPath;     // below the root, no leading "\"
    bool deleteKey = false;  // [-HKEY_...\path]
    std::vector<RegValueLine> values;
};

struct RegFile {
    RegFormat format = RegFormat::Version5;
    std::vector<RegKeyBlock> keys;
};

// "HKEY_LOCAL_MACHINE" or "HKLM" (any case) -> 0x80000002; nothing when unknown.
[[nodiscard]] std::optional<std::uint32_t> Root_Key_From_Name(std::string_view name);
// 0x80000002 -> "HKEY_LOCAL_MACHINE"; "" when unknown.
[[nodiscard]] std::string Root_Key_Name(std::uint32_t root);

// A control character (U+0000 to U+001F, U+007F): data holding one is written
// as hex bytes; a key or value name holding one cannot be written at all.
[[nodiscard]] bool Has_Control_Character(std::string_view text);

// Raises RuntimeError (number 13, "Invalid registry file: ...") on a missing
// header, an unknown root or a malformed line. A header repeated further down
// (two exports joined with "copy a + b c") is accepted.
[[nodiscard]] RegFile Parse_Reg_Text(std::string_view utf8);
// Bytes as found in a file: UTF-16LE with a byte-order mark, or UTF-8/ANSI text.
[[nodiscard]] RegFile Parse_Reg_File(std::span<const std::uint8_t> bytes);

[[nodiscard]] std::string Write_Reg_Text(const RegFile& file);
// Version 5 files as UTF-16LE with byte-order mark, REGEDIT4 files in the ANSI code page.
[[nodiscard]] std::vector<std::uint8_t> Reg_File_Bytes(const RegFile& file);
// What Reg_File_Bytes writes for these keys after the header of a version 5
// file: appended to such a file, they make it the file of all its keys.
[[nodiscard]] std::vector<std::uint8_t> Reg_Key_Bytes(std::span<const RegKeyBlock> keys);

}  // namespace corvane::remote
