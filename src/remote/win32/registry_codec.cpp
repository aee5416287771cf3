#include "remote/win32/registry_codec.h"

#include <algorithm>
#include <string>

#include "remote/win32/wide_text.h"

namespace corvane::remote::win32 {
namespace {

std::wstring Units(std::span<const std::uint8_t> data) {
    std::wstring text(data.size() / 2, L'\0');
    for (std::size_t index = 0; index < text.size(); ++index) {
        text[index] = static_cast<wchar_t>(data[2 * index] | (data[2 * index + 1] << 8));
    }
    return text;
}

void Append_Units(std::vector<std::uint8_t>& bytes, std::wstring_view text) {
    for (const wchar_t unit : text) {
        bytes.push_back(static_cast<std::uint8_t>(unit & 0xFF));
        bytes.push_back(static_cast<std::uint8_t>((unit >> 8) & 0xFF));
    }
    bytes.push_back(0);
    bytes.push_back(0);
}

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

}  // namespace

RegistryValue Decode_Registry_Bytes(std::uint32_t type, std::span<const std::uint8_t> data) {
    RegistryValue value;
    value.type = type;
    switch (type) {
    case kRegSz:
    case kRegExpandSz: {
        const std::wstring units = Units(data);
        value.text = Narrow(std::wstring_view(units).substr(0, units.find(L'\0')));
        break;
    }
    case kRegMultiSz: {
        const std::wstring units = Units(data);
        std::wstring_view rest(units);
        while (!rest.empty()) {
            const auto end = rest.find(L'\0');
            const std::wstring_view part = rest.substr(0, end);
            if (part.empty()) break;
            value.parts.push_back(Narrow(part));
            if (end == std::wstring_view::npos) break;
            rest.remove_prefix(end + 1);
        }
        break;
    }
    case kRegDword:
        value.number = Little_Endian(data, 4);
        break;
    case kRegQword:
        value.number = Little_Endian(data, 8);
        break;
    default:
        value.bytes.assign(data.begin(), data.end());
        break;
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
    case kRegExpandSz:
        Append_Units(bytes, Widen(value.text));
        break;
    case kRegMultiSz:
        for (const std::string& part : value.parts) Append_Units(bytes, Widen(part));
        bytes.push_back(0);
        bytes.push_back(0);
        break;
    case kRegDword:
    case kRegQword:
        for (std::size_t index = 0; index < (value.type == kRegDword ? 4u : 8u); ++index) {
            bytes.push_back(static_cast<std::uint8_t>((value.number >> (8 * index)) & 0xFF));
        }
        break;
    default:
        bytes = value.bytes;
        break;
    }
    return bytes;
}

}  // namespace corvane::remote::win32
