#include "console/cvnscan_run.h"

#include <algorithm>
#include <map>
#include <set>

#include "base/file_path.h"
#include "base/reporter.h"
#include "base/runtime_error.h"
#include "base/text.h"
#include "base/ui/results_list.h"
#include "base/ui/results_list_ops.h"
#include "console/console_progress.h"
#include "console/console_window.h"
#include "console/csv_output.h"
#include "db/app_tables.h"
#include "scan/scan_categories.h"
#include "scan/scan_driver.h"
#include "scan/scan_target.h"

namespace corvane::console {

namespace {

std::string Quoted(std::string_view text) { return "\"" + Replace_All(text, "\"", "\"\"") + "\""; }

std::vector<std::string> Default_Computers(Database& db, const std::string& localName) {
    std::vector<std::string> names;
    std::int32_t rows = 0;
    ResultTable table;
    try {
        if (Get_All_Computers(db, rows, table)) {
            for (std::int32_t r = 1; r <= rows; ++r) names.push_back(table.Cell(static_cast<std::size_t>(r), 0));
        }
    } catch (const RuntimeError&) {
        names.clear();  // reported by the database layer; the local computer stands in, as in the window
    }
    if (names.empty()) names.push_back(localName);
    return names;
}

void Fill_Computers(ConsoleWindow& window, const std::vector<std::string>& names) {
    CheckTree& tree = window.Computer_Tree();
    tree.Clear();
    const NodeId root = tree.Add(kNoNode, "rR", "Computers", "Root");
    std::set<std::string> seen;
    for (const std::string& name : names) {
        const std::string trimmed = Trim(name);
        if (trimmed.empty() || !seen.insert(Upper_Text(trimmed)).second) continue;
        const NodeId node = tree.Add(root, "m" + trimmed, trimmed, "Computer");
        tree.Set_Checked_Only(node, true);
    }
    tree.Set_Checked_Only(root, true);
}

void Write_Error_Rows(const ResultsList& list, std::ostream& err) {
    for (std::size_t i = 0; i < list.Count(); ++i) {
        const ListRow& row = list.Row(i);
        if (Kind_Of_Key(row.key) != RowKind::Error) continue;
        err << Quoted(row.text) << "," << Quoted(row.computerName) << "," << Quoted(row.status) << '\n';
    }
}

bool Write_Results(const ConsoleOptions& options, const ResultsList& list, const Reporter& reporter, std::ostream& out,
                   std::ostream& err) {
    const std::string text = Results_Clipboard_Text(list);
    if (options.csvFile.empty()) {
        out << text;
        out.flush();
        return true;
    }
    const CsvWriteResult result = Write_Csv_File(options.csvFile, [&](std::ostream& file) { file << text; });
    if (!result.written) {
        err << result.error << '\n';
        reporter.Log_Event(result.error, LOG_ERROR);
    }
    return result.written;
}

// One log line per computer of the run, in list order, for whoever reads the
// logs of many unattended runs: what was found, fixed and left.
void Log_Summaries(const ResultsList& list, const Reporter& reporter) {
    struct Counts {
        int found = 0;
        int fixed = 0;
        std::string error;
    };
    std::vector<std::string> order;
    std::map<std::string, Counts> computers;
    std::string current;
    for (std::size_t i = 0; i < list.Count(); ++i) {
        const ListRow& row = list.Row(i);
        const RowKind kind = Kind_Of_Key(row.key);
        if (kind == RowKind::Header || kind == RowKind::Error) {
            current = row.computerName;
            if (computers.find(current) == computers.end()) order.push_back(current);
            Counts& counts = computers[current];
            if (kind == RowKind::Error) counts.error = row.status;
        } else if (!current.empty()) {
            Counts& counts = computers[current];
            ++counts.found;
            if (row.Is_Fixed()) ++counts.fixed;
        }
    }
    for (const std::string& name : order) {
        const Counts& counts = computers[name];
        std::string line = "Summary of " + name + ": " + std::to_string(counts.found) + " problems found, " +
                           std::to_string(counts.fixed) + " fixed, " + std::to_string(counts.found - counts.fixed) +
                           " not fixed";
        if (!counts.error.empty()) line += "; not scanned whole: " + counts.error;
        reporter.Log_Event(line, counts.error.empty() ? LOG_INFO : LOG_WARNING);
    }
}

}  // namespace

std::string Category_List_Text() {
    CheckTree tree;
    Fill_Scan_Categories(tree);
    std::string text = "Category keys (--category KEY):\n";
    for (const NodeId node : tree.Tree_Order()) {
        std::size_t depth = 0;
        for (NodeId up = tree.Node(node).parent; up != kNoNode; up = tree.Node(up).parent) ++depth;
        const std::string& key = tree.Node(node).key;
        const bool group = tree.Has_Children(node);
        text += std::string(2 + 2 * depth, ' ') + (group ? "" : key + "  ") + tree.Node(node).text +
                (group ? " (" + key + ")" : "") + "\n";
    }
    return text;
}

bool Valid_Category_Keys(const std::vector<std::string>& keys, std::string& badKey) {
    CheckTree tree;
    Fill_Scan_Categories(tree);
    for (const std::string& key : keys) {
        if (key != "all" && tree.Find(key) == kNoNode) {
            badKey = key;
            return false;
        }
    }
    return true;
}

bool Check_Categories(ConsoleWindow& window, const std::vector<std::string>& keys, std::string& badKey) {
    CheckTree& tree = window.Category_Tree();
    Fill_Scan_Categories(tree);
    const bool all = keys.empty() || std::find(keys.begin(), keys.end(), "all") != keys.end();
    if (all) {
        for (const NodeId root : tree.Roots()) (void)tree.Set_Checked(root, true);
        return true;
    }
    for (const std::string& key : keys) {
        const NodeId node = tree.Find(key);
        if (node == kNoNode) {
            badKey = key;
            return false;
        }
        (void)tree.Set_Checked(node, true);
    }
    return true;
}

int Run_Console_Scan(const ConsoleOptions& options, ConsoleEnvironment& env, std::ostream& out, std::ostream& err) {
    ConsoleWindow& window = env.window;
    std::string badKey;
    if (!Check_Categories(window, options.categories, badKey)) {
        err << "Unknown category: " << badKey << "\n" << Usage_Text();
        return kExitUsage;
    }
    if (options.fix && !env.fix) {
        err << "Fixing is not available in this build.\n";
        return kExitUsage;
    }
    std::vector<std::string> names = options.computers;
    if (options.local) {
        names = {window.Get_Comp_Name()};
    } else if (names.empty()) {
        names = Default_Computers(env.db, window.Get_Comp_Name());
    }
    Fill_Computers(window, names);

    ConsoleProgress progress;
    scan::ScanDriver driver(
        {window, progress, env.db, env.reporter, env.target, nullptr, options.parallel, env.workerThreads});
    driver.Start();

    ResultsList& list = window.Results();
    Write_Error_Rows(list, err);
    const std::string found = progress.Found_Line();

    const bool fixing = options.fix && driver.Control().TotalProblems > 0;
    // The rows are fixed as the scan left them checked: a user's downloads
    // start unchecked and stay.
    if (fixing) env.fix(window, progress);
    Log_Summaries(list, env.reporter);
    const bool written = Write_Results(options, list, env.reporter, out, err);
    err << found << '\n';
    if (options.fix) err << progress.Fixed_Line() << '\n';
    if (!driver.Scan_Ran() || driver.Unscanned_Computers() > 0 || !written) return kExitNotScanned;
    return kExitScanned;
}

}  // namespace corvane::console
