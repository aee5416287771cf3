// The SQLite access layer: the process-wide connection and Execute_Query,
// which returns a statement's whole result as a ResultTable. A failing
// statement is reported once here (Show_Error) and answered with False.
// Statements run in SQLite's auto-commit mode; nothing is prepared or bound.
#pragma once

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "db/result_table.h"

struct sqlite3;

namespace corvane {

class IPlatform;
class PasswordCodec;
class Reporter;

inline constexpr const char* kDatabaseFileName = "nwcvninfo.dll";

// Program folder first, then the system directory; "" when neither holds a
// normal file of that name.
[[nodiscard]] std::string Get_Database_Path(IPlatform& platform);

// The pristine database a Windows Installer package brings in place of the
// live one, which the package never carries (an uninstall would remove it).
inline constexpr const char* kPristineDatabaseFileName = "nwcvninfo.default";

// Get_Database_Path; when neither place holds the database, the program
// folder's pristine copy becomes the program folder's database (logged).
// "" when there is none to copy or the copy fails.
[[nodiscard]] std::string Find_Or_Create_Database(IPlatform& platform, const Reporter& reporter);

// What tells whether the database may have changed: SQLite's data version
// (moves with every commit of another connection) and this connection's own
// count of changed rows.
struct ChangeStamp {
    std::int64_t dataVersion = 0;
    std::int64_t ownChanges = 0;
    friend bool operator==(const ChangeStamp&, const ChangeStamp&) = default;
};

// The exception texts, upper-cased, as last read, with the stamp they were
// read under; read again only when the stamp moved. reads counts the reads of
// the table over the connection's life (what a scan costs shows there).
struct ExceptionTextMemo {
    std::optional<ChangeStamp> stamp;
    std::vector<std::string> upperTexts;
    std::int64_t reads = 0;
};

class Database {
public:
    explicit Database(Reporter& reporter) : reporter_(reporter) {}
    ~Database();
    Database(const Database&) = delete;
    Database& operator=(const Database&) = delete;

    // Opens the file (nothing for an empty path). False when no connection
    // resulted; an open that failed has been shown and logged.
    bool Open_Database(std::string_view path);
    void Close_Database() noexcept;
    [[nodiscard]] bool Is_Open() const noexcept { return handle_ != nullptr; }

    // False at once without a connection (no message). On failure SQLite's
    // message is shown (when showError) and logged, and rowCount is unchanged.
    bool Execute_Query(std::string& sql, ResultTable& table, std::int32_t& rowCount, bool showError);
    // VACUUM; False when not open or the statement failed. Never raises.
    bool Compact_Database();

    [[nodiscard]] Reporter& Reports() const noexcept { return reporter_; }
    // How managed computers' passwords are stored; without one, only empty
    // passwords can be written (see password_codec.h).
    void Attach_Password_Codec(PasswordCodec* codec) noexcept { passwords_ = codec; }
    [[nodiscard]] PasswordCodec* Passwords() const noexcept { return passwords_; }

    // The current stamp; nothing without a connection or when SQLite cannot
    // tell (then nothing derived from the tables may be reused). This
    // connection's own changes show at once; another connection's commits
    // show within kOtherChangesInterval, since asking for the data version
    // takes the file's read lock (under Wine some 50 us, more than the rest
    // of an exception test) and a scan asks at every candidate.
    [[nodiscard]] std::optional<ChangeStamp> Change_Stamp() noexcept;
    static constexpr std::chrono::milliseconds kOtherChangesInterval{10};
    [[nodiscard]] ExceptionTextMemo& Exception_Texts() noexcept { return exceptionTexts_; }

private:
    Reporter& reporter_;
    sqlite3* handle_ = nullptr;
    ExceptionTextMemo exceptionTexts_;
    std::optional<std::int64_t> dataVersion_;
    std::chrono::steady_clock::time_point dataVersionAt_;
    PasswordCodec* passwords_ = nullptr;
};

}  // namespace corvane
