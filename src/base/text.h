// Small text helpers shared by every subsystem: case folding, trimming,
// replacing, number formatting. All work on UTF-8 std::string.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace corvane {

// Upper-cases ASCII letters only, as SQLite's UPPER() does. Used where a text
// is compared with the database's own upper-casing.
[[nodiscard]] std::string Upper_Ascii(std::string_view text);
[[nodiscard]] std::string Lower_Ascii(std::string_view text);
// Upper-cases every character as Windows does (upper_case.h), one character
// for one; used for case-insensitive matching of paths and names.
[[nodiscard]] std::string Upper_Text(std::string_view text);
[[nodiscard]] bool Equals_Ignore_Case(std::string_view a, std::string_view b);
[[nodiscard]] bool Contains_Ignore_Case(std::string_view haystack, std::string_view needle);
[[nodiscard]] bool Starts_With_Ignore_Case(std::string_view text, std::string_view prefix);

// Blanks (spaces and tabs) removed from both ends, as VB's Trim does with spaces.
[[nodiscard]] std::string Trim(std::string_view text);
[[nodiscard]] std::string Replace_All(std::string_view text, std::string_view from, std::string_view to);
// Every "'" doubled, for text placed between single quotes in SQL.
[[nodiscard]] inline std::string Double_Quotes_Sql(std::string_view text) { return Replace_All(text, "'", "''"); }

// Text to a 32-bit integer as VB's CLng/Val would read a stored number:
// leading blanks skipped, an optional sign, decimal digits; anything else ends
// the number. Returns 0 for a text that does not start with a number.
[[nodiscard]] std::int32_t Text_To_Int32(std::string_view text);

}  // namespace corvane
