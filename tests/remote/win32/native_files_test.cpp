// The folder-path convention of the native store's file side.
#include <gtest/gtest.h>

#include "remote/win32/native_store.h"

namespace corvane::remote::win32 {
namespace {

TEST(NormalizeFolderPath, KeepsOnlyADriveRootsBackslash) {
    EXPECT_EQ("C:\\", Normalize_Folder_Path("C:"));
    EXPECT_EQ("C:\\", Normalize_Folder_Path("C:\\"));
    EXPECT_EQ("c:\\windows\\temp", Normalize_Folder_Path("c:\\windows\\temp\\"));
    EXPECT_EQ("c:\\windows", Normalize_Folder_Path("c:\\windows"));
}

}  // namespace
}  // namespace corvane::remote::win32
