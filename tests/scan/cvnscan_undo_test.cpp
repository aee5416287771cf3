// cvnscan --undo on simulated computers: which computer the file goes to,
// a computer that is not the one the file was made for, values that hold
// other data by now, and a file that is no registry file.
#include "scan/cvnscan/cvnscan_undo.h"

#include <filesystem>
#include <sstream>

#include "base/file_path.h"
#include "scan_world.h"
#include "support/temp_folder.h"

namespace corvane::scan::testing {
namespace {

struct UndoCase {
    const char* name;
    std::vector<std::string> computers;
    bool yes;
    bool registryFile;
    int status;
    const char* pc2Value;  // V on PC2 afterwards; PC3 never gets anything
};

TEST(CvnscanUndo, WritesTheFileBackToTheComputerItWasMadeFor) {
    for (const UndoCase& c :
         std::vector<UndoCase>{{"default computer keeps other data", {}, false, true, kExitScanned, "new"},
                               {"--yes overwrites", {}, true, true, kExitScanned, "old"},
                               {"another computer gets nothing", {"PC3"}, true, true, kExitNotScanned, "new"},
                               {"no registry file", {}, true, false, kExitUsage, "new"}}) {
        ScanWorld world;
        world.Add_Computer("PC2");
        world.Add_Computer("PC3");
        world.network.Find("PC2")->registry.Set_String(kHklm, "Software\\App", "V", "new");
        corvane::testing::TempFolder scratch;
        const std::filesystem::path folder = scratch.Path() / "Corvane" / "Undo" / "PC2";
        std::filesystem::create_directories(folder);
        const std::string file = Path_Utf8(folder / "2026-01-02 03-04-05.reg");
        corvane::testing::Write_File(file, c.registryFile ? "Windows Registry Editor Version 5.00\r\n\r\n"
                                                            "[HKEY_LOCAL_MACHINE\\Software\\App\\Sub]\r\n\r\n"
                                                            "[HKEY_LOCAL_MACHINE\\Software\\App]\r\n\"V\"=\"old\"\r\n"
                                                          : "not a registry file");
        ConsoleOptions options;
        options.undoFile = file;
        options.computers = c.computers;
        options.yes = c.yes;
        std::ostringstream out;
        std::ostringstream err;
        EXPECT_EQ(Run_Console_Undo(options, world.data.db, world.context, kLocalName, out, err), c.status) << c.name;
        remote::RegistryValue value;
        (void)world.network.Find("PC2")->registry.Get_Value(kHklm, "Software\\App", "V", value);
        EXPECT_EQ(value.text, c.pc2Value) << c.name;
        EXPECT_EQ(world.network.Find("PC3")->registry.Export_Reg_Text(kHklm, "Software").find("App"),
                  std::string::npos);
        if (c.status == kExitScanned) {
            EXPECT_NE(out.str().find(": 2 keys, "), std::string::npos) << c.name;
        }
    }
}

}  // namespace
}  // namespace corvane::scan::testing
