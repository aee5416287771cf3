// The SQLite access layer: the process-wide connection and Execute_Query,
// which returns a statement's whole result as a ResultTable. A failing
// statement is reported once here (Show_Error) and answered with False.
// Statements run in SQLite's auto-commit mode; nothing is prepared or bound.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

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

private:
    Reporter& reporter_;
    sqlite3* handle_ = nullptr;
    PasswordCodec* passwords_ = nullptr;
};

}  // namespace corvane
