// frmBrowseComputer's logic, free of any window: the managed computers as
// rows (name, user name, password kept as a Secret), the validation rules,
// Add, Delete, in-place editing of credentials, Set Same User Name &
// Password, import and export, and the column rule. Every change goes to the
// database at once and to the main window's computer tree through
// IMainComputerTree. The Win32 view shows the rows, asks for files and moves
// the focus as the results say.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "app/secret.h"

namespace corvane {

class Database;
class Reporter;

// The main window's computer tree as the dialog keeps it in step.
class IMainComputerTree {
public:
    virtual ~IMainComputerTree() = default;
    IMainComputerTree() = default;
    IMainComputerTree(const IMainComputerTree&) = delete;
    IMainComputerTree& operator=(const IMainComputerTree&) = delete;

    virtual void Computer_Added(std::string_view name) = 0;
    virtual void Computer_Removed(std::string_view name) = 0;
};

inline constexpr std::size_t kMaxEntryLength = 255;
inline constexpr int kScrollBarTwips = 250;

[[nodiscard]] bool Is_Valid_Computer(std::string_view name);
[[nodiscard]] bool Is_Valid_User_Name(std::string_view userName);
// The local computer's own name, "LOCALHOST" or "LOOPBACK", whatever the case.
[[nodiscard]] bool Is_Local_Computer_Name(std::string_view name, std::string_view localName);
// The password column's text: one bullet per character of the password.
[[nodiscard]] std::string Password_Bullets(const Secret& password);

struct ComputerRow {
    std::string name;
    std::string userName;
    Secret password;
    bool checked = false;
};

enum class AddOutcome { Added, InvalidName, InvalidUserName, AlreadyInList, NotStored };
enum class SameOutcome { Declined, EmptyUserName, EmptyPassword, Done };
enum class EditedColumn { UserName = 1, Password = 2 };

class ComputerList {
public:
    ComputerList(Database& db, const Reporter& reporter, IMainComputerTree& mainTree, std::string localName)
        : db_(db), reporter_(reporter), mainTree_(mainTree), localName_(std::move(localName)) {}

    [[nodiscard]] const std::vector<ComputerRow>& Rows() const noexcept { return rows_; }
    // Rows that fit on one page of the list (Get_Visible_Row_Count).
    void Set_Visible_Row_Count(int rows) noexcept { visibleRows_ = rows; }
    // Twips taken from the Password column for the vertical scroll bar (0 or negative).
    [[nodiscard]] int Password_Column_Adjustment() const noexcept { return passwordAdjustment_; }

    [[nodiscard]] bool Is_Already_In_List(std::string_view name) const;

    void Fill_Computer_List();
    AddOutcome Add(std::string_view nameText, std::string_view userName, const Secret& password);
    void Set_Checked(std::size_t row, bool checked);
    void Select_All(bool checked);
    // Asks, then deletes the ticked rows from the last to the first.
    void Delete_Checked();
    // The edit box over a cell lost the focus; false when the edit was dropped.
    bool Edit_Credentials(std::size_t row, EditedColumn column, std::string_view text);
    SameOutcome Set_Same_User_Name_Password(std::string_view userName, const Secret& password);
    // False (after "There is no item to export!") when the list is empty.
    [[nodiscard]] bool Can_Export() const;
    // The file's bytes: one name a line, CRLF, in the ANSI code page.
    [[nodiscard]] std::string Export_Text() const;
    // The file's bytes as read; names get the boxes' credentials unless local.
    void Import(std::string_view fileBytes, std::string_view userName, const Secret& password);

private:
    bool Insert(const std::string& name, std::string_view userName, const Secret& password);
    void Apply_Column_Rule_After_Add();
    void Report(const std::exception& error) const;

    Database& db_;
    const Reporter& reporter_;
    IMainComputerTree& mainTree_;
    std::string localName_;
    std::vector<ComputerRow> rows_;
    int visibleRows_ = 0;
    int passwordAdjustment_ = 0;
};

}  // namespace corvane
