#include "base/ui/check_tree.h"

#include <gtest/gtest.h>

#include "app/main_window_settings.h"
#include "scan/scan_categories.h"
#include "support/window_fakes.h"

namespace corvane {
namespace {

std::vector<std::string> Keys(const CheckTree& tree, const std::vector<NodeId>& nodes) {
    std::vector<std::string> keys;
    for (const NodeId node : nodes) keys.push_back(tree.Node(node).key);
    return keys;
}

TEST(CheckTree, TreeOrderIsDepthFirstAndCheckingANodeReachesEveryNodeBelow) {
    CheckTree tree;
    const NodeId root = tree.Add(kNoNode, "rR", "", "");
    tree.Add(tree.Add(kNoNode, "zZ", "", ""), "z1", "", "");  // a second root, added before the first's children
    const NodeId g = tree.Add(root, "gR", "", "");
    tree.Add(g, "fA", "", "");
    const NodeId fb = tree.Add(g, "fB", "", "");
    tree.Add(root, "gD", "", "");
    EXPECT_EQ(Keys(tree, tree.Tree_Order()), (std::vector<std::string>{"rR", "gR", "fA", "fB", "gD", "zZ", "z1"}));
    EXPECT_THROW(tree.Add(root, "fB", "", ""), std::invalid_argument);
    EXPECT_EQ(tree.Find("fA"), 4u);
    EXPECT_EQ(tree.Find("zz"), kNoNode);

    // Checking reports only the nodes that changed.
    tree.Set_Checked_Only(fb, true);
    EXPECT_EQ(Keys(tree, tree.Set_Checked(root, true)), (std::vector<std::string>{"rR", "gR", "fA", "gD"}));
    EXPECT_EQ(tree.Count_Checked_Nodes(), 2);  // fA and fB; rR and groups do not count
    EXPECT_EQ(Keys(tree, tree.Set_Checked(g, false)), (std::vector<std::string>{"gR", "fA", "fB"}));
    EXPECT_TRUE(tree.Node(root).checked);
}

TEST(LastCategories, RoundTripAndShortTextLeavesTheRestUnchecked) {
    CheckTree tree;
    Fill_Scan_Categories(tree);
    testing::FakeSettingsStore store;
    Restore_Last_Categories(store, tree);  // nothing stored: nothing checked
    EXPECT_EQ(Last_Categories_Text(tree), std::string(52, '0'));

    tree.Set_Checked(tree.Find("gD"), true);
    Save_Last_Categories(store, tree);
    const std::string saved = store.values[{"Categories", "LastCategories"}];
    EXPECT_EQ(saved, std::string(15, '0') + std::string(11, '1') + std::string(26, '0'));

    CheckTree again;
    Fill_Scan_Categories(again);
    again.Set_Checked(again.Find("rR"), true);
    store.values[{"Categories", "LastCategories"}] = "011";  // shorter than the tree
    Restore_Last_Categories(store, again);
    EXPECT_EQ(Last_Categories_Text(again), "011" + std::string(49, '0'));

    // Saved before the Chromium group: the systemwide search stays checked.
    store.values[{"Categories", "LastCategories"}] = std::string(40, '0') + "11";
    Restore_Last_Categories(store, again);
    EXPECT_EQ(Last_Categories_Text(again), std::string(50, '0') + "11");
}

}  // namespace
}  // namespace corvane
