// The native store against what the registry API wrote and reads itself:
// UTF-16 text must mean the same on both sides (the store contract only reads
// back what the store wrote; the undo scenario under Wine compares values of
// every type with the registry's own export).
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
    NativeStore store_;
    wmi::ServicesPtr services_ = Make_Store_Services(store_, "root\\default");
    wmi::ObjectPtr registry_ = services_->Get("StdRegProv");
};

TEST_F(NativeRegistry, ReadsTextTheRegistryApiWroteInUtf16) {
    Write_Text("", "Unicode", L"Gr\u00fc\u00dfe \u65e5\u672c");
    RegistryValue value;
    ASSERT_EQ(kStatusOk, store_.Get_Value(kCurrentUser, Full(""), "Unicode", value));
    EXPECT_EQ(
        "Gr\xc3\xbc\xc3\x9f"
        "e \xe6\x97\xa5\xe6\x9c\xac",
        value.text);
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
