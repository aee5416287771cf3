#include "remote/registry_bytes.h"

#include <algorithm>
#include <string>
#include <string_view>

#include "base/utf8.h"

namespace corvane::remote {
namespace {

std::uint64_t Little_Endian(std::span<const std::uint8_t> data, std::size_t width) {
    std::uint64_t number = 0;
    for (std::size_t index = 0; index < width && index < data.size(); ++index) {
        number |= static_cast<std::uint64_t>(data[index]) << (8 * index);
    }
    return number;
}

std::span<const std::uint8_t> Without_Trailing_Zeros(std::span<const std::uint8_t> data) {
    std::size_t size = data.size();
    while (size > 0 && data[size - 1] == 0) --size;
    return data.first(size);
}

void Append(std::vector<std::uint8_t>& bytes, const std::vector<std::uint8_t>& more) {
    bytes.insert(bytes.end(), more.begin(), more.end());
}

}  // namespace

RegistryValue Decode_Registry_Bytes(std::uint32_t type, std::span<const std::uint8_t> data) {
    RegistryValue value;
    value.type = type;
    switch (type) {
        case kRegSz:
        case kRegExpandSz: {
            const std::string text = Utf16le_To_Utf8(data);
            value.text = text.substr(0, text.find('\0'));
            break;
        }
        case kRegMultiSz: {
            const std::string text = Utf16le_To_Utf8(data);
            std::string_view rest(text);
            while (!rest.empty()) {
                const auto end = rest.find('\0');
                const std::string_view part = rest.substr(0, end);
                if (part.empty()) break;
                value.parts.emplace_back(part);
                if (end == std::string_view::npos) break;
                rest.remove_prefix(end + 1);
            }
            break;
        }
        case kRegDword: value.number = Little_Endian(data, 4); break;
        case kRegQword: value.number = Little_Endian(data, 8); break;
        default: value.bytes.assign(data.begin(), data.end()); break;
    }
    if (type == kRegSz || type == kRegExpandSz || type == kRegMultiSz || type == kRegDword || type == kRegQword) {
        // Terminating zeros may be missing or doubled; anything else lost makes the value not whole.
        const std::vector<std::uint8_t> again = Encode_Registry_Value(value);
        value.whole = std::ranges::equal(Without_Trailing_Zeros(again), Without_Trailing_Zeros(data));
    }
    return value;
}

std::vector<std::uint8_t> Encode_Registry_Value(const RegistryValue& value) {
    std::vector<std::uint8_t> bytes;
    switch (value.type) {
        case kRegSz:
        case kRegExpandSz: bytes = Utf8_To_Utf16le(value.text, true); break;
        case kRegMultiSz:
            for (const std::string& part : value.parts) Append(bytes, Utf8_To_Utf16le(part, true));
            Append(bytes, Utf8_To_Utf16le("", true));
            break;
        case kRegDword:
        case kRegQword:
            for (std::size_t index = 0; index < (value.type == kRegDword ? 4u : 8u); ++index) {
                bytes.push_back(static_cast<std::uint8_t>((value.number >> (8 * index)) & 0xFF));
            }
            break;
        default: bytes = value.bytes; break;
    }
    return bytes;
}

}  // namespace corvane::remote
