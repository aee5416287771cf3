// What a computer holds, as the WMI class providers of the query engine see
// it: registry, files and folders, shortcuts, processes, OS facts, disks,
// shutdown and restore points. Two stores implement it: the simulated computer
// (remote/sim_computer.h, in memory) and the native local computer
// (remote/win32). The providers turn these answers into WMI objects, return
// codes and error HRESULTs; a store only reports facts and Win32 status codes.
//
// Conventions for implementers:
// - Paths are full Windows paths ("C:\Windows\Temp\a.txt"); folder paths carry
//   no trailing "\" except a drive root ("C:\"). Names compare without regard
//   to case. Registry key paths carry no leading or trailing "\"; "" is the root.
// - Status results are Win32 error codes: 0 success, 2 not found, 5 access
//   denied, 145 directory not empty, ... (kStatus* below).
// - A failure of the store itself (device gone, RPC broken) is thrown as
//   corvane::RuntimeError carrying an HRESULT number; providers pass it on.
// - Listings are by one parent: a store must answer them without walking
//   everything it holds.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/ui/problem.h"

namespace corvane::remote {

// Win32 status codes the stores report.
inline constexpr std::uint32_t kStatusOk = 0;
inline constexpr std::uint32_t kStatusNotFound = 2;           // ERROR_FILE_NOT_FOUND
inline constexpr std::uint32_t kStatusPathNotFound = 3;       // ERROR_PATH_NOT_FOUND
inline constexpr std::uint32_t kStatusAccessDenied = 5;       // ERROR_ACCESS_DENIED
inline constexpr std::uint32_t kStatusSharingViolation = 32;  // ERROR_SHARING_VIOLATION
inline constexpr std::uint32_t kStatusInvalidParameter = 87;  // ERROR_INVALID_PARAMETER
inline constexpr std::uint32_t kStatusDirNotEmpty = 145;      // ERROR_DIR_NOT_EMPTY
inline constexpr std::uint32_t kStatusAlreadyExists = 183;    // ERROR_ALREADY_EXISTS
inline constexpr std::uint32_t kStatusNotSupported = 50;      // ERROR_NOT_SUPPORTED
inline constexpr std::uint32_t kStatusCancelled = 995;        // ERROR_OPERATION_ABORTED
inline constexpr std::uint32_t kStatusTimedOut = 1460;        // ERROR_TIMEOUT

// Registry roots as the registry API numbers them.
inline constexpr std::uint32_t kHkeyClassesRoot = 0x80000000u;
inline constexpr std::uint32_t kHkeyCurrentUser = 0x80000001u;
inline constexpr std::uint32_t kHkeyLocalMachine = 0x80000002u;
inline constexpr std::uint32_t kHkeyUsers = 0x80000003u;
inline constexpr std::uint32_t kHkeyCurrentConfig = 0x80000005u;

// Registry value types.
inline constexpr std::uint32_t kRegNone = 0;
inline constexpr std::uint32_t kRegSz = 1;
inline constexpr std::uint32_t kRegExpandSz = 2;
inline constexpr std::uint32_t kRegBinary = 3;
inline constexpr std::uint32_t kRegDword = 4;
inline constexpr std::uint32_t kRegMultiSz = 7;
inline constexpr std::uint32_t kRegQword = 11;

// A registry value. Text types (1, 2) keep their text in `text` (UTF-8,
// without terminating zero), REG_MULTI_SZ its parts in `parts`, REG_DWORD and
// REG_QWORD their number in `number`, every other type its raw bytes in `bytes`.
struct RegistryValue {
    std::uint32_t type = kRegSz;
    std::string text;
    std::vector<std::string> parts;
    std::uint64_t number = 0;
    std::vector<std::uint8_t> bytes;
    // False when the stored bytes hold more than the fields above can show (a
    // text with a zero inside, a number wider than its type): such a value
    // cannot be written back as it was.
    bool whole = true;
};

struct RegistryValueName {
    std::string name;  // "" is the key's default value
    std::uint32_t type = kRegSz;
};

// A local date and time with the offset of the computer's time zone, as WMI's
// date-time texts carry it.
struct DateTime {
    int year = 1601;
    int month = 1;
    int day = 1;
    int hour = 0;
    int minute = 0;
    int second = 0;
    int utcOffsetMinutes = 0;
};

// A file or folder as CIM_DataFile / Win32_Directory describe it.
struct FileEntry {
    std::string path;  // full path, the WMI "Name" (as stored, original case)
    bool isFolder = false;
    std::uint64_t size = 0;  // files only
    std::string fileType;    // "Text Document", "File folder", ...
    DateTime created;
    // A junction or symbolic link: it leads into another folder or drive, so
    // listings never show it and a listing of it shows nothing.
    bool isReparsePoint = false;
    // Which file it is, where the store's listing can tell: the file
    // system's own view does; WMI's file classes have no such property.
    FileIdentity identity;
};

struct LogicalDisk {
    std::string name;             // "C:"
    std::uint32_t driveType = 3;  // 2 removable, 3 fixed, 4 network, 5 CD
};

struct ProcessEntry {
    std::uint32_t processId = 0;
    std::string name;  // "regedit.exe"
};

// Win32_Process.GetOwnerSid's own result codes.
inline constexpr std::uint32_t kOwnerSidAccessDenied = 2;
inline constexpr std::uint32_t kOwnerSidNotFound = 9;

struct RestorePoint {
    std::uint32_t sequenceNumber = 0;
    std::string description;
    DateTime created;
};

// One entry of a discretionary access list, as Win32_ACE shows it.
struct AccessEntry {
    std::string sid;  // "S-1-5-32-544"
    std::uint32_t accessMask = 0;
    std::uint32_t aceType = 0;   // 0 allow, 1 deny
    std::uint32_t aceFlags = 0;  // 1 object inherit, 2 container inherit, 8 inherit only, 16 inherited
};

inline constexpr std::uint32_t kAceAllowed = 0;
inline constexpr std::uint32_t kAceObjectInherit = 0x1;
inline constexpr std::uint32_t kAceContainerInherit = 0x2;
inline constexpr std::uint32_t kAceInheritOnly = 0x8;
inline constexpr std::uint32_t kAceInherited = 0x10;
inline constexpr std::uint32_t kSecurityDaclPresent = 0x4;       // SE_DACL_PRESENT
inline constexpr std::uint32_t kSecurityDaclProtected = 0x1000;  // SE_DACL_PROTECTED

// The security of a file or folder as Win32_SecurityDescriptor shows it:
// its control flags and, when kSecurityDaclPresent is set, its access list
// (without that flag the object has no list at all: everyone has every right).
struct FileSecurity {
    std::uint32_t controlFlags = 0;
    std::vector<AccessEntry> dacl;
    std::string ownerSid;
};

struct OsFacts {
    std::string computerName;      // Win32_ComputerSystem.Name
    std::string version;           // "6.1.7601"
    std::string windowsDirectory;  // "C:\Windows"
    std::string systemDirectory;   // "C:\Windows\system32"
    std::int32_t addressWidth = 32;
};

// The registry part of a store (StdRegProv, providers_registry.cpp).
class IRegistryStore {
public:
    virtual ~IRegistryStore() = default;
    IRegistryStore() = default;
    IRegistryStore(const IRegistryStore&) = delete;
    IRegistryStore& operator=(const IRegistryStore&) = delete;

