#include "scan/scan_categories.h"

#include <algorithm>
#include <array>
#include <string>
#include <utility>
#include <vector>

#include "base/ui/check_tree.h"

namespace corvane {

namespace {

// The family letters in tree order.
constexpr std::string_view kFamilyOrder = "fdixbw";

std::vector<ScanCategory> Gather_Categories() {
    std::vector<ScanCategory> all;
    for (const auto family : {&scan::Registry_Entry_Categories, &scan::Class_Categories, &scan::Software_Categories,
                              &scan::Trace_Categories, &scan::Disk_Categories, &scan::Browser_Categories,
                              &scan::Chromium_Categories, &scan::Systemwide_Categories}) {
        const std::span<const ScanCategory> categories = family();
        all.insert(all.end(), categories.begin(), categories.end());
    }
    std::ranges::sort(all, {}, [](const ScanCategory& category) {
        return std::pair(kFamilyOrder.find(category.key[0]), category.key[1]);
    });
    return all;
}

const std::vector<ScanCategory>& Categories() {
    static const std::vector<ScanCategory> table = Gather_Categories();
    return table;
}

struct Group {
    char family;
    const char* key;
    const char* text;
    const char* image;
};

constexpr std::array<Group, 5> kGroupsUnderRoot{{
    {'f', "gR", "Registry Clean Up", "Registry"},
    {'d', "gD", "Disk Clean Up", "DiskCleanUp"},
    {'i', "gI", "IE", "IEUrlHistory"},
    {'x', "gX", "Firefox", "Firefox"},
    {'b', "gB", "Chromium Browsers", "Chromium"},
}};

void Add_Family(CheckTree& tree, NodeId group, char family) {
    for (const ScanCategory& category : Categories()) {
        if (category.key[0] != family) continue;
        tree.Add(group, std::string(category.key), std::string(category.displayName), std::string(category.imageKey));
    }
}

}  // namespace

std::span<const ScanCategory> Scan_Categories() { return Categories(); }

const ScanCategory* Find_Scan_Category(std::string_view key) {
    for (const ScanCategory& category : Categories()) {
        if (category.key == key) return &category;
    }
    return nullptr;
}

std::span<const fix::RecheckRule> Category_Recheck_Rules(std::string_view key) {
    const ScanCategory* category = Find_Scan_Category(key);
    return category != nullptr ? category->rules : std::span<const fix::RecheckRule>();
}

void Fill_Scan_Categories(CheckTree& tree) {
    tree.Clear();
    const NodeId root = tree.Add(kNoNode, "rR", "Scanning Categories", "Group");
    for (const Group& group : kGroupsUnderRoot) {
        const NodeId node = tree.Add(root, group.key, group.text, group.image);
        Add_Family(tree, node, group.family);
    }
    const NodeId systemwide = tree.Add(kNoNode, "gW", "Systemwide Search", "File");
    Add_Family(tree, systemwide, 'w');
    for (const char* key : {"rR", "gR", "gD", "gI", "gX", "gB", "gW"}) tree.Set_Expanded(tree.Find(key), true);
    tree.Select(root);
}

}  // namespace corvane
