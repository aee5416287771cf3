// The native store against values the registry API wrote and read itself:
// the UTF-16 texts, lists and numbers must mean the same on both sides (the
// store contract only reads back what the store wrote).
#include <gtest/gtest.h>

#include "remote/store_services.h"
#include "remote/win32/native_store.h"
#include "remote/wmi_registry.h"
#include "win32_test_support.h"

namespace corvane::remote::win32 {
namespace {

using testing::kCurrentUser;

class NativeRegistry : public testing::ScratchKeyTest {
protected:
    RegistryValue Read(std::string_view name) {
        RegistryValue value;
        EXPECT_EQ(kStatusOk, store_.Get_Value(kCurrentUser, Full(""), name, value)) << name;
        return value;
    }
    NativeStore store_;
    wmi::ServicesPtr services_ = Make_Store_Services(store_, "root\\default");
    wmi::ObjectPtr registry_ = services_->Get("StdRegProv");
};

TEST_F(NativeRegistry, ReadsAndWritesWhatTheRegistryApiDoes) {
    Write_Text("", "Unicode", L"Gr\u00fc\u00dfe \u65e5\u672c");
    Write_Dword("", "Flags", 0xFFFFFFF0u);
    const wchar_t multi[] = L"one\0two\0";
    Write("", "Multi", REG_MULTI_SZ, multi, sizeof(multi));

    EXPECT_EQ(
        "Gr\xc3\xbc\xc3\x9f"
        "e \xe6\x97\xa5\xe6\x9c\xac",
        Read("Unicode").text);
    EXPECT_EQ(0xFFFFFFF0u, Read("Flags").number);
    const RegistryValue list = Read("Multi");
    EXPECT_EQ((std::vector<std::string>{"one", "two"}), list.parts);

    // The list written back is the same to the registry API.
    ASSERT_EQ(kStatusOk, store_.Set_Value(kCurrentUser, Full(""), "Copy", list));
    wchar_t buffer[32] = {};
    DWORD size = sizeof(buffer);
    ASSERT_EQ(ERROR_SUCCESS, RegGetValueW(HKEY_CURRENT_USER, Widen(Full("")).c_str(), L"Copy", RRF_RT_REG_MULTI_SZ,
                                          nullptr, buffer, &size));
    EXPECT_EQ(std::wstring_view(multi, 9), std::wstring_view(buffer, size / sizeof(wchar_t)));
}

TEST_F(NativeRegistry, KeyTreeDeletionRemovesALinkNotItsTarget) {
    const wchar_t* target = L"Software\\CorvaneLinkTarget\\Inside";
    HKEY key = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExW(HKEY_LOCAL_MACHINE, target, 0, nullptr, REG_OPTION_VOLATILE,
                                             KEY_ALL_ACCESS, nullptr, &key, nullptr));
    RegCloseKey(key);
    Create("Tree");
    ASSERT_EQ(ERROR_SUCCESS,
              RegCreateKeyExW(HKEY_CURRENT_USER, Widen(Full("Tree\\Link")).c_str(), 0, nullptr,
                              REG_OPTION_VOLATILE | REG_OPTION_CREATE_LINK, KEY_ALL_ACCESS, nullptr, &key, nullptr));
    const std::wstring link = L"\\Registry\\Machine\\Software\\CorvaneLinkTarget";
    RegSetValueExW(key, L"SymbolicLinkValue", 0, REG_LINK, reinterpret_cast<const BYTE*>(link.data()),
                   static_cast<DWORD>(link.size() * sizeof(wchar_t)));
    RegCloseKey(key);
    ASSERT_TRUE(Key_Exists("Tree\\Link\\Inside")) << "the link does not resolve";
    std::int32_t code = -1;
    EXPECT_TRUE(WMI_Delete_Key_Tree(*registry_, kCurrentUser, Full("Tree"), code));
    EXPECT_FALSE(Key_Exists("Tree"));
    EXPECT_EQ(ERROR_SUCCESS, RegDeleteKeyW(HKEY_LOCAL_MACHINE, target));  // still there
    RegDeleteKeyW(HKEY_LOCAL_MACHINE, L"Software\\CorvaneLinkTarget");
}

}  // namespace
}  // namespace corvane::remote::win32
