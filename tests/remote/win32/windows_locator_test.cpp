// The Windows locator sends the local computer's names to the native store
// (which the scan then takes for the local computer) and every other name to
// WMI over COM.
#include <gtest/gtest.h>

#include <chrono>
#include <memory>

#include "base/runtime_error.h"
#include "base/text.h"
#include "remote/win32/windows_locator.h"
#include "remote/win32/windows_remote_ports.h"
#include "support/fakes.h"
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

TEST_F(WindowsLocatorTest, TheCallLimitIsThePerUserSettingAndTheLocalStoreTakesNone) {
    corvane::testing::FakeClock clock;
    corvane::testing::FakeMessageBox messages;
    Reporter reporter(messages);
    const auto limit = [&] {
        return WindowsRemotePorts("", reporter, clock, Widen(testing::kScratchKey)).Ports().callLimit;
    };
    EXPECT_EQ(limit(), wmi::kDefaultCallLimit);
    Write_Text("Connection", "CallTimeLimit", L"5");
    EXPECT_EQ(limit(), std::chrono::seconds(5));

    const auto calls = std::make_shared<wmi::CallControl>(std::chrono::milliseconds(1));
    calls->Cancel_Calls();
    const wmi::ServicesPtr root = locator_.ConnectServer("LOCALHOST", "root\\default", "", {}, 0, calls);
    EXPECT_EQ(root->Call_Control(), nullptr);
    EXPECT_NO_THROW((void)root->Get("StdRegProv"));
}

}  // namespace
}  // namespace corvane::remote::win32
