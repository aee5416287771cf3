// The Start Scan command and its two helpers, Stop and Skip. The driver
// validates the checked computers and categories, prepares the results list
// and the progress panel, walks the checked computers in tree order
// (connect, record the facts about the target, run every checked category
// through its family routine, disconnect), writes one error row per computer
// that could not be scanned, and reports the total. With more than one
// computer at a time the computers run on worker threads (parallel_scan.h). How far it is goes out as
// progress events (progress_events.h). What follows a computer's
// scan and the whole scan (fixing, shutdown, the fix question) belongs to
// whoever runs the scan: it listens through IScanFollowUp.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "base/secret.h"
#include "scan/scan_control.h"
#include "scan/scan_target.h"

namespace corvane {
class Database;
class IMainWindow;
class IProgressEvents;
class IWorkerThreads;
class Reporter;
class ResultsList;
struct TreeNode;
}  // namespace corvane

namespace corvane::scan {

inline constexpr const char* kSelectComputerMessage = "Please select atleast one computer!";
inline constexpr const char* kSelectCategoryMessage = "Please select atleast one category to scan for!";
inline constexpr const char* kUnfixedItemsQuestion =
    "There are un-fixed items in the list.\r\n\r\n"
    "Are you sure you want to start a fresh scan without fixing the issues?";
inline constexpr const char* kAccessDeniedText = "Access Denied";
inline constexpr const char* kAlreadyScannedText = "Already scanned as ";
inline constexpr const char* kTotalProblemsText = "Total Problems Found: ";
inline constexpr const char* kAbortedByUserText = "Scanning is aborted by the user!";
inline constexpr const char* kComputerLockedImage = "ComputerLocked";

// What the scan knew of a computer it scanned, for what follows (its fix and shutdown).
struct ComputerScanned {
    std::string computerName;  // as listed
    std::string userName;
    Secret password;
    std::string targetName;  // the name it answered with
    bool isRemote = false;
};

// Called by the driver, on the thread that started the scan, at the two
// points where a scan may hand over to fixing.
class IScanFollowUp {
public:
    virtual ~IScanFollowUp() = default;
    // The computer was scanned and disconnected, and its rows are in the
    // list. False ends the computer loop.
    virtual bool After_Computer(const ComputerScanned& computer) = 0;
    // The scan ran to its end (or was stopped) and its total was logged.
    virtual void After_Scan() = 0;
};

struct ScanDriverPorts {
    IMainWindow& window;
    IProgressEvents& progress;  // told of every computer, category and entry; pumps
    Database& db;
    Reporter& reporter;  // log lines and message boxes
    ScanTarget& target;  // the connection and the context of the current computer
    // Null: the scan only scans.
    IScanFollowUp* followUp = nullptr;
    // Computers scanned at once; 0: the stored option. One scans them one
    // after the other on this thread, as ScanTarget's.
    int computersAtOnce = 0;
    // What each worker thread enters first (COM on Windows); null: nothing.
    IWorkerThreads* workerThreads = nullptr;
};

class ParallelScan;

// A node of the computer tree that names a computer (not the root).
[[nodiscard]] bool Is_Computer_Node(const TreeNode& node);

// The facts of a scanned computer, taken from its session's context.
[[nodiscard]] ComputerScanned Scanned_Facts(std::string_view computerName, const remote::TargetContext& context);

class ScanDriver {
public:
    explicit ScanDriver(ScanDriverPorts ports) : ports_(std::move(ports)) {}
    ScanDriver(const ScanDriver&) = delete;
    ScanDriver& operator=(const ScanDriver&) = delete;

    // The scan. A second call while a scan runs (through the message pump) does nothing.
    void Start();
    void Request_Stop() noexcept { control_.StopRequested = true; }
    void Request_Skip() noexcept { control_.SkipRequested = true; }

    // Overrides the stored "Computers scanned at once" (0: the stored option).
    void Set_Computers_At_Once(int count) noexcept { ports_.computersAtOnce = count; }
    void Set_Worker_Threads(IWorkerThreads* threads) noexcept { ports_.workerThreads = threads; }
    // The computers a scan or a fix now runs at once: as set, else as stored.
    [[nodiscard]] int Computers_At_Once() const;
    [[nodiscard]] IWorkerThreads* Worker_Threads() const noexcept { return ports_.workerThreads; }

    [[nodiscard]] bool Is_Running() const noexcept { return running_; }
    [[nodiscard]] const ScanControl& Control() const noexcept { return control_; }
    // The Stop request, which the fixing command shares with the scan.
    [[nodiscard]] bool& Stop_Flag() noexcept { return control_.StopRequested; }
    // Checked computers of the last scan that got an error row instead of a scan.
    [[nodiscard]] int Unscanned_Computers() const noexcept { return unscanned_; }
    // True when the last command got past validation and ran the scan.
    [[nodiscard]] bool Scan_Ran() const noexcept { return scanRan_; }

private:
    friend class ParallelScan;

    void Run_Scan();
    void Scan_Computers();
    // Returns false when the computer loop must end at once.
    bool Scan_Computer(std::size_t node);
    // After an unexpected error while a computer was handled: its node locked,
    // an error row with the error's text, the computer ended, disconnected.
    void Drop_Computer(std::size_t node, std::string_view computerName, std::string_view errorText);
    void Scan_Categories();
    // Hands the scanned computer to the follow-up; false ends the scan.
    bool Follow_Up(const ComputerScanned& computer);
    void Finish_Scan();
    void Add_Error_Row(std::string_view computerName, std::string_view targetName, std::string_view errorText);
    void Log(std::string_view text, int type) const;

    ScanDriverPorts ports_;
    ScanControl control_;
    bool running_ = false;
    bool scanRan_ = false;
    int unscanned_ = 0;
};

}  // namespace corvane::scan
