// cvnscan --undo on simulated computers: which computer the file goes to,
// a computer that is not the one the file was made for (wherever the file
// lies), values that hold other data by now, and files that do not parse.
#include "console/cvnscan_undo.h"

#include <filesystem>
#include <sstream>

#include "base/file_path.h"
#include "scan/scan_world.h"
#include "support/temp_folder.h"

namespace corvane::console::testing {
namespace {

using namespace corvane::scan;
using namespace corvane::scan::testing;

constexpr const char* kUndoText =
    "Windows Registry Editor Version 5.00\r\n\r\n; Computer: PC2\r\n\r\n"
    "[HKEY_LOCAL_MACHINE\\Software\\App\\Sub]\r\n\r\n"
    "[HKEY_LOCAL_MACHINE\\Software\\App]\r\n\"V\"=\"old\"\r\n";
// A good block, then a line that does not parse: nothing of it is written.
constexpr const char* kBrokenText =
    "Windows Registry Editor Version 5.00\r\n\r\n[HKEY_LOCAL_MACHINE\\Software\\App]\r\n\"V\"=\"old\"\r\n"
    "\"W\"=\"open\r\n";
// A file of an older version records no computer: its folder says which.
constexpr const char* kOlderText =
    "Windows Registry Editor Version 5.00\r\n\r\n[HKEY_LOCAL_MACHINE\\Software\\App]\r\n\"V\"=\"old\"\r\n";

struct UndoCase {
    const char* name;
    std::vector<std::string> computers;
    bool yes;
    const char* text;
    bool inUndoFolder;
    int status;
    const char* pc2Value;  // V on PC2 afterwards; PC3 never gets anything
};

TEST(CvnscanUndo, WritesTheFileBackToTheComputerItWasMadeFor) {
    for (const UndoCase& c : std::vector<UndoCase>{
             {"default computer keeps other data", {}, false, kUndoText, true, kExitScanned, "new"},
             {"--yes overwrites", {}, true, kUndoText, true, kExitScanned, "old"},
             {"a file that does not parse", {}, true, kBrokenText, true, kExitUsage, "new"},
             {"elsewhere without --computer", {}, true, kUndoText, false, kExitUsage, "new"},
             {"elsewhere to its computer", {"PC2"}, true, kUndoText, false, kExitScanned, "old"},
             {"elsewhere to another computer", {"PC3"}, true, kUndoText, false, kExitNotScanned, "new"},
             {"an older file in its folder", {}, true, kOlderText, true, kExitScanned, "old"},
             {"an older file to another computer", {"PC3"}, true, kOlderText, true, kExitNotScanned, "new"}}) {
        ScanWorld world;
        world.Add_Computer("PC2").registry.Set_String(kHklm, "Software\\App", "V", "new");
        world.Add_Computer("PC3");
        corvane::testing::TempFolder scratch;
        const std::filesystem::path folder =
            c.inUndoFolder ? scratch.Path() / "Corvane" / "Undo" / "PC2" : scratch.Path() / "Elsewhere";
        std::filesystem::create_directories(folder);
        const std::string file = Path_Utf8(folder / "2026-01-02 03-04-05.reg");
        corvane::testing::Write_File(file, c.text);
        ConsoleOptions options;
        options.undoFile = file;
        options.computers = c.computers;
        options.yes = c.yes;
        std::ostringstream out;
        std::ostringstream err;
        EXPECT_EQ(Run_Console_Undo(options, world.data.db, world.ports, out, err), c.status) << c.name;
        remote::RegistryValue value;
        (void)world.network.Find("PC2")->registry.Get_Value(kHklm, "Software\\App", "V", value);
        EXPECT_EQ(value.text, c.pc2Value) << c.name;
        EXPECT_EQ(world.network.Find("PC3")->registry.Export_Reg_Text(kHklm, "Software").find("App"),
                  std::string::npos);
    }
}

}  // namespace
}  // namespace corvane::console::testing
