// Processes, shutdown and System Restore on the target: starting a program
// through Win32_Process, waiting for it with a time budget shared by several
// waits, Win32Shutdown, and SystemRestore's CreateRestorePoint and Restore.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/ports/clock.h"
#include "base/reporter.h"
#include "remote/wmi.h"

namespace corvane::remote {

// Port: the progress bar a wait moves (adds 1 to its maximum, then 1 to its value).
class IProgressStep {
public:
    virtual ~IProgressStep() = default;
    IProgressStep() = default;
    IProgressStep(const IProgressStep&) = delete;
    IProgressStep& operator=(const IProgressStep&) = delete;

    virtual void Do_Progress() = 0;
};

inline constexpr std::uint32_t kShutdownForced = 5;  // 1 shutdown + 4 forced
inline constexpr std::uint32_t kRebootForced = 6;    // 2 reboot + 4 forced

// The folders a target's own programs are started from, as its
// Win32_OperatingSystem reports them ("C:\Windows", "C:\Windows\system32").
struct SystemDirectories {
    std::string windows;
    std::string system;
};

// Both folders; false on any error or when either is not a full path.
bool WMI_Get_System_Directories(wmi::IServices& cimv2, SystemDirectories& directories);

// True when the process list was read and does not hold the process; false
// while it runs and when the list cannot be read (it may still run).
[[nodiscard]] bool WMI_Process_Ended(wmi::IServices& cimv2, std::uint32_t processId);

// The users (SIDs) that processes of this name ("chrome.exe") run for, read
// through Win32_Process and each one's GetOwnerSid; nullopt when the list or
// an owner could not be read: the program may then run for anyone.
[[nodiscard]] std::optional<std::vector<std::string>> WMI_Process_Owners(wmi::IServices& cimv2,
                                                                         std::string_view processName);

// Win32_Process.Create(commandLine) on the class object, then a 2-second
// pause whatever the outcome; true when the process was created.
bool WMI_Create_Process(wmi::IServices& cimv2, IClock& clock, std::string_view commandLine, std::uint32_t& processId);

// Polls "Select Name From Win32_Process where ProcessId=<id>" every 100 ms
// until the process is gone or remainingSeconds is below 0; each poll takes
// 0.1 from remainingSeconds (shared by consecutive waits) and moves the bar
// (may be null). A run-time error ends the wait and is logged as an error line.
void Wait_For_Process(wmi::IServices& cimv2, IClock& clock, const Reporter& reporter, std::uint32_t processId,
                      double& remainingSeconds, IProgressStep* progressBar);

// Win32Shutdown(flags) on the primary operating system (query flags 48);
// true when it succeeded. computerName is not used.
bool WMI_Shutdown(wmi::IServices& cimv2, std::string_view computerName, std::uint32_t flags);

// CreateRestorePoint(Append_Date_Time_Stamp("CVNRestorePoint"), 12, 100) on
// root\default's SystemRestore; returnCode = its result (or the run-time
// error's number); true when 0. Its calls wait up to
// wmi::kRestorePointCallLimit instead of the usual limit.
bool WMI_Create_Restore_Point(wmi::IServices& rootDefault, IClock& clock, std::int32_t& returnCode);
// Restore(sequenceNumber); returnCode as above; true when 0.
bool WMI_Restore_System(wmi::IServices& rootDefault, std::uint32_t sequenceNumber, std::int32_t& returnCode);

// name + "(yyyy-mm-dd)(hh-nn-ss)" from the local clock: CVNRestorePoint(2009-04-07)(15-02-09).
[[nodiscard]] std::string Append_Date_Time_Stamp(IClock& clock, std::string_view name);

}  // namespace corvane::remote
