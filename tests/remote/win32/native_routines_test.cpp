// The remote routines on the local computer as the program runs them: the
// Windows locator sends "LOCALHOST" to the native store, the computer learns
// that it is the local one, and a string value is read through the local
// registry port. What the routines and the store do otherwise is covered on
// the simulated computer and by the store contract.
#include <gtest/gtest.h>

#include "base/reporter.h"
#include "remote/win32/native_ports.h"
#include "remote/win32/windows_locator.h"
#include "remote/wmi_connection.h"
#include "remote/wmi_files.h"
#include "remote/wmi_registry.h"
#include "remote/wmi_system.h"
#include "support/fakes.h"
#include "win32_test_support.h"

namespace corvane::remote::win32 {
namespace {

using testing::kCurrentUser;
using wmi::Variant;

class NativeRoutines : public testing::ScratchKeyTest {
protected:
    WindowsLocator locator_;
    NativeShareLister shares_;
    NativeLocalRegistry localRegistry_;
    NativeLocalSystem localSystem_;
    corvane::testing::FakeClock clock_;
    corvane::testing::FakeMessageBox messages_;
    Reporter reporter_{messages_};
    RemotePorts ports_{locator_, reporter_, clock_, shares_, localRegistry_, localSystem_};
    TargetContext context_{ports_};
};

TEST_F(NativeRoutines, TheLocalComputerIsLearnedAndReadNatively) {
    Write_Text("", "Text", L"C:\\Program Files\\App\\app.exe");
    context_.Start_Computer("LOCALHOST");
    std::string errorText = "untouched";
    const wmi::ServicesPtr cimv2 = WMI_Connect(context_, "cimv2", errorText);
    ASSERT_TRUE(cimv2) << errorText;
    EXPECT_EQ("", errorText);
    const wmi::ServicesPtr rootDefault = WMI_Connect(context_, "default", errorText);
    ASSERT_TRUE(rootDefault) << errorText;

    ASSERT_TRUE(WMI_Get_Computer_Name(*cimv2, context_.TargetName));
    EXPECT_EQ(localSystem_.Computer_Name(), context_.TargetName);
    context_.Decide_Is_Remote(*cimv2);
    EXPECT_FALSE(context_.IsRemote);
    ASSERT_TRUE(WMI_Get_Fixed_Drives(*cimv2, context_.FixedDrives));
    EXPECT_TRUE(Is_Fixed_Drive(context_, "c:"));

    Variant value;
    EXPECT_EQ(StringRead::Read, WMI_Get_String_Value(context_, *rootDefault->Get("StdRegProv"), kCurrentUser, Full(""),
                                                     "Text", 1, value));
    EXPECT_EQ("C:\\Program Files\\App\\app.exe", value.As_String());
    EXPECT_TRUE(messages_.shown.empty());
}

}  // namespace
}  // namespace corvane::remote::win32
