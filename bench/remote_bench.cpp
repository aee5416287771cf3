// Prints what the common remote calls cost on a large simulated computer
// (100,000 registry values, 50,000 files): EnumKey, GetStringValue,
// CheckAccess, EnumValues and a CIM_DataFile folder query, each through the
// whole path the program uses (routine, recording network, WQL engine,
// provider, store).
#include <chrono>
#include <cstdio>
#include <string>

#include "base/ports/clock.h"
#include "base/ports/message_box.h"
#include "base/reporter.h"
#include "remote/sim/sim_network.h"
#include "remote/target_context.h"
#include "remote/wmi_connection.h"
#include "remote/wmi_files.h"
#include "remote/wmi_registry.h"

namespace {

using namespace corvane;
using namespace corvane::remote;

class QuietBox final : public IMessageBox {
public:
    MsgResult Show(std::string_view, MsgButtons, MsgIcon, std::string_view) override { return MsgResult::Ok; }
};

class NoWaitClock final : public IClock {
public:
    LocalTime Now() override { return {2026, 12, 6, 12, 0, 0}; }
    void Sleep(std::uint32_t) override {}
};

template <typename Body>
void Measure(const char* name, int repetitions, Body body) {
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < repetitions; ++i) body(i);
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf("%-46s %8d calls  %10.2f us/call\n", name, repetitions, seconds * 1e6 / repetitions);
}

}  // namespace

int main() {
    SimNetwork network("ADMINPC");
    network.recordCalls = false;
    SimComputer& big = network.Add_Computer("BIGSERVER");
    big.users["admin"] = "secret";

    const auto build = std::chrono::steady_clock::now();
    for (int key = 0; key < 1000; ++key) {
        const std::string path = "Software\\Vendor" + std::to_string(key % 50) + "\\Product" + std::to_string(key);
        for (int value = 0; value < 100; ++value) {
            big.registry.Set_String(kHkeyLocalMachine, path, "Value" + std::to_string(value), "C:\\Data\\x.dll");
        }
    }
    for (int folder = 0; folder < 1000; ++folder) {
        for (int file = 0; file < 50; ++file) {
            big.files.Add_File("C:\\Data\\Folder" + std::to_string(folder) + "\\file" + std::to_string(file) + ".tmp",
                               1000 + static_cast<std::uint64_t>(file));
        }
    }
    std::printf("built %zu registry values and 50000 files in %.2f s\n", big.registry.Value_Count(),
                std::chrono::duration<double>(std::chrono::steady_clock::now() - build).count());

    QuietBox box;
    Reporter reporter(box);
    NoWaitClock clock;
    RemotePorts ports{network, reporter, clock, network, network.Local(), network};
    TargetContext context(ports);
    context.Start_Computer("BIGSERVER");
    context.UserName = "admin";
    context.Password = Secret("secret");
    std::string errorText;
    WmiConnection connection;
    connection.cimv2 = WMI_Connect(context, "cimv2", errorText);
    connection.rootDefault = WMI_Connect(context, "default", errorText);
    if (!connection.cimv2 || !connection.rootDefault) {
        std::printf("connection failed: %s\n", errorText.c_str());
        return 1;
    }
    connection.registry = connection.rootDefault->Get("StdRegProv");
    context.IsRemote = true;
    wmi::IObject& registry = *connection.registry;

    Measure("EnumKey (50 sub-keys)", 2000, [&](int i) {
        std::vector<std::string> names;
        (void)WMI_Enum_Key(registry, kHkeyLocalMachineRoot, "Software\\Vendor" + std::to_string(i % 50), names);
    });
    Measure("GetStringValue", 20000, [&](int i) {
        wmi::Variant value;
        (void)WMI_Get_String_Value(context, registry, kHkeyLocalMachineRoot,
                                   "Software\\Vendor" + std::to_string(i % 50) + "\\Product" + std::to_string(i % 1000),
                                   "Value" + std::to_string(i % 100), 1, value);
    });
    Measure("CheckAccess", 20000, [&](int i) {
        std::int32_t code = 0;
        (void)WMI_Check_Access(registry, kHkeyLocalMachineRoot,
                               "Software\\Vendor" + std::to_string(i % 50) + "\\Product" + std::to_string(i % 1000), 1,
                               code);
    });
    Measure("EnumValues + 100 string reads", 200, [&](int i) {
        std::vector<std::string> names;
        std::vector<std::int32_t> types;
        std::vector<wmi::Variant> values;
        (void)WMI_Enum_String_Values(registry, kHkeyLocalMachineRoot,
                                     "Software\\Vendor" + std::to_string(i % 50) + "\\Product" + std::to_string(i),
                                     names, types, values);
    });
    Measure("CIM_DataFile folder query (50 files)", 2000, [&](int i) {
        const std::string query =
            "Select Name, FileName, Extension, FileSize, FileType From CIM_DataFile Where Drive ='C:' And Path "
            "='\\\\Data\\\\Folder" +
            std::to_string(i % 1000) + "\\\\'";
        std::size_t count = 0;
        for (const auto& file : connection.cimv2->ExecQuery(query, wmi::kForwardOnlyReturnImmediately)) {
            count += file->Get("FileSize").As_String().size();
        }
        if (count == 0) std::printf("empty folder?\n");
    });
    context.SafeScan = true;
    Measure("CIM_DataFile existence query (safe mode)", 20000, [&](int i) {
        (void)Remote_File_Exists(
            context, *connection.cimv2,
            "C:\\Data\\Folder" + std::to_string(i % 1000) + "\\file" + std::to_string(i % 50) + ".tmp");
    });
    std::printf("full walks of the disk: %zu\n", big.files.Full_Walks());
    return 0;
}
