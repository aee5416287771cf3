#include "remote/local_registry.h"

#include "base/utf8.h"
#include "remote/machine_store.h"

namespace corvane::remote {
namespace {

// The first `units` UTF-16 units of the bytes as UTF-8.
std::string Units_To_Utf8(std::span<const std::uint8_t> bytes, std::size_t units) {
    std::string out;
    for (std::size_t i = 0; i < units; ++i) {
        char32_t unit = static_cast<char32_t>(bytes[2 * i] | (bytes[2 * i + 1] << 8));
        if (unit >= 0xD800 && unit < 0xDC00 && i + 1 < units) {
            const char32_t low = static_cast<char32_t>(bytes[2 * i + 2] | (bytes[2 * i + 3] << 8));
            if (low >= 0xDC00 && low < 0xE000) {
                unit = 0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00);
                ++i;
            }
        }
        Append_Utf8(out, unit);
    }
    return out;
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

std::vector<std::uint8_t> Utf16_Bytes(std::string_view utf8, bool terminate) {
    std::vector<std::uint8_t> out;
    out.reserve(utf8.size() * 2 + 2);
    auto put = [&](char32_t unit) {
        out.push_back(static_cast<std::uint8_t>(unit & 0xFF));
        out.push_back(static_cast<std::uint8_t>((unit >> 8) & 0xFF));
    };
    for (std::size_t i = 0; i < utf8.size();) {
        char32_t cp = Next_Code_Point(utf8, i);
        if (cp >= 0x10000) {
            cp -= 0x10000;
            put(0xD800 + (cp >> 10));
            put(0xDC00 + (cp & 0x3FF));
        } else {
            put(cp);
        }
    }
    if (terminate) put(0);
    return out;
}

std::string Utf16_Bytes_To_Utf8(std::span<const std::uint8_t> bytes) {
    return Units_To_Utf8(bytes, bytes.size() / 2);
}

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
            for (std::size_t i = 0; i < 4 && i < data.size(); ++i) value |= static_cast<std::uint32_t>(data[i]) << (8 * i);
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
