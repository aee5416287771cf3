#include "base/text.h"

#include <cstdint>

#include "base/upper_case.h"
#include "base/utf8.h"

namespace corvane {

std::string Upper_Ascii(std::string_view text) {
    std::string out(text);
    for (char& c : out) {
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 32);
    }
    return out;
}

std::string Lower_Ascii(std::string_view text) {
    std::string out(text);
    for (char& c : out) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + 32);
    }
    return out;
}

std::string Upper_Text(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        const auto byte = static_cast<unsigned char>(text[i]);
        if (byte < 0x80) {
            out += (byte >= 'a' && byte <= 'z') ? static_cast<char>(byte - 32) : static_cast<char>(byte);
            ++i;
            continue;
        }
        const std::size_t start = i;
        bool valid = false;
        const char32_t cp = Next_Code_Point(text, i, &valid);
        if (valid) {
            Append_Utf8(out, Upper_Code_Point(cp));
        } else {
            out.append(text.substr(start, i - start));
        }
    }
    return out;
}

bool Equals_Ignore_Case(std::string_view a, std::string_view b) { return Upper_Text(a) == Upper_Text(b); }

bool Contains_Ignore_Case(std::string_view haystack, std::string_view needle) {
    return Upper_Text(haystack).find(Upper_Text(needle)) != std::string::npos;
}

bool Starts_With_Ignore_Case(std::string_view text, std::string_view prefix) {
    return Upper_Text(text).starts_with(Upper_Text(prefix));
}

std::string Trim(std::string_view text) {
    std::size_t first = 0;
    std::size_t last = text.size();
    while (first < last && (text[first] == ' ' || text[first] == '\t')) ++first;
    while (last > first && (text[last - 1] == ' ' || text[last - 1] == '\t')) --last;
    return std::string(text.substr(first, last - first));
}

std::string Replace_All(std::string_view text, std::string_view from, std::string_view to) {
    if (from.empty()) return std::string(text);
    std::string out;
    out.reserve(text.size());
    std::size_t pos = 0;
    while (true) {
        const std::size_t hit = text.find(from, pos);
        if (hit == std::string_view::npos) break;
        out.append(text.substr(pos, hit - pos));
        out.append(to);
        pos = hit + from.size();
    }
    out.append(text.substr(pos));
    return out;
}

std::int32_t Text_To_Int32(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
    std::int64_t value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        value = value * 10 + (text[i] - '0');
        if (value > 0x100000000LL) break;
    }
    if (negative) value = -value;
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(static_cast<std::uint64_t>(value)));
}

}  // namespace corvane
