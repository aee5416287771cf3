#include "remote/local_registry.h"

#include "base/utf8.h"
#include "remote/machine_store.h"

namespace corvane::remote {
namespace {

// The first `units` UTF-16 units of the bytes as UTF-8.
std::string Units_To_Utf8(std::span<const std::uint8_t> bytes, std::size_t units) {
    return Utf16le_To_Utf8(bytes.first(2 * units));
}

bool Is_Zero_Unit(std::span<const std::uint8_t> bytes, std::size_t index) {
    return bytes[2 * index] == 0 && bytes[2 * index + 1] == 0;
}

// The units of a text value less up to `zeros` terminating zero units, only
// those really stored: installers often write strings without one, and
// cutting blindly would eat a real character.
std::size_t Units_Without_Terminator(std::span<const std::uint8_t> bytes, std::size_t zeros) {
    std::size_t units = bytes.size() / 2;
    while (zeros-- > 0 && units > 0 && Is_Zero_Unit(bytes, units - 1)) --units;
    return units;
}

}  // namespace

wmi::Variant Decode_Local_Value(std::uint32_t type, std::span<const std::uint8_t> data,
                                const wmi::Variant& defaultValue) {
    switch (type) {
        case kRegSz:
        case kRegExpandSz: return wmi::Variant(Units_To_Utf8(data, Units_Without_Terminator(data, 1)));
        case kRegMultiSz: return wmi::Variant(Units_To_Utf8(data, Units_Without_Terminator(data, 2)));
        case kRegBinary: {
            std::vector<wmi::Variant> bytes;
            bytes.reserve(data.size());
            for (std::uint8_t b : data) bytes.emplace_back(static_cast<std::int32_t>(b));
            return wmi::Variant(std::move(bytes));
        }
        case kRegDword: {
            std::uint32_t value = 0;
            for (std::size_t i = 0; i < 4 && i < data.size(); ++i)
                value |= static_cast<std::uint32_t>(data[i]) << (8 * i);
            return wmi::Variant(static_cast<std::int32_t>(value));
        }
        default: return defaultValue;
    }
}

wmi::Variant Query_Local_Value(ILocalRegistry& registry, std::uint32_t root, std::string_view keyPath,
                               std::string_view valueName, const wmi::Variant& defaultValue) {
    const auto raw = registry.Read_Value(root, keyPath, valueName);
    if (!raw) return defaultValue;
    return Decode_Local_Value(raw->type, raw->data, defaultValue);
}

}  // namespace corvane::remote
