#include "base/extract_file_path.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>

namespace corvane::scan {
namespace {

TEST(ExtractFilePath, ReducesRegistryTextsToDrivePaths) {
    // The text, whether it names a drive path, and what is left of it.
    const std::tuple<const char*, bool, const char*> cases[] = {
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
    for (const auto& [input, isPath, reduced] : cases) {
        std::string text = input;
        EXPECT_EQ(Extract_File_Path(text), isPath) << input;
        EXPECT_EQ(text, reduced) << input;
    }
}

}  // namespace
}  // namespace corvane::scan
