#include "computers/computer_list.h"

#include <gtest/gtest.h>

#include "db/app_tables.h"
#include "support/test_database.h"

namespace corvane {
namespace {

using testing::TestDatabase;

struct FakeMainTree final : IMainComputerTree {
    void Computer_Added(std::string_view name) override { log += "+" + std::string(name) + " "; }
    void Computer_Removed(std::string_view name) override { log += "-" + std::string(name) + " "; }
    std::string log;
};

struct ComputerListTest : ::testing::Test {
    std::vector<std::string> Names() const {
        std::vector<std::string> names;
        for (const ComputerRow& row : list.Rows()) names.push_back(row.name);
        return names;
    }
    std::string Stored_Password(std::string_view name) {
        std::string user;
        Secret password;
        EXPECT_TRUE(Get_Computer_Credentials(t.db, name, user, password));
        return std::string(password.View());
    }

    TestDatabase t;
    FakeMainTree tree;
    ComputerList list{t.db, t.reporter, tree, "Workstation"};
};

TEST(ComputerRules, NamesAndUserNames) {
    using Strings = std::vector<std::string>;
    const std::string longest(100, 'A');
    const std::string umlaut = "M\xC3\x9CLLER" + std::string(94, 'A');  // 100 characters, 101 bytes
    const std::string bullet = "\xE2\x80\xA2" + longest;
    for (const std::string& name : Strings{"SERVER-01", "PC.LAB_1%", longest, umlaut}) {
        EXPECT_TRUE(Is_Valid_Computer(name)) << name;
        EXPECT_TRUE(Is_Valid_User_Name(name)) << name;
    }
    for (const std::string& name : Strings{"", "MY PC", longest + "A", bullet, "a~b", "a'b"}) {
        EXPECT_FALSE(Is_Valid_Computer(name)) << name;
        EXPECT_TRUE(Is_Valid_User_Name(name)) << name;
    }
    for (const std::string& name : Strings{"DOMAIN\\USER", "a/b", "x=y"}) {
        EXPECT_FALSE(Is_Valid_Computer(name)) << name;
        EXPECT_FALSE(Is_Valid_User_Name(name)) << name;
    }
    for (const char* local : {"localhost", "LoopBack", "WORKSTATION", "workstation"}) {
        EXPECT_TRUE(Is_Local_Computer_Name(local, "Workstation")) << local;
    }
    EXPECT_FALSE(Is_Local_Computer_Name("WORKSTATION2", "Workstation"));
    EXPECT_TRUE(Is_Local_Computer_Name("m\xC3\xBCller", "M\xC3\x9CLLER"));
    // One bullet per character, whatever its UTF-8 length.
    EXPECT_EQ(Password_Bullets(Secret(std::string_view("\xC3\xBC\xE2\x82\xAC"))), "\xE2\x80\xA2\xE2\x80\xA2");
}

TEST_F(ComputerListTest, AddValidatesInOrderAndKeepsTheCredentialsForTheNext) {
    struct Case {
        const char* name;
        const char* user;
        AddOutcome outcome;
        std::vector<std::string> messages;
    };
    const Case cases[] = {
        {"  server-01 ", "admin", AddOutcome::Added, {}},
        {"Server-01", "admin", AddOutcome::AlreadyInList, {"Computer Already Exists!"}},
        {"bad name", "x\\y", AddOutcome::InvalidName, {"Please enter a valid Computer Name!"}},
        {"PC2", "x\\y", AddOutcome::InvalidUserName, {"Please enter a valid User Name!"}},
        {"PC3", "", AddOutcome::Added, {}},
        {"m\xC3\xBCller", "", AddOutcome::Added, {}},
        {"M\xC3\x9CLLER", "", AddOutcome::AlreadyInList, {"Computer Already Exists!"}},
    };
    for (const Case& c : cases) {
        t.messages.shown.clear();
        EXPECT_EQ(list.Add(c.name, c.user, Secret(std::string_view("pw"))), c.outcome) << c.name;
        std::vector<std::string> shown;
        for (const auto& message : t.messages.shown) shown.push_back(message.text);
        EXPECT_EQ(shown, c.messages) << c.name;
    }
    EXPECT_EQ(Names(), (std::vector<std::string>{"SERVER-01", "PC3", "M\xC3\x9CLLER"}));
    EXPECT_EQ(tree.log, "+SERVER-01 +PC3 +M\xC3\x9CLLER ");
    EXPECT_EQ(Stored_Password("SERVER-01"), "pw");
}

TEST_F(ComputerListTest, DeleteAsksAndRemovesTheCheckedRowsFromTheLast) {
    for (const char* name : {"A1", "A2", "A3", "A4"}) list.Add(name, "", Secret());
    for (std::size_t i : {0u, 1u, 3u}) list.Set_Checked(i, true);
    t.messages.Queue_Answer(MsgResult::No);
    list.Delete_Checked();
    EXPECT_EQ(list.Rows().size(), 4u);
    list.Delete_Checked();
    EXPECT_EQ(Names(), (std::vector<std::string>{"A3"}));
    EXPECT_EQ(tree.log, "+A1 +A2 +A3 +A4 -A4 -A2 -A1 ");

    list.Fill_Computer_List();
    EXPECT_EQ(Names(), (std::vector<std::string>{"A3"}));
}

TEST_F(ComputerListTest, CredentialsEditedInPlaceOrSetForAllButTheLocalComputer) {
    list.Add("PC1", "admin", Secret(std::string_view("old")));
    EXPECT_TRUE(list.Edit_Credentials(0, EditedColumn::Password, "old"));  // leaving without typing
    EXPECT_TRUE(list.Edit_Credentials(0, EditedColumn::UserName, "root"));
    EXPECT_FALSE(list.Edit_Credentials(0, EditedColumn::UserName, "a|b"));
    EXPECT_EQ(list.Rows()[0].userName, "root");
    EXPECT_EQ(Stored_Password("PC1"), "old");
    EXPECT_TRUE(list.Edit_Credentials(0, EditedColumn::Password, "new"));
    EXPECT_EQ(Stored_Password("PC1"), "new");
    EXPECT_EQ(Password_Bullets(list.Rows()[0].password), "\xE2\x80\xA2\xE2\x80\xA2\xE2\x80\xA2");

    for (const char* name : {"workstation", "LOCALHOST"}) list.Add(name, "", Secret());
    struct Case {
        MsgResult answer;
        const char* user;
        const char* password;
        SameOutcome outcome;
    };
    const Case cases[] = {
        {MsgResult::No, "admin", "s3cret", SameOutcome::Declined},
        {MsgResult::Yes, "", "s3cret", SameOutcome::EmptyUserName},
        {MsgResult::Yes, "admin", "", SameOutcome::EmptyPassword},
        {MsgResult::Yes, "admin", "s3cret", SameOutcome::Done},
    };
    for (const Case& c : cases) {
        t.messages.Queue_Answer(c.answer);
        EXPECT_EQ(list.Set_Same_User_Name_Password(c.user, Secret(std::string_view(c.password))), c.outcome);
    }
    for (const ComputerRow& row : list.Rows()) {
        EXPECT_EQ(row.userName, row.name == "PC1" ? "admin" : "") << row.name;
        EXPECT_EQ(Stored_Password(row.name), row.name == "PC1" ? "s3cret" : "") << row.name;
    }
}

TEST_F(ComputerListTest, ImportAndExport) {
    EXPECT_FALSE(list.Can_Export());
    EXPECT_EQ(t.messages.shown.back().text, "There is no item to export!");
    list.Import("pc1, \"pc2\" ,pc1\r\n\r\n  \r\nlocalhost,bad name,\"x,y\"\r\npc3", "admin",
                Secret(std::string_view("pw")));
    EXPECT_EQ(Names(), (std::vector<std::string>{"PC1", "PC2", "LOCALHOST", "PC3"}));
    EXPECT_EQ(Stored_Password("PC2"), "pw");
    EXPECT_EQ(Stored_Password("LOCALHOST"), "");
    EXPECT_EQ(list.Rows()[2].userName, "");
    ASSERT_TRUE(list.Can_Export());
    EXPECT_EQ(list.Export_Text(), "PC1\r\nPC2\r\nLOCALHOST\r\nPC3\r\n");  // names only

    // Browsed names come as the network reports them: not validated, not upper-cased.
    list.Add_Browsed({"pc1", "Lab Server", "loopback"}, "admin", Secret(std::string_view("pw")));
    EXPECT_EQ(Names(), (std::vector<std::string>{"PC1", "PC2", "LOCALHOST", "PC3", "Lab Server", "loopback"}));
    EXPECT_EQ(Stored_Password("loopback"), "");
}

}  // namespace
}  // namespace corvane
