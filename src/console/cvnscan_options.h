// The command line of the console scanner:
//   cvnscan [--computer NAME... | --local] [--category KEY]... [--fix] [--yes]
//           [--undo-backup] [--parallel N] [--csv FILE] [--database FILE]
//   cvnscan --undo FILE [--computer NAME] [--yes] [--database FILE]
// Parsing only; what the options do is cvnscan_run.h's.
#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace corvane::console {

inline constexpr int kExitScanned = 0;
inline constexpr int kExitNotScanned = 2;
inline constexpr int kExitUsage = 64;

struct ConsoleOptions {
    std::vector<std::string> computers;   // in the order given; empty: the default set
    bool local = false;                   // the computer the program runs on only, never the managed ones
    std::vector<std::string> categories;  // node keys or "all"; empty: all
    bool fix = false;
    bool yes = false;
    bool undoBackup = false;   // undo files for this run's fix whatever the stored option
    int parallel = 0;          // computers scanned and fixed at once, 1 to 32; 0: the stored option
    std::string csvFile;       // empty: standard output; written as FILE.partial, renamed when whole
    std::string databaseFile;  // empty: the database next to the program
    std::string undoFile;      // not empty: write this undo file back instead of scanning
    bool help = false;         // print the usage and do nothing else
};

struct ParsedCommandLine {
    std::optional<ConsoleOptions> options;  // nothing on a usage error
    std::string error;                      // what was wrong
};

// args are the arguments after the program name, in UTF-8.
[[nodiscard]] ParsedCommandLine Parse_Command_Line(std::span<const std::string> args);

[[nodiscard]] std::string Usage_Text();

}  // namespace corvane::console
