#include "support/test_database.h"

#include <sqlite3.h>

#include <stdexcept>

#include "support/installed_database_sql.h"

namespace corvane::testing {

void Create_Installed_Database(const std::string& utf8Path) {
    sqlite3* handle = nullptr;
    if (sqlite3_open(utf8Path.c_str(), &handle) != SQLITE_OK) {
        sqlite3_close(handle);
        throw std::runtime_error("cannot create " + utf8Path);
    }
    char* error = nullptr;
    const int status = sqlite3_exec(handle, kInstalledDatabaseSql, nullptr, nullptr, &error);
    const std::string message = error != nullptr ? error : "";
    sqlite3_free(error);
    sqlite3_close(handle);
    if (status != SQLITE_OK) throw std::runtime_error("installed database script failed: " + message);
}

bool Run_Sql(Database& db, std::string sql) {
    ResultTable table;
    std::int32_t rows = 0;
    return db.Execute_Query(sql, table, rows, true);
}

std::vector<std::string> Query_Column(Database& db, std::string sql) {
    ResultTable table;
    std::int32_t rows = 0;
    std::vector<std::string> cells;
    if (!db.Execute_Query(sql, table, rows, false)) return cells;
    for (std::int32_t row = 1; row <= rows; ++row) cells.push_back(table.Cell(row, 0));
    return cells;
}

TestDatabase::TestDatabase()
    : path(folder.File("nwcvninfo.dll")), logPath(folder.File("Corvane.log")), log(logPath, clock) {
    Create_Installed_Database(path);
    log.Start_Logging(logPath);
    reporter.Attach_Log(&log);
    db.Attach_Password_Codec(&passwords);
    db.Open_Database(path);
}

}  // namespace corvane::testing
