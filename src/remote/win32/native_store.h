// The computer the program runs on as a machine store, answered by the Win32
// API instead of WMI: the registry through advapi32, files and folders
// through FindFirstFileExW (one folder per listing), processes through
// CreateProcessW and the process list, system facts, shutdown and System
// Restore. The query engine and its providers turn it into WMI services, so
// the local computer is served many times faster than through WMI (and under
// Wine, whose WMI lacks several methods and file classes). COM must be
// initialized on the calling thread for shortcuts, file type names and the
// restore-point list.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "remote/local_system.h"
#include "remote/machine_store.h"

namespace corvane::remote::win32 {

class NativeStore final : public IMachineStore {
public:
    NativeStore() = default;

    [[nodiscard]] OsFacts Os_Facts() override;
    [[nodiscard]] std::vector<LogicalDisk> Logical_Disks() override;
    // ExitWindowsEx with the same flag bits; never refused here (refusing the
    // local computer is the caller's decision).
    std::uint32_t Shutdown(std::uint32_t flags) override;

    std::uint32_t Enum_Keys(std::uint32_t root, std::string_view keyPath, std::vector<std::string>& names) override;
    std::uint32_t Enum_Values(std::uint32_t root, std::string_view keyPath,
                              std::vector<RegistryValueName>& values) override;
    std::uint32_t Get_Value(std::uint32_t root, std::string_view keyPath, std::string_view valueName,
                            RegistryValue& value) override;
    [[nodiscard]] std::string Expand_Environment(std::string_view text) override;
    std::uint32_t Check_Access(std::uint32_t root, std::string_view keyPath, std::uint32_t required,
                               bool& granted) override;
    std::uint32_t Create_Key(std::uint32_t root, std::string_view keyPath) override;
    std::uint32_t Delete_Key(std::uint32_t root, std::string_view keyPath) override;
    std::uint32_t Delete_Value(std::uint32_t root, std::string_view keyPath, std::string_view valueName) override;
    std::uint32_t Set_Value(std::uint32_t root, std::string_view keyPath, std::string_view valueName,
                            const RegistryValue& value) override;

    [[nodiscard]] std::optional<FileEntry> Find_Entry(std::string_view path) override;
    // FindFirstFileExW's error when the folder cannot be listed.
    std::uint32_t List_Folder(std::string_view folderPath, std::vector<FileEntry>& entries) override;
    [[nodiscard]] std::vector<FileEntry> All_Entries(bool folders) override;
    std::uint32_t Delete_File(std::string_view path) override;
    std::uint32_t Delete_Folder(std::string_view path) override;
    std::uint32_t Rename_File(std::string_view path, std::string_view newPath) override;
    // FSCTL_SET_COMPRESSION; a file system without compression (Wine's) gives
    // its error status and changes nothing.
    std::uint32_t Compress_File(std::string_view path) override;
    [[nodiscard]] std::string Shortcut_Target(std::string_view path) override;
    // GetNamedSecurityInfoW: owner, control flags and access list.
    std::uint32_t Get_Security(std::string_view path, FileSecurity& security) override;

    [[nodiscard]] std::vector<ProcessEntry> Processes() override;
    std::uint32_t Process_Owner(std::uint32_t processId, std::string& sid) override;
    // Started without a window, as WMI starts programs.
    std::uint32_t Create_Process(std::string_view commandLine, std::uint32_t& processId) override;

    // SRSetRestorePointW for creation; the list and the roll-back exist only
    // as WMI's SystemRestore class, asked through COM.
    [[nodiscard]] bool Has_System_Restore() override;
    [[nodiscard]] std::vector<RestorePoint> Restore_Points() override;
    std::uint32_t Create_Restore_Point(std::string_view description, std::uint32_t restorePointType,
                                       std::uint32_t eventType) override;
    std::uint32_t Restore(std::uint32_t sequenceNumber) override;

private:
    // The shell's type names by lower-case extension ("\\" for folders),
    // kept for the store's life: the shell answers by extension anyway, and
    // asking it per file costs more than the listing itself.
    std::map<std::string, std::string> typeNames_;
};

// What only the local file system can tell about a path, for the local-system
// port: GetLongPathNameW's long form of an existing path, whether the path is
// a reparse point (FindFirstFileExW on the path itself, the attributes a
// listing shows), and the content of a small file.
[[nodiscard]] std::optional<std::string> Native_Long_Path(std::string_view path);
[[nodiscard]] LocalPathKind Native_Path_Kind(std::string_view path);
[[nodiscard]] std::optional<std::string> Native_Read_Small_File(std::string_view path, std::size_t maxBytes);

}  // namespace corvane::remote::win32