    // Status 2 for a missing key or value.
    virtual std::uint32_t Enum_Keys(std::uint32_t root, std::string_view keyPath, std::vector<std::string>& names) = 0;
    virtual std::uint32_t Enum_Values(std::uint32_t root, std::string_view keyPath,
                                      std::vector<RegistryValueName>& values) = 0;
    virtual std::uint32_t Get_Value(std::uint32_t root, std::string_view keyPath, std::string_view valueName,
                                    RegistryValue& value) = 0;
    // Text with %NAME% environment references of the target replaced.
    [[nodiscard]] virtual std::string Expand_Environment(std::string_view text) = 0;
    // Status of the key; granted tells whether every right of the mask is held.
    virtual std::uint32_t Check_Access(std::uint32_t root, std::string_view keyPath, std::uint32_t required,
                                       bool& granted) = 0;
    // Creates the key and any missing parents.
    virtual std::uint32_t Create_Key(std::uint32_t root, std::string_view keyPath) = 0;
    // Refuses (5, as the registry API does) a key that still has sub-keys.
    virtual std::uint32_t Delete_Key(std::uint32_t root, std::string_view keyPath) = 0;
    virtual std::uint32_t Delete_Value(std::uint32_t root, std::string_view keyPath, std::string_view valueName) = 0;
    virtual std::uint32_t Set_Value(std::uint32_t root, std::string_view keyPath, std::string_view valueName,
                                    const RegistryValue& value) = 0;
};

// The file part of a store (CIM_DataFile, Win32_Directory, Win32_ShortcutFile;
// providers_files.cpp).
class IFileStore {
public:
    virtual ~IFileStore() = default;
    IFileStore() = default;
    IFileStore(const IFileStore&) = delete;
    IFileStore& operator=(const IFileStore&) = delete;

