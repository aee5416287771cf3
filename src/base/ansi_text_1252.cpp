// Windows-1252 for the host build. The five bytes the code page leaves
// undefined map to the C1 controls of the same value, as Windows does, so that
// every byte string survives a round trip.
#include "base/ansi_text.h"

#include "base/utf8.h"

#include <array>
#include <cstdint>

namespace corvane {
namespace {

constexpr std::array<char16_t, 32> kHighControls = {0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                                    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
                                                    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                                    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

char32_t Byte_To_Code_Point(unsigned char byte) {
    if (byte >= 0x80 && byte < 0xA0) return kHighControls[byte - 0x80];
    return byte;
}

int Code_Point_To_Byte(char32_t cp) {
    if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF)) return static_cast<int>(cp);
    for (std::size_t i = 0; i < kHighControls.size(); ++i) {
        if (kHighControls[i] == cp) return static_cast<int>(0x80 + i);
    }
    return -1;
}

}  // namespace

std::string Utf8_To_Ansi(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size());
    for (std::size_t i = 0; i < utf8.size();) {
        const int byte = Code_Point_To_Byte(Next_Code_Point(utf8, i));
        out += byte < 0 ? '?' : static_cast<char>(byte);
    }
    return out;
}

std::string Ansi_To_Utf8(std::string_view ansi) {
    std::string out;
    out.reserve(ansi.size());
    for (unsigned char byte : ansi) Append_Utf8(out, Byte_To_Code_Point(byte));
    return out;
}

}  // namespace corvane
