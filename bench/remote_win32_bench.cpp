// What the common calls of the remote layer cost on the local computer: the
// native store directly, the same calls through the query engine (the WMI
// interface the routines use), and, for comparison, the system's own WMI over
// COM. Prints microseconds per call; run under Wine or on Windows.
#include <windows.h>

#include <chrono>
#include <cstdio>
#include <functional>
#include <string>

#include "base/runtime_error.h"
#include "remote/local_registry.h"
#include "remote/store_services.h"
#include "remote/win32/com_locator.h"
#include "remote/win32/com_runtime.h"
#include "remote/win32/native_ports.h"
#include "remote/win32/native_store.h"

namespace {

using corvane::wmi::PropertyBag;
using corvane::wmi::Variant;
namespace remote = corvane::remote;
namespace win32 = corvane::remote::win32;

constexpr std::uint32_t kLocalMachine = 0x80000002u;

void Measure(const char* what, int rounds, const std::function<std::size_t()>& call) {
    std::size_t items = 0;
    try {
        const auto start = std::chrono::steady_clock::now();
        for (int round = 0; round < rounds; ++round) items = call();
        const auto elapsed = std::chrono::steady_clock::now() - start;
        const double micro = std::chrono::duration<double, std::micro>(elapsed).count() / rounds;
        std::printf("%-58s %10.1f us/call  (%zu items, %d calls)\n", what, micro, items, rounds);
    } catch (const corvane::RuntimeError& error) {
        std::printf("%-58s failed: %s\n", what, error.Text().c_str());
    }
}

}  // namespace

int main() {
    const win32::ComInit com;
    win32::NativeStore store;
    const auto cimv2 = remote::Make_Store_Services(store, "root\\cimv2");
    const auto root = remote::Make_Store_Services(store, "root\\default");
    const auto registry = root->Get("StdRegProv");
    const std::string windows = store.Os_Facts().windowsDirectory;

    std::printf("Native store\n");
    Measure("Enum_Keys HKLM\\Software", 2000, [&] {
        std::vector<std::string> names;
        store.Enum_Keys(kLocalMachine, "Software", names);
        return names.size();
    });
    Measure("Enum_Keys HKLM\\Software\\Classes", 20, [&] {
        std::vector<std::string> names;
        store.Enum_Keys(kLocalMachine, "Software\\Classes", names);
        return names.size();
    });
    Measure("Get_Value ...\\Windows NT\\CurrentVersion ProductName", 5000, [&] {
        remote::RegistryValue value;
        store.Get_Value(kLocalMachine, "Software\\Microsoft\\Windows NT\\CurrentVersion", "ProductName", value);
        return value.text.size();
    });
    Measure("List_Folder <windows>\\system32", 5, [&] {
        std::vector<remote::FileEntry> entries;
        store.List_Folder(windows + "\\system32", entries);
        return entries.size();
    });
    Measure("Find_Entry <windows>\\notepad.exe", 2000,
            [&] { return static_cast<std::size_t>(store.Find_Entry(windows + "\\notepad.exe").has_value()); });
    Measure("Processes", 200, [&] { return store.Processes().size(); });

    std::printf("\nThrough the query engine (WMI interface)\n");
    Measure("StdRegProv.EnumKey HKLM\\Software", 2000, [&] {
        const PropertyBag out = registry->Exec_Method(
            "EnumKey", {{"hDefKey", Variant(kLocalMachine)}, {"sSubKeyName", Variant("Software")}});
        return out.at("sNames").As_Array().size();
    });
    Measure("StdRegProv.GetStringValue ProductName", 5000, [&] {
        const PropertyBag out = registry->Exec_Method(
            "GetStringValue", {{"hDefKey", Variant(kLocalMachine)},
                               {"sSubKeyName", Variant("Software\\Microsoft\\Windows NT\\CurrentVersion")},
                               {"sValueName", Variant("ProductName")}});
        return out.at("sValue").As_String().size();
    });
    Measure("Win32_Directory by Drive and Path (<windows>\\)", 100, [&] {
        std::string path = windows.substr(2) + "\\";
        std::string escaped;
        for (char c : path) escaped += c == '\\' ? std::string("\\\\") : std::string(1, c);
        return cimv2
            ->ExecQuery("Select FileName,Extension From Win32_Directory Where Drive='" + windows.substr(0, 2) +
                        "' and Path='" + escaped + "'")
            .size();
    });
    Measure("CIM_DataFile by Name (notepad.exe)", 1000, [&] {
        std::string escaped;
        for (char c : windows + "\\notepad.exe") escaped += c == '\\' ? std::string("\\\\") : std::string(1, c);
        return cimv2->ExecQuery("Select name from CIM_Datafile where name='" + escaped + "'").size();
    });
    Measure("Select Name From Win32_ComputerSystem", 2000,
            [&] { return cimv2->ExecQuery("Select Name From Win32_ComputerSystem").size(); });

    std::printf("\nPorts\n");
    win32::NativeLocalRegistry localRegistry;
    Measure("Query_Local_Value ProductName", 5000, [&] {
        return remote::Query_Local_Value(localRegistry, kLocalMachine,
                                         "Software\\Microsoft\\Windows NT\\CurrentVersion", "ProductName")
            .As_String()
            .size();
    });
    win32::NativeShareLister lister;
    Measure("Share listing of a local file", 2000, [&] {
        return lister.Find(windows + "\\notepad.exe", remote::kListFiles) == remote::ListingResult::Found ? 1u : 0u;
    });

    std::printf("\nThe system's WMI over COM (for comparison)\n");
    win32::ComLocator locator;
    Measure("ConnectServer root\\default", 20,
            [&] { return static_cast<std::size_t>(locator.ConnectServer("", "root\\default", "", {}, 0) != nullptr); });
    try {
        const auto comRoot = locator.ConnectServer("", "root\\default", "", {}, 0);
        const auto comRegistry = comRoot->Get("StdRegProv");
        Measure("COM StdRegProv.EnumKey HKLM\\Software", 200, [&] {
            const PropertyBag out = comRegistry->Exec_Method(
                "EnumKey", {{"hDefKey", Variant(kLocalMachine)}, {"sSubKeyName", Variant("Software")}});
            return out.at("sNames").As_Array().size();
        });
        const auto comCimv2 = locator.ConnectServer("", "root\\cimv2", "", {}, 0);
        Measure("COM Select Name From Win32_ComputerSystem", 200,
                [&] { return comCimv2->ExecQuery("Select Name From Win32_ComputerSystem", 16).size(); });
    } catch (const corvane::RuntimeError& error) {
        std::printf("COM comparison failed: %s\n", error.Text().c_str());
    }
    return 0;
}
