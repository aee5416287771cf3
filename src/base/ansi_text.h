// The one conversion between the program's UTF-8 text and the system's ANSI
// code page. Everything the program does "in the ANSI code page" (the log file,
// scrambling, exported text files) goes through these two functions.
// The host build uses Windows-1252; the Windows build uses the system's code page.
#pragma once

#include <string>
#include <string_view>

namespace corvane {

// UTF-8 to ANSI bytes; characters the code page cannot hold become '?'.
[[nodiscard]] std::string Utf8_To_Ansi(std::string_view utf8);
// ANSI bytes to UTF-8; every byte value maps to a character, so any byte string round-trips.
[[nodiscard]] std::string Ansi_To_Utf8(std::string_view ansi);

}  // namespace corvane
