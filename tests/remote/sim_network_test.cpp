// The simulated network itself: names and aliases, credentials, faults and
// the record of calls that other tests rely on.
#include "remote/sim/sim_network.h"

#include <gtest/gtest.h>

#include "base/runtime_error.h"

namespace corvane::remote {
namespace {

std::int32_t Connect_Error(SimNetwork& network, std::string_view server, std::string_view user,
                           std::string_view password, std::string_view nameSpace = "root\\cimv2") {
    try {
        (void)network.ConnectServer(server, nameSpace, user, password, 128);
    } catch (const RuntimeError& error) {
        return error.Number();
    }
    return 0;
}

TEST(SimNetwork, NamesAliasesAndCredentials) {
    SimNetwork network;
    SimComputer& pc = network.Add_Computer("PC7");
    pc.aliases = {"10.0.0.7", "pc7.example.org"};
    pc.users["Admin"] = "pw";
    EXPECT_EQ(Connect_Error(network, "pc7", "admin", "pw"), 0);
    EXPECT_EQ(Connect_Error(network, "10.0.0.7", "EXAMPLE\\admin", "pw"), 0);
    EXPECT_EQ(Connect_Error(network, "PC7.EXAMPLE.ORG", "admin", "PW"), static_cast<std::int32_t>(0x80070005u));
    EXPECT_EQ(Connect_Error(network, "PC7", "other", "pw"), static_cast<std::int32_t>(0x80070005u));
    EXPECT_EQ(Connect_Error(network, "PC7", "", ""), 0);
    pc.acceptsCallerIdentity = false;
    EXPECT_EQ(Connect_Error(network, "PC7", "", ""), static_cast<std::int32_t>(0x80070005u));
    EXPECT_EQ(Connect_Error(network, "PC8", "", ""), static_cast<std::int32_t>(0x800706BAu));
    pc.reachable = false;
    EXPECT_EQ(Connect_Error(network, "PC7", "admin", "pw"), static_cast<std::int32_t>(0x800706BAu));
    EXPECT_EQ(network.Count(CallKind::Connect), 8u);
    EXPECT_EQ(network.Count(CallKind::Connect, "10.0.0"), 1u);
}

TEST(SimNetwork, FaultsOnceOrFromTheNthCallOn) {
    SimNetwork network;
    network.Add_Computer("PC1");
    auto services = network.ConnectServer("PC1", "root\\cimv2", "", "", 0);
    network.Add_Fault({CallKind::Query, "PC1", "win32_process", 0x80010108u, 3, false});
    network.Add_Fault({std::nullopt, "", "LogicalDisk", 0x800706BFu, 2, true});
    const std::string processes = "Select Name From Win32_Process";
    const std::string disks = "Select Name From Win32_LogicalDisk";
    EXPECT_NO_THROW((void)services->ExecQuery(processes));
    EXPECT_NO_THROW((void)services->ExecQuery(processes));
    EXPECT_THROW((void)services->ExecQuery(processes), RuntimeError);
    EXPECT_THROW((void)services->ExecQuery(processes), RuntimeError);
    EXPECT_NO_THROW((void)services->ExecQuery(disks));
    EXPECT_THROW((void)services->ExecQuery(disks), RuntimeError);
    EXPECT_NO_THROW((void)services->ExecQuery(disks));
    EXPECT_EQ(network.Count(CallKind::Query, "Win32_Process"), 4u);  // failing calls are recorded too
    network.Clear_Faults();
    EXPECT_NO_THROW((void)services->ExecQuery(processes));
}

TEST(SimNetwork, RecordsMethodCallsWithTheirParameters) {
    SimNetwork network;
    SimComputer& pc = network.Add_Computer("PC1");
    pc.registry.Set_String(kHkeyUsers, "S-1\\Env", "TEMP", "C:\\Temp");
    auto registry = network.ConnectServer("PC1", "root\\default", "", "", 0)->Get("StdRegProv");
    (void)registry->Exec_Method("GetStringValue", {{"hDefKey", wmi::Variant(kHkeyUsers)},
                                                   {"sSubKeyName", wmi::Variant("S-1\\Env")},
                                                   {"sValueName", wmi::Variant("TEMP")}});
    const CallRecord& call = network.calls.back();
    EXPECT_EQ(call.computer, "PC1");
    EXPECT_EQ(call.kind, CallKind::Method);
    EXPECT_EQ(call.nameSpace, "root\\default");
    EXPECT_EQ(call.text, "StdRegProv.GetStringValue");
    EXPECT_EQ(call.in.at("sValueName").As_String(), "TEMP");
    network.recordCalls = false;
    (void)registry->Exec_Method("EnumKey", {});
    EXPECT_EQ(network.Count(CallKind::Method), 1u);
}

TEST(SimNetwork, SharesOfComputers) {
    SimNetwork network("HOME");
    SimComputer& pc = network.Add_Computer("PC1");
    pc.files.Add_File("C:\\Data\\a.txt", 1);
    EXPECT_EQ(network.Find("\\\\PC1\\C$\\Data\\a.txt", kListFiles), ListingResult::Found);
    EXPECT_EQ(network.Find("\\\\pc1\\c$\\data\\A.TXT", kListEverything), ListingResult::Found);
    EXPECT_EQ(network.Find("\\\\PC1\\C$\\Data", kListFiles), ListingResult::NotFound);
    EXPECT_EQ(network.Find("\\\\PC1\\C$\\Data", kListEverything), ListingResult::Found);
    EXPECT_EQ(network.Find("\\\\PC1\\C$\\Data\\b.txt", kListFiles), ListingResult::NotFound);
    EXPECT_EQ(network.Find("\\\\PC1\\D$\\", kListEverything), ListingResult::Unavailable);
    EXPECT_EQ(network.Find("\\\\PC1\\Data\\a.txt", kListFiles), ListingResult::Unavailable);
    EXPECT_EQ(network.Find("\\\\PC9\\C$\\", kListEverything), ListingResult::Unavailable);
    pc.reachable = false;
    EXPECT_EQ(network.Find("\\\\PC1\\C$\\Data\\a.txt", kListFiles), ListingResult::Unavailable);
    network.Local().files.Add_File("C:\\here.txt");
    EXPECT_EQ(network.Find("C:\\here.txt", kListFiles), ListingResult::Found);
    EXPECT_EQ(network.Computer_Name(), "HOME");
}

}  // namespace
}  // namespace corvane::remote
