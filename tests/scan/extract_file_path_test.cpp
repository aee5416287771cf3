#include "base/extract_file_path.h"

#include <gtest/gtest.h>

#include <string>

namespace corvane::scan {
namespace {

struct PathCase {
    const char* input;
    bool isPath;
    const char* reduced;
};

TEST(ExtractFilePath, ReducesRegistryTextsToDrivePaths) {
    const PathCase cases[] = {
        {R"(C:\a b\prog.exe -x)", true, R"(C:\a b\prog.exe)"},
        {R"("C:\Program Files\App\app.exe" /min)", true, R"(C:\Program Files\App\app.exe)"},
        {R"(C:\WINDOWS\system32\shell32.dll,4)", true, R"(C:\WINDOWS\system32\shell32.dll)"},
        {R"(  C:\Help  )", true, R"(C:\Help)"},
        {R"(C:\Help\)", true, R"(C:\Help\)"},
        {R"(C:\tools\run.exe|more)", true, R"(C:\tools\run.exe)"},
        {R"(C:\dir.v2\file)", true, R"(C:\dir.v2\file)"},  // the dot lies in a folder name
        {R"(C:\a,b\x.dll 3)", true, R"(C:\a,b\x.dll)"},    // only tails after the dot are cut
        {R"(D:\x.dll,1 extra)", true, R"(D:\x.dll)"},      // the nearer of comma and blank
        {R"(C:\x.exe:stream)", true, R"(C:\x.exe)"},
        {R"(%SystemRoot%\x.dll)", false, R"(%SystemRoot%\x.dll)"},
        {R"(\\server\share\x.dll)", false, R"(\\server\share\x.dll)"},
        {R"("C:\never closed)", false, R"("C:\never closed)"},
        {R"(x.dll)", false, "x.dll"},
        {"", false, ""},
        {"C:", false, "C:"},
    };
    for (const PathCase& c : cases) {
        std::string text = c.input;
        EXPECT_EQ(Extract_File_Path(text), c.isPath) << c.input;
        EXPECT_EQ(text, c.reduced) << c.input;
    }
}

}  // namespace
}  // namespace corvane::scan
