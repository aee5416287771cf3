#include "db/app_tables.h"

#include <gtest/gtest.h>

#include <thread>
#include <utility>
#include <vector>
#include "base/base64.h"
#include "base/runtime_error.h"
#include "base/text.h"
#include "db/scramble.h"
#include "support/test_database.h"

namespace corvane {
namespace {

using testing::Query_Column;
using testing::Run_Sql;
using testing::TestDatabase;

// A column of the computer's row as stored; "<none>" without one.
std::string Stored(TestDatabase& t, const char* column, std::string_view name) {
    const auto cells = Query_Column(t.db, std::string("SELECT ") + column + " FROM COMPUTER_TBL WHERE CMP_NAME='" +
                                              Double_Quotes_Sql(Scramble_Text(name)) + "'");
    return cells.empty() ? "<none>" : cells[0];
}

TEST(Scramble, IsItsOwnInverseAndKeepsPosition32) {
    const std::string text = "SERVER-01 with a long name that passes position 32!";
    EXPECT_EQ(Scramble_Text(Scramble_Text(text)), text);
    EXPECT_EQ(Scramble_Text("A"), "@");  // 'A' ^ 1
    EXPECT_EQ(Scramble_Text(std::string(32, 'x'))[31], 'x');
}

// "user/password" as read for a computer; "-/-" when the outputs were left alone.
std::string Credentials(TestDatabase& t, std::string_view name) {
    std::string user = "-";
    Secret password(std::string_view("-"));
    EXPECT_TRUE(Get_Computer_Credentials(t.db, name, user, password));
    return user + "/" + std::string(password.View());
}

TEST(Computers, StoredScrambledAndMatchedThroughUpperCasedScrambledText) {
    TestDatabase t;
    // "&" at position 1 scrambles to "'"; "O'Brien" has one in plain text.
    ASSERT_EQ(Scramble_Text("&PC")[0], '\'');
    ASSERT_TRUE(Add_Computer(t.db, "&PC", "O'Brien", "pa'ss"));
    EXPECT_EQ(Stored(t, "CMP_USERNAME", "&PC"), Scramble_Text("O'Brien"));
    std::int32_t count = -1;
    ResultTable table;
    ASSERT_TRUE(Get_All_Computers(t.db, count, table));
    EXPECT_EQ(table.Cell(1, 0) + "|" + table.Cell(1, 1), "&PC|O'Brien");
    EXPECT_EQ(table.Column_Count(), 2u);  // passwords are not read to list computers
    EXPECT_EQ(Credentials(t, "&PC"), "O'Brien/pa'ss");
    ASSERT_TRUE(Update_Computer(t.db, "&PC", "x'y", "z"));
    EXPECT_EQ(Credentials(t, "&PC"), "x'y/z");
    ASSERT_TRUE(Delete_Computer(t.db, "&PC"));
    EXPECT_EQ(Credentials(t, "&PC"), "-/-");

    // "pc" scrambles to "qa": still letters, so "PC" names the same computer.
    ASSERT_TRUE(Add_Computer(t.db, "pc", "", ""));
    ASSERT_TRUE(Delete_Computer(t.db, "PC"));
    EXPECT_EQ(Credentials(t, "pc"), "-/-");
    // In "server" the 'e' at position 5 scrambles to '`' and the 'E' of
    // "SERVER" to '@': the two spellings are different names.
    ASSERT_TRUE(Add_Computer(t.db, "server", "u", "p"));
    ASSERT_TRUE(Delete_Computer(t.db, "SERVER"));
    ASSERT_TRUE(Get_Computer_Count(t.db, count));
    EXPECT_EQ(count, 1);
    EXPECT_EQ(Credentials(t, "sErveR"), "u/p");
    EXPECT_TRUE(t.messages.shown.empty());
}

// How a password is stored and read back: protected from now on; scrambled
// as older databases hold it; unreadable (another user) as empty.
TEST(Computers, PasswordsAtRest) {
    struct Case {
        const char* what;
        std::string storedByTest;  // written with SQL; empty: through Add_Computer
        bool refuse;
        const char* expected;
    };
    const std::vector<Case> cases = {
        {"saved now", "", false, "pa'ss"},
        {"scrambled by an older version", Scramble_Text("old'pw"), false, "old'pw"},
        {"protected for another user", "DPAPI:" + Base64_Encode("fake-blob:xx"), true, ""},
        {"damaged Base64", "DPAPI:***", false, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TestDatabase t;
        t.protection.refuse = c.refuse;
        ASSERT_TRUE(Add_Computer(t.db, "PC1", "admin", "pa'ss"));
        EXPECT_EQ(Stored(t, "CMP_PASSWORD", "PC1"), "DPAPI:" + Base64_Encode("fake-blob:ss'ap"));
        if (!c.storedByTest.empty()) {
            ASSERT_TRUE(t.Run_Sql("UPDATE COMPUTER_TBL SET CMP_PASSWORD='" + Double_Quotes_Sql(c.storedByTest) + "'"));
        }
        std::string user;
        Secret password(std::string_view("unchanged"));
        for (int twice = 0; twice < 2; ++twice) ASSERT_TRUE(Get_Computer_Credentials(t.db, "pc1", user, password));
        EXPECT_EQ(password.View(), c.expected);
        const std::string log = t.Log_Text();
        EXPECT_EQ(log.find("password of pc1") != std::string::npos, *c.expected == '\0') << log;
        EXPECT_EQ(log.find("password of pc1", log.find("password of pc1") + 1), std::string::npos) << "logged once";
        // The next save stores it protected.
        ASSERT_TRUE(Update_Computer(t.db, "PC1", user, password));
        EXPECT_EQ(Stored(t, "CMP_PASSWORD", "PC1").starts_with("DPAPI:"), !password.Empty());
    }
}

// Passwords an older version left scrambled are protected in place, the
// others left as they are. Without data protection nothing changes, and only
// empty passwords are stored.
TEST(Computers, ScrambledPasswordsAreProtectedInPlace) {
    TestDatabase t;
    ASSERT_TRUE(Add_Computer(t.db, "NEW", "admin", "fresh"));
    const std::string protectedNew = Stored(t, "CMP_PASSWORD", "NEW");
    for (const auto& [name, password] : {std::pair{"&PC", "o'ld"}, std::pair{"EMPTY", ""}}) {
        ASSERT_TRUE(t.Run_Sql("INSERT INTO COMPUTER_TBL (CMP_NAME,CMP_USERNAME,CMP_PASSWORD) VALUES('" +
                              Double_Quotes_Sql(Scramble_Text(name)) + "','','" +
                              Double_Quotes_Sql(Scramble_Text(password)) + "')"));
    }
    t.db.Attach_Password_Codec(nullptr);
    EXPECT_EQ(Protect_Scrambled_Passwords(t.db), 0);
    EXPECT_TRUE(Add_Computer(t.db, "LOCALHOST", "", ""));
    EXPECT_THROW(Add_Computer(t.db, "PC1", "admin", "secret"), RuntimeError);
    EXPECT_THROW(Update_Computer(t.db, "NEW", "admin", "secret"), RuntimeError);
    t.db.Attach_Password_Codec(&t.passwords);
    EXPECT_EQ(Protect_Scrambled_Passwords(t.db), 1);
    EXPECT_EQ(Protect_Scrambled_Passwords(t.db), 0);
    EXPECT_EQ(Stored(t, "CMP_PASSWORD", "&PC"), "DPAPI:" + Base64_Encode("fake-blob:dl'o"));
    EXPECT_EQ(Stored(t, "CMP_PASSWORD", "EMPTY"), "");
    EXPECT_EQ(Stored(t, "CMP_PASSWORD", "NEW"), protectedNew);
    EXPECT_EQ(Stored(t, "CMP_PASSWORD", "LOCALHOST"), "");
    EXPECT_EQ(Stored(t, "CMP_NAME", "PC1"), "<none>");
}

// A stored text found anywhere in a candidate, ignoring case, covers it; the
// hidden built-in entries too. The texts are held between tests; this
// connection's changes apply to the next test, another connection's once the
// interval for its commits passed.
TEST(Exceptions, ContainmentIgnoresCaseAndAChangeAppliesToTheNextCandidate) {
    TestDatabase t;
    EXPECT_FALSE(Is_In_Exception_List(t.db, "HKEY_USERS\\S-1\\Run\\Tool"));
    EXPECT_TRUE(Is_In_Exception_List(t.db, "C:\\pagefile.sys"));
    ResultTable added;
    ASSERT_TRUE(Add_Exception(t.db, "\\Run\\Tool", added, 2));
    EXPECT_TRUE(Is_In_Exception_List(t.db, "HKEY_USERS\\S-1\\Run\\Tool"));
    EXPECT_TRUE(Is_In_Exception_List(t.db, "x hkey_users\\s-1\\run\\toolX\\Settings"));
    EXPECT_FALSE(Is_In_Exception_List(t.db, "HKEY_USERS\\S-1\\Run\\Tol"));

    Database other(t.reporter);
    ASSERT_TRUE(other.Open_Database(t.path));
    ASSERT_TRUE(Run_Sql(other, "DELETE FROM EXCEPTION_TBL"));
    std::this_thread::sleep_for(Database::kOtherChangesInterval);
    EXPECT_FALSE(Is_In_Exception_List(t.db, "HKEY_USERS\\S-1\\Run\\Tool"));
    EXPECT_FALSE(Is_In_Exception_List(t.db, "C:\\pagefile.sys")) << "an empty table matches nothing";
}

// The dialogs never store an empty text, but an older or hand-edited
// database may hold one: it matches nothing. A closed connection matches
// nothing either.
TEST(Exceptions, AnEmptyStoredTextOrAClosedConnectionMatchesNothing) {
    TestDatabase t;
    ASSERT_TRUE(t.Run_Sql("DELETE FROM EXCEPTION_TBL"));
    ResultTable added;
    ASSERT_TRUE(Add_Exception(t.db, "", added, 2));
    EXPECT_FALSE(Is_In_Exception_List(t.db, "anything")) << "an empty text would match every candidate";
    t.db.Close_Database();
    EXPECT_FALSE(Is_In_Exception_List(t.db, "anything"));
}

// An older database has no column for the computers scanned at once: it
// reads the default until the program, opening it, adds the column. Every
// option bit survives, unknown ones and the sign bit too, and an apostrophe
// in the extension list cannot smuggle a second assignment into the statement.
TEST(Settings, AnOlderRowGetsTheComputersAtOnceAndEveryValueRoundTrips) {
    TestDatabase t;
    ASSERT_TRUE(t.Run_Sql("DROP TABLE SETTINGS_TBL"));
    ASSERT_TRUE(
        t.Run_Sql("CREATE TABLE SETTINGS_TBL (SETTINGS_ID INTEGER PRIMARY KEY, GENERAL_OPTIONS INTEGER NOT "
                  "NULL, EXTN TEXT NOT NULL DEFAULT '')"));
    ASSERT_TRUE(t.Run_Sql("INSERT INTO SETTINGS_TBL VALUES (1, 100, '.tmp;')"));
    std::int32_t count = 0;
    ASSERT_TRUE(Load_Computers_At_Once(t.db, count));
    EXPECT_EQ(count, 8);

    Migrate_Database(t.db, t.reporter);
    EXPECT_FALSE(Migrate_Settings_Table(t.db));  // once only
    EXPECT_NE(t.Log_Text().find("The settings table now keeps the computers scanned at once."), std::string::npos);
    ASSERT_TRUE(Load_Computers_At_Once(t.db, count));
    EXPECT_EQ(count, 8);
    for (const auto& [saved, read] : {std::pair{3, 3}, std::pair{40, 32}, std::pair{0, 1}}) {
        ASSERT_TRUE(Save_Computers_At_Once(t.db, saved));
        ASSERT_TRUE(Load_Computers_At_Once(t.db, count));
        EXPECT_EQ(count, read) << saved;
    }
    std::int32_t options = 0;
    std::string extn;
    ASSERT_TRUE(Load_Settings(t.db, options, extn));
    EXPECT_EQ(options, 100);
    for (const auto& [mask, extensions] :
         {std::pair{(-2147483647 - 1) | 1024 | 33, ".tmp;.o'ld;"}, std::pair{0, "', GENERAL_OPTIONS=9 --"}}) {
        ASSERT_TRUE(Save_Settings(t.db, mask, extensions));
        ASSERT_TRUE(Load_Settings(t.db, options, extn));
        EXPECT_EQ(options, mask);
        EXPECT_EQ(extn, extensions);
    }
    EXPECT_TRUE(t.messages.shown.empty());

    // A failed statement is passed on without a second message.
    ASSERT_TRUE(t.Run_Sql("DROP TABLE SETTINGS_TBL"));
    EXPECT_THROW(Load_Settings(t.db, options, extn), RuntimeError);
    EXPECT_EQ(t.messages.shown.size(), 1u);
}

}  // namespace
}  // namespace corvane
