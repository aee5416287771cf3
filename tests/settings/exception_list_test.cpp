#include "settings/exception_list.h"

#include <gtest/gtest.h>

#include "support/test_database.h"

namespace corvane {
namespace {

using testing::TestDatabase;

struct ExceptionListTest : ::testing::Test {
    ExceptionListTest() {
        EXPECT_TRUE(t.Run_Sql("DELETE FROM EXCEPTION_TBL"));
        EXPECT_TRUE(
            t.Run_Sql("INSERT INTO EXCEPTION_TBL (REGISTRY_KEY,EXCEPTION_TYPE) VALUES "
                      "('user one',2),('hidden',0),('internal',1)"));
        list.Fill_Exception_List();
    }
    std::vector<std::string> Texts() const {
        std::vector<std::string> texts;
        for (const ExceptionRow& row : list.Rows()) texts.push_back(row.text);
        return texts;
    }
    void Select_Only(std::initializer_list<std::size_t> rows) {
        for (std::size_t i = 0; i < list.Rows().size(); ++i) list.Set_Selected(i, false);
        for (std::size_t i : rows) list.Set_Selected(i, true);
    }

    TestDatabase t;
    ExceptionList list{t.db, t.reporter};
};

TEST_F(ExceptionListTest, InternalFirstHiddenNeverAndOnlyUserEntriesEditable) {
    EXPECT_EQ(Texts(), (std::vector<std::string>{"internal", "user one"}));
    struct Case {
        std::initializer_list<std::size_t> selected;
        bool allowed;
    };
    for (const Case& c : {Case{{}, false}, Case{{1}, true}, Case{{0}, false}, Case{{0, 1}, false}}) {
        Select_Only(c.selected);
        EXPECT_EQ(list.Edit_Allowed(), c.allowed) << c.selected.size();
    }
}

TEST_F(ExceptionListTest, ImportSkipsBlanksAndDuplicatesAndKeepsQuotedCommas) {
    // Only user entries count as duplicates, and only with the same case.
    list.Import("a,b\r\n\r\n   \r\n\"c,d\"\r\na\r\nuser one\r\nUSER ONE\r\ninternal\r\n");
    EXPECT_EQ(Texts(), (std::vector<std::string>{"internal", "user one", "a", "b", "c,d", "USER ONE", "internal"}));
    EXPECT_EQ(list.Export_Text(), "user one\r\na\r\nb\r\nc,d\r\nUSER ONE\r\ninternal\r\n");  // no built-in entry
}

// Delete asks first and removes only the selected user entries, by their ids.
TEST_F(ExceptionListTest, DeleteAsksAndRemovesOnlySelectedUserEntries) {
    list.Import("x");
    Select_Only({});
    list.Delete_Selected();
    EXPECT_EQ(t.messages.shown.back().text, "Please select atleast one Item!");
    Select_Only({0, 2});
    list.Delete_Selected();  // the fake answers Yes
    EXPECT_EQ(t.messages.shown.back().text, "Are you sure you want to delete the selected Exceptions?");
    EXPECT_EQ(Texts(), (std::vector<std::string>{"internal", "user one"}));
    list.Fill_Exception_List();
    EXPECT_EQ(Texts(), (std::vector<std::string>{"internal", "user one"}));
}

TEST_F(ExceptionListTest, ConfirmAddsEditsAndRefusesAnExistingText) {
    struct Case {
        ExceptionEditMode mode;
        const char* text;
        ConfirmOutcome outcome;
        std::vector<std::string> texts;
    };
    const Case cases[] = {
        {ExceptionEditMode::Add, "   ", ConfirmOutcome::RefocusEmpty, {"internal", "user one"}},
        {ExceptionEditMode::Edit, "user one", ConfirmOutcome::StayOpen, {"internal", "user one"}},
        {ExceptionEditMode::Add, " it's ", ConfirmOutcome::Close, {"internal", "user one", "it's"}},
        {ExceptionEditMode::Edit, "O'Brien", ConfirmOutcome::Close, {"internal", "O'Brien", "it's"}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(list.Confirm(c.mode, c.text, 1), c.outcome) << c.text;
        EXPECT_EQ(Texts(), c.texts) << c.text;
    }
    EXPECT_EQ(t.messages.shown.front().text, "Exception already in the list!");
    list.Fill_Exception_List();
    EXPECT_EQ(Texts(), (std::vector<std::string>{"internal", "O'Brien", "it's"}));
}

}  // namespace
}  // namespace corvane
