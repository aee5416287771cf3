// The Start Scan command and its two helpers, Stop and Skip. The driver
// validates the checked computers and categories, prepares the results list
// and the progress panel, walks the checked computers in tree order
// (connect, record the facts about the target, run every checked category
// through its family routine, disconnect), writes one error row per computer
// that could not be scanned, and reports the total. How far it is goes out as
// progress events (progress_events.h). What follows a computer's
// scan and the whole scan (fixing, shutdown, the fix question) belongs to
// whoever runs the scan: it listens through IScanFollowUp.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "scan/scan_control.h"
#include "scan/scan_target.h"

namespace corvane {
class Database;
class IMainWindow;
class IProgressEvents;
class Reporter;
class ResultsList;
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

// Called by the driver at the two points where a scan may hand over to fixing.
class IScanFollowUp {
public:
    virtual ~IScanFollowUp() = default;
    // The computer was scanned and disconnected; the target context still
    // holds what the scan knew of it. False ends the computer loop.
    virtual bool After_Computer(std::string_view computerName) = 0;
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
};

class ScanDriver {
public:
    explicit ScanDriver(ScanDriverPorts ports) : ports_(std::move(ports)) {}
    ScanDriver(const ScanDriver&) = delete;
    ScanDriver& operator=(const ScanDriver&) = delete;

    // The scan. A second call while a scan runs (through the message pump) does nothing.
    void Start();
    void Request_Stop() noexcept { control_.StopRequested = true; }
    void Request_Skip() noexcept { control_.SkipRequested = true; }

    [[nodiscard]] bool Is_Running() const noexcept { return running_; }
    [[nodiscard]] const ScanControl& Control() const noexcept { return control_; }
    // The Stop request, which the fixing command shares with the scan.
    [[nodiscard]] bool& Stop_Flag() noexcept { return control_.StopRequested; }
    // Checked computers of the last scan that got an error row instead of a scan.
    [[nodiscard]] int Unscanned_Computers() const noexcept { return unscanned_; }
    // True when the last command got past validation and ran the scan.
    [[nodiscard]] bool Scan_Ran() const noexcept { return scanRan_; }

private:
    void Run_Scan();
    void Scan_Computers();
    // Returns false when the computer loop must end at once.
    bool Scan_Computer(std::size_t node);
    // After an unexpected error while a computer was handled: its node locked,
    // an error row with the error's text, the computer ended, disconnected.
    void Drop_Computer(std::size_t node, std::string_view computerName, std::string_view errorText);
    void Scan_Categories();
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
