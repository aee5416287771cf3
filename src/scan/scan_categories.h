// The table of scan categories (node key, display name, image key, section
// header) and Fill_Scan_Categories, which builds the category tree of the
// main window from it. The category routines themselves belong to the scan.
#pragma once

#include <span>
#include <string_view>

namespace corvane {

class CheckTree;

struct ScanCategory {
    std::string_view key;            // "fA": family letter and category letter
    std::string_view displayName;    // node text; the family routine dispatches on it
    std::string_view imageKey;       // small icon of the node and of the rows
    std::string_view sectionHeader;  // text of the category's header row
    // A user's own files (downloads) are listed unchecked: neither automatic
    // fixing nor the console's fix takes them unless the administrator checks them.
    bool rowsStartChecked = true;
};

// Every category in tree order.
[[nodiscard]] std::span<const ScanCategory> Scan_Categories();
// The category with this node key, or nullptr.
[[nodiscard]] const ScanCategory* Find_Scan_Category(std::string_view key);

// Clears the tree and fills it: "rR" with the groups "gR", "gD", "gI", "gX"
// and their categories, then the second root "gW" with "wA"; expands the
// group nodes and selects "rR".
void Fill_Scan_Categories(CheckTree& tree);

}  // namespace corvane
