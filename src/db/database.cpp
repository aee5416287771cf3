#include "db/database.h"

#include <sqlite3.h>

#include <vector>

#include "base/ports/platform.h"
#include "base/reporter.h"
#include "base/runtime_error.h"

namespace corvane {
namespace {

// Collects the rows of one statement as sqlite3_get_table would: names first, then text cells.
struct Collector {
    std::vector<std::string> names;
    std::vector<std::string> cells;
    std::size_t rows = 0;
};

int Collect_Row(void* context, int columns, char** values, char** names) {
    auto* collector = static_cast<Collector*>(context);
    if (collector->names.empty()) {
        for (int c = 0; c < columns; ++c) collector->names.emplace_back(names[c] != nullptr ? names[c] : "");
    }
    for (int c = 0; c < columns; ++c) collector->cells.emplace_back(values[c] != nullptr ? values[c] : "");
    ++collector->rows;
    return 0;
}

}  // namespace

std::string Get_Database_Path(IPlatform& platform) {
    const std::string inProgramFolder = platform.Program_Folder() + "\\" + kDatabaseFileName;
    if (platform.Normal_File_Exists(inProgramFolder)) return inProgramFolder;
    const std::string inSystemFolder = platform.System_Directory() + "\\" + kDatabaseFileName;
    if (platform.Normal_File_Exists(inSystemFolder)) return inSystemFolder;
    return "";
}

std::string Find_Or_Create_Database(IPlatform& platform, const Reporter& reporter) {
    std::string path = Get_Database_Path(platform);
    if (!path.empty()) return path;
    const std::string pristine = platform.Program_Folder() + "\\" + kPristineDatabaseFileName;
    if (!platform.Normal_File_Exists(pristine)) return "";
    path = platform.Program_Folder() + "\\" + kDatabaseFileName;
    if (!platform.Copy_New_File(pristine, path)) {
        reporter.Log_Event("Cannot create the database " + path + " from " + pristine, LOG_ERROR);
        return "";
    }
    reporter.Log_Event("Database created from " + pristine + ": " + path, LOG_INFO);
    return path;
}

Database::~Database() { Close_Database(); }

bool Database::Open_Database(std::string_view path) {
    if (path.empty()) return false;
    Close_Database();
    sqlite3* handle = nullptr;
    const std::string file(path);
    // Open an existing file only: a missing database must not be created empty.
    const int status = sqlite3_open_v2(file.c_str(), &handle, SQLITE_OPEN_READWRITE, nullptr);
    if (status != SQLITE_OK) {
        const std::string message = handle != nullptr ? sqlite3_errmsg(handle) : "out of memory";
        sqlite3_close(handle);
        reporter_.Show_Error(true, RuntimeError(status, message));
        return false;
    }
    handle_ = handle;
    return true;
}

void Database::Close_Database() noexcept {
    if (handle_ != nullptr) {
        sqlite3_close(handle_);
        handle_ = nullptr;
    }
    exceptionTexts_ = {};
    dataVersion_.reset();
}

std::optional<ChangeStamp> Database::Change_Stamp() noexcept {
    if (handle_ == nullptr) return std::nullopt;
    const auto now = std::chrono::steady_clock::now();
    if (!dataVersion_ || now - dataVersionAt_ >= kOtherChangesInterval) {
        dataVersion_.reset();
        sqlite3_stmt* statement = nullptr;
        if (sqlite3_prepare_v2(handle_, "PRAGMA data_version", -1, &statement, nullptr) != SQLITE_OK) {
            return std::nullopt;
        }
        if (sqlite3_step(statement) == SQLITE_ROW) dataVersion_ = sqlite3_column_int64(statement, 0);
        sqlite3_finalize(statement);
        if (!dataVersion_) return std::nullopt;
        dataVersionAt_ = now;
    }
    return ChangeStamp{*dataVersion_, sqlite3_total_changes64(handle_)};
}

bool Database::Execute_Query(std::string& sql, ResultTable& table, std::int32_t& rowCount, bool showError) {
    if (handle_ == nullptr) return false;
    Collector collector;
    char* error = nullptr;
    const int status = sqlite3_exec(handle_, sql.c_str(), Collect_Row, &collector, &error);
    if (status != SQLITE_OK) {
        const std::string message = error != nullptr ? error : sqlite3_errstr(status);
        sqlite3_free(error);
        table.Clear();
        reporter_.Show_Error(showError, message);
        return false;
    }
    if (collector.rows == 0) {
        table.Clear();
    } else {
        ResultTable result(std::move(collector.names), collector.rows);
        const std::size_t columns = result.Column_Count();
        for (std::size_t i = 0; i < collector.cells.size(); ++i) {
            result.Cell(1 + i / columns, i % columns) = std::move(collector.cells[i]);
        }
        table = std::move(result);
    }
    rowCount = static_cast<std::int32_t>(collector.rows);
    return true;
}

bool Database::Compact_Database() {
    std::string sql = "VACUUM";
    ResultTable table;
    std::int32_t rows = 0;
    return Execute_Query(sql, table, rows, true);
}

}  // namespace corvane
