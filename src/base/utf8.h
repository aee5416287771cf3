// UTF-8 encoding and lenient decoding of single code points, shared by the
// text helpers, the code-page conversion and the registry value decoders.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace corvane {

// Appends the UTF-8 form of one code point.
void Append_Utf8(std::string& out, char32_t codePoint);

// Decodes the sequence at text[i] and moves i past it. A byte that does not
// start a valid sequence decodes as itself (read as Latin-1), so no input is
// ever dropped; `valid` tells the caller which case it was.
char32_t Next_Code_Point(std::string_view text, std::size_t& i, bool* valid = nullptr);
// The number of characters (code points) of a text, as Next_Code_Point reads them.
[[nodiscard]] std::size_t Code_Point_Count(std::string_view text);

// UTF-16LE bytes, as the registry and regedit's files hold text. Every unit is
// decoded (zeros included; the caller cuts where its format says); a lone
// surrogate decodes as itself and an odd last byte is ignored.
[[nodiscard]] std::string Utf16le_To_Utf8(std::span<const std::uint8_t> bytes);
// The UTF-16LE bytes of the text, with one terminating zero unit when asked.
[[nodiscard]] std::vector<std::uint8_t> Utf8_To_Utf16le(std::string_view utf8, bool terminate);

}  // namespace corvane
