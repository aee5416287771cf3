// The commands and queries of the results list that work on its rows: header
// check propagation, the counting routines, the clipboard text, the registry
// key of a row. The list itself is the model in results_list.h.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace corvane {

class ResultsList;

inline constexpr std::int32_t kHkeyLocalMachine = static_cast<std::int32_t>(0x80000002u);
inline constexpr std::int32_t kHkeyUsers = static_cast<std::int32_t>(0x80000003u);
inline constexpr const char* kClearListQuestion = "Are you sure you want to clear all the listed problems?";

// Sets the row's check mark; when the row is a header, every following "s"
// or "c" row up to the first row of another kind takes the same state.
// Returns the number of rows whose state changed.
std::size_t Set_Row_Checked(ResultsList& list, std::size_t index, bool checked);

// Rows whose key begins with "s" or "c" and whose small icon is not "FixedItem".
[[nodiscard]] std::int32_t Count_Unfixed_Problems(const ResultsList& list);
// The same rows that are also checked.
[[nodiscard]] std::int32_t Count_Checked_Unfixed_Problems(const ResultsList& list);

// The clipboard text of the whole list: an empty line before every header,
// one CR LF line per header and problem row with every column quoted ("" for
// a quote inside) and separated by ",", error rows left out.
[[nodiscard]] std::string Results_Clipboard_Text(const ResultsList& list);

// "HKEY_LOCAL_MACHINE" for 0x80000002, "HKEY_USERS" for 0x80000003, else "".
[[nodiscard]] std::string Root_Key_Name(std::string_view rootNumberText);
// The row's key path for the registry editor: root name, "\", sub-item 2's
// tag. Empty unless the row is a registry problem row.
[[nodiscard]] std::string Registry_Key_Of_Row(const ResultsList& list, std::size_t index);
// True when the row's tag, from its 4th character on, is this computer name.
[[nodiscard]] bool Row_Belongs_To(const ResultsList& list, std::size_t index, std::string_view computerName);

}  // namespace corvane
