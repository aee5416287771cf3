// A network of simulated computers for tests and benchmarks. It is the
// locator the program connects through (names and address aliases, user
// names and passwords, reachability, refused namespaces), the share lister
// of the fast existence tests, and the local-system port (the computer the
// program runs on). Every call the program makes is recorded, and any call
// can be made to fail with a chosen HRESULT, or never to answer, once or from
// the Nth call on; each computer answers after its latency. Several computers
// may be reached from several threads at once, one thread per computer, as
// the program's workers do; the record and the faults are shared under a lock.
#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <thread>
#include <utility>
#include <vector>

#include "remote/local_system.h"
#include "remote/share_lister.h"
#include "remote/sim/sim_computer.h"
#include "remote/wmi.h"

namespace corvane::remote {

enum class CallKind { Connect, Query, Get, InstancesOf, Method, ShareListing, ShareDelete };

struct CallRecord {
    std::string computer;  // the computer's own name
    CallKind kind = CallKind::Query;
    std::string nameSpace;  // "root\cimv2" as the program passed it
    // Connect: the server name; Query: the WQL text; Get / InstancesOf: the
    // path or class; Method: "Class.Method"; ShareListing: the path listed.
    std::string text;
    wmi::PropertyBag in;     // a method's in-parameters
    std::int32_t flags = 0;  // query or connect flags, listing attribute mask
    std::string user;        // Connect only
};

struct FaultRule {
    std::optional<CallKind> kind;  // nothing: any kind
    std::string computer;          // "" any; else a name or alias
    std::string match;             // "" any; else a part of the call's text (case ignored)
    std::uint32_t hresult = 0x800706BEu;
    int fromCall = 1;   // the Nth matching call is the first to fail
    bool once = false;  // fail only that one call
    // The call never answers: it waits until its time limit passes or it is
    // cancelled (a call without a time limit times out at once).
    bool hangs = false;
    int seen = 0;
};

class SimNetwork final : public wmi::ILocator, public IShareLister, public ILocalSystem {
public:
    // localComputerName: the computer the program runs on (added to the network).
    explicit SimNetwork(std::string localComputerName = "WORKSTATION");
    SimNetwork(const SimNetwork&) = delete;
    SimNetwork& operator=(const SimNetwork&) = delete;

    SimComputer& Add_Computer(std::string_view name);
    // By name or alias, ignoring case; null when none answers to it.
    [[nodiscard]] SimComputer* Find(std::string_view nameOrAlias);
    [[nodiscard]] SimComputer& Local() { return *Find(localName_); }

    FaultRule& Add_Fault(FaultRule rule);
    void Clear_Faults() { faults_.clear(); }

    std::vector<CallRecord> calls;
    bool recordCalls = true;
    // Calls waiting in a "never answers" fault right now.
    std::atomic<int> hangingCalls{0};
    // Such calls that a cancellation ended, not their time limit.
    std::atomic<int> cancelledCalls{0};
    OsVersionNumbers localVersion{2, 6, 1};

    // Number of recorded calls of that kind whose text contains match (case ignored).
    [[nodiscard]] std::size_t Count(CallKind kind, std::string_view match = {}) const;
    // The texts of the recorded calls of that kind, in order.
    [[nodiscard]] std::vector<std::string> Texts(CallKind kind) const;

    // ---- wmi::ILocator
    using ILocator::ConnectServer;
    // ---- IShareLister: "\\NAME\C$\..." or a local path of the local computer
    // A share answers only a user the computer knows, with the password, or
    // no user where the computer accepts the caller's own identity.
    void Use_Credentials(std::string_view server, std::string_view user, const Secret& password) override;
    ListingResult Find(std::string_view path, std::uint32_t attributeMask) override;
    ListingResult List_Folder(std::string_view folderPath, std::vector<ListedEntry>& entries, bool identities) override;
    ListingResult Entry_Of(std::string_view path, ListedEntry& entry) override;
    DeleteResult Delete_Checked(std::string_view path, std::string_view startFolder,
                                const FileIdentity& identity) override;
    // A share call that never answers waits until the canceller handed out
    // for it on its thread runs (the computer's watchdog, or Stop); one
    // made without a canceller times out at once.
    std::function<void()> Call_Canceller() override;
    // Runs between the checks of Delete_Checked and its deletion: a test's
    // chance to swap what the path names, as another process could.
    std::function<void()> beforeCheckedDelete;
    // ---- ILocalSystem
    OsVersionNumbers Os_Version() override { return localVersion; }
    std::string Computer_Name() override { return localName_; }
    // The local computer's own files; its names have no short forms.
    std::optional<std::string> Long_Path(std::string_view path) override;
    LocalPathKind Path_Kind(std::string_view path) override;
    std::optional<std::string> Read_Small_File(std::string_view path, std::size_t maxBytes) override;

    // Called by the recording wrappers: waits the computer's latency, records
    // the call and raises a fault when one applies, under the time limit and
    // cancellation of calls (null: none).
    void Before_Call(const SimComputer& computer, CallRecord record, wmi::CallControl* control = nullptr);
    // Runs at the start of every call, on the calling thread, before it is
    // recorded: a test's chance to hold one computer's worker at a chosen call.
    std::function<void(const CallRecord&)> duringCall;

private:
    wmi::ServicesPtr Connect_Server(std::string_view server, std::string_view namespacePath, std::string_view user,
                                    const Secret& password, std::int32_t flags, wmi::CallControlPtr calls) override;
    void Wait_For_Share_Cancel();
    // The computer and its local path behind a share path or a local path;
    // null when no listable share answers.
    SimComputer* Listed_Computer(std::string_view path, std::string& localPath);
    // Listed_Computer with the call recorded (and failed when a fault applies).
    SimComputer* Share_Call(std::string_view path, CallKind kind, std::uint32_t mask, std::string& localPath);
    [[nodiscard]] static ListedEntry Listed(const SimComputer& computer, const FileEntry& entry);

    [[nodiscard]] static bool Accepts(const SimComputer& computer, std::string_view user, std::string_view password);

    std::string localName_;
    std::map<std::string, std::pair<std::string, std::string>>
        shareCredentials_;  // upper-cased server -> user, password
    std::vector<std::unique_ptr<SimComputer>> computers_;
    std::vector<FaultRule> faults_;
    std::mutex mutex_;  // the faults, the record of calls, the share credentials and cancellers
    std::map<std::thread::id, std::shared_ptr<bool>> shareCancels_;
    std::condition_variable shareCancelled_;
};

}  // namespace corvane::remote
