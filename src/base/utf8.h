// UTF-8 encoding and lenient decoding of single code points, shared by the
// text helpers, the code-page conversion and the registry value decoders.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace corvane {

// Appends the UTF-8 form of one code point.
void Append_Utf8(std::string& out, char32_t codePoint);

// Decodes the sequence at text[i] and moves i past it. A byte that does not
// start a valid sequence decodes as itself (read as Latin-1), so no input is
// ever dropped; `valid` tells the caller which case it was.
char32_t Next_Code_Point(std::string_view text, std::size_t& i, bool* valid = nullptr);

}  // namespace corvane
