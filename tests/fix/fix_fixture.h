// A fixing scene: a database, a simulated network with the computer the
// program runs on ("WORKSTATION"), a fake main window, the target context
// and the Stop flag, plus the rows a scan writes and a snapshot
// of a simulated computer's registry and disks for before/after comparisons.
#pragma once

#include <cstdint>
#include <set>
#include <string>
#include <string_view>

#include "fix/fix_environment.h"
#include "remote/sim/sim_network.h"
#include "remote/target_context.h"
#include "support/result_rows.h"
#include "support/test_database.h"
#include "support/window_fakes.h"

namespace corvane::testing {

inline constexpr std::uint32_t kHklm = 0x80000002u;
inline constexpr std::uint32_t kHku = 0x80000003u;

class FixScene {
public:
    FixScene();

    // Sets the option bits of the settings row.
    void Set_Options(std::int32_t options);

    // A category header as the scan writes it: key = category key + computer
    // name, sub-item 1 key = target name, "fixStatus" with its count.
    void Add_Header(std::string_view categoryKey, std::string_view computerName, std::string_view targetName,
                    int count);
    // Problem rows numbered in the order added; each returns the new row's key.
    std::string Add_Registry_Row(char digit, std::string_view targetName, std::uint32_t root, std::string_view keyPath,
                                 std::string_view valueName = "");
    std::string Add_File_Row(char digit, std::string_view targetName, std::string_view path);

    [[nodiscard]] ListRow& Row(std::string_view key) { return window.results.Row(window.results.Find(key)); }
    [[nodiscard]] bool Fixed(std::string_view key) { return Row(key).smallIcon == kFixedItemIcon; }
    [[nodiscard]] std::string Problem_Text(std::string_view key) { return Row(key).Sub(2).text; }
    [[nodiscard]] std::string Log() const { return database.Log_Text(); }

    TestDatabase database;
    remote::SimNetwork network{"WORKSTATION"};
    remote::RemotePorts ports;
    remote::TargetContext target;
    FakeMainWindow window;
    bool stop = false;
    fix::FixEnvironment env;

private:
    int nextProblem_ = 0;
};

// Every key (with its values) of both roots and every file and folder of a
// simulated computer, one text per fact, for comparing states.
[[nodiscard]] std::set<std::string> Snapshot(remote::SimComputer& computer);
// Facts of `before` that `after` no longer has; facts that appeared are
// returned with a leading "+".
[[nodiscard]] std::set<std::string> Difference(const std::set<std::string>& before, const std::set<std::string>& after);

}  // namespace corvane::testing
