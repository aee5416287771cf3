// A simulated Windows computer for tests and benchmarks: its facts, users,
// registry, disks, shortcuts, processes and restore points, all in memory.
// It answers the machine store of the WMI providers and, when it plays the
// computer the program runs on, the local registry port. The command lines
// that the program starts on targets (cmd with md, copy and chains, regedit
// export and import, reg import, icacls) are carried out (sim_commands.cpp); the process then lives for a few polls
// of Win32_Process so that waits are exercised.
#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "remote/local_registry.h"
#include "remote/machine_store.h"
#include "remote/sim/sim_files.h"
#include "remote/sim/sim_registry.h"

namespace corvane::remote {

class SimComputer final : public IMachineStore, public ILocalRegistry {
public:
    // A Windows 7 64-bit computer with a fixed drive C: holding C:\Windows,
    // whose access list passes "Users: read and execute" down to its content.
    explicit SimComputer(std::string name);

    // ---- set-up, read and changed freely by tests
    std::string name;
    std::vector<std::string> aliases;          // other names and addresses it answers to
    std::map<std::string, std::string> users;  // user name -> password (user names ignore case)
    bool acceptsCallerIdentity = true;         // empty user and password allowed
    bool reachable = true;                     // false: every connection fails with 0x800706BA
    std::chrono::microseconds latency{};       // how long each call takes to answer (a sleep)
    std::set<std::string> refusedNamespaces;   // "root\default" ... (upper-cased) answer 0x8004100E
    std::set<std::string> unlistableShares;    // drives ("C:") whose administrative share cannot be listed
    // How its management service shows its files: WMI's view, or the native
    // view when it plays the computer the program runs on (the native store).
    FileView fileView = FileView::Wmi;
    OsFacts facts;
    std::vector<LogicalDisk> disks;
    std::map<std::string, std::string> environment;  // %NAME% -> value (names upper-cased)
    bool systemRestore = true;
    std::uint32_t createRestorePointResult = 0;
    int restorePointThrottleHours = 0;  // 24 as Windows 8+: no new point that soon after the last, yet success
    std::uint32_t restoreResult = 0;
    std::uint32_t shutdownResult = 0;
    int processLifetimePolls = 3;                     // Win32_Process queries a started process survives
    std::map<std::string, int> programLifetimePolls;  // the same for one program ("regedit.exe")
    std::vector<std::string> failingCommands;         // command lines containing one of these start but do nothing
    bool importRefusesKeys = false;                   // reg import writes what it can and exits 1 (keys in use)

    SimRegistry registry;
    SimFileSystem files;

    // What happened, for tests to look at.
    std::vector<std::uint32_t> shutdownRequests;
    std::vector<std::string> startedCommands;  // every command line given, started or not

    // A process that runs until removed, for the user ownerSid ("": one whose
    // owner GetOwnerSid may not read, as a protected process).
    void Add_Process(std::string_view processName, std::uint32_t processId, std::string_view ownerSid = "S-1-5-18");
    void Add_Restore_Point(std::string_view description, const DateTime& created);
    [[nodiscard]] bool Process_Running(std::uint32_t processId) const;

    // ---- IMachineStore
    OsFacts Os_Facts() override { return facts; }
    std::vector<LogicalDisk> Logical_Disks() override { return disks; }
    std::uint32_t Shutdown(std::uint32_t flags) override;
    std::uint32_t Enum_Keys(std::uint32_t root, std::string_view keyPath, std::vector<std::string>& names) override;
    std::uint32_t Enum_Values(std::uint32_t root, std::string_view keyPath,
                              std::vector<RegistryValueName>& values) override;
    std::uint32_t Get_Value(std::uint32_t root, std::string_view keyPath, std::string_view valueName,
                            RegistryValue& value) override;
    std::string Expand_Environment(std::string_view text) override;
    std::uint32_t Check_Access(std::uint32_t root, std::string_view keyPath, std::uint32_t required,
                               bool& granted) override;
    std::uint32_t Create_Key(std::uint32_t root, std::string_view keyPath) override;
    std::uint32_t Delete_Key(std::uint32_t root, std::string_view keyPath) override;
    std::uint32_t Delete_Value(std::uint32_t root, std::string_view keyPath, std::string_view valueName) override;
    std::uint32_t Set_Value(std::uint32_t root, std::string_view keyPath, std::string_view valueName,
                            const RegistryValue& value) override;
    std::optional<FileEntry> Find_Entry(std::string_view path) override { return files.Find(path, fileView); }
    std::uint32_t List_Folder(std::string_view folderPath, std::vector<FileEntry>& entries) override {
        entries.clear();
        if (files.Listing_Denied(folderPath)) return kStatusAccessDenied;
        const auto folder = files.Find(folderPath, fileView);
        if (!folder || !folder->isFolder) return kStatusPathNotFound;
        entries = files.List(folderPath, fileView);
        return kStatusOk;
    }
    std::vector<FileEntry> All_Entries(bool folders) override { return files.All(folders, fileView); }
    std::uint32_t Delete_File(std::string_view path) override { return files.Delete_File(path); }
    std::uint32_t Delete_Folder(std::string_view path) override { return files.Delete_Folder(path, fileView); }
    std::uint32_t Rename_File(std::string_view path, std::string_view newPath) override {
        return files.Rename(path, newPath);
    }
    std::uint32_t Compress_File(std::string_view path) override { return files.Compress(path); }
    std::string Shortcut_Target(std::string_view path) override { return files.Shortcut_Target(path); }
    std::uint32_t Get_Security(std::string_view path, FileSecurity& security) override {
        return files.Get_Security(path, security);
    }
    std::vector<ProcessEntry> Processes() override;
    std::uint32_t Process_Owner(std::uint32_t processId, std::string& sid) override;
    std::uint32_t Create_Process(std::string_view commandLine, std::uint32_t& processId) override;
    bool Has_System_Restore() override { return systemRestore; }
    std::vector<RestorePoint> Restore_Points() override { return restorePoints_; }
    std::uint32_t Create_Restore_Point(std::string_view description, std::uint32_t restorePointType,
                                       std::uint32_t eventType) override;
    std::uint32_t Restore(std::uint32_t sequenceNumber) override;

    // ---- ILocalRegistry (when this computer plays the local one)
    std::optional<RawRegistryValue> Read_Value(std::uint32_t root, std::string_view keyPath,
                                               std::string_view valueName) override;
    // Reads always go to the registry; the state is kept for tests.
    void Keep_Last_Key(bool on) noexcept override { keepsLastKey = on; }
    std::atomic<bool> keepsLastKey{false};  // set by every session's thread

    // The command interpreter and registry editor of this computer; false
    // when the program is unknown (the process cannot be created).
    bool Run_Command(std::string_view commandLine, std::string& imageName);

    // The clock of the computer, for restore points and new files.
    DateTime now{2026, 12, 5, 14, 3, 9, 60};

private:
    struct RunningProcess {
        ProcessEntry entry;
        std::string ownerSid;
        int pollsLeft = -1;  // -1: runs until removed
    };
    std::vector<RunningProcess> processes_;
    std::vector<RestorePoint> restorePoints_;
    std::uint32_t nextProcessId_ = 1000;
    std::uint32_t nextSequence_ = 1;
};

// Splits a command line into its arguments as the command interpreter does:
// blanks separate, quotation marks group (and are removed).
[[nodiscard]] std::vector<std::string> Split_Command_Line(std::string_view commandLine);

}  // namespace corvane::remote
