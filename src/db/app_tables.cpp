#include "db/app_tables.h"

#include <algorithm>

#include "base/reporter.h"
#include "base/runtime_error.h"
#include "base/text.h"
#include "db/database.h"
#include "db/password_codec.h"
#include "db/scramble.h"

namespace corvane {
namespace {

// Runs one statement for an operation of this file. A failed statement has been
// shown and logged by Execute_Query; it reaches the caller as a run-time error.
void Run(Database& db, std::string sql, ResultTable& table, std::int32_t& rowCount) {
    if (!db.Execute_Query(sql, table, rowCount, true)) {
        table.Clear();
        throw RuntimeError(error_number::kStatementFailed, "The database statement failed.");
    }
}

void Run(Database& db, std::string sql) {
    ResultTable table;
    std::int32_t rows = 0;
    Run(db, std::move(sql), table, rows);
}

std::string Quoted_Scrambled(std::string_view text) { return Double_Quotes_Sql(Scramble_Text(text)); }
// The form a computer name is compared in: scrambled, quotes doubled, upper-cased like SQLite's UPPER.
std::string Name_Key(std::string_view name) { return Upper_Ascii(Quoted_Scrambled(name)); }

// The password column's text, quotes doubled.
std::string Quoted_Password(Database& db, const Secret& password) {
    if (password.Empty()) return {};
    PasswordCodec* codec = db.Passwords();
    if (!codec) {
        throw RuntimeError(error_number::kPasswordNotProtected,
                           "The password cannot be stored protected on this system.");
    }
    return Double_Quotes_Sql(codec->Encode(password));
}

Secret Read_Password(Database& db, std::string_view name, std::string_view stored) {
    if (PasswordCodec* codec = db.Passwords()) return codec->Decode(name, stored);
    if (stored.starts_with(kProtectedPasswordPrefix)) return {};
    std::string plain = Scramble_Text(stored);
    return Secret::Adopt(plain);
}

}  // namespace

bool Get_All_Computers(Database& db, std::int32_t& rowCount, ResultTable& table) {
    if (!db.Is_Open()) return false;
    ResultTable result;
    std::int32_t rows = 0;
    Run(db, "SELECT CMP_NAME,CMP_USERNAME FROM COMPUTER_TBL ORDER BY CMP_NAME", result, rows);
    for (std::int32_t r = 1; r <= rows; ++r) {
        for (std::size_t c = 0; c < result.Column_Count(); ++c) result.Cell(r, c) = Scramble_Text(result.Cell(r, c));
    }
    table = std::move(result);
    rowCount = rows;
    return true;
}

bool Add_Computer(Database& db, std::string_view name, std::string_view userName, const Secret& password) {
    if (!db.Is_Open()) return false;
    Run(db, "INSERT INTO COMPUTER_TBL (CMP_NAME,CMP_USERNAME,CMP_PASSWORD) VALUES('" + Quoted_Scrambled(name) + "','" +
                Quoted_Scrambled(userName) + "','" + Quoted_Password(db, password) + "')");
    return true;
}

bool Add_Computer(Database& db, std::string_view name, std::string_view userName, std::string_view password) {
    return Add_Computer(db, name, userName, Secret(password));
}

bool Get_Computer_Count(Database& db, std::int32_t& count) {
    if (!db.Is_Open()) return false;
    ResultTable table;
    std::int32_t rows = 0;
    Run(db, "SELECT COUNT(CMP_NAME) FROM COMPUTER_TBL", table, rows);
    count = Text_To_Int32(table.Cell(1, 0));
    return true;
}

bool Delete_Computer(Database& db, std::string_view name) {
    if (!db.Is_Open()) return false;
    Run(db, "DELETE FROM COMPUTER_TBL WHERE UPPER (CMP_NAME) = '" + Name_Key(name) + "'");
    return true;
}

bool Update_Computer(Database& db, std::string_view name, std::string_view userName, const Secret& password) {
    if (!db.Is_Open()) return false;
    Run(db, "UPDATE COMPUTER_TBL SET CMP_USERNAME = '" + Quoted_Scrambled(userName) + "', CMP_PASSWORD='" +
                Quoted_Password(db, password) + "' WHERE UPPER(CMP_NAME)='" + Name_Key(name) + "'");
    return true;
}

bool Update_Computer(Database& db, std::string_view name, std::string_view userName, std::string_view password) {
    return Update_Computer(db, name, userName, Secret(password));
}

bool Get_Computer_Credentials(Database& db, std::string_view name, std::string& userName, Secret& password) {
    if (!db.Is_Open()) return false;
    ResultTable table;
    std::int32_t rows = 0;
    Run(db, "SELECT CMP_USERNAME,CMP_PASSWORD FROM COMPUTER_TBL WHERE UPPER(CMP_NAME)='" + Name_Key(name) + "'", table,
        rows);
    if (rows > 0) {
        std::string user = Scramble_Text(table.Cell(1, 0));
        Secret pass = Read_Password(db, name, table.Cell(1, 1));
        Wipe(table.Cell(1, 1));
        userName = std::move(user);
        password = std::move(pass);
    }
    return true;
}

std::int32_t Protect_Scrambled_Passwords(Database& db) {
    PasswordCodec* codec = db.Passwords();
    if (!db.Is_Open() || !codec) return 0;
    ResultTable table;
    std::int32_t rows = 0;
    Run(db, "SELECT CMP_NAME,CMP_PASSWORD FROM COMPUTER_TBL", table, rows);
    std::int32_t converted = 0;
    for (std::int32_t r = 1; r <= rows; ++r) {
        std::string& stored = table.Cell(r, 1);
        if (stored.empty() || stored.starts_with(kProtectedPasswordPrefix)) continue;
        std::string plain = Scramble_Text(stored);
        const std::string encoded = codec->Encode(Secret::Adopt(plain));
        // The row as it was read: a name matched exactly, the old text still in place.
        Run(db, "UPDATE COMPUTER_TBL SET CMP_PASSWORD='" + Double_Quotes_Sql(encoded) + "' WHERE CMP_NAME='" +
                    Double_Quotes_Sql(table.Cell(r, 0)) + "' AND CMP_PASSWORD='" + Double_Quotes_Sql(stored) + "'");
        Wipe(stored);
        ++converted;
    }
    return converted;
}

bool Add_Exception(Database& db, std::string_view text, ResultTable& table, std::int32_t type) {
    if (!db.Is_Open()) return false;
    Run(db, "INSERT INTO EXCEPTION_TBL (REGISTRY_KEY,EXCEPTION_TYPE) VALUES('" + Double_Quotes_Sql(text) + "'," +
                std::to_string(type) + ")");
    std::int32_t rows = 0;
    Run(db, "SELECT MAX(EXP_ID) FROM EXCEPTION_TBL", table, rows);
    return true;
}

bool Update_Exception(Database& db, std::string& text, std::int32_t id, std::int32_t type) {
    if (!db.Is_Open()) return false;
    text = Double_Quotes_Sql(text);
    Run(db, "UPDATE EXCEPTION_TBL SET REGISTRY_KEY='" + text + "' WHERE EXP_ID=" + std::to_string(id) +
                " AND EXCEPTION_TYPE=" + std::to_string(type));
    return true;
}

bool Get_Exceptions(Database& db, std::int32_t& rowCount, ResultTable& table) {
    if (!db.Is_Open()) return false;
    ResultTable result;
    std::int32_t rows = 0;
    Run(db,
        "SELECT EXP_ID,REGISTRY_KEY,EXCEPTION_TYPE FROM EXCEPTION_TBL WHERE EXCEPTION_TYPE <> 0 ORDER BY "
        "EXCEPTION_TYPE",
        result, rows);
    table = std::move(result);
    rowCount = rows;
    return true;
}

bool Delete_Exception(Database& db, std::int32_t id, std::int32_t type) {
    if (!db.Is_Open()) return false;
    Run(db, "DELETE FROM EXCEPTION_TBL WHERE EXP_ID = " + std::to_string(id) +
                " AND EXCEPTION_TYPE=" + std::to_string(type));
    return true;
}

bool Exception_Exists(Database& db, std::string_view text, std::int32_t type) {
    if (!db.Is_Open()) return false;
    ResultTable table;
    std::int32_t rows = 0;
    Run(db,
        "SELECT COUNT(*) FROM EXCEPTION_TBL WHERE REGISTRY_KEY='" + Double_Quotes_Sql(text) +
            "' AND EXCEPTION_TYPE=" + std::to_string(type),
        table, rows);
    return Text_To_Int32(table.Cell(1, 0)) >= 1;
}

namespace {

// The stored texts, upper-cased, read again only when the table may have changed.
const std::vector<std::string>* Exception_Memo(Database& db) {
    if (!db.Is_Open()) return nullptr;
    // A scan asks for every candidate: the texts are read again only
    // when the table may have changed, so that a change made in the exception
    // dialog still applies to the very next test.
    ExceptionTextMemo& memo = db.Exception_Texts();
    const std::optional<ChangeStamp> stamp = db.Change_Stamp();
    if (!stamp || memo.stamp != stamp) {
        const std::int64_t reads = memo.reads + 1;
        memo = {};
        memo.reads = reads;
        ResultTable table;
        std::int32_t rows = 0;
        Run(db, "SELECT REGISTRY_KEY FROM EXCEPTION_TBL", table, rows);
        std::vector<std::string> texts;
        texts.reserve(static_cast<std::size_t>(rows));
        for (std::int32_t r = 1; r <= rows; ++r) {
            // An empty text would be found in every candidate and hide every problem.
            if (!table.Cell(r, 0).empty()) texts.push_back(Upper_Text(table.Cell(r, 0)));
        }
        memo = {stamp, std::move(texts), memo.reads};
    }
    return &memo.upperTexts;
}

}  // namespace

bool Is_In_Exception_List(Database& db, std::string_view candidate) {
    const std::vector<std::string>* texts = Exception_Memo(db);
    return texts != nullptr && Matches_Exception(*texts, candidate);
}

bool Get_Exception_Texts(Database& db, std::vector<std::string>& upperTexts) {
    const std::vector<std::string>* texts = Exception_Memo(db);
    if (texts == nullptr) return false;
    upperTexts = *texts;
    return true;
}

bool Matches_Exception(const std::vector<std::string>& upperTexts, std::string_view candidate) {
    const std::string upperCandidate = Upper_Text(candidate);
    for (const std::string& text : upperTexts) {
        if (upperCandidate.find(text) != std::string::npos) return true;
    }
    return false;
}

bool Save_Settings(Database& db, std::int32_t options, std::string_view extn) {
    if (!db.Is_Open()) return false;
    // The extension list's quotes are doubled like every other text: an
    // apostrophe in it must neither break the statement nor change its meaning.
    Run(db, "UPDATE SETTINGS_TBL SET GENERAL_OPTIONS=" + std::to_string(options) + ", EXTN='" +
                Double_Quotes_Sql(extn) + "' WHERE SETTINGS_ID=1");
    return true;
}

namespace {

// Decimal digits with an optional sign and surrounding blanks.
bool Is_Whole_Number(std::string_view text) {
    const std::string trimmed = Trim(text);
    std::size_t i = (!trimmed.empty() && (trimmed[0] == '-' || trimmed[0] == '+')) ? 1 : 0;
    if (i == trimmed.size()) return false;
    for (; i < trimmed.size(); ++i) {
        if (trimmed[i] < '0' || trimmed[i] > '9') return false;
    }
    return true;
}

}  // namespace

bool Load_Settings(Database& db, std::int32_t& options, std::string& extn) {
    if (!db.Is_Open()) return false;
    ResultTable table;
    std::int32_t rows = 0;
    Run(db, "SELECT GENERAL_OPTIONS, EXTN FROM SETTINGS_TBL WHERE SETTINGS_ID=1", table, rows);
    // An options text that is no whole number would read as "every bit
    // clear"; it is refused like an unreadable row.
    const std::string& optionsText = table.Cell(1, 0);
    if (!Is_Whole_Number(optionsText)) throw RuntimeError(error_number::kTypeMismatch, "Type mismatch");
    const std::int32_t loadedOptions = Text_To_Int32(optionsText);
    std::string loadedExtn = table.Cell(1, 1);
    options = loadedOptions;
    extn = std::move(loadedExtn);
    return true;
}

bool Get_Extensions(Database& db, std::string& extn) {
    if (!db.Is_Open()) return false;
    ResultTable table;
    std::int32_t rows = 0;
    Run(db, "SELECT EXTN FROM SETTINGS_TBL WHERE SETTINGS_ID=1", table, rows);
    extn = table.Cell(1, 0);
    return true;
}

namespace {

constexpr const char* kComputersAtOnceColumn = "COMPUTERS_AT_ONCE";

bool Settings_Have_Computers_At_Once(Database& db) {
    ResultTable table;
    std::int32_t rows = 0;
    Run(db, "PRAGMA table_info(SETTINGS_TBL)", table, rows);
    for (std::int32_t r = 1; r <= rows; ++r) {
        if (Upper_Ascii(table.Cell(static_cast<std::size_t>(r), 1)) == kComputersAtOnceColumn) return true;
    }
    return false;
}

}  // namespace

bool Migrate_Settings_Table(Database& db) {
    if (!db.Is_Open() || Settings_Have_Computers_At_Once(db)) return false;
    Run(db, std::string("ALTER TABLE SETTINGS_TBL ADD COLUMN ") + kComputersAtOnceColumn +
                " INTEGER NOT NULL DEFAULT " + std::to_string(kDefaultComputersAtOnce));
    return true;
}

void Migrate_Database(Database& db, const Reporter& reporter) {
    try {
        if (Migrate_Settings_Table(db))
            reporter.Log_Event("The settings table now keeps the computers scanned at once.");
    } catch (const RuntimeError& error) {
        reporter.Log_Event("The settings table of an older version stays as it is: " + error.Text(), LOG_WARNING);
    }
}

bool Load_Computers_At_Once(Database& db, std::int32_t& count) {
    if (!db.Is_Open()) return false;
    if (!Settings_Have_Computers_At_Once(db)) {
        count = kDefaultComputersAtOnce;
        return true;
    }
    ResultTable table;
    std::int32_t rows = 0;
    Run(db, std::string("SELECT ") + kComputersAtOnceColumn + " FROM SETTINGS_TBL WHERE SETTINGS_ID=1", table, rows);
    const std::int32_t stored = rows >= 1 ? Text_To_Int32(table.Cell(1, 0)) : kDefaultComputersAtOnce;
    count = std::clamp(stored, std::int32_t{1}, kMaxComputersAtOnce);
    return true;
}

bool Save_Computers_At_Once(Database& db, std::int32_t count) {
    if (!db.Is_Open()) return false;
    (void)Migrate_Settings_Table(db);
    Run(db, std::string("UPDATE SETTINGS_TBL SET ") + kComputersAtOnceColumn + "=" +
                std::to_string(std::clamp(count, std::int32_t{1}, kMaxComputersAtOnce)) + " WHERE SETTINGS_ID=1");
    return true;
}

}  // namespace corvane
