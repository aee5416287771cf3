#include "app/main_window_presenter.h"

#include <gtest/gtest.h>

#include "app/application.h"
#include "app/main_window_layout.h"
#include "base/file_path.h"
#include "base/ui/results_list.h"
#include "db/app_tables.h"
#include "support/test_database.h"
#include "support/window_fakes.h"

namespace corvane {
namespace {

using namespace corvane::testing;

class MainWindowLogic : public ::testing::Test {
protected:
    MainWindowLogic() {
        platform.programFolder = Path_Utf8(folder.Path());
        platform.systemDirectory = Path_Utf8(folder.Path());
        const std::string dbPath = platform.programFolder + "\\nwcvninfo.dll";
        Create_Installed_Database(dbPath);
        platform.existingFiles = {dbPath};
        EXPECT_EQ(app.Main([](Application&) {}), Application::StartResult::WindowShown);
    }
    // Checked rows: a header, or a problem when its key starts with "s" or "c".
    void Add_Rows(std::initializer_list<std::string> keys) {
        for (const std::string& key : keys) {
            const bool problem = key[0] == 's' || key[0] == 'c';
            results.Add_List_Item(0, key, problem ? "p" : "[x]", "", "File", problem ? 1 : 0).checked = true;
        }
    }
    void Expect_Checked(std::initializer_list<std::pair<const char*, bool>> rows) {
        for (const auto& [key, checked] : rows) EXPECT_EQ(results.Row(results.Find(key)).checked, checked) << key;
    }
    void Load_Computers(std::initializer_list<const char*> names) {
        for (const char* name : names) ASSERT_TRUE(Add_Computer(app.Db(), name, "u", ""));
        presenter.Load();
    }
    std::vector<std::string> Computer_Texts() {
        std::vector<std::string> texts;
        for (const NodeId node : computers.Tree_Order()) texts.push_back(computers.Node(node).text);
        return texts;
    }

