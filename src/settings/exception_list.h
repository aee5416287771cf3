// frmExceptionList's and frmAddException's logic, free of any window: the
// listed entries (internal ones first, hidden ones never), the rule that only
// user entries are edited, deleted and exported, import and export, the Add
// and Edit confirmation, and the column rule. Changes go to the database at
// once. The Win32 views show the rows and ask for files.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace corvane {

class Database;
class Reporter;

enum ExceptionType : std::int32_t { EXCEPTION_HIDDEN = 0, EXCEPTION_INTERNAL = 1, EXCEPTION_USER = 2 };

struct ExceptionRow {
    std::int32_t id = 0;
    std::string text;
    std::int32_t type = EXCEPTION_USER;
    bool selected = false;
    [[nodiscard]] std::string Key() const { return "e" + std::to_string(id); }
};

enum class ExceptionEditMode { Add, Edit };
// What OK in the Add/Edit dialog asks of it.
enum class ConfirmOutcome { RefocusEmpty, StayOpen, Close };

class ExceptionList {
public:
    ExceptionList(Database& db, const Reporter& reporter) : db_(db), reporter_(reporter) {}

    [[nodiscard]] const std::vector<ExceptionRow>& Rows() const noexcept { return rows_; }
    void Set_Visible_Row_Count(int rows) noexcept { visibleRows_ = rows; }
    // Twips taken from the column for the vertical scroll bar (0 or negative).
    [[nodiscard]] int Column_Adjustment() const noexcept { return columnAdjustment_; }

    void Fill_Exception_List();
    void Set_Selected(std::size_t row, bool selected);
    // Edit and Delete are enabled: some row is selected and every selected row is a user entry.
    [[nodiscard]] bool Edit_Allowed() const;
    [[nodiscard]] std::size_t Count_Selected_Items() const;
    // The row Edit works on: the first selected one, or Rows().size().
    [[nodiscard]] std::size_t First_Selected() const;
    void Delete_Selected();
    [[nodiscard]] bool Can_Export() const;
    // User entries only, one a line, CRLF, in the ANSI code page.
    [[nodiscard]] std::string Export_Text() const;
    void Import(std::string_view fileBytes);
    // OK of frmAddException; in Edit mode `row` is the entry edited.
    ConfirmOutcome Confirm(ExceptionEditMode mode, std::string_view text, std::size_t row);

private:
    bool Insert(const std::string& text);
    void Report(const std::exception& error) const;

    Database& db_;
    const Reporter& reporter_;
    std::vector<ExceptionRow> rows_;
    int visibleRows_ = 0;
    int columnAdjustment_ = 0;
};

}  // namespace corvane
