// The native store's registry against Wine's real registry: fixtures written
// with the registry API under HKCU\Software\CorvaneTest, read and changed
// through the store and through StdRegProv served by the query engine.
#include <gtest/gtest.h>

#include <algorithm>

#include "remote/store_services.h"
#include "remote/wmi_registry.h"
#include "remote/win32/native_store.h"
#include "win32_test_support.h"

namespace corvane::remote::win32 {
namespace {

using testing::kCurrentUser;
using wmi::PropertyBag;
using wmi::Variant;

class NativeRegistry : public testing::ScratchKeyTest {
protected:
    PropertyBag Call(std::string_view method, PropertyBag in) {
        in["hDefKey"] = Variant(kCurrentUser);
        return registry_->Exec_Method(method, in);
    }
    static std::vector<std::string> Texts(const Variant& array) {
        std::vector<std::string> texts;
        for (const Variant& item : array.As_Array()) texts.push_back(item.As_String());
        std::sort(texts.begin(), texts.end());
        return texts;
    }

    NativeStore store_;
    wmi::ServicesPtr services_ = Make_Store_Services(store_, "root\\default");
    wmi::ObjectPtr registry_ = services_->Get("StdRegProv");
};

TEST_F(NativeRegistry, EnumeratesKeysAndValuesWrittenByTheRegistryApi) {
    Create("Alpha");
    Create("beta\\Deep");
    testing::ScratchKeyTest::Write_Text("", "Name", L"Corvane");
    Write_Dword("", "Count", 7);

    std::vector<std::string> keys;
    ASSERT_EQ(kStatusOk, store_.Enum_Keys(kCurrentUser, Full(""), keys));
    std::sort(keys.begin(), keys.end());
    EXPECT_EQ((std::vector<std::string>{"Alpha", "beta"}), keys);

    const PropertyBag enumKey = Call("EnumKey", {{"sSubKeyName", Variant(Full(""))}});
    EXPECT_EQ(0, enumKey.at("ReturnValue").As_Int32());
    EXPECT_EQ((std::vector<std::string>{"Alpha", "beta"}), Texts(enumKey.at("sNames")));

    const PropertyBag enumValues = Call("EnumValues", {{"sSubKeyName", Variant(Full(""))}});
    EXPECT_EQ((std::vector<std::string>{"Count", "Name"}), Texts(enumValues.at("sNames")));
    const auto& names = enumValues.at("sNames").As_Array();
    const auto& types = enumValues.at("Types").As_Array();
    ASSERT_EQ(names.size(), types.size());
    for (std::size_t index = 0; index < names.size(); ++index) {
        EXPECT_EQ(names[index].As_String() == "Name" ? 1 : 4, types[index].As_Int32());
    }

    // A trailing "\" is passed through; the registry opens the key.
    EXPECT_EQ(kStatusOk, store_.Enum_Keys(kCurrentUser, Full("") + "\\", keys));
    EXPECT_EQ(2u, keys.size());

    // A missing key: status 2 and an unassigned array, as StdRegProv answers.
    const PropertyBag missing = Call("EnumKey", {{"sSubKeyName", Variant(Full("Nowhere"))}});
    EXPECT_EQ(2, missing.at("ReturnValue").As_Int32());
    EXPECT_TRUE(missing.at("sNames").Is_Empty());
}

TEST_F(NativeRegistry, ReadsTextExpandedTextAndNumbers) {
    Write_Text("", "Plain", L"C:\\Program Files\\Corvane\\Corvane.exe");
    Write_Text("", "Expand", L"%SystemRoot%\\system32", REG_EXPAND_SZ);
    Write_Text("", "Unicode", L"Gr\u00fc\u00dfe \u65e5\u672c");
    Write_Dword("", "Flags", 0xFFFFFFF0u);

    EXPECT_EQ("C:\\Program Files\\Corvane\\Corvane.exe",
              Call("GetStringValue", {{"sSubKeyName", Variant(Full(""))}, {"sValueName", Variant("Plain")}})
                  .at("sValue")
                  .As_String());
    const std::string expanded =
        Call("GetExpandedStringValue", {{"sSubKeyName", Variant(Full(""))}, {"sValueName", Variant("Expand")}})
            .at("sValue")
            .As_String();
    EXPECT_EQ(std::string::npos, expanded.find('%'));
    EXPECT_TRUE(expanded.ends_with("\\system32")) << expanded;
    EXPECT_EQ("Gr\xc3\xbc\xc3\x9f" "e \xe6\x97\xa5\xe6\x9c\xac",
              Call("GetStringValue", {{"sSubKeyName", Variant(Full(""))}, {"sValueName", Variant("Unicode")}})
                  .at("sValue")
                  .As_String());
    EXPECT_EQ(0xFFFFFFF0,
              Call("GetDWORDValue", {{"sSubKeyName", Variant(Full(""))}, {"sValueName", Variant("Flags")}})
                  .at("uValue")
                  .As_Int64());

    const PropertyBag absent =
        Call("GetStringValue", {{"sSubKeyName", Variant(Full(""))}, {"sValueName", Variant("Absent")}});
    EXPECT_EQ(2, absent.at("ReturnValue").As_Int32());

    // Values longer than the first buffer come back whole.
    const std::wstring longText(3000, L'x');
    Write_Text("", "Long", longText);
    RegistryValue value;
    ASSERT_EQ(kStatusOk, store_.Get_Value(kCurrentUser, Full(""), "Long", value));
    EXPECT_EQ(3000u, value.text.size());
}

TEST_F(NativeRegistry, ChecksAccessByOpeningTheKey) {
    Create("Open");
    const PropertyBag granted =
        Call("CheckAccess", {{"sSubKeyName", Variant(Full("Open"))}, {"uRequired", Variant(std::uint32_t{1})}});
    EXPECT_EQ(0, granted.at("ReturnValue").As_Int32());
    EXPECT_TRUE(granted.at("bGranted").As_Bool());

    const PropertyBag missing =
        Call("CheckAccess", {{"sSubKeyName", Variant(Full("Gone"))}, {"uRequired", Variant(std::uint32_t{0x10000})}});
    EXPECT_EQ(2, missing.at("ReturnValue").As_Int32());
    EXPECT_FALSE(missing.at("bGranted").As_Bool());
}

TEST_F(NativeRegistry, DeletesValuesAndKeysButNoKeyWithSubKeys) {
    Create("Parent\\Child");
    testing::ScratchKeyTest::Write_Text("Parent", "Stale", L"old");

    EXPECT_EQ(0, Call("DeleteValue", {{"sSubKeyName", Variant(Full("Parent"))}, {"sValueName", Variant("Stale")}})
                     .at("ReturnValue")
                     .As_Int32());
    EXPECT_FALSE(Value_Exists("Parent", "Stale"));
    EXPECT_EQ(2, Call("DeleteValue", {{"sSubKeyName", Variant(Full("Parent"))}, {"sValueName", Variant("Stale")}})
                     .at("ReturnValue")
                     .As_Int32());

    // A key with sub-keys stays, as the registry API refuses it.
    EXPECT_EQ(5, Call("DeleteKey", {{"sSubKeyName", Variant(Full("Parent"))}}).at("ReturnValue").As_Int32());
    EXPECT_TRUE(Key_Exists("Parent\\Child"));
    EXPECT_EQ(0, Call("DeleteKey", {{"sSubKeyName", Variant(Full("Parent\\Child"))}}).at("ReturnValue").As_Int32());
    EXPECT_EQ(0, Call("DeleteKey", {{"sSubKeyName", Variant(Full("Parent"))}}).at("ReturnValue").As_Int32());
    EXPECT_FALSE(Key_Exists("Parent"));
    EXPECT_EQ(2, Call("DeleteKey", {{"sSubKeyName", Variant(Full("Parent"))}}).at("ReturnValue").As_Int32());

    // The root itself is never deleted.
    EXPECT_NE(kStatusOk, store_.Delete_Key(kCurrentUser, ""));
}

TEST_F(NativeRegistry, CreatesKeysAndWritesValuesThatTheRegistryApiReadsBack) {
    EXPECT_EQ(0, Call("CreateKey", {{"sSubKeyName", Variant(Full("New\\Deeper"))}}).at("ReturnValue").As_Int32());
    EXPECT_TRUE(Key_Exists("New\\Deeper"));

    RegistryValue multi;
    multi.type = kRegMultiSz;
    multi.parts = {"one", "two"};
    ASSERT_EQ(kStatusOk, store_.Set_Value(kCurrentUser, Full("New"), "Multi", multi));
    RegistryValue binary;
    binary.type = kRegBinary;
    binary.bytes = {1, 2, 255};
    ASSERT_EQ(kStatusOk, store_.Set_Value(kCurrentUser, Full("New"), "Bytes", binary));

    wchar_t buffer[32] = {};
    DWORD size = sizeof(buffer);
    ASSERT_EQ(ERROR_SUCCESS, RegGetValueW(HKEY_CURRENT_USER, Widen(Full("New")).c_str(), L"Multi", RRF_RT_REG_MULTI_SZ,
                                          nullptr, buffer, &size));
    EXPECT_EQ(std::wstring_view(L"one\0two\0", 8), std::wstring_view(buffer, 8));

    RegistryValue back;
    ASSERT_EQ(kStatusOk, store_.Get_Value(kCurrentUser, Full("New"), "Multi", back));
    EXPECT_EQ(multi.parts, back.parts);
    ASSERT_EQ(kStatusOk, store_.Get_Value(kCurrentUser, Full("New"), "Bytes", back));
    EXPECT_EQ(binary.bytes, back.bytes);

    // Writing into a key that does not exist fails instead of creating it.
    EXPECT_EQ(kStatusNotFound, store_.Set_Value(kCurrentUser, Full("Absent"), "x", multi));
    EXPECT_FALSE(Key_Exists("Absent"));
}


// A key-tree deletion removes a registry link itself and never what it points at.
TEST_F(NativeRegistry, KeyTreeDeletionRemovesALinkNotItsTarget) {
    const wchar_t* target = L"Software\\CorvaneLinkTarget\\Inside";
    HKEY key = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExW(HKEY_LOCAL_MACHINE, target, 0, nullptr, REG_OPTION_VOLATILE, KEY_ALL_ACCESS,
                                             nullptr, &key, nullptr));
    RegCloseKey(key);
    Create("Tree");
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExW(HKEY_CURRENT_USER, Widen(Full("Tree\\Link")).c_str(), 0, nullptr,
                                             REG_OPTION_VOLATILE | REG_OPTION_CREATE_LINK, KEY_ALL_ACCESS, nullptr,
                                             &key, nullptr));
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
