// The computer being scanned or fixed: its name and credentials, the facts
// read right after connecting, and the choices made from them (remote or
// local, safe or fast existence tests). Each TargetSession (target_session.h)
// owns one and lends it to the routines below it; it also carries the ports
// the remote routines use.
#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "base/ports/clock.h"
#include "base/ports/shell.h"
#include "base/reporter.h"
#include "base/secret.h"
#include "remote/folder_listings.h"
#include "remote/local_registry.h"
#include "remote/local_system.h"
#include "remote/share_lister.h"
#include "remote/watched_shares.h"
#include "remote/wmi.h"

namespace corvane::remote {

class IUserDataFolder;

// What the remote routines need from outside: the locator (the chooser of
// store_services.h in the program, a SimNetwork in tests), the reporting
// path, the clock, the share lister, the local registry, the local system,
// and where undo files of registry fixes are kept (without it a fix that must
// keep one deletes nothing from the registry); and how long a call to a
// computer may take (the per-user setting, wmi::kDefaultCallLimit unless set).
struct RemotePorts {
    wmi::ILocator& locator;
    Reporter& reporter;
    IClock& clock;
    IShareLister& shares;
    ILocalRegistry& localRegistry;
    ILocalSystem& localSystem;
    IUserDataFolder* userData = nullptr;
    // The console's shell, for the type names of files listed through a
    // share; null: the names Windows gives unregistered types.
    IShell* shell = nullptr;
    std::chrono::milliseconds callLimit = wmi::kDefaultCallLimit;
};

// The same ports with another reporter: a worker thread's, whose log lines
// and questions travel to the window's thread. Every other port is shared.
[[nodiscard]] inline RemotePorts With_Reporter(const RemotePorts& ports, Reporter& reporter) {
    return {ports.locator,     reporter,       ports.clock, ports.shares,   ports.localRegistry,
            ports.localSystem, ports.userData, ports.shell, ports.callLimit};
}

class TargetContext {
public:
    explicit TargetContext(const RemotePorts& ports)
        : ports_(ports), calls_(std::make_shared<wmi::CallControl>(ports.callLimit)) {}
    TargetContext(const TargetContext&) = delete;
    TargetContext& operator=(const TargetContext&) = delete;

    [[nodiscard]] const RemotePorts& Ports() const noexcept { return ports_; }
    [[nodiscard]] IUserDataFolder* User_Data() const noexcept { return ports_.userData; }
    // The time limit and cancellation of every call to this computer, the
    // same object for the context's whole life (its Cancel_Calls may come
    // from any thread). A time-out is forgotten at the next computer.
    [[nodiscard]] const wmi::CallControlPtr& Calls() const noexcept { return calls_; }
    // The ports' share lister under the same limit and cancellation.
    [[nodiscard]] IShareLister& Shares() const noexcept { return shares_; }

    std::string ComputerName;  // as listed; the server of every connection
    std::string UserName;
    Secret Password;
    std::string TargetName;  // Win32_ComputerSystem.Name
    std::string OSVersion;   // "5.1.2600"
    std::int32_t AddressWidth = 0;
    std::vector<std::string> FixedDrives;  // "C:", "D:" in query order
    bool IsRemote = false;
    bool SafeScan = false;

    // Moves to another computer: every field cleared, the name set.
    void Start_Computer(std::string_view computerName);
    // IsRemote: decided by the backend that answers, never by names: only
    // services over the store of the computer the program runs on are local
    // (a cloned computer reached through COM may carry the console's name).
    void Decide_Is_Remote(const wmi::IServices& cimv2);
    // SafeScan: the safe-scan option is set and the target is remote.
    void Decide_Scan_Mode(bool safeScanOptionSet);

    // Fast existence tests on a remote target are trusted only while its
    // administrative shares can be listed; once one cannot, the tests use
    // the management service for the rest of this computer.
    [[nodiscard]] bool Fast_Tests_Trusted() const noexcept { return fastTestsTrusted_; }
    void Distrust_Fast_Tests() noexcept { fastTestsTrusted_ = false; }
    // Drives whose share root was found listable ("C:").
    std::vector<std::string> checkedShares;
    // The scan's folder listings; off outside a computer's scan.
    FolderListings listings;

    // Existence tests that could not decide (and so reported nothing): each
    // is noted with its error text; the category's end takes the tally for
    // its warning line.
    struct UndecidedTally {
        std::int32_t count = 0;
        std::string lastError;
    };
    void Note_Undecided(std::string_view errorText);
    [[nodiscard]] UndecidedTally Take_Undecided();

    // True the first time a text is noted for this computer: a line that
    // several categories may find (an unloaded profile, a refused profile
    // folder) reaches the log once per computer.
    [[nodiscard]] bool First_Note(std::string_view text);

private:
    RemotePorts ports_;
    wmi::CallControlPtr calls_;
    mutable WatchedShares shares_{ports_.shares, *calls_};
    bool fastTestsTrusted_ = true;
    UndecidedTally undecided_;
    std::set<std::string, std::less<>> notes_;
};

}  // namespace corvane::remote
