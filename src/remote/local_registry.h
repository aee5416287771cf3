// Reading one value of the registry of the computer the program runs on,
// without the management service. The port ILocalRegistry fetches the raw
// value (native: RegQueryValueExW in remote/win32; tests: a simulated
// computer); Query_Local_Value decodes it as the string-value read expects.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

#include "remote/wmi_variant.h"

namespace corvane::remote {

// A value as the native registry hands it over: its type and its bytes, text
// types in UTF-16LE with their terminating zero(s) as stored.
struct RawRegistryValue {
    std::uint32_t type = 0;
    std::vector<std::uint8_t> data;
};

class ILocalRegistry {
public:
    virtual ~ILocalRegistry() = default;
    ILocalRegistry() = default;
    ILocalRegistry(const ILocalRegistry&) = delete;
    ILocalRegistry& operator=(const ILocalRegistry&) = delete;

    // Opens root\keyPath for reading (KEY_READ) and queries valueName ("" is the
    // default value); nothing when the key or the value cannot be read.
    [[nodiscard]] virtual std::optional<RawRegistryValue> Read_Value(std::uint32_t root, std::string_view keyPath,
                                                                     std::string_view valueName) = 0;
    // On for one computer's scan only (never for a fix): the key opened last
    // may stay open for the next read of the same key. Turning it on or off
    // closes a kept key. A kept key deleted meanwhile is never taken for one
    // without the value: a read that fails on it opens the key afresh.
    virtual void Keep_Last_Key(bool on) noexcept = 0;
};

// Decodes a raw value: REG_SZ and REG_EXPAND_SZ give the text less its
// terminating zero when one is stored (a value stored without one keeps its
// last character), REG_MULTI_SZ the text less up to two final zeros with the
// zeros between the parts kept, REG_BINARY an array of byte numbers, REG_DWORD the
// first 4 bytes as a signed 32-bit number; any other type gives defaultValue.
[[nodiscard]] wmi::Variant Decode_Local_Value(std::uint32_t type, std::span<const std::uint8_t> data,
                                              const wmi::Variant& defaultValue = {});

// The value, or defaultValue when the key or the value cannot be read.
[[nodiscard]] wmi::Variant Query_Local_Value(ILocalRegistry& registry, std::uint32_t root, std::string_view keyPath,
                                             std::string_view valueName, const wmi::Variant& defaultValue = {});

}  // namespace corvane::remote
