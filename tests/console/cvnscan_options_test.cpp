#include "console/cvnscan_options.h"

#include <gtest/gtest.h>

#include <ranges>
#include <string>
#include <string_view>
#include <vector>

namespace corvane::console {
namespace {

// The arguments between single spaces: a trailing space gives an empty one.
ParsedCommandLine Parse(std::string_view line) {
    std::vector<std::string> args;
    for (const auto word : std::views::split(line, ' ')) args.emplace_back(word.begin(), word.end());
    return Parse_Command_Line(args);
}

TEST(CvnscanOptions, ReadsEveryOptionInOrder) {
    const ParsedCommandLine parsed = Parse(
        "--computer PC2 --category fA --computer 10.0.0.7 --category fF --fix --yes --csv out.csv --database db.dll "
        "--parallel 32");
    ASSERT_TRUE(parsed.options.has_value()) << parsed.error;
    const ConsoleOptions& o = *parsed.options;
    EXPECT_EQ(o.computers, (std::vector<std::string>{"PC2", "10.0.0.7"}));
    EXPECT_EQ(o.categories, (std::vector<std::string>{"fA", "fF"}));
    EXPECT_TRUE(o.fix && o.yes && !o.local && !o.undoBackup);
    EXPECT_EQ(o.csvFile + "|" + o.databaseFile, "out.csv|db.dll");
    EXPECT_EQ(o.parallel, 32);

    const ParsedCommandLine unattended = Parse("--local --fix --yes --undo-backup --csv x.csv");
    ASSERT_TRUE(unattended.options.has_value()) << unattended.error;
    EXPECT_TRUE(unattended.options->local && unattended.options->undoBackup && !unattended.options->help);
    for (const char* help : {"--local --help", "--local -h", "--local /?"}) {
        const ParsedCommandLine asked = Parse(help);
        ASSERT_TRUE(asked.options.has_value()) << help;
        EXPECT_TRUE(asked.options->help) << help;
    }
}

TEST(CvnscanOptions, RefusesBadCommandLines) {
    for (const char* line :
         {"--computer", "--category ", "--bogus", "PC1", "--csv a --csv b", "--database", "--database a --database b",
          "--undo a --fix", "--undo a --category fA", "--undo a --computer A --computer B", "--undo a --undo b",
          "--local --computer A", "--undo a --local", "--undo a --undo-backup", "--parallel 0", "--parallel 33",
          "--parallel +4", "--parallel 2 --parallel 2", "--undo a --parallel 2"}) {
        const ParsedCommandLine parsed = Parse(line);
        EXPECT_FALSE(parsed.options.has_value()) << line;
        EXPECT_FALSE(parsed.error.empty());
    }
}

}  // namespace
}  // namespace corvane::console
