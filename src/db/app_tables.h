// Every statement the program runs against its three tables: the managed
// computers (scrambled), the exception list and the settings row. Each
// operation returns True on success; a failure (a failed statement, already
// reported once by Execute_Query, or an error inside the operation) is passed
// on as a RuntimeError with the source "Corvane". Without a connection an
// operation returns False without running anything.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "base/secret.h"
#include "db/result_table.h"

namespace corvane {

class Database;
class Reporter;

// Names and user names; passwords are read only where a password is needed.
bool Get_All_Computers(Database& db, std::int32_t& rowCount, ResultTable& table);
// A non-empty password is stored protected through the database's password
// codec; without one it is refused (RuntimeError) rather than stored weakly.
bool Add_Computer(Database& db, std::string_view name, std::string_view userName, const Secret& password);
bool Add_Computer(Database& db, std::string_view name, std::string_view userName, std::string_view password);
bool Get_Computer_Count(Database& db, std::int32_t& count);
bool Delete_Computer(Database& db, std::string_view name);
bool Update_Computer(Database& db, std::string_view name, std::string_view userName, const Secret& password);
bool Update_Computer(Database& db, std::string_view name, std::string_view userName, std::string_view password);
// userName and password are left unchanged when the name is not stored.
bool Get_Computer_Credentials(Database& db, std::string_view name, std::string& userName, Secret& password);
// Stores every password an older version left scrambled protected through
// the database's password codec, for the user running the program; without a
// codec nothing changes. Returns how many were converted. Only the window
// program calls it: the console scanner may run as another account (SYSTEM),
// which would tie the passwords to that account.
std::int32_t Protect_Scrambled_Passwords(Database& db);

bool Add_Exception(Database& db, std::string_view text, ResultTable& table, std::int32_t type);
// text receives its quote-doubled form, as the statement used it.
bool Update_Exception(Database& db, std::string& text, std::int32_t id, std::int32_t type);
bool Get_Exceptions(Database& db, std::int32_t& rowCount, ResultTable& table);
bool Delete_Exception(Database& db, std::int32_t id, std::int32_t type);
bool Exception_Exists(Database& db, std::string_view text, std::int32_t type);
// True when any stored text, upper-cased, occurs inside the upper-cased candidate.
bool Is_In_Exception_List(Database& db, std::string_view candidate);
// Every stored text, upper-cased and without empty ones: a copy for a scan
// that tests candidates away from the database. False without a connection.
bool Get_Exception_Texts(Database& db, std::vector<std::string>& upperTexts);
// True when one of the upper-cased texts occurs inside the upper-cased candidate.
[[nodiscard]] bool Matches_Exception(const std::vector<std::string>& upperTexts, std::string_view candidate);

bool Save_Settings(Database& db, std::int32_t options, std::string_view extn);
bool Load_Settings(Database& db, std::int32_t& options, std::string& extn);
bool Get_Extensions(Database& db, std::string& extn);

// "Computers scanned at once": its own column of the settings row.
inline constexpr std::int32_t kDefaultComputersAtOnce = 8;
inline constexpr std::int32_t kMaxComputersAtOnce = 32;
// Adds the column, with its default, to the settings table of an older
// database; true when it was added.
bool Migrate_Settings_Table(Database& db);
// The stored number, within 1 to 32; the default when the table of an older
// database has no column for it yet.
bool Load_Computers_At_Once(Database& db, std::int32_t& count);
bool Save_Computers_At_Once(Database& db, std::int32_t count);
// Brings the tables of an older database up to this version when the
// program opens it; logs what it changed or why it could not.
void Migrate_Database(Database& db, const Reporter& reporter);

}  // namespace corvane
