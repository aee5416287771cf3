// The folder-path form shared by the stores and the file routines.
#include "remote/folder_path.h"

#include <gtest/gtest.h>

namespace corvane::remote {
namespace {

TEST(FolderPath, KeepsOnlyADriveRootsBackslash) {
    const struct {
        const char* path;
        const char* normal;
        const char* child;  // of "x"
    } cases[] = {
        {"C:", "C:\\", "C:\\x"},
        {"C:\\", "C:\\", "C:\\x"},
        {"C:\\\\", "C:\\", "C:\\x"},
        {"c:\\windows\\temp\\", "c:\\windows\\temp", "c:\\windows\\temp\\x"},
        {"c:\\windows\\\\", "c:\\windows", "c:\\windows\\x"},
        {"c:\\windows", "c:\\windows", "c:\\windows\\x"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Normalize_Folder_Path(c.path), c.normal) << c.path;
        EXPECT_EQ(Child_Path(c.path, "x"), c.child) << c.path;
        EXPECT_EQ(Is_Drive_Root(Normalize_Folder_Path(c.path)), std::string_view(c.normal).size() == 3) << c.path;
    }
}

}  // namespace
}  // namespace corvane::remote
