// The WMI classes served over a simulated computer, as the program sees them
// through ExecQuery, Get and method calls.
#include <gtest/gtest.h>

#include "base/runtime_error.h"
#include "remote/sim/sim_computer.h"
#include "remote/store_services.h"
#include "support/expect_error.h"

namespace corvane::remote {
namespace {

using wmi::Variant;

using testing::Raises;

class ProvidersTest : public ::testing::Test {
protected:
    ProvidersTest() : computer("PC1") {
        computer.files.Add_File("C:\\Windows\\Temp\\Report.TXT", 1536, {2009, 4, 7, 15, 2, 9, 120});
        computer.files.Add_File("C:\\Windows\\Temp\\noext", 10);
        computer.files.Add_Folder("C:\\Windows\\Temp\\Sub.Dir");
        computer.files.Add_File("C:\\Windows\\Temp\\Sub.Dir\\inner.tmp", 5);
        cimv2 = Make_Store_Services(computer, "root\\cimv2");
        rootDefault = Make_Store_Services(computer, "ROOT\\DEFAULT");
        registry = rootDefault->Get("StdRegProv");
    }

    wmi::PropertyBag Reg(std::string_view method, wmi::PropertyBag in) { return registry->Exec_Method(method, in); }

    SimComputer computer;
    wmi::ServicesPtr cimv2;
    wmi::ServicesPtr rootDefault;
    wmi::ObjectPtr registry;
};

TEST_F(ProvidersTest, FolderQueryListsOneFolderInLowerCaseWithoutWalkingTheDrive) {
    const auto files = cimv2->ExecQuery(
        "Select Name, FileName, Extension, FileSize, FileType From CIM_DataFile Where Drive ='C:' And Path "
        "='\\\\Windows\\\\Temp\\\\'",
        48);
    ASSERT_EQ(files.size(), 2u);
    EXPECT_EQ(files[0]->Get("Name").As_String(), "c:\\windows\\temp\\noext");
    EXPECT_EQ(files[0]->Get("Extension").As_String(), "");
    EXPECT_EQ(files[1]->Get("Name").As_String(), "c:\\windows\\temp\\report.txt");
    EXPECT_EQ(files[1]->Get("FileName").As_String(), "report");
    EXPECT_EQ(files[1]->Get("Extension").As_String(), "txt");
    EXPECT_EQ(files[1]->Get("FileSize"), Variant("1536"));  // 64-bit numbers come as text
    EXPECT_EQ(files[1]->Get("FileType").As_String(), "Text Document");
    const auto folders = cimv2->ExecQuery(
        "Select Name, Extension, FileType From Win32_Directory Where Drive ='c:' And Path ='\\\\windows\\\\temp\\\\'");
    ASSERT_EQ(folders.size(), 1u);
    EXPECT_EQ(folders[0]->Get("Name").As_String(), "c:\\windows\\temp\\sub.dir");
    EXPECT_EQ(folders[0]->Get("Extension").As_String(), "dir");
    EXPECT_EQ(computer.files.Full_Walks(), 0u);
    // Without the trailing "\" of Path nothing matches, as on Windows.
    EXPECT_TRUE(
        cimv2->ExecQuery("Select Name From CIM_DataFile Where Drive='C:' And Path='\\\\Windows\\\\Temp'").empty());
}

TEST_F(ProvidersTest, PropertiesOutsideTheSelectListAreNotThere) {
    const auto files = cimv2->ExecQuery("Select name from CIM_Datafile where name='C:\\\\Windows\\\\Temp\\\\noext'");
    ASSERT_EQ(files.size(), 1u);
    EXPECT_TRUE(Raises([&] { (void)files[0]->Get("FileSize"); }, Hresult_Number(0x80041002u)));
    const auto all = cimv2->ExecQuery("Select * from CIM_DataFile where Name='C:\\\\Windows\\\\Temp\\\\Report.txt'");
    ASSERT_EQ(all.size(), 1u);
    EXPECT_EQ(all[0]->Get("CreationDate").As_String(), "20090407150209.000000+120");
}

TEST_F(ProvidersTest, NameQueriesKeepFilesAndFoldersApart) {
    EXPECT_TRUE(
        cimv2->ExecQuery("Select Name from Win32_Directory Where name='C:\\\\Windows\\\\Temp\\\\noext'").empty());
    EXPECT_EQ(cimv2->ExecQuery("Select Name from Win32_Directory Where name='c:\\\\WINDOWS\\\\temp'").size(), 1u);
    EXPECT_TRUE(cimv2->ExecQuery("Select name from CIM_Datafile where name='C:\\\\Windows\\\\Temp'").empty());
    EXPECT_EQ(computer.files.Full_Walks(), 0u);
}

// Names, types and expanded texts reach the program through wmi_registry_test.
TEST_F(ProvidersTest, RegistryAnswersOfStdRegProv) {
    computer.registry.Set_String(kHkeyLocalMachine, "Software\\A", "Exp", "%SystemRoot%\\x", kRegExpandSz);
    computer.registry.Set_Dword(kHkeyLocalMachine, "Software\\A", "Count", 7);
    computer.registry.Set_String(kHkeyLocalMachine, "Software\\A\\Beta", "", "");

    // hDefKey defaults to HKLM.
    EXPECT_EQ(Reg("EnumValues", {{"sSubKeyName", Variant("Software\\A")}})["sNames"].As_Array().size(), 2u);
    auto out = Reg("EnumKey", {{"hDefKey", Variant(kHkeyLocalMachine)}, {"sSubKeyName", Variant("Software\\Missing")}});
    EXPECT_EQ(out["ReturnValue"].As_Int32(), 2);
    EXPECT_TRUE(out["sNames"].Is_Empty());
    out = Reg("EnumValues", {{"hDefKey", Variant(kHkeyLocalMachine)}, {"sSubKeyName", Variant("Software\\A\\Beta")}});
    EXPECT_EQ(out["ReturnValue"].As_Int32(), 0);
    EXPECT_EQ(out["sNames"].As_Array().size(), 1u);  // only the default value ""

    wmi::PropertyBag read{{"hDefKey", Variant(kHkeyLocalMachine)},
                          {"sSubKeyName", Variant("Software\\A")},
                          {"sValueName", Variant("Exp")}};
    EXPECT_EQ(Reg("GetStringValue", read)["sValue"].As_String(), "%SystemRoot%\\x");
    read["sValueName"] = Variant("Count");
    out = Reg("GetStringValue", read);
    EXPECT_EQ(static_cast<std::uint32_t>(out["ReturnValue"].As_Int32()), 0x80041005u);
    EXPECT_TRUE(out["sValue"].Is_Empty());
    read["sValueName"] = Variant("Absent");
    EXPECT_EQ(Reg("GetStringValue", read)["ReturnValue"].As_Int32(), 2);
}

}  // namespace
}  // namespace corvane::remote