    // The file or folder at exactly this path, if there is one.
    [[nodiscard]] virtual std::optional<FileEntry> Find_Entry(std::string_view path) = 0;
    // The direct children of one folder ("C:\" for a drive root) into
    // entries: 0 listed, 2 or 3 the folder does not exist (entries empty),
    // any other status the folder could not be listed (access denied, ...).
    virtual std::uint32_t List_Folder(std::string_view folderPath, std::vector<FileEntry>& entries) = 0;
    // Every file or every folder of every fixed drive: only for queries that
    // name neither a path nor a folder (slow on a real computer).
    [[nodiscard]] virtual std::vector<FileEntry> All_Entries(bool folders) = 0;
    virtual std::uint32_t Delete_File(std::string_view path) = 0;
    // Removes an empty folder; a folder with content gives 145 and is kept.
    virtual std::uint32_t Delete_Folder(std::string_view path) = 0;
    // Both are full paths; 183 when the new name is taken.
    virtual std::uint32_t Rename_File(std::string_view path, std::string_view newPath) = 0;
    virtual std::uint32_t Compress_File(std::string_view path) = 0;
    // The target of a shortcut (.lnk) file; empty when it has none or cannot be read.
    [[nodiscard]] virtual std::string Shortcut_Target(std::string_view path) = 0;
    // The security of the file or folder; a status (2 when it does not exist,
    // 5 when it may not be read).
    virtual std::uint32_t Get_Security(std::string_view path, FileSecurity& security) = 0;
};

// The system part of a store: facts, disks, shutdown, processes and System
// Restore (providers_system.cpp).
class ISystemStore {
public:
    virtual ~ISystemStore() = default;
    ISystemStore() = default;
    ISystemStore(const ISystemStore&) = delete;
    ISystemStore& operator=(const ISystemStore&) = delete;

    [[nodiscard]] virtual OsFacts Os_Facts() = 0;
    [[nodiscard]] virtual std::vector<LogicalDisk> Logical_Disks() = 0;
    // Win32Shutdown's flags (1 shutdown, 2 reboot, 4 forced, ...); a status.
    virtual std::uint32_t Shutdown(std::uint32_t flags) = 0;

    [[nodiscard]] virtual std::vector<ProcessEntry> Processes() = 0;
    // The SID of the user a process runs for ("S-1-5-21-..."); GetOwnerSid's
    // result code (0, or kOwnerSidAccessDenied, kOwnerSidNotFound, ...).
    virtual std::uint32_t Process_Owner(std::uint32_t processId, std::string& sid) = 0;
    // Starts the command line (no current directory, no start-up information);
    // on status 0 processId names the new process.
    virtual std::uint32_t Create_Process(std::string_view commandLine, std::uint32_t& processId) = 0;

    // False when the computer has no System Restore (the SystemRestore class is missing).
    [[nodiscard]] virtual bool Has_System_Restore() = 0;
    [[nodiscard]] virtual std::vector<RestorePoint> Restore_Points() = 0;
    // CreateRestorePoint's and Restore's own result codes.
    virtual std::uint32_t Create_Restore_Point(std::string_view description, std::uint32_t restorePointType,
                                               std::uint32_t eventType) = 0;
    virtual std::uint32_t Restore(std::uint32_t sequenceNumber) = 0;
};

// A whole computer: what the stores implement and the query engine serves.
class IMachineStore : public IRegistryStore, public IFileStore, public ISystemStore {};

}  // namespace corvane::remote
