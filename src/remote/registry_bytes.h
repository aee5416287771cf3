// Registry value bytes as the registry stores them and regedit's version 5
// files spell them, to and from the store's RegistryValue: text types as
// UTF-16LE with terminating zeros, REG_DWORD and REG_QWORD as little-endian
// numbers, any other type as raw bytes. The native store and the .reg codec
// both decode through here.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "remote/machine_store.h"

namespace corvane::remote {

// Text types end at their first zero unit; a REG_MULTI_SZ ends at its first
// empty part; a short REG_DWORD/REG_QWORD is read as if padded with zeros.
[[nodiscard]] RegistryValue Decode_Registry_Bytes(std::uint32_t type, std::span<const std::uint8_t> data);
[[nodiscard]] std::vector<std::uint8_t> Encode_Registry_Value(const RegistryValue& value);

}  // namespace corvane::remote
