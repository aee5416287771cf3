// The commands and queries of the results list that work on its rows: header
// check propagation, the counting routines, the columns' texts, the clipboard
// text, the registry key of a row. The list itself is the model in results_list.h.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace corvane {

class ResultsList;
struct ListRow;

inline constexpr std::int32_t kHkeyLocalMachine = static_cast<std::int32_t>(0x80000002u);
inline constexpr std::int32_t kHkeyUsers = static_cast<std::int32_t>(0x80000003u);
inline constexpr const char* kClearListQuestion = "Are you sure you want to clear all the listed problems?";

// Sets the row's check mark; when the row is a header, every following "s"
// or "c" row up to the first row of another kind takes the same state.
// Returns the number of rows whose state changed.
std::size_t Set_Row_Checked(ResultsList& list, std::size_t index, bool checked);

// Rows whose key begins with "s" or "c" and whose problem is not fixed.
[[nodiscard]] std::int32_t Count_Unfixed_Problems(const ResultsList& list);
// The same rows that are also checked.
[[nodiscard]] std::int32_t Count_Checked_Unfixed_Problems(const ResultsList& list);

// The text of column 0 ("Value Name") to 3 ("Registry Key") as the list shows it.
[[nodiscard]] const std::string& Column_Text(const ListRow& row, std::size_t column);

// The clipboard text of the whole list: an empty line before every header,
// one CR LF line per header and problem row with every column quoted ("" for
// a quote inside) and separated by ",", error rows left out.
[[nodiscard]] std::string Results_Clipboard_Text(const ResultsList& list);

// The row's key path for the registry editor: root name, "\", the key path
// of its record. Empty unless the row is a registry problem row.
[[nodiscard]] std::string Registry_Key_Of_Row(const ResultsList& list, std::size_t index);
// True when the row's problem was found on the computer that answered with this name.
[[nodiscard]] bool Row_Belongs_To(const ResultsList& list, std::size_t index, std::string_view computerName);

}  // namespace corvane
