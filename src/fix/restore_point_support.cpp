#include "fix/restore_point_support.h"

#include <cstddef>
#include <cstdint>

namespace corvane::fix {

namespace {

// Reads the decimal number at position pos; false when there is no digit.
bool Read_Number(std::string_view text, std::size_t& pos, std::uint32_t& number) noexcept {
    const std::size_t start = pos;
    number = 0;
    while (pos < text.size() && text[pos] >= '0' && text[pos] <= '9') {
        if (number < 100000) number = number * 10 + static_cast<std::uint32_t>(text[pos] - '0');
        ++pos;
    }
    return pos > start;
}

}  // namespace

bool Is_System_Restore_Unsupported(std::string_view version) noexcept {
    std::size_t pos = 0;
    while (pos < version.size() && version[pos] == ' ') ++pos;
    std::uint32_t major = 0;
    if (!Read_Number(version, pos, major)) return true;
    std::uint32_t minor = 0;
    if (pos < version.size() && version[pos] == '.') {
        ++pos;
        if (!Read_Number(version, pos, minor)) minor = 0;
    }
    if (major != 5) return major < 5;
    return minor < 1;
}

}  // namespace corvane::fix
