// The COM backend against Wine's own WMI service. Only what Wine's WMI is
// known to answer is asked here (the computer name, which the local port
// must name too, StdRegProv.EnumKey, the namespaces); WMI semantics are tested on the simulated computers, and what
// Wine's provider itself does with a key is not ours to test.
#include <gtest/gtest.h>

#include <algorithm>

#include "base/runtime_error.h"
#include "base/text.h"
#include "remote/win32/com_locator.h"
#include "remote/win32/native_ports.h"
#include "support/expect_error.h"
#include "win32_test_support.h"

namespace corvane::remote::win32 {
namespace {

using ::corvane::testing::Raises;

using wmi::Variant;

class ComWmi : public testing::ComTest {
protected:
    ComLocator locator_;
};

TEST_F(ComWmi, ReadsTheComputerNameFromRootCimv2) {
    const wmi::ServicesPtr cimv2 = locator_.ConnectServer("", "root\\cimv2", "", {}, wmi::kConnectUseMaxWait);
    const auto systems = cimv2->ExecQuery("Select Name From Win32_ComputerSystem", wmi::kReturnImmediately);
    ASSERT_EQ(1u, systems.size());
    NativeLocalSystem local;
    EXPECT_TRUE(Equals_Ignore_Case(local.Computer_Name(), systems[0]->Get("Name").As_String()));
    const OsVersionNumbers version = local.Os_Version();
    EXPECT_EQ(2u, version.platformId);
    EXPECT_GE(version.major, 6u) << "Wine reports Windows 7 or later";

    EXPECT_TRUE(Raises([&] { (void)systems[0]->Get("NoSuchProperty"); }, Hresult_Number(0x80041002u), "Not found"));
    EXPECT_FALSE(cimv2->InstancesOf("Win32_ComputerSystem").empty());
}

TEST_F(ComWmi, EnumeratesKeysThroughStdRegProvOfRootDefault) {
    const wmi::ServicesPtr root = locator_.ConnectServer(".", "root\\default", "", {}, 0);
    const wmi::ObjectPtr registry = root->Get("StdRegProv");
    const wmi::PropertyBag out = registry->Exec_Method(
        "EnumKey", {{"hDefKey", Variant(std::uint32_t{0x80000002u})}, {"sSubKeyName", Variant("Software")}});
    EXPECT_EQ(0, out.at("ReturnValue").As_Int32());
    std::vector<std::string> names;
    for (const Variant& name : out.at("sNames").As_Array()) names.push_back(Upper_Ascii(name.As_String()));
    EXPECT_NE(names.end(), std::find(names.begin(), names.end(), "MICROSOFT"));

    EXPECT_TRUE(Raises([&] { (void)registry->Exec_Method("NoSuchMethod", {}); }, Hresult_Number(0x8004102Eu)));
}

TEST_F(ComWmi, RefusesANamespaceThatDoesNotExist) {
    EXPECT_TRUE(Raises([&] { (void)locator_.ConnectServer("", "root\\nosuchspace", "", {}, 0); },
                       Hresult_Number(0x8004100Eu), "Invalid namespace"));
}

TEST_F(ComWmi, ExplicitCredentialsSecureTheProxiesOrRaise) {
    // Windows refuses credentials on a local connection (0x80041064); Wine
    // may accept them. Either way the proxies take the identity without
    // harm, or the failure arrives as a run-time error.
    try {
        Secret password("secret");
        wmi::ServicesPtr cimv2 = locator_.ConnectServer("", "root\\cimv2", "OFFICE\\admin", password, 0);
        password = Secret();  // the connection keeps its own copy
        const auto systems = cimv2->ExecQuery("Select Name From Win32_ComputerSystem", wmi::kReturnImmediately);
        EXPECT_EQ(1u, systems.size());
        // An object outlives the services it came from, with the credentials
        // its calls go out with.
        wmi::ServicesPtr root = locator_.ConnectServer("", "root\\default", "OFFICE\\admin", Secret("secret"), 0);
        const wmi::ObjectPtr registry = root->Get("StdRegProv");
        cimv2.reset();
        root.reset();
        const wmi::PropertyBag out = registry->Exec_Method(
            "EnumKey", {{"hDefKey", Variant(std::uint32_t{0x80000002u})}, {"sSubKeyName", Variant("Software")}});
        EXPECT_EQ(0, out.at("ReturnValue").As_Int32());
    } catch (const RuntimeError& error) {
        EXPECT_LT(error.Number(), 0);
        EXPECT_FALSE(error.Description().empty());
    }
}

}  // namespace
}  // namespace corvane::remote::win32
