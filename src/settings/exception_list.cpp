#include "settings/exception_list.h"

#include <algorithm>

#include "base/ansi_text.h"
#include "base/comma_fields.h"
#include "base/reporter.h"
#include "base/runtime_error.h"
#include "base/text.h"
#include "db/app_tables.h"

namespace corvane {
namespace {

constexpr int kScrollBarTwips = 250;

}  // namespace

void ExceptionList::Report(const std::exception& error) const {
    if (const auto* runtime = dynamic_cast<const RuntimeError*>(&error)) {
        if (runtime->Number() != error_number::kStatementFailed) reporter_.Show_Error(true, *runtime);
        return;
    }
    reporter_.Show_Error(true, error.what());
}

void ExceptionList::Fill_Exception_List() {
    rows_.clear();
    columnAdjustment_ = 0;
    try {
        ResultTable table;
        std::int32_t count = 0;
        if (!Get_Exceptions(db_, count, table)) return;
        // Columns of Get_Exceptions: EXP_ID, REGISTRY_KEY, EXCEPTION_TYPE.
        constexpr std::size_t idColumn = 0, textColumn = 1, typeColumn = 2;
        for (std::int32_t r = 1; r <= count; ++r) {
            rows_.push_back({.id = Text_To_Int32(table.Cell(r, idColumn)),
                             .text = table.Cell(r, textColumn),
                             .type = Text_To_Int32(table.Cell(r, typeColumn))});
        }
    } catch (const std::exception& error) {
        rows_.clear();
        Report(error);
        return;
    }
    if (visibleRows_ > 0 && rows_.size() > static_cast<std::size_t>(visibleRows_)) columnAdjustment_ -= kScrollBarTwips;
}

void ExceptionList::Set_Selected(std::size_t row, bool selected) {
    if (row < rows_.size()) rows_[row].selected = selected;
}

bool ExceptionList::Edit_Allowed() const {
    bool any = false;
    for (const ExceptionRow& row : rows_) {
        if (!row.selected) continue;
        if (row.type != EXCEPTION_USER) return false;
        any = true;
    }
    return any;
}

std::size_t ExceptionList::Count_Selected_Items() const {
    return static_cast<std::size_t>(
        std::count_if(rows_.begin(), rows_.end(), [](const ExceptionRow& r) { return r.selected; }));
}

std::size_t ExceptionList::First_Selected() const {
    const auto it = std::find_if(rows_.begin(), rows_.end(), [](const ExceptionRow& r) { return r.selected; });
    return static_cast<std::size_t>(it - rows_.begin());
}

void ExceptionList::Delete_Selected() {
    IMessageBox& messages = reporter_.Messages();
    if (Count_Selected_Items() == 0) {
        messages.Show("Please select atleast one Item!", MsgButtons::Ok, MsgIcon::Exclamation);
        return;
    }
    if (messages.Show("Are you sure you want to delete the selected Exceptions?", MsgButtons::YesNo,
                      MsgIcon::Question) != MsgResult::Yes) {
        return;
    }
    for (std::size_t i = rows_.size(); i-- > 0;) {
        if (!rows_[i].selected || rows_[i].type != EXCEPTION_USER) continue;
        try {
            if (!Delete_Exception(db_, rows_[i].id, EXCEPTION_USER)) continue;
        } catch (const std::exception& error) {
            Report(error);
            continue;
        }
        rows_.erase(rows_.begin() + static_cast<std::ptrdiff_t>(i));
        if (visibleRows_ > 0 && rows_.size() == static_cast<std::size_t>(visibleRows_)) {
            columnAdjustment_ += kScrollBarTwips;
        }
    }
}

bool ExceptionList::Can_Export() const {
    if (!rows_.empty()) return true;
    reporter_.Messages().Show("There is no item to export!", MsgButtons::Ok, MsgIcon::Exclamation);
    return false;
}

std::string ExceptionList::Export_Text() const {
    std::vector<std::string> texts;
    for (const ExceptionRow& row : rows_) {
        if (row.type == EXCEPTION_USER) texts.push_back(row.text);
    }
    return Utf8_To_Ansi(Join_Lines_Crlf(texts));
}

bool ExceptionList::Insert(const std::string& text) {
    ResultTable table;
    try {
        if (!Add_Exception(db_, text, table, EXCEPTION_USER)) return false;
    } catch (const std::exception& error) {
        Report(error);
        return false;
    }
    if (visibleRows_ > 0 && rows_.size() == static_cast<std::size_t>(visibleRows_))
        columnAdjustment_ -= kScrollBarTwips;
    rows_.push_back({.id = Text_To_Int32(table.Cell(1, 0)), .text = text, .type = EXCEPTION_USER});
    return true;
}

void ExceptionList::Import(std::string_view fileBytes) {
    for (const std::string& text : Read_Comma_Fields(Ansi_To_Utf8(fileBytes))) {
        if (text.empty()) continue;
        try {
            if (Exception_Exists(db_, text, EXCEPTION_USER)) continue;
        } catch (const std::exception& error) {
            Report(error);
            continue;
        }
        Insert(text);
    }
}

ConfirmOutcome ExceptionList::Confirm(ExceptionEditMode mode, std::string_view typed, std::size_t row) {
    const std::string text = Trim(typed);
    if (text.empty()) return ConfirmOutcome::RefocusEmpty;
    try {
        if (Exception_Exists(db_, text, EXCEPTION_USER)) {
            reporter_.Messages().Show("Exception already in the list!", MsgButtons::Ok, MsgIcon::Exclamation);
            return ConfirmOutcome::StayOpen;
        }
        if (mode == ExceptionEditMode::Add) {
            Insert(text);
        } else if (row < rows_.size()) {
            std::string statementText = text;  // comes back with its quotes doubled
            if (Update_Exception(db_, statementText, rows_[row].id, EXCEPTION_USER)) rows_[row].text = text;
        }
    } catch (const std::exception& error) {
        Report(error);
    }
    return ConfirmOutcome::Close;
}

}  // namespace corvane
