// The Windows locator sends the local computer's names to the native store
// (which the scan then takes for the local computer) and every other name to
// WMI over COM.
#include <gtest/gtest.h>

#include "base/runtime_error.h"
#include "base/text.h"
#include "remote/win32/windows_locator.h"
#include "win32_test_support.h"

namespace corvane::remote::win32 {
namespace {

using wmi::Variant;

class WindowsLocatorTest : public testing::ScratchKeyTest {
protected:
    // CheckAccess exists in the native store's StdRegProv but not in Wine's
    // WMI: a way to tell which backend answered. The native store also says
    // it is the local computer, which makes the scan treat it as such.
    bool Served_Natively(std::string_view server) {
        try {
            const wmi::ServicesPtr root =
                locator_.ConnectServer(server, "root\\default", "", {}, wmi::kConnectUseMaxWait);
            const wmi::PropertyBag out = root->Get("StdRegProv")
                                             ->Exec_Method("CheckAccess", {{"hDefKey", Variant(testing::kCurrentUser)},
                                                                           {"sSubKeyName", Variant(Full(""))},
                                                                           {"uRequired", Variant(std::uint32_t{1})}});
            return out.at("bGranted").As_Bool() && root->Is_Local_Computer();
        } catch (const RuntimeError&) {
            return false;
        }
    }

    WindowsLocator locator_;
};

TEST_F(WindowsLocatorTest, ServesTheLocalComputersNamesNativelyAndOthersThroughWmi) {
    Create("");
    EXPECT_TRUE(Served_Natively("LOCALHOST"));  // the other local names: LocatorChooser's tests
    ASSERT_FALSE(locator_.Local_Name().empty());
    EXPECT_TRUE(Served_Natively(Lower_Ascii(locator_.Local_Name())));
    // Wine's WMI either refuses a remote computer or serves it without CheckAccess.
    EXPECT_FALSE(Served_Natively("PC-THAT-IS-NOT-HERE"));
}

}  // namespace
}  // namespace corvane::remote::win32
