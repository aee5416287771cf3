#include "console/cvnscan_options.h"

namespace corvane::console {

std::string Usage_Text() {
    return "Usage: cvnscan [--computer NAME]... [--category KEY]... [--fix] [--yes] [--parallel N] [--csv FILE]\n"
           "               [--database FILE]\n"
           "       cvnscan --local [--category KEY]... [--fix] [--yes] [--undo-backup] [--csv FILE] [--database FILE]\n"
           "       cvnscan --undo FILE [--computer NAME] [--yes] [--database FILE]\n"
           "       cvnscan --help\n"
           "  --computer NAME   a computer to scan (repeatable); default: every managed computer,\n"
           "                    or the local computer when none is managed\n"
           "  --local           scan only the computer the program runs on, never the managed ones\n"
           "  --category KEY    a category node key such as fA, or all (repeatable); default: all\n"
           "  --fix             fix the listed problems after the scan (a user's downloads are left)\n"
           "  --yes             answer Yes to the questions of the fixing routine (default: No)\n"
           "  --undo-backup     write undo files of the registry fix whatever the stored option\n"
           "  --parallel N      scan and fix N computers at once, 1 to 32; default: the stored option\n"
           "                    (\"Computers scanned at once\"); the results keep the order given\n"
           "  --csv FILE        write the results into FILE instead of standard output (first into\n"
           "                    FILE.partial, renamed to FILE once complete)\n"
           "  --database FILE   use this database instead of the one next to the program\n"
           "  --undo FILE       write the keys and values of an undo file back; default computer:\n"
           "                    the one whose undo folder holds it (elsewhere --computer); with --yes\n"
           "                    values that now hold other data are overwritten (default: kept)\n"
           "cvnscan never waits for input; the log cvnscan.log gets one summary line per computer.\n"
           "Exit status: 0 every computer scanned, 2 at least one could not be or the CSV file could\n"
           "not be written whole, 64 usage error.\n";
}

namespace {

// 1 to 32 written in digits; 0 for anything else.
int Parallel_Count(std::string_view text) {
    if (text.empty() || text.size() > 2) return 0;
    int count = 0;
    for (const char c : text) {
        if (c < '0' || c > '9') return 0;
        count = count * 10 + (c - '0');
    }
    return count >= 1 && count <= 32 ? count : 0;
}

}  // namespace

ParsedCommandLine Parse_Command_Line(std::span<const std::string> args) {
    ConsoleOptions options;
    bool csvGiven = false;
    bool databaseGiven = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        const bool takesValue = arg == "--computer" || arg == "--category" || arg == "--csv" || arg == "--database" ||
                                arg == "--undo" || arg == "--parallel";
        if (takesValue) {
            if (i + 1 >= args.size() || args[i + 1].empty()) return {std::nullopt, arg + " needs a value"};
            const std::string& value = args[++i];
            if (arg == "--computer") {
                options.computers.push_back(value);
            } else if (arg == "--category") {
                options.categories.push_back(value);
            } else if (arg == "--undo") {
                if (!options.undoFile.empty()) return {std::nullopt, "--undo given twice"};
                options.undoFile = value;
            } else if (arg == "--parallel") {
                if (options.parallel != 0) return {std::nullopt, "--parallel given twice"};
                options.parallel = Parallel_Count(value);
                if (options.parallel == 0) return {std::nullopt, "--parallel takes a number from 1 to 32"};
            } else if (arg == "--csv") {
                if (csvGiven) return {std::nullopt, "--csv given twice"};
                csvGiven = true;
                options.csvFile = value;
            } else {
                if (databaseGiven) return {std::nullopt, "--database given twice"};
                databaseGiven = true;
                options.databaseFile = value;
            }
        } else if (arg == "--fix") {
            options.fix = true;
        } else if (arg == "--yes") {
            options.yes = true;
        } else if (arg == "--help" || arg == "-h" || arg == "/?") {
            options.help = true;
        } else if (arg == "--local") {
            options.local = true;
        } else if (arg == "--undo-backup") {
            options.undoBackup = true;
        } else {
            return {std::nullopt, "unknown argument: " + arg};
        }
    }
    if (options.local && !options.computers.empty())
        return {std::nullopt, "--local cannot be combined with --computer"};
    if (!options.undoFile.empty() && (options.local || options.undoBackup)) {
        return {std::nullopt, "--undo cannot be combined with --local or --undo-backup"};
    }
    if (!options.undoFile.empty()) {
        if (options.fix || csvGiven || !options.categories.empty() || options.parallel != 0) {
            return {std::nullopt, "--undo cannot be combined with --fix, --category, --parallel or --csv"};
        }
        if (options.computers.size() > 1) return {std::nullopt, "--undo takes at most one --computer"};
    }
    return {std::move(options), {}};
}

}  // namespace corvane::console
