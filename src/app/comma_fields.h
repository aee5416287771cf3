// Text files of names and exception texts read as comma-separated fields:
// a line may hold several fields separated by commas; a field in double
// quotes may hold commas and loses its quotes; blanks around a field go.
// Blank lines give no field.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace corvane {

[[nodiscard]] std::vector<std::string> Read_Comma_Fields(std::string_view text);

// Lines ended by carriage return and line feed, as the export files are written.
[[nodiscard]] std::string Join_Lines_Crlf(const std::vector<std::string>& lines);

}  // namespace corvane
