#include "scan/scan_categories.h"

#include <gtest/gtest.h>

#include "base/runtime_error.h"
#include "base/ui/check_tree.h"
#include "scan/category_run.h"
#include "scan/scan_control.h"
#include "scan/scan_settings.h"
#include "scan_world.h"

namespace corvane::scan::testing {
namespace {

bool Is_Registry_Type(FixType type) {
    return type == FixType::KeyTree || type == FixType::Key || type == FixType::Value;
}

// The tree, the routine dispatch and the fix's re-test read one table: every
// leaf is a category with a routine, its groups are open and the root is
// selected, and each row kind a category builds has one rule that fits it.
TEST(CategoryTable, EveryLeafHasARoutineAndEachRowKindOneFittingRule) {
    CheckTree tree;
    Fill_Scan_Categories(tree);
    const NodeId root = tree.Find("rR");
    EXPECT_EQ(tree.Selected(), root);
    std::size_t leaves = 0;
    for (const NodeId node : tree.Tree_Order()) {
        const std::string& key = tree.Node(node).key;
        if (key == "rR" || key[0] == 'g') {
            EXPECT_TRUE(tree.Node(node).expanded) << key;
            continue;
        }
        ++leaves;
        const ScanCategory* category = Find_Scan_Category(key);
        ASSERT_NE(category, nullptr) << key;
        EXPECT_EQ(tree.Node(node).text, category->displayName);
        EXPECT_NE(category->routine, nullptr) << key;
        EXPECT_FALSE(category->rules.empty()) << key;
        for (const RecheckRule& rule : category->rules) {
            EXPECT_EQ(fix::Find_Rule(category->rules, rule.type), &rule) << key;
            // Files and folders are taken while still there; registry rows test their reason.
            EXPECT_EQ(Is_Registry_Type(rule.type), rule.reason != Reason::EntryPresent &&
                                                       rule.reason != Reason::EntryPresentProgramClosed &&
                                                       rule.reason != Reason::ShortcutTargetMissing)
                << key;
        }
        const NodeId group = tree.Node(node).parent;
        ASSERT_NE(group, kNoNode) << key;
        EXPECT_EQ(tree.Node(group).key[0], 'g') << key;
        if (key != "wA") {
            EXPECT_EQ(tree.Node(group).parent, root) << key;
        }
    }
    EXPECT_EQ(leaves, Scan_Categories().size());
}

// The scan cannot build a row the fix would have no rule for.
TEST(CategoryTable, ARowKindWithoutARuleIsRefused) {
    ScanWorld world;
    ScanControl control;
    DatabaseScanSettings settings(world.data.db);
    ScanArguments args{control, world.List(), world.progress, settings, world.target, "fM"};
    CategoryRun run(args);
    RegistryProblem registryRow;
    registryRow.type = FixType::KeyTree;
    EXPECT_THROW(run.Add_Registry_Problem(registryRow), RuntimeError);
    EXPECT_THROW(run.Add_File_Problem(FileProblem(), false), RuntimeError);
    registryRow.type = FixType::Value;
    run.Add_Registry_Problem(registryRow);
    EXPECT_EQ(run.Found(), 1);
}

}  // namespace
}  // namespace corvane::scan::testing
