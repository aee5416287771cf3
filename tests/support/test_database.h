// A fresh copy of the installed database in a scratch folder, opened on a
// Database with a fake message box and a log, for tests of the database
// layer and everything above it.
#pragma once

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "base/log.h"
#include "base/reporter.h"
#include "db/database.h"
#include "db/password_codec.h"
#include "support/fakes.h"
#include "support/temp_folder.h"

namespace corvane::testing {

// Creates the installed database's tables, settings row and built-in entries in a new file.
void Create_Installed_Database(const std::string& utf8Path);

// Runs a statement of the test's own (setting up a state); true on success.
bool Run_Sql(Database& db, std::string sql);
// The first column of every row a statement returns; none when it fails.
std::vector<std::string> Query_Column(Database& db, std::string sql);

class TestDatabase {
public:
    TestDatabase();
    [[nodiscard]] std::string Log_Text() const { return Read_File(logPath); }
    bool Run_Sql(std::string sql) { return testing::Run_Sql(db, std::move(sql)); }

    TempFolder folder;
    FakeMessageBox messages;
    FakeClock clock;
    std::string path;
    std::string logPath;
    clsLog log;
    Reporter reporter{messages};
    FakeDataProtection protection;
    PasswordCodec passwords{protection, reporter};
    Database db{reporter};
};

}  // namespace corvane::testing
