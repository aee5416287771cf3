#include "app/results_list_exceptions.h"

#include <string>
#include <string_view>

#include "base/reporter.h"
#include "base/runtime_error.h"
#include "base/ui/results_list.h"
#include "base/utf8.h"
#include "db/app_tables.h"
#include "db/database.h"

namespace corvane {

namespace {

// Characters as the list and the database count them: UTF-16 code units.
std::size_t Character_Count(std::string_view text) {
    std::size_t count = 0;
    for (std::size_t i = 0; i < text.size();) count += Next_Code_Point(text, i) >= 0x10000 ? 2 : 1;
    return count;
}

std::string Exception_Text_Of(const ListRow& row) {
    if (!row.problem) return {};
    switch (Kind_Of_Key(row.key)) {
        case RowKind::RegistryProblem: return row.location + "\\" + row.text;
        case RowKind::FileProblem: return row.problem->file.path;
        default: return {};
    }
}

}  // namespace

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
