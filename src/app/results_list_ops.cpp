#include "app/results_list_ops.h"

#include "app/reporter.h"
#include "app/results_list.h"
#include "app/runtime_error.h"
#include "app/text.h"
#include "app/utf8.h"
#include "db/app_tables.h"
#include "db/database.h"

namespace corvane {

namespace {

bool Is_Unfixed_Problem(const ListRow& row) {
    return Is_Problem_Key(row.key) && row.smallIcon != kFixedItemIcon;
}

void Append_Quoted(std::string& out, std::string_view field) {
    out += '"';
    out += Replace_All(field, "\"", "\"\"");
    out += '"';
}

// Characters as the list and the database count them: UTF-16 code units.
std::size_t Character_Count(std::string_view text) {
    std::size_t count = 0;
    for (std::size_t i = 0; i < text.size();) count += Next_Code_Point(text, i) >= 0x10000 ? 2 : 1;
    return count;
}

std::string Exception_Text_Of(const ListRow& row) {
    switch (Kind_Of_Key(row.key)) {
        case RowKind::RegistryProblem: return row.Sub(3).text + "\\" + row.text;
        case RowKind::FileProblem: return row.Sub(1).tag;
        default: return {};
    }
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
            Append_Quoted(text, row.Sub(column).text);
        }
        text += "\r\n";
    }
    return text;
}

std::string Root_Key_Name(std::string_view rootNumberText) {
    const std::string trimmed = Trim(rootNumberText);
    if (trimmed.empty()) return {};
    std::int64_t number = 0;
    try {
        number = std::stoll(trimmed, nullptr, 0);
    } catch (const std::exception&) {
        return {};
    }
    const auto root = static_cast<std::uint32_t>(number);
    if (root == 0x80000002u) return "HKEY_LOCAL_MACHINE";
    if (root == 0x80000003u) return "HKEY_USERS";
    return {};
}

std::string Registry_Key_Of_Row(const ResultsList& list, std::size_t index) {
    if (index >= list.Count()) return {};
    const ListRow& row = list.Row(index);
    if (Kind_Of_Key(row.key) != RowKind::RegistryProblem) return {};
    return Root_Key_Name(row.Sub(1).tag) + "\\" + row.Sub(2).tag;
}

bool Row_Belongs_To(const ResultsList& list, std::size_t index, std::string_view computerName) {
    if (index >= list.Count()) return false;
    const std::string& tag = list.Row(index).tag;
    return tag.size() >= 3 && std::string_view(tag).substr(3) == computerName;
}

std::size_t Add_Selected_To_Exception_List(ResultsList& list, Database& db, Reporter& reporter) {
    if (reporter.Messages().Show(kAddToExceptionQuestion, MsgButtons::YesNo, MsgIcon::Question) != MsgResult::Yes) {
        return 0;
    }
    std::size_t stored = 0;
    try {
        // Rows are removed on the way: the count is read again on every step.
        std::size_t i = 0;
        while (i < list.Count()) {
            const ListRow& row = list.Row(i);
            if (!row.selected) {
                ++i;
                continue;
            }
            const std::string text = Exception_Text_Of(row);
            // Header and error rows have no text; an empty exception would match everything.
            if (text.empty()) {
                ++i;
                continue;
            }
            if (Character_Count(text) > kMaxExceptionLength) {
                reporter.Messages().Show(kExceptionTooLongMessage, MsgButtons::Ok, MsgIcon::Exclamation);
                ++i;
                continue;
            }
            if (Exception_Exists(db, text, kListExceptionType)) {
                ++i;
                continue;
            }
            ResultTable table;
            if (!Add_Exception(db, text, table, kListExceptionType)) {
                throw RuntimeError(error_number::kStatementFailed, "The exception list cannot be reached.");
            }
            ++stored;
            list.Remove(std::string(row.key));
        }
    } catch (const RuntimeError& error) {
        reporter.Show_Error(true, error);
    }
    return stored;
}

}  // namespace corvane
