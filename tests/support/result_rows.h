// The rows a scan writes into the results list, built directly for the tests
// of the list, its commands, the main window and the fixing routine: a
// category header, registry and file problem rows, and a computer's error row.
#pragma once

#include <cstdint>
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

// What a registry problem row names; unset fields are those of a Help Files value.
struct RegistryProblem {
    char fixDigit = '1';        // 0 key tree, 1 value, 2 single key
    std::string_view computer;  // the target name the row's tag carries
    std::uint32_t root = 0x80000002u;
    std::string_view keyPath;
    std::string_view valueName;  // empty for a key; the row's text is then the key path
    std::string_view category = "fA";
    std::string_view icon = "HelpFile";
};

// Problem "s<number>".
inline ListRow& Add_Registry_Row(ResultsList& list, int number, const RegistryProblem& problem) {
    const std::string keyPath(problem.keyPath);
    ListRow& row = list.Add_List_Item(0, "s" + std::to_string(number),
                                      problem.valueName.empty() ? keyPath : std::string(problem.valueName), "",
                                      std::string(problem.icon), 1);
    row.checked = true;
    row.tag = std::string(1, problem.fixDigit) + std::string(problem.category) + std::string(problem.computer);
    row.Sub(1).tag = std::to_string(problem.root);
    row.Sub(2).text = "The file does not exist";
    row.Sub(2).tag = keyPath;
    row.Sub(3).text = (problem.root == 0x80000003u ? "HKEY_USERS\\" : "HKEY_LOCAL_MACHINE\\") + keyPath;
    row.Sub(3).tag = std::string(problem.valueName);
    return row;
}

inline ListRow& Add_Registry_Row(ResultsList& list, int number, std::string_view value, std::string_view keyPath,
                                 std::string_view computer, std::string_view icon = "HelpFile") {
    return Add_Registry_Row(list, number, {.computer = computer, .keyPath = keyPath, .valueName = value, .icon = icon});
}

// Problem "c<number>": a file (fix digit 3) or folder (4) to delete.
inline ListRow& Add_File_Row(ResultsList& list, int number, std::string_view path, std::string_view computer,
                             char fixDigit = '3', std::string_view category = "dA") {
    ListRow& row = list.Add_List_Item(0, "c" + std::to_string(number), std::string(path), "", "File", 1);
    row.checked = true;
    row.tag = std::string(1, fixDigit) + std::string(category) + std::string(computer);
    row.Sub(1).tag = std::string(path);
    row.Sub(3).text = std::string(path);
    return row;
}

// The error row of a computer the scan could not finish, as the scan writes it.
inline ListRow& Add_Error_Row(ResultsList& list, std::string_view computer, std::string_view text) {
    ListRow& row = list.Add_List_Item(0, "e" + std::string(computer), "[Error]", "", "Error", 0);
    row.bold = true;
    row.checked = true;
    row.Sub(1).text = std::string(computer);
    row.Sub(2).text = std::string(text);
    return row;
}

}  // namespace corvane::testing
