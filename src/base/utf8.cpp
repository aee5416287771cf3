#include "base/utf8.h"

namespace corvane {

void Append_Utf8(std::string& out, char32_t cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

char32_t Next_Code_Point(std::string_view text, std::size_t& i, bool* valid) {
    const auto lead = static_cast<unsigned char>(text[i]);
    const int length = lead < 0x80 ? 1 : (lead >> 5) == 0x6 ? 2 : (lead >> 4) == 0xE ? 3 : (lead >> 3) == 0x1E ? 4 : 0;
    auto invalid = [&]() -> char32_t {
        if (valid != nullptr) *valid = false;
        ++i;
        return lead;
    };
    if (length == 0 || i + length > text.size()) return invalid();
    char32_t cp = length == 1 ? lead : lead & (0x7F >> length);
    for (int k = 1; k < length; ++k) {
        const auto next = static_cast<unsigned char>(text[i + k]);
        if ((next & 0xC0) != 0x80) return invalid();
        cp = (cp << 6) | (next & 0x3F);
    }
    // Overlong forms, surrogates and values past U+10FFFF are not characters.
    static constexpr char32_t kSmallest[] = {0, 0, 0x80, 0x800, 0x10000};
    if (cp < kSmallest[length] || (cp >= 0xD800 && cp < 0xE000) || cp > 0x10FFFF) return invalid();
    if (valid != nullptr) *valid = true;
    i += length;
    return cp;
}

std::size_t Code_Point_Count(std::string_view text) {
    std::size_t count = 0;
    for (std::size_t i = 0; i < text.size(); ++count) (void)Next_Code_Point(text, i);
    return count;
}

std::string Utf16le_To_Utf8(std::span<const std::uint8_t> bytes) {
    const std::size_t units = bytes.size() / 2;
    auto unit_at = [&](std::size_t i) { return static_cast<char32_t>(bytes[2 * i] | (bytes[2 * i + 1] << 8)); };
    std::string out;
    out.reserve(units);
    for (std::size_t i = 0; i < units; ++i) {
        char32_t unit = unit_at(i);
        if (unit >= 0xD800 && unit < 0xDC00 && i + 1 < units) {
            const char32_t low = unit_at(i + 1);
            if (low >= 0xDC00 && low < 0xE000) {
                unit = 0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00);
                ++i;
            }
        }
        Append_Utf8(out, unit);
    }
    return out;
}

std::vector<std::uint8_t> Utf8_To_Utf16le(std::string_view utf8, bool terminate) {
    std::vector<std::uint8_t> out;
    out.reserve(utf8.size() * 2 + 2);
    auto put = [&](char32_t unit) {
        out.push_back(static_cast<std::uint8_t>(unit & 0xFF));
        out.push_back(static_cast<std::uint8_t>((unit >> 8) & 0xFF));
    };
    for (std::size_t i = 0; i < utf8.size();) {
        char32_t codePoint = Next_Code_Point(utf8, i);
        if (codePoint >= 0x10000) {
            codePoint -= 0x10000;
            put(0xD800 + (codePoint >> 10));
            put(0xDC00 + (codePoint & 0x3FF));
        } else {
            put(codePoint);
        }
    }
    if (terminate) put(0);
    return out;
}

}  // namespace corvane
