// The native store's system side under Wine: the computer's name, starting cmd.exe
// through Win32_Process.Create and waiting for it through the process list.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <thread>

#include "base/text.h"
#include "remote/store_services.h"
#include "remote/win32/native_ports.h"
#include "remote/win32/native_store.h"
#include "win32_test_support.h"

namespace corvane::remote::win32 {
namespace {

using wmi::Variant;

class NativeSystem : public testing::ScratchFolderTest {
protected:
    NativeStore store_;
    wmi::ServicesPtr cimv2_ = Make_Store_Services(store_, "root\\cimv2");
};

TEST_F(NativeSystem, TheLocalPortNamesThisComputerAndItsVersion) {
    NativeLocalSystem local;
    EXPECT_TRUE(Equals_Ignore_Case(local.Computer_Name(), store_.Os_Facts().computerName));
    EXPECT_LE(local.Computer_Name().size(), 15u);
    const OsVersionNumbers version = local.Os_Version();
    EXPECT_EQ(2u, version.platformId);
    EXPECT_GE(version.major, 6u) << "Wine reports Windows 7 or later";
}

TEST_F(NativeSystem, StartsCmdAndSeesItEnd) {
    const std::string marker = Path("done.txt");
    const wmi::ObjectPtr process = cimv2_->Get("Win32_Process");
    const wmi::PropertyBag out =
        process->Exec_Method("Create", {{"CommandLine", Variant("cmd.exe /c echo ok> \"" + marker + "\"")}});
    ASSERT_EQ(0, out.at("ReturnValue").As_Int32());
    const std::int64_t processId = out.at("ProcessId").As_Int64();
    EXPECT_GT(processId, 0);

    // Wait as the program does: poll the process list until the id is gone.
    bool ended = false;
    for (int attempt = 0; attempt < 300 && !ended; ++attempt) {
        ended =
            cimv2_->ExecQuery("Select Name From Win32_Process where ProcessId=" + std::to_string(processId)).empty();
        if (!ended) std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    EXPECT_TRUE(ended);
    EXPECT_TRUE(Exists("done.txt"));

    const wmi::PropertyBag bad =
        process->Exec_Method("Create", {{"CommandLine", Variant("C:\\no\\such\\program.exe")}});
    EXPECT_EQ(9, bad.at("ReturnValue").As_Int32()) << "Invalid Start File... path not found";
}

TEST_F(NativeSystem, ListsRunningProcessesWithThisProgramAmongThem) {
    const auto processes = store_.Processes();
    const auto self = std::find_if(processes.begin(), processes.end(),
                                   [](const ProcessEntry& entry) { return entry.processId == GetCurrentProcessId(); });
    ASSERT_NE(processes.end(), self);
    EXPECT_TRUE(Equals_Ignore_Case(self->name, "remote_win32_tests.exe")) << self->name;
}

TEST_F(NativeSystem, ReportsAFailedRestorePointAsAResultCode) {
    // Wine has System Restore's library but no restore points: creating one
    // fails with a code (as WMI answers), never with an exception.
    if (!store_.Has_System_Restore()) GTEST_SKIP() << "no System Restore here";
    const wmi::ServicesPtr root = Make_Store_Services(store_, "root\\default");
    const wmi::PropertyBag out =
        root->Get("SystemRestore")
            ->Exec_Method("CreateRestorePoint", {{"Description", Variant("CVNRestorePoint(2026-12-06)(11-45-00)")},
                                                 {"RestorePointType", Variant(std::int32_t{12})},
                                                 {"EventType", Variant(std::int32_t{100})}});
    EXPECT_NE(0, out.at("ReturnValue").As_Int32());

    // The list comes from the system's own SystemRestore class (Wine's has
    // one placeholder row) and reaches the query engine without error.
    EXPECT_NO_THROW((void)root->InstancesOf("SystemRestore"));
}

}  // namespace
}  // namespace corvane::remote::win32
