// The rows a scan writes into the results list, built directly for the tests
// of the list, its commands and the main window: a category header, registry
// and file problem rows, and the error row of a computer.
#pragma once

#include <string>
#include <string_view>

#include "base/ui/results_list.h"

namespace corvane::testing {

// The header of a category ("fA") for a computer; its key is category + computer.
inline ListRow& Add_Header_Row(ResultsList& list, std::string_view category, std::string_view computer,
                               std::string_view text, std::string_view icon = "HelpFile") {
    ListRow& row = list.Add_List_Item(0, std::string(category) + std::string(computer), std::string(text), "",
                                      std::string(icon), 0);
    row.bold = true;
    row.checked = true;
    row.Sub(1).key = std::string(computer);
    row.Sub(1).text = std::string(computer);
    row.Sub(1).bold = true;
    row.Sub(2).key = kFixStatusKey;
    return row;
}

// Problem "s<number>" of category fA: the value of HKEY_LOCAL_MACHINE\keyPath.
inline ListRow& Add_Registry_Row(ResultsList& list, int number, std::string_view value, std::string_view keyPath,
                                 std::string_view computer, std::string_view icon = "HelpFile") {
    ListRow& row = list.Add_List_Item(0, "s" + std::to_string(number), std::string(value), "", std::string(icon), 1);
    row.checked = true;
    row.tag = "1fA" + std::string(computer);
    row.Sub(1).tag = std::to_string(0x80000002u);
    row.Sub(2).text = "The file does not exist";
    row.Sub(2).tag = std::string(keyPath);
    row.Sub(3).text = "HKEY_LOCAL_MACHINE\\" + std::string(keyPath);
    row.Sub(3).tag = std::string(value);
    return row;
}

// Problem "c<number>" of category dA: a file to delete.
inline ListRow& Add_File_Row(ResultsList& list, int number, std::string_view path, std::string_view computer) {
    ListRow& row = list.Add_List_Item(0, "c" + std::to_string(number), std::string(path), "", "File", 1);
    row.checked = true;
    row.tag = "3dA" + std::string(computer);
    row.Sub(1).tag = std::string(path);
    row.Sub(3).text = std::string(path);
    return row;
}

inline ListRow& Add_Error_Row(ResultsList& list, std::string_view computer, std::string_view text) {
    ListRow& row = list.Add_List_Item(0, "e" + std::string(computer), std::string(computer), "", "Error", 0);
    row.bold = true;
    row.checked = true;
    row.Sub(1).text = std::string(text);
    return row;
}

}  // namespace corvane::testing
