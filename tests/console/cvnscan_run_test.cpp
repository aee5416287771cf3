// The console scanner end to end on simulated computers: which computers and
// categories it scans, what goes to standard output and standard error (the
// CSV file is read back under Wine), fixing with --fix, and the exit status.
#include <gtest/gtest.h>

#include <filesystem>
#include <iterator>
#include <sstream>
#include <stdexcept>

#include "base/file_path.h"
#include "base/text.h"
#include "console/console_window.h"
#include "console/csv_output.h"
#include "console/cvnscan_run.h"
#include "db/scramble.h"
#include "fix/fix_problems.h"
#include "scan/registry_entry_categories.h"
#include "scan/scan_world.h"

namespace corvane::console::testing {
namespace {

using namespace corvane::scan;
using namespace corvane::scan::testing;

using corvane::testing::Read_File;
using corvane::testing::Write_File;

struct ConsoleRun {
    int status = -1;
    std::string out;
    std::string err;
    [[nodiscard]] std::string Last_Error_Line() const {
        std::string text = err;
        while (!text.empty() && text.back() == '\n') text.pop_back();
        return text.substr(text.rfind('\n') + 1);
    }
};

ConsoleRun Run_Console(ScanWorld& world, std::vector<std::string> args, ConsoleFix fix = {}) {
    const ParsedCommandLine parsed = Parse_Command_Line(args);
    EXPECT_TRUE(parsed.options.has_value()) << parsed.error;
    ConsoleWindow window(kLocalName);
    ConsoleEnvironment env{world.data.db, world.data.reporter, world.target, window, std::move(fix)};
    std::ostringstream out;
    std::ostringstream err;
    const int status = Run_Console_Scan(*parsed.options, env, out, err);
    return {status, out.str(), err.str()};
}

void Seed(remote::SimComputer& computer) {
    computer.registry.Set_Dword(kHklm, kSharedDllsKey, "C:\\gone\\a.dll", 1);
    computer.registry.Set_String(kHklm, "Software\\Microsoft\\Windows\\Help", "x.chm", "C:\\Help");
}

// By default the managed computers, with their stored credentials; a
// computer named on the command line that is not managed connects with the
// caller's identity; --local scans the computer the program runs on alone. A
// password an older version stored scrambled is used and left as it is: the
// console scanner may run as another account.
TEST(CvnscanRun, ScansManagedComputersWithTheirCredentials) {
    ScanWorld world;
    remote::SimComputer& pc = world.Add_Computer("PC1");
    pc.acceptsCallerIdentity = false;
    pc.users["admin"] = "s3cret";
    Seed(pc);
    ASSERT_TRUE(Add_Computer(world.data.db, "PC1", "admin", ""));
    const std::string scrambled = Scramble_Text("s3cret");
    ASSERT_TRUE(world.data.Run_Sql("UPDATE COMPUTER_TBL SET CMP_PASSWORD='" + Double_Quotes_Sql(scrambled) + "'"));
    const ConsoleRun run = Run_Console(world, {"--category", "fF"});
    EXPECT_EQ(corvane::testing::Query_Column(world.data.db, "SELECT CMP_PASSWORD FROM COMPUTER_TBL"),
              std::vector<std::string>{scrambled});
    EXPECT_EQ(run.status, kExitScanned) << run.err;
    EXPECT_EQ(run.out,
              "\r\n\"[Shared Dlls]\",\"PC1\",\"1 Problems Found\",\"\"\r\n"
              "\"C:\\gone\\a.dll\",\"\",\"File not found\","
              "\"HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\SharedDLLs\"\r\n");

    Seed(world.Add_Computer("PC3"));  // it knows no user: only the caller's identity gets in
    EXPECT_EQ(Run_Console(world, {"--computer", "PC3", "--category", "fF"}).status, kExitScanned);

    Seed(world.network.Local());
    const ConsoleRun local = Run_Console(world, {"--local", "--category", "fF"});
    EXPECT_EQ(local.status, kExitScanned) << local.err;
    EXPECT_EQ(local.out.rfind("\r\n\"[Shared Dlls]\",\"WORKSTATION\",\"1 Problems Found\"", 0), 0u) << local.out;
    EXPECT_EQ(local.out.find("PC1"), std::string::npos);
}

// An unreachable computer gives its error line and status 2; the others
// are written in the order given, also when scanned several at once.
TEST(CvnscanRun, UnreachableComputerGivesAnErrorLineAndStatus2) {
    ScanWorld world;
    world.Add_Computer("DEAD").reachable = false;
    Seed(world.Add_Computer("PC2"));
    Seed(world.Add_Computer("PC1"));
    const ConsoleRun run = Run_Console(world, {"--computer", "DEAD", "--computer", "PC2", "--computer", "PC1",
                                               "--category", "fA", "--category", "fF", "--parallel", "3"});
    EXPECT_EQ(run.status, kExitNotScanned);
    EXPECT_EQ(run.err.rfind("\"[Error]\",\"DEAD\",\"-2147023174: ", 0), 0u) << run.err;
    EXPECT_EQ(run.Last_Error_Line(), "Total Problems Found: 4");
    EXPECT_EQ(run.out.find("DEAD"), std::string::npos);
    EXPECT_LT(run.out.find("[Help Files]"), run.out.find("[Shared Dlls]"));
    EXPECT_LT(run.out.find("\"PC2\""), run.out.find("\"PC1\""));
}

// The CSV file takes its name only when written whole: the previous run's
// file stays until then, and a file that cannot take the name is kept as
// .partial with status 2 and a log line.
TEST(CvnscanRun, CsvFileTakesItsNameOnlyWhenWhole) {
    ScanWorld world;
    Seed(world.Add_Computer("PC1"));
    const std::string csv = world.data.folder.File("PC1.csv");
    const std::string partial = csv + ".partial";
    Write_File(csv, "last week");
    ConsoleRun run = Run_Console(world, {"--computer", "PC1", "--category", "fF", "--csv", csv});
    EXPECT_EQ(run.status, kExitScanned) << run.err;
    EXPECT_NE(Read_File(csv).find("\"C:\\gone\\a.dll\""), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(Utf8_Path(partial)));

    // A file that a run stopped half-way leaves: the final name is untouched.
    Write_File(csv, "last week");
    EXPECT_THROW((void)Write_Csv_File(csv,
                                      [](std::ostream& file) {
                                          file << "\"half";
                                          throw std::runtime_error("stopped");
                                      }),
                 std::runtime_error);
    EXPECT_EQ(Read_File(csv), "last week");

    // The final name cannot be taken (here a folder; on Windows also a file held open).
    const std::string taken = world.data.folder.File("taken.csv");
    std::filesystem::create_directories(Utf8_Path(taken + "/inside"));
    run = Run_Console(world, {"--computer", "PC1", "--category", "fF", "--csv", taken});
    EXPECT_EQ(run.status, kExitNotScanned);
    EXPECT_EQ(run.err.rfind("Cannot rename " + taken + ".partial to " + taken + ": ", 0), 0u) << run.err;
    EXPECT_EQ(run.Last_Error_Line(), "Total Problems Found: 1");
    EXPECT_NE(Read_File(taken + ".partial").find("\"C:\\gone\\a.dll\""), std::string::npos);
    EXPECT_NE(world.Log().find("E: Cannot rename " + taken + ".partial"), std::string::npos);
}

// The exits other than a clean scan: what status, what the last line of the
// error stream says, and whether the fixing routine ran.
TEST(CvnscanRun, ExitStatusOfRunsThatEndEarlyOrFindNothing) {
    struct Case {
        const char* args;  // NOFOLDER: a folder that does not exist; BLANK: a blank name
        bool fixAvailable;
        int status;
        const char* errorText;  // somewhere in the error stream
        const char* lastLine;
    };
    const Case cases[] = {
        {"--category fZ", true, kExitUsage, "Unknown category: fZ\nUsage: cvnscan", ""},
        {"--fix", false, kExitUsage, "Fixing is not available in this build.", ""},
        {"--computer PC1 --category fF --csv NOFOLDER", true, kExitNotScanned, "Cannot write ",
         "Total Problems Found: 1"},
        {"--computer BLANK --category fF", true, kExitNotScanned, "", "Total Problems Found: 0"},
        {"--computer CLEAN --category fF --fix", true, kExitScanned, "Total Problems Found: 0\n",
         "Total Problems Fixed: 0/0"},
    };
    for (const Case& c : cases) {
        ScanWorld world;
        Seed(world.Add_Computer("PC1"));
        world.Add_Computer("CLEAN");
        std::istringstream words(c.args);
        std::vector<std::string> args{std::istream_iterator<std::string>(words), {}};
        for (std::string& arg : args) {
            if (arg == "NOFOLDER") arg = world.data.folder.File("missing") + "/out.csv";
            if (arg == "BLANK") arg = " ";
        }
        bool fixed = false;
        ConsoleFix fix;
        if (c.fixAvailable) fix = [&](IMainWindow&, IProgressEvents&) { fixed = true; };
        const ConsoleRun run = Run_Console(world, args, fix);
        EXPECT_EQ(run.status, c.status) << c.args;
        EXPECT_NE(run.err.find(c.errorText), std::string::npos) << c.args << ": " << run.err;
        if (*c.lastLine != '\0') {
            EXPECT_EQ(run.Last_Error_Line(), c.lastLine) << c.args;
        }
        EXPECT_FALSE(fixed) << c.args;
        EXPECT_EQ(run.out.find("gone"), std::string::npos) << c.args;
    }
}

// Without a window, questions go to the error stream on one line, with the
// answer given: Yes (or OK) only when --yes was said.
TEST(CvnscanRun, ConsoleQuestionsAreAnsweredYesOnlyWhenAskedTo) {
    struct Case {
        bool yes;
        MsgButtons buttons;
        MsgResult answer;
        const char* line;
    };
    for (const Case& c : std::vector<Case>{
             {false, MsgButtons::YesNo, MsgResult::No, "Fix? Now? [No]\n"},
             {true, MsgButtons::YesNo, MsgResult::Yes, "Fix? Now? [Yes]\n"},
             {false, MsgButtons::OkCancel, MsgResult::Cancel, "Fix? Now? [Cancel]\n"},
             {true, MsgButtons::OkCancel, MsgResult::Ok, "Fix? Now? [OK]\n"},
             {true, MsgButtons::Ok, MsgResult::Ok, "Fix? Now?\n"},
         }) {
        std::ostringstream err;
        ConsoleMessageBox box(err, c.yes);
        EXPECT_EQ(box.Show("Fix?\r\n\r\nNow?", c.buttons, MsgIcon::Question, "Corvane"), c.answer) << c.line;
        EXPECT_EQ(err.str(), c.line);
    }
}

// --fix runs the fixing routine on the rows as the scan checked them and
// prints each row's outcome.
TEST(CvnscanRun, FixTakesTheCheckedRowsAndPrintsTheOutcome) {
    ScanWorld world;
    world.Set_Options(0);  // no restore point
    remote::SimComputer& pc = world.Add_Computer("PC1");
    pc.registry.Set_Dword(kHklm, kSharedDllsKey, "C:\\gone\\a.dll", 1);
    pc.registry.Set_Dword(kHklm, kSharedDllsKey, "C:\\gone\\b.dll", 1);
    const ConsoleFix fix = [&](IMainWindow& window, IProgressEvents& progress) {
        fix::FixEnvironment env{window, progress, world.data.db, world.ports, world.stop, &Category_Recheck_Rules};
        fix::Start_Fixing(env, false);
    };
    const ConsoleRun run = Run_Console(world, {"--computer", "PC1", "--category", "fF", "--fix"}, fix);
    EXPECT_EQ(run.status, kExitScanned);
    EXPECT_NE(run.out.find("\"C:\\gone\\b.dll\",\"\",\"Problem fixed\""), std::string::npos) << run.out;
    EXPECT_EQ(run.Last_Error_Line(), "Total Problems Fixed: 2/2");
    EXPECT_NE(world.Log().find("I: Summary of PC1: 2 problems found, 2 fixed, 0 not fixed "), std::string::npos);
}

}  // namespace
}  // namespace corvane::console::testing
