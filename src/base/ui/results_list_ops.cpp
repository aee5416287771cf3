#include "base/ui/results_list_ops.h"

#include "base/text.h"
#include "base/ui/results_list.h"

namespace corvane {

namespace {

bool Is_Unfixed_Problem(const ListRow& row) { return Is_Problem_Key(row.key) && !row.Is_Fixed(); }

// The roots the scan's rows name.
std::string Root_Key_Name(std::uint32_t root) {
    if (root == 0x80000002u) return "HKEY_LOCAL_MACHINE";
    if (root == 0x80000003u) return "HKEY_USERS";
    return {};
}

void Append_Quoted(std::string& out, std::string_view field) {
    out += '"';
    out += Replace_All(field, "\"", "\"\"");
    out += '"';
}

}  // namespace

std::size_t Set_Row_Checked(ResultsList& list, std::size_t index, bool checked) {
    if (index >= list.Count()) return 0;
    std::size_t changed = 0;
    ListRow& row = list.Row(index);
    if (row.checked != checked) {
        row.checked = checked;
        list.Notify_Changed(index);
        ++changed;
    }
    if (Kind_Of_Key(row.key) != RowKind::Header) return changed;
    for (std::size_t i = index + 1; i < list.Count(); ++i) {
        ListRow& problem = list.Row(i);
        if (!Is_Problem_Key(problem.key)) break;
        if (problem.checked == checked) continue;
        problem.checked = checked;
        list.Notify_Changed(i);
        ++changed;
    }
    return changed;
}

std::int32_t Count_Unfixed_Problems(const ResultsList& list) {
    std::int32_t count = 0;
    for (std::size_t i = 0; i < list.Count(); ++i) {
        if (Is_Unfixed_Problem(list.Row(i))) ++count;
    }
    return count;
}

std::int32_t Count_Checked_Unfixed_Problems(const ResultsList& list) {
    std::int32_t count = 0;
    for (std::size_t i = 0; i < list.Count(); ++i) {
        const ListRow& row = list.Row(i);
        if (row.checked && Is_Unfixed_Problem(row)) ++count;
    }
    return count;
}

std::string Results_Clipboard_Text(const ResultsList& list) {
    std::string text;
    for (std::size_t i = 0; i < list.Count(); ++i) {
        const ListRow& row = list.Row(i);
        const RowKind kind = Kind_Of_Key(row.key);
        if (kind == RowKind::Error) continue;
        if (kind == RowKind::Header) text += "\r\n";
        Append_Quoted(text, row.text);
        for (std::size_t column = 1; column <= 3; ++column) {
            text += ',';
            Append_Quoted(text, Column_Text(row, column));
        }
        text += "\r\n";
    }
    return text;
}

const std::string& Column_Text(const ListRow& row, std::size_t column) {
    const bool problemRow = Is_Problem_Key(row.key);
    switch (column) {
        case 0: return row.text;
        case 1: return problemRow ? row.data : row.computerName;
        case 2: return row.status;
        default: return row.location;
    }
}

std::string Registry_Key_Of_Row(const ResultsList& list, std::size_t index) {
    if (index >= list.Count()) return {};
    const ListRow& row = list.Row(index);
    if (Kind_Of_Key(row.key) != RowKind::RegistryProblem || !row.problem) return {};
    const RegistryItem& item = row.problem->registry;
    return Root_Key_Name(item.root) + "\\" + item.keyPath;
}

bool Row_Belongs_To(const ResultsList& list, std::size_t index, std::string_view computerName) {
    if (index >= list.Count()) return false;
    const ListRow& row = list.Row(index);
    return row.problem && row.problem->targetName == computerName;
}

}  // namespace corvane
