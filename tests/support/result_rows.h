// The rows a scan writes into the results list, built directly for the tests
// of the list, its commands, the main window and the fixing routine: a
// category header, registry and file problem rows with their records, and a
// computer's error row.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "base/ui/results_list.h"

namespace corvane::testing {

using fix::FixType;

// The header of a category ("fA") for a computer; its key is category + computer.
inline ListRow& Add_Header_Row(ResultsList& list, std::string_view category, std::string_view computer,
                               std::string_view text, std::string_view icon = "HelpFile") {
    ListRow& row = list.Add_List_Item(0, std::string(category) + std::string(computer), std::string(text), "",
                                      std::string(icon), 0);
    row.bold = true;
    row.checked = true;
    row.computerName = std::string(computer);
    row.targetName = std::string(computer);
    return row;
}

// A category whose re-test rule for rows of this type looks for a missing
// file: Help Files values, StartUp Programs key trees, ActiveX/COM keys.
[[nodiscard]] constexpr std::string_view Missing_File_Category(FixType type) {
    switch (type) {
        case FixType::KeyTree: return "fI";
        case FixType::Key: return "fC";
        default: return "fA";
    }
}

// What a registry problem row names; unset fields are those of a Help Files
// value whose file is missing.
struct RegistryProblem {
    FixType type = FixType::Value;
    std::string_view computer{};  // the target name the row's record carries
    std::uint32_t root = 0x80000002u;
    std::string_view keyPath{};
    std::string_view valueName{};  // empty for a key; the row's text is then the key path
    std::string_view category{};   // "": Missing_File_Category
    std::string_view icon = "HelpFile";
    ScanEvidence evidence = Path_Evidence("C:\\Missing\\gone.dll");
};

// Problem "s<number>".
inline ListRow& Add_Registry_Row(ResultsList& list, int number, const RegistryProblem& problem) {
    const std::string keyPath(problem.keyPath);
    ListRow& row = list.Add_List_Item(0, "s" + std::to_string(number),
                                      problem.valueName.empty() ? keyPath : std::string(problem.valueName), "",
                                      std::string(problem.icon), 1);
    row.checked = true;
    row.status = "The file does not exist";
    row.location = (problem.root == 0x80000003u ? "HKEY_USERS\\" : "HKEY_LOCAL_MACHINE\\") + keyPath;
    row.problem = Problem{
        .type = problem.type,
        .categoryKey = std::string(problem.category.empty() ? Missing_File_Category(problem.type) : problem.category),
        .targetName = std::string(problem.computer),
        .registry = {.root = problem.root, .keyPath = keyPath, .valueName = std::string(problem.valueName)},
        .evidence = problem.evidence};
    return row;
}

inline ListRow& Add_Registry_Row(ResultsList& list, int number, std::string_view value, std::string_view keyPath,
                                 std::string_view computer, std::string_view icon = "HelpFile") {
    return Add_Registry_Row(list, number, {.computer = computer, .keyPath = keyPath, .valueName = value, .icon = icon});
}

// Problem "c<number>": a file or folder to delete.
inline ListRow& Add_File_Row(ResultsList& list, int number, std::string_view path, std::string_view computer,
                             FixType type = FixType::File, std::string_view category = "dA") {
    ListRow& row = list.Add_List_Item(0, "c" + std::to_string(number), std::string(path), "", "File", 1);
    row.checked = true;
    row.location = std::string(path);
    // Filled in place: moving a whole record in trips GCC 12's
    // maybe-uninitialized warning on its optional evidence.
    Problem& problem = row.problem.emplace();
    problem.type = type;
    problem.categoryKey = std::string(category);
    problem.targetName = std::string(computer);
    problem.file.path = std::string(path);
    return row;
}

// The error row of a computer the scan could not finish, as the scan writes it.
inline ListRow& Add_Error_Row(ResultsList& list, std::string_view computer, std::string_view text) {
    ListRow& row = list.Add_List_Item(0, "e" + std::string(computer), "[Error]", "", "Error", 0);
    row.bold = true;
    row.checked = true;
    row.computerName = std::string(computer);
    row.status = std::string(text);
    return row;
}

}  // namespace corvane::testing
