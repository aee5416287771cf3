// Shared pieces of the Windows backend tests: COM set up per test, a scratch
// registry key deleted before and after, a scratch folder on C:, and small
// Win32 helpers that write the fixtures directly (not through the code under test).
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "base/file_path.h"
#include "base/win32/wide_text.h"
#include "remote/win32/com_runtime.h"
#include "support/temp_folder.h"

namespace corvane::remote::win32 {
using ::corvane::win32::Narrow;
using ::corvane::win32::Widen;
}  // namespace corvane::remote::win32

namespace corvane::remote::win32::testing {

inline constexpr std::uint32_t kCurrentUser = 0x80000001u;
inline constexpr const char* kScratchKey = "Software\\CorvaneTest";

class ComTest : public ::testing::Test {
protected:
    ComInit com_;
};

// HKCU\Software\CorvaneTest, removed with everything below it before and after the test.
class ScratchKeyTest : public ComTest {
protected:
    void SetUp() override { Remove(); }
    void TearDown() override { Remove(); }
    static void Remove() { RegDeleteTreeW(HKEY_CURRENT_USER, Widen(kScratchKey).c_str()); }

    // Creates the key (below the scratch key) and sets one value with raw bytes.
    static void Write(std::string_view subKey, std::string_view name, DWORD type, const void* data, DWORD size) {
        HKEY key = nullptr;
        const std::wstring path = Widen(Full(subKey));
        ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                                                 nullptr, &key, nullptr));
        if (type != REG_NONE) {
            EXPECT_EQ(ERROR_SUCCESS,
                      RegSetValueExW(key, Widen(name).c_str(), 0, type, static_cast<const BYTE*>(data), size));
        }
        RegCloseKey(key);
    }
    static void Write_Text(std::string_view subKey, std::string_view name, std::wstring_view text,
                           DWORD type = REG_SZ) {
        const std::wstring stored(text);
        Write(subKey, name, type, stored.c_str(), static_cast<DWORD>((stored.size() + 1) * sizeof(wchar_t)));
    }
    static void Write_Dword(std::string_view subKey, std::string_view name, DWORD number) {
        Write(subKey, name, REG_DWORD, &number, sizeof(number));
    }
    static void Create(std::string_view subKey) { Write(subKey, "", REG_NONE, nullptr, 0); }
    [[nodiscard]] static bool Key_Exists(std::string_view subKey) {
        HKEY key = nullptr;
        const std::wstring path = Widen(Full(subKey));
        if (RegOpenKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
        RegCloseKey(key);
        return true;
    }
    [[nodiscard]] static std::string Full(std::string_view subKey) {
        return std::string(kScratchKey) + (subKey.empty() ? "" : "\\") + std::string(subKey);
    }
};

// A scratch folder on C: with helpers that create entries directly.
class ScratchFolderTest : public ComTest {
protected:
    [[nodiscard]] std::string Folder() const { return corvane::Path_Utf8(folder_.Path()); }
    [[nodiscard]] std::string Path(std::string_view name) const { return Folder() + "\\" + std::string(name); }
    void Make_File(std::string_view name, std::string_view content = "x") const {
        corvane::testing::Write_File(Path(name), std::string(content));
    }
    void Make_Folder(std::string_view name) const { CreateDirectoryW(Widen(Path(name)).c_str(), nullptr); }
    [[nodiscard]] bool Exists(std::string_view name) const {
        return GetFileAttributesW(Widen(Path(name)).c_str()) != INVALID_FILE_ATTRIBUTES;
    }

    corvane::testing::TempFolder folder_;
};

}  // namespace corvane::remote::win32::testing