    TempFolder folder;
    FakePlatform platform;
    FakeClock clock;
    FakeMessageBox messages;
    Application app{platform, clock, messages};
    FakeSettingsStore settings;
    CheckTree computers;
    CheckTree categories;
    ResultsList results;
    MainWindowPresenter presenter{app, settings, computers, categories, results};
};

// The first start shows the local computer; managed computers replace it in
// the order the database returns them (that of the names as stored); an
// unreadable list is reported and leaves the root and the local computer.
TEST_F(MainWindowLogic, ComputerTreeOfTheLocalComputerManagedOnesOrAnUnreadableList) {
    (void)presenter.Load();  // the default placement and sizes: the main window's GUI test, in pixels
    EXPECT_EQ((settings.values[{"GeneralInfo", "Times"}]), "1");
    EXPECT_EQ((settings.values[{"GeneralInfo", "LastRun"}]), "12/5/2026 2:03:09 PM");
    const std::vector<std::string> localOnly{"Computers", "WORKSTATION"};
    EXPECT_EQ(Computer_Texts(), localOnly);

    Load_Computers({"PC2", "PC1", "LAB-07"});
    EXPECT_EQ((settings.values[{"GeneralInfo", "Times"}]), "2");
    EXPECT_EQ(Computer_Texts(), (std::vector<std::string>{"Computers", "LAB-07", "PC2", "PC1"}));

    ASSERT_TRUE(Run_Sql(app.Db(), "DROP TABLE COMPUTER_TBL"));
    presenter.Load();
    EXPECT_EQ(Computer_Texts(), localOnly);
    ASSERT_FALSE(messages.shown.empty());
    EXPECT_EQ(messages.shown.back().icon, MsgIcon::Critical);
}

// Bad stored values are handled; a maximized close keeps the last normal
// placement for the restore and still stores the panes.
TEST_F(MainWindowLogic, StoredLayoutIsReadBackAndAMaximizedCloseKeepsTheNormalPlacement) {
    settings.SaveSetting("MainWindow", "WindowLeft", "120");
    settings.SaveSetting("MainWindow", "WindowWidth", "abc");  // not a number: 0, raised to the minimum
    settings.SaveSetting("RightPane", "CH4", "6000");
    settings.SaveSetting("View", "Font", "12");
    MainWindowSettings s = Load_Main_Window_Settings(settings);
    EXPECT_EQ(s.left, 120);
    EXPECT_EQ(s.width, kMinimumWindowWidth);
    EXPECT_EQ(s.columnWidths[3], 6000);
    EXPECT_EQ(s.fontSize, 8);

    s.windowState = WindowState::Maximized;
    s.left = 0;
    s.leftPaneWidth = 3000;
    presenter.Save_On_Unload(s);
    s = Load_Main_Window_Settings(settings);
    EXPECT_EQ(s.windowState, WindowState::Maximized);
    EXPECT_EQ(s.left, 120);
    EXPECT_EQ(s.leftPaneWidth, 3000);
}

TEST_F(MainWindowLogic, ComputerChecksReachTheirHeadersAndProblemRowsOnly) {
    Load_Computers({"PC1", "PC17"});
    computers.Set_Checked(computers.Find("rR"), true);
    Add_Rows({"fAPC1", "s0", "s1", "fAPC17", "s2"});
    results.Add_List_Item(0, "ePC1", "PC1", "", "Error", 0).checked = true;

    presenter.Computer_Node_Checked(computers.Find("mPC1"), false);
    Expect_Checked({{"fAPC1", false}, {"s0", false}, {"s1", false}, {"fAPC17", true}, {"s2", true}, {"ePC1", true}});

    // Unchecking the root unchecks every computer and all their rows.
    presenter.Computer_Node_Checked(computers.Find("rR"), false);
    for (const NodeId node : computers.Tree_Order()) EXPECT_FALSE(computers.Node(node).checked);
    Expect_Checked({{"fAPC17", false}, {"s2", false}});
}

TEST_F(MainWindowLogic, CategoryChecksReachTheHeadersOfEveryComputer) {
    Load_Computers({"PC1", "PC2"});
    Add_Rows({"fAPC1", "s0", "fBPC1", "s1", "fAPC2", "s2", "dAPC2", "c3"});

    presenter.Category_Node_Checked(categories.Find("fA"), true);  // it was unchecked in the tree
    presenter.Category_Node_Checked(categories.Find("fA"), false);
    Expect_Checked({{"fAPC1", false}, {"s0", false}, {"fAPC2", false}, {"s2", false}, {"fBPC1", true}, {"s1", true}});

    categories.Set_Checked(categories.Find("gR"), true);
    presenter.Category_Node_Checked(categories.Find("gR"), false);  // the group reaches its categories
    Expect_Checked({{"fBPC1", false}, {"s1", false}, {"dAPC2", true}, {"c3", true}});
}

TEST_F(MainWindowLogic, CloseAsksOnlyWhenUnfixedProblemsAreListed) {
    Add_Rows({"fAPC1"});  // a header alone is no problem
    EXPECT_TRUE(presenter.Query_Unload());
    EXPECT_TRUE(messages.shown.empty());

    Add_Rows({"s1"});
    messages.Queue_Answer(MsgResult::No);
    EXPECT_FALSE(presenter.Query_Unload());
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text,
              "There are un-fixed items in the list.\r\n\r\n"
              "Are you sure you want to close the program without fixing the issues?");
    EXPECT_TRUE(presenter.Query_Unload());
}

TEST_F(MainWindowLogic, ClearListAsksWhenRowsExistAndResetsComputerImages) {
    presenter.Load();
    EXPECT_TRUE(presenter.Clear_List());  // empty: no question
    EXPECT_TRUE(messages.shown.empty());
    computers.Set_Image(1, "ComputerLocked");
    Add_Rows({"fAWORKSTATION"});
    messages.Queue_Answer(MsgResult::No);
    EXPECT_FALSE(presenter.Clear_List());
    EXPECT_EQ(results.Count(), 1u);
    EXPECT_TRUE(presenter.Clear_List());
    EXPECT_EQ(results.Count(), 0u);
    EXPECT_EQ(computers.Node(1).image, "Computer");
    EXPECT_EQ(computers.Node(0).image, "Root");
}

// Below its thresholds the list keeps its size rather than shrink to nothing.
TEST(MainWindowLayout, TheListKeepsItsSizeBelowTheThresholds) {
    // The inside's width and height, the heights of the cool bar and the
    // status bar, the left pane's width and height, the trees' and list's places.
    const RectTwips small{0, 0, 100, 100};
    const LayoutResult out = Layout_Main_Window({8999, 4500, 600, 300, 4500, 2500, small, small, 0, 0});
    EXPECT_EQ(out.list.width, 100);
    EXPECT_EQ(out.list.height, 100);
    EXPECT_EQ(out.categoryTree.height, 100);  // would be 1440 or less
}

TEST(MainWindowLayout, SplittersMoveOnlyBeyondTheirMinimums) {
    const LayoutInput in{12000, 8000, 600, 300, 4500, 2500, {}, {}, 0, 0};  // the default window, in twips
    const LayoutResult out = Layout_Main_Window(in);
    EXPECT_EQ(Splitter_At(out, out.computerTree.Right() + 10, 2000), Splitter::Vertical);
    EXPECT_EQ(Splitter_At(out, 1000, out.computerTree.Bottom() + 10), Splitter::Horizontal);
    EXPECT_EQ(Splitter_At(out, 1000, 1000), Splitter::None);

    EXPECT_EQ(Drag_Splitter(in, Splitter::Vertical, 3060, 0).leftPaneWidth, 3000);
    EXPECT_EQ(Drag_Splitter(in, Splitter::Vertical, 999, 0).leftPaneWidth, 4500);
    EXPECT_EQ(Drag_Splitter(in, Splitter::Horizontal, 0, 2000).leftPaneHeight, 2000 - 660);
    EXPECT_EQ(Drag_Splitter(in, Splitter::Horizontal, 0, 1439).leftPaneHeight, 2500);
}

}  // namespace
}  // namespace corvane
