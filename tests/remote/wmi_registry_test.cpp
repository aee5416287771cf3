#include "remote/wmi_registry.h"

#include "base/runtime_error.h"
#include "remote_fixture.h"
#include "support/expect_error.h"

namespace corvane::testing {
namespace {

using remote::CallKind;
using remote::kHkeyLocalMachineRoot;
using remote::kHkeyUsersRoot;
using wmi::Variant;

class RegistryTest : public RemoteFixture {
protected:
    RegistryTest() : RemoteFixture(true) {
        server.registry.Set_String(remote::kHkeyLocalMachine, "Software\\App", "Dir", "C:\\App");
        server.registry.Set_String(remote::kHkeyLocalMachine, "Software\\App", "Exp", "%SystemRoot%\\App",
                                   remote::kRegExpandSz);
        server.registry.Set_Dword(remote::kHkeyLocalMachine, "Software\\App", "Count", 4);
        server.registry.Set_String(remote::kHkeyLocalMachine, "Software\\App", "Blank", "");
    }
};

TEST_F(RegistryTest, EnumerationsOfMissingKeysAreEmptySuccesses) {
    std::vector<std::string> names{"stale"};
    EXPECT_TRUE(remote::WMI_Enum_Key(Reg(), kHkeyLocalMachineRoot, "Software\\Nothing", names));
    EXPECT_TRUE(names.empty());
    names = {"stale"};
    EXPECT_TRUE(remote::WMI_Enum_Values(Reg(), kHkeyLocalMachineRoot, "Software\\Nothing", names));
    EXPECT_TRUE(names.empty());
    EXPECT_TRUE(remote::WMI_Enum_Values(Reg(), kHkeyLocalMachineRoot, "Software\\App", names));
    EXPECT_EQ(names, (std::vector<std::string>{"Dir", "Exp", "Count", "Blank"}));
}

TEST_F(RegistryTest, EnumStringValuesReadsOnlyTextTypes) {
    std::vector<std::string> names;
    std::vector<std::int32_t> types;
    std::vector<Variant> values;
    ASSERT_TRUE(remote::WMI_Enum_String_Values(Reg(), kHkeyLocalMachineRoot, "Software\\App", names, types, values));
    EXPECT_EQ(types, (std::vector<std::int32_t>{1, 2, 4, 1}));
    // Expanded; a DWORD left empty.
    EXPECT_EQ(values, (std::vector<Variant>{Variant("C:\\App"), Variant("C:\\Windows\\App"), Variant(), Variant("")}));
    server.registry.Create_Key(remote::kHkeyLocalMachine, "Software\\Empty");
    EXPECT_FALSE(remote::WMI_Enum_String_Values(Reg(), kHkeyLocalMachineRoot, "Software\\Empty", names, types, values));
    EXPECT_FALSE(remote::WMI_Enum_String_Values(Reg(), kHkeyLocalMachineRoot, "Software\\Gone", names, types, values));
}

// A remote target is asked through StdRegProv, and only for type 1; the local
// one is read natively, whatever the type, without a call.
TEST_F(RegistryTest, GetStringValueRemotelyOrNativelyOnTheLocalTarget) {
    network.Local().registry.Set_Dword(remote::kHkeyLocalMachine, "Software\\App", "Count", 9);
    network.Local().registry.Set_String(remote::kHkeyLocalMachine, "Software\\App", "Dir", "D:\\Here");
    const struct {
        const char* computer;
        const char* key;
        const char* name;
        std::int32_t type;
        const char* passedIn;  // the value handed in; "" for none
        remote::StringRead result;
        const char* value;  // the value handed back
    } cases[] = {
        {"SERVER1", "Software\\App", "Dir", 1, "", remote::StringRead::Read, "C:\\App"},
        {"SERVER1", "Software\\App", "Blank", 1, "", remote::StringRead::Empty, ""},
        {"SERVER1", "Software\\App", "Nope", 1, "", remote::StringRead::ProviderError, ""},
        {"SERVER1", "Software\\Gone", "Dir", 1, "", remote::StringRead::ProviderError, ""},
        {"SERVER1", "Software\\App", "Count", 4, "", remote::StringRead::Empty, ""},
        {"SERVER1", "Software\\App", "Count", 4, "passed in", remote::StringRead::Read, "passed in"},
        {"WORKSTATION", "Software\\App", "Dir", 1, "", remote::StringRead::Read, "D:\\Here"},
        {"WORKSTATION", "Software\\App", "Count", 1, "", remote::StringRead::Read, "9"},
        {"WORKSTATION", "Software\\App", "None", 1, "", remote::StringRead::Empty, ""},
    };
    for (const auto& c : cases) {
        const bool local = std::string_view(c.computer) == "WORKSTATION";
        Connect(c.computer, local ? "" : "admin", local ? "" : "secret");
        Variant value = *c.passedIn == '\0' ? Variant() : Variant(c.passedIn);
        EXPECT_EQ(remote::WMI_Get_String_Value(context, Reg(), kHkeyLocalMachineRoot, c.key, c.name, c.type, value),
                  c.result)
            << c.computer << " " << c.name;
        EXPECT_EQ(value.As_String(), c.value) << c.computer << " " << c.name;
    }
}

TEST_F(RegistryTest, RefusedAccessIsSwallowedOtherErrorsRaised) {
    for (std::uint32_t hr : {0x80070005u, 0x80041003u}) {
        network.Clear_Faults();
        network.Add_Fault({CallKind::Method, "", "", hr, 1, false});
        Variant value;
        std::vector<std::string> names;
        std::int32_t code = 77;
        EXPECT_EQ(remote::WMI_Get_String_Value(context, Reg(), kHkeyLocalMachineRoot, "Software\\App", "Dir", 1, value),
                  remote::StringRead::CallFailed);
        EXPECT_FALSE(remote::WMI_Enum_Key(Reg(), kHkeyLocalMachineRoot, "Software", names));
        EXPECT_FALSE(remote::WMI_Check_Access(Reg(), kHkeyLocalMachineRoot, "Software", 1, code));
        EXPECT_FALSE(remote::WMI_Delete_Key_Tree(Reg(), kHkeyLocalMachineRoot, "Software\\App", code));
        EXPECT_EQ(code, 77);  // outputs stay as they were
    }
    // Other failures raise: a read's the fault matrix sees end the computer, a deletion's here.
    network.Clear_Faults();
    network.Add_Fault({CallKind::Method, "", "DeleteValue", 0x80041010u, 1, true});
    std::int32_t code = 0;
    EXPECT_THROW((void)remote::WMI_Delete_Value(Reg(), kHkeyLocalMachineRoot, "Software\\App", "Dir", code),
                 RuntimeError);
}

// What the store answers (store contract) arrives as the result and its code.
TEST_F(RegistryTest, CheckAccessAndDeletionsGiveTheProvidersCode) {
    server.registry.Deny_Access(remote::kHkeyUsers, "S-1\\Locked");
    std::int32_t code = -9;
    EXPECT_TRUE(remote::WMI_Check_Access(Reg(), kHkeyLocalMachineRoot, "Software\\App", remote::kAccessDelete, code));
    EXPECT_EQ(code, 0);
    EXPECT_FALSE(remote::WMI_Check_Access(Reg(), kHkeyUsersRoot, "S-1\\Locked", remote::kAccessDelete, code));
    EXPECT_EQ(code, 5);
    EXPECT_TRUE(remote::WMI_Delete_Value(Reg(), kHkeyLocalMachineRoot, "Software\\App", "Dir", code));
    EXPECT_FALSE(remote::WMI_Delete_Key(Reg(), kHkeyLocalMachineRoot, "Software", code));
    EXPECT_EQ(code, 5);  // the provider refuses a key with sub-keys
}

// What the computer holds afterwards shows the order: the provider deletes
// no key that still has sub-keys.
TEST_F(RegistryTest, DeleteKeyTreeRemovesTheKeyAndAllBelowIt) {
    server.registry.Create_Key(remote::kHkeyUsers, "S-1\\T\\b\\x");
    server.registry.Create_Key(remote::kHkeyUsers, "S-1\\T\\a");
    server.registry.Set_String(remote::kHkeyUsers, "S-1\\T\\b", "v", "1");
    std::int32_t code = -1;
    // A trailing backslash names the same key; no provider sees it.
    ASSERT_TRUE(remote::WMI_Delete_Key_Tree(Reg(), kHkeyUsersRoot, "S-1\\T\\", code));
    EXPECT_EQ(code, 0);
    EXPECT_FALSE(server.registry.Key_Exists(remote::kHkeyUsers, "S-1\\T"));
    EXPECT_TRUE(server.registry.Key_Exists(remote::kHkeyUsers, "S-1"));
    for (const auto& call : network.calls) EXPECT_FALSE(call.in.at("sSubKeyName").As_String().ends_with('\\'));
    EXPECT_FALSE(remote::WMI_Delete_Key_Tree(Reg(), kHkeyUsersRoot, "S-1\\T", code));
    EXPECT_EQ(code, 2);
}

// Windows' provider opens a registry link as the key it points at and never
// shows its "SymbolicLinkValue": through WMI a link cannot be told from its
// target, and a key-tree deletion of it removes what it points at. Only the
// local store keeps a deletion out of a link (native_registry_test). Every
// deletion stops past 512 levels and refuses a name the registry functions
// would cut short.
TEST_F(RegistryTest, ThroughWmiALinkIsItsTargetAndDeletionsStopAtDepthAndCutNames) {
    server.registry.Set_String(remote::kHkeyLocalMachine, "Software\\Target\\Sub", "v", "x");
    server.registry.Make_Link(remote::kHkeyUsers, "S-1\\Link", "\\REGISTRY\\MACHINE\\Software\\Target");
    std::vector<std::string> names;
    std::vector<std::int32_t> types;
    ASSERT_TRUE(remote::WMI_Enum_Value_Types(Reg(), kHkeyUsersRoot, "S-1\\Link", names, types));
    EXPECT_TRUE(names.empty());
    ASSERT_TRUE(remote::WMI_Enum_Value_Types(Reg(), kHkeyUsersRoot, "S-1\\Link\\Sub", names, types));
    EXPECT_EQ(names, std::vector<std::string>{"v"});
    std::int32_t code = 0;
    EXPECT_TRUE(remote::WMI_Delete_Key_Tree(Reg(), kHkeyUsersRoot, "S-1\\Link", code));
    EXPECT_FALSE(server.registry.Key_Exists(remote::kHkeyLocalMachine, "Software\\Target"));

    std::string deep = "S-1\\Deep";
    for (int i = 0; i < 513; ++i) deep += "\\k";
    server.registry.Create_Key(remote::kHkeyUsers, deep);
    const std::string zero("S-1\\Link\0x", 11);
    EXPECT_TRUE(Raises([&] { remote::WMI_Delete_Key_Tree(Reg(), kHkeyUsersRoot, "S-1\\Deep", code); }, 28));
    EXPECT_TRUE(Raises([&] { remote::WMI_Delete_Key(Reg(), kHkeyUsersRoot, zero, code); }, 5));
    EXPECT_TRUE(Raises([&] { remote::WMI_Delete_Value(Reg(), kHkeyUsersRoot, "S-1", zero, code); }, 5));
    EXPECT_TRUE(server.registry.Key_Exists(remote::kHkeyUsers, deep));
}

}  // namespace
}  // namespace corvane::testing
