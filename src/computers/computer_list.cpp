#include "computers/computer_list.h"

#include <algorithm>

#include "base/ansi_text.h"
#include "base/comma_fields.h"
#include "base/reporter.h"
#include "base/runtime_error.h"
#include "base/text.h"
#include "base/utf8.h"
#include "db/app_tables.h"

namespace corvane {
namespace {

// Grave accent, tilde, ! @ # $ ^ & * ( ) + = { } [ ] \ | ; : ' " , < > / ? and the blank.
constexpr std::string_view kComputerNameBanned = "`~!@#$^&*()+={}[]\\|;:'\",<>/? ";
constexpr std::string_view kUserNameBanned = "/\\[]\":;|<>+=,?*";
constexpr std::size_t kMaxComputerName = 100;
constexpr const char* kBullet = "\xE2\x80\xA2";  // character 149 of the ANSI code page

std::string Name_Of(std::string_view text) { return Upper_Text(Trim(text)); }

}  // namespace

bool Is_Valid_Computer(std::string_view name) {
    return !name.empty() && Code_Point_Count(name) <= kMaxComputerName &&
           name.find_first_of(kComputerNameBanned) == std::string_view::npos;
}

bool Is_Valid_User_Name(std::string_view userName) {
    return userName.find_first_of(kUserNameBanned) == std::string_view::npos;
}

bool Is_Local_Computer_Name(std::string_view name, std::string_view localName) {
    const std::string upper = Upper_Text(name);
    return upper == Upper_Text(localName) || upper == "LOCALHOST" || upper == "LOOPBACK";
}

std::string Password_Bullets(const Secret& password) {
    std::string bullets;
    for (std::size_t i = Code_Point_Count(password.View()); i > 0; --i) bullets += kBullet;
    return bullets;
}

bool ComputerList::Is_Already_In_List(std::string_view name) const {
    return std::any_of(rows_.begin(), rows_.end(),
                       [&](const ComputerRow& row) { return Equals_Ignore_Case(row.name, name); });
}

void ComputerList::Report(const std::exception& error) const {
    if (const auto* runtime = dynamic_cast<const RuntimeError*>(&error)) {
        // A failed statement has been shown by the database layer already.
        if (runtime->Number() != error_number::kStatementFailed) reporter_.Show_Error(true, *runtime);
        return;
    }
    reporter_.Show_Error(true, error.what());
}

void ComputerList::Fill_Computer_List() {
    rows_.clear();
    passwordAdjustment_ = 0;
    try {
        ResultTable table;
        std::int32_t count = 0;
        if (!Get_All_Computers(db_, count, table)) return;
        for (std::int32_t r = 1; r <= count; ++r) {
            ComputerRow row{.name = table.Cell(r, 0), .userName = table.Cell(r, 1), .password = {}};
            std::string user;
            Get_Computer_Credentials(db_, row.name, user, row.password);
            rows_.push_back(std::move(row));
            Apply_Column_Rule_After_Add();
        }
    } catch (const std::exception& error) {
        rows_.clear();
        passwordAdjustment_ = 0;
        Report(error);
    }
}

void ComputerList::Apply_Column_Rule_After_Add() {
    if (visibleRows_ > 0 && rows_.size() == static_cast<std::size_t>(visibleRows_) + 1) {
        passwordAdjustment_ -= kScrollBarTwips;
    }
}

bool ComputerList::Insert(const std::string& name, std::string_view userName, const Secret& password) {
    try {
        if (!Add_Computer(db_, name, userName, password)) return false;
    } catch (const std::exception& error) {
        Report(error);
        return false;
    }
    rows_.push_back({.name = name, .userName = std::string(userName), .password = password});
    mainTree_.Computer_Added(name);
    Apply_Column_Rule_After_Add();
    return true;
}

AddOutcome ComputerList::Add(std::string_view nameText, std::string_view userName, const Secret& password) {
    IMessageBox& messages = reporter_.Messages();
    const std::string name = Name_Of(nameText);
    if (!Is_Valid_Computer(name)) {
        messages.Show("Please enter a valid Computer Name!", MsgButtons::Ok, MsgIcon::Exclamation);
        return AddOutcome::InvalidName;
    }
    if (!Is_Valid_User_Name(userName)) {
        messages.Show("Please enter a valid User Name!", MsgButtons::Ok, MsgIcon::Exclamation);
        return AddOutcome::InvalidUserName;
    }
    if (Is_Already_In_List(name)) {
        messages.Show("Computer Already Exists!", MsgButtons::Ok, MsgIcon::Information);
        return AddOutcome::AlreadyInList;
    }
    return Insert(name, userName, password) ? AddOutcome::Added : AddOutcome::NotStored;
}

void ComputerList::Set_Checked(std::size_t row, bool checked) {
    if (row < rows_.size()) rows_[row].checked = checked;
}

void ComputerList::Select_All(bool checked) {
    for (ComputerRow& row : rows_) row.checked = checked;
}

void ComputerList::Delete_Checked() {
    if (reporter_.Messages().Show("Are you sure you want to delete the selected computers?", MsgButtons::YesNo,
                                  MsgIcon::Question) != MsgResult::Yes) {
        return;
    }
    for (std::size_t i = rows_.size(); i-- > 0;) {
        if (!rows_[i].checked) continue;
        const std::string name = rows_[i].name;
        try {
            if (!Delete_Computer(db_, name)) continue;
        } catch (const std::exception& error) {
            Report(error);
            continue;
        }
        if (visibleRows_ > 0 && rows_.size() == static_cast<std::size_t>(visibleRows_) + 1) {
            passwordAdjustment_ += kScrollBarTwips;
        }
        mainTree_.Computer_Removed(name);
        rows_.erase(rows_.begin() + static_cast<std::ptrdiff_t>(i));
    }
}

bool ComputerList::Edit_Credentials(std::size_t row, EditedColumn column, std::string_view text) {
    if (row >= rows_.size()) return false;
    ComputerRow& edited = rows_[row];
    const std::string userName = column == EditedColumn::UserName ? std::string(text) : edited.userName;
    const Secret password = column == EditedColumn::Password ? Secret(text) : edited.password;
    if (!Is_Valid_User_Name(userName)) return false;
    try {
        if (!Update_Computer(db_, edited.name, userName, password)) return false;
    } catch (const std::exception& error) {
        Report(error);
        return false;
    }
    edited.userName = userName;
    edited.password = password;
    return true;
}

SameOutcome ComputerList::Set_Same_User_Name_Password(std::string_view userName, const Secret& password) {
    IMessageBox& messages = reporter_.Messages();
    if (messages.Show("Are you sure you want to set the same user name & password for all computers in the list?",
                      MsgButtons::YesNo, MsgIcon::Question) != MsgResult::Yes) {
        return SameOutcome::Declined;
    }
    if (userName.empty()) {
        messages.Show("User name can not be empty! Please provide a valid user name.", MsgButtons::Ok,
                      MsgIcon::Exclamation);
        return SameOutcome::EmptyUserName;
    }
    if (password.Empty()) {
        messages.Show("Password can not be empty! Please provide a valid password.", MsgButtons::Ok,
                      MsgIcon::Exclamation);
        return SameOutcome::EmptyPassword;
    }
    for (ComputerRow& row : rows_) {
        if (Is_Local_Computer_Name(row.name, localName_)) continue;
        try {
            if (!Update_Computer(db_, row.name, userName, password)) continue;
        } catch (const std::exception& error) {
            Report(error);
            continue;
        }
        row.userName = std::string(userName);
        row.password = password;
    }
    return SameOutcome::Done;
}

bool ComputerList::Can_Export() const {
    if (!rows_.empty()) return true;
    reporter_.Messages().Show("There is no item to export!", MsgButtons::Ok, MsgIcon::Exclamation);
    return false;
}

std::string ComputerList::Export_Text() const {
    std::vector<std::string> names;
    for (const ComputerRow& row : rows_) names.push_back(row.name);
    return Utf8_To_Ansi(Join_Lines_Crlf(names));
}

void ComputerList::Import(std::string_view fileBytes, std::string_view userName, const Secret& password) {
    for (const std::string& field : Read_Comma_Fields(Ansi_To_Utf8(fileBytes))) {
        const std::string name = Upper_Text(field);
        if (!Is_Valid_Computer(name) || Is_Already_In_List(name)) continue;
        Insert_With_Box_Credentials(name, userName, password);
    }
}

void ComputerList::Add_Browsed(const std::vector<std::string>& names, std::string_view userName,
                               const Secret& password) {
    for (const std::string& name : names) {
        if (!name.empty() && !Is_Already_In_List(name)) Insert_With_Box_Credentials(name, userName, password);
    }
}

void ComputerList::Insert_With_Box_Credentials(const std::string& name, std::string_view userName,
                                               const Secret& password) {
    if (Is_Local_Computer_Name(name, localName_)) {
        Insert(name, "", Secret());
    } else {
        Insert(name, userName, password);
    }
}

}  // namespace corvane
