// The native store's files and folders: one directory handle for a folder's
// listing with each entry's identity (FindFirstFileExW where the file system
// refuses that), FindFirstFileExW for one entry, the shell for type names and
// shortcut targets, and the plain file functions for deleting, renaming and
// compressing.
#include <windows.h>

#include <shellapi.h>
#include <shlobj.h>
#include <shobjidl.h>
#include <winioctl.h>

#include <algorithm>
#include <map>

#include "base/runtime_error.h"
#include "base/text.h"
#include "base/win32/unique_com.h"
#include "base/win32/wide_text.h"
#include "remote/folder_path.h"
#include "remote/listed_identity.h"
#include "remote/win32/com_runtime.h"
#include "remote/win32/file_handles.h"
#include "remote/win32/hresult_error.h"
#include "remote/win32/native_store.h"

using namespace ::corvane::win32;  // the program's handle and COM owners, Widen and Narrow

namespace corvane::remote::win32 {
namespace {

bool Has_Wildcard(std::string_view path) { return path.find_first_of("*?") != std::string_view::npos; }

std::uint32_t Last_Status() { return static_cast<std::uint32_t>(GetLastError()); }

std::uint32_t Status_Of(BOOL done) { return done ? kStatusOk : Last_Status(); }

// What one listing reads once: the time zone (asking for it per entry costs
// a registry read under Wine) and the type names of the store.
struct ListingContext {
    std::map<std::string, std::string>& typeNames;
    TIME_ZONE_INFORMATION zone{};
    bool zoneKnown = false;

    explicit ListingContext(std::map<std::string, std::string>& names) : typeNames(names) {
        zoneKnown = GetTimeZoneInformation(&zone) != TIME_ZONE_ID_INVALID;
    }

    const std::string& Type_Name(const std::wstring& path, bool isFolder) {
        std::string key = "\\";
        if (!isFolder) {
            const auto slash = path.find_last_of(L'\\');
            const auto dot = path.find_last_of(L'.');
            key = dot != std::wstring::npos && (slash == std::wstring::npos || dot > slash)
                      ? Lower_Ascii(Narrow(std::wstring_view(path).substr(dot)))
                      : std::string();
        }
        if (auto found = typeNames.find(key); found != typeNames.end()) return found->second;
        SHFILEINFOW info{};
        std::string name;
        if (SHGetFileInfoW(path.c_str(), 0, &info, sizeof(info), SHGFI_TYPENAME) != 0) name = Narrow(info.szTypeName);
        return typeNames.emplace(std::move(key), std::move(name)).first->second;
    }

    DateTime Local_Date_Time(const FILETIME& utc) const {
        SYSTEMTIME utcTime{};
        SYSTEMTIME localTime{};
        if (!FileTimeToSystemTime(&utc, &utcTime) ||
            !SystemTimeToTzSpecificLocalTime(zoneKnown ? &zone : nullptr, &utcTime, &localTime)) {
            return {};
        }
        FILETIME localFile{};
        SystemTimeToFileTime(&localTime, &localFile);
        const auto ticks = [](const FILETIME& time) {
            return static_cast<std::int64_t>((static_cast<std::uint64_t>(time.dwHighDateTime) << 32) |
                                             time.dwLowDateTime);
        };
        const std::int64_t offsetMinutes = (ticks(localFile) - ticks(utc)) / (10'000'000LL * 60);
        return {localTime.wYear,
                localTime.wMonth,
                localTime.wDay,
                localTime.wHour,
                localTime.wMinute,
                localTime.wSecond,
                static_cast<int>(offsetMinutes)};
    }
};

FileEntry Make_Entry(const std::wstring& path, const WIN32_FIND_DATAW& data, ListingContext& context) {
    FileEntry entry;
    entry.path = Narrow(path);
    entry.isFolder = (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    entry.isReparsePoint = (data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
    if (!entry.isFolder) {
        entry.size = (static_cast<std::uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    }
    entry.fileType = context.Type_Name(path, entry.isFolder);
    entry.created = context.Local_Date_Time(data.ftCreationTime);
    return entry;
}

// A failed look-up: "not found" answers mean there is nothing; every other
// error (refused access, a path too long, a sharing violation) cannot tell
// and is raised, so that no caller takes it for "missing".
void Raise_Unless_Not_Found(DWORD error) {
    if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND || error == ERROR_NO_MORE_FILES) return;
    Throw_Win32(error);
}

bool Is_Dot_Entry(const wchar_t* name) {
    return name[0] == L'.' && (name[1] == L'\0' || (name[1] == L'.' && name[2] == L'\0'));
}

// Every entry of one folder; the callback sees the full path and the find
// data. The status of the listing: 0, 2 or 3 for a folder that is not there
// (or a drive root without entries), else why it could not be listed.
template <typename Visit>
std::uint32_t For_Each_In_Folder(const std::wstring& folder, Visit&& visit) {
    const std::wstring prefix = folder.ends_with(L'\\') ? folder : folder + L'\\';
    WIN32_FIND_DATAW data{};
    unique_find find(FindFirstFileExW((prefix + L'*').c_str(), FindExInfoBasic, &data, FindExSearchNameMatch, nullptr,
                                      FIND_FIRST_EX_LARGE_FETCH));
    if (!find) return Last_Status();
    do {
        if (!Is_Dot_Entry(data.cFileName)) visit(prefix + data.cFileName, data);
    } while (FindNextFileW(find.get(), &data));
    const std::uint32_t status = Last_Status();
    return status == ERROR_NO_MORE_FILES ? kStatusOk : status;
}

// The find data of one record of a directory handle's listing.
WIN32_FIND_DATAW Find_Data_Of(const FILE_ID_BOTH_DIR_INFO& record) {
    WIN32_FIND_DATAW data{};
    data.dwFileAttributes = record.FileAttributes;
    data.ftCreationTime.dwLowDateTime = record.CreationTime.LowPart;
    data.ftCreationTime.dwHighDateTime = static_cast<DWORD>(record.CreationTime.HighPart);
    data.nFileSizeLow = record.EndOfFile.LowPart;
    data.nFileSizeHigh = static_cast<DWORD>(record.EndOfFile.HighPart);
    const std::size_t length = std::min<std::size_t>(record.FileNameLength / sizeof(WCHAR), MAX_PATH - 1);
    std::copy_n(record.FileName, length, data.cFileName);
    return data;
}

// Every entry of one folder through one directory handle, in batches
// (FileIdBothDirectoryInfo), with its identity: the entry's file ID and the
// serial number the folder's own handle reports, read the way the checked
// deletion reads them (a 64-bit ID fills the low half of FileIdInfo's
// 128-bit one). Nothing when the folder cannot be opened or the file system
// refuses the class; the caller then lists without identities.
template <typename Visit>
std::optional<std::uint32_t> For_Each_Through_Handle(const std::wstring& prefix, Visit&& visit) {
    const unique_hfile folder(CreateFileW(prefix.c_str(), FILE_LIST_DIRECTORY | FILE_READ_ATTRIBUTES,
                                          FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                          OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    if (!folder) return std::nullopt;
    const std::optional<HandleFacts> facts = Handle_Facts(folder.get());
    if (!facts || !facts->identity.known) return std::nullopt;
    // 64 KiB per call, aligned for the records' 64-bit fields.
    std::vector<std::uint64_t> buffer(8 * 1024);
    const auto bytes = static_cast<DWORD>(buffer.size() * sizeof(std::uint64_t));
    for (bool first = true;; first = false) {
        if (!GetFileInformationByHandleEx(
                folder.get(), first ? FileIdBothDirectoryRestartInfo : FileIdBothDirectoryInfo, buffer.data(), bytes)) {
            const DWORD error = GetLastError();
            if (error == ERROR_NO_MORE_FILES) return kStatusOk;
            if (first) return std::nullopt;
            return static_cast<std::uint32_t>(error);
        }
        const auto* at = reinterpret_cast<const std::uint8_t*>(buffer.data());
        for (;;) {
            const auto& record = *reinterpret_cast<const FILE_ID_BOTH_DIR_INFO*>(at);
            const WIN32_FIND_DATAW data = Find_Data_Of(record);
            if (!Is_Dot_Entry(data.cFileName)) {
                FileIdentity identity = Identity_Of(0, static_cast<std::uint64_t>(record.FileId.QuadPart));
                identity.volumeSerial = facts->identity.volumeSerial;
                visit(prefix + data.cFileName, data, identity);
            }
            if (record.NextEntryOffset == 0) break;
            at += record.NextEntryOffset;
        }
    }
}

}  // namespace

std::optional<FileEntry> NativeStore::Find_Entry(std::string_view path) {
    const std::string normal = Normalize_Folder_Path(path);
    if (normal.empty() || Has_Wildcard(normal)) return std::nullopt;
    const std::wstring wide = Widen(normal);
    ListingContext context(typeNames_);
    if (Is_Drive_Root(normal)) {
        WIN32_FILE_ATTRIBUTE_DATA attributes{};
        if (!GetFileAttributesExW(wide.c_str(), GetFileExInfoStandard, &attributes)) {
            Raise_Unless_Not_Found(GetLastError());
            return std::nullopt;
        }
        if ((attributes.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0) return std::nullopt;
        WIN32_FIND_DATAW data{};
        data.dwFileAttributes = attributes.dwFileAttributes;
        data.ftCreationTime = attributes.ftCreationTime;
        return Make_Entry(wide, data, context);
    }
    WIN32_FIND_DATAW data{};
    unique_find find(FindFirstFileExW(wide.c_str(), FindExInfoBasic, &data, FindExSearchNameMatch, nullptr, 0));
    if (!find) {
        Raise_Unless_Not_Found(GetLastError());
        return std::nullopt;
    }
    // The stored spelling of the last part, under the folder as given.
    const auto slash = wide.find_last_of(L'\\');
    const std::wstring folder = slash == std::wstring::npos ? std::wstring() : wide.substr(0, slash + 1);
    return Make_Entry(folder + data.cFileName, data, context);
}

std::uint32_t NativeStore::List_Folder(std::string_view folderPath, std::vector<FileEntry>& entries) {
    entries.clear();
    const std::string normal = Normalize_Folder_Path(folderPath);
    if (normal.empty() || Has_Wildcard(normal)) return kStatusPathNotFound;
    ListingContext context(typeNames_);
    const std::wstring folder = Widen(normal);
    const std::optional<std::uint32_t> listed = For_Each_Through_Handle(
        folder.ends_with(L'\\') ? folder : folder + L'\\',
        [&](const std::wstring& path, const WIN32_FIND_DATAW& data, const FileIdentity& identity) {
            entries.push_back(Make_Entry(path, data, context));
            entries.back().identity = identity;
        });
    if (!listed) entries.clear();
    const std::uint32_t status =
        listed ? *listed : For_Each_In_Folder(folder, [&](const std::wstring& path, const WIN32_FIND_DATAW& data) {
            entries.push_back(Make_Entry(path, data, context));
        });
    // A listing that broke off part-way is no listing.
    if (status != kStatusOk) entries.clear();
    return status;
}

std::vector<FileEntry> NativeStore::All_Entries(bool folders) {
    std::vector<FileEntry> entries;
    ListingContext context(typeNames_);
    std::vector<std::wstring> pending;
    for (const LogicalDisk& disk : Logical_Disks()) {
        if (disk.driveType == DRIVE_FIXED) pending.push_back(Widen(disk.name) + L'\\');
    }
    while (!pending.empty()) {
        const std::wstring folder = std::move(pending.back());
        pending.pop_back();
        (void)For_Each_In_Folder(folder, [&](const std::wstring& path, const WIN32_FIND_DATAW& data) {
            const bool isFolder = (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
            // Junctions and links are not followed: they lead back into the tree.
            if (isFolder && (data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) == 0) pending.push_back(path);
            if (isFolder == folders) entries.push_back(Make_Entry(path, data, context));
        });
    }
    return entries;
}

std::uint32_t NativeStore::Delete_File(std::string_view path) { return Status_Of(DeleteFileW(Widen(path).c_str())); }

std::uint32_t NativeStore::Delete_Folder(std::string_view path) {
    return Status_Of(RemoveDirectoryW(Widen(Normalize_Folder_Path(path)).c_str()));
}

std::uint32_t NativeStore::Rename_File(std::string_view path, std::string_view newPath) {
    return Status_Of(MoveFileW(Widen(path).c_str(), Widen(newPath).c_str()));
}

std::uint32_t NativeStore::Compress_File(std::string_view path) {
    unique_hfile file(CreateFileW(Widen(path).c_str(), GENERIC_READ | GENERIC_WRITE,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                  FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    if (!file) return Last_Status();
    USHORT format = COMPRESSION_FORMAT_DEFAULT;
    DWORD returned = 0;
    return Status_Of(
        DeviceIoControl(file.get(), FSCTL_SET_COMPRESSION, &format, sizeof(format), nullptr, 0, &returned, nullptr));
}

std::string NativeStore::Shortcut_Target(std::string_view path) {
    const ComInit com;
    if (!Com_Usable(com)) return {};
    com_ptr<IShellLinkW> link;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW, link.put_void()))) {
        return {};
    }
    const com_ptr<IPersistFile> file = link.try_query<IPersistFile>();
    if (!file || FAILED(file->Load(Widen(path).c_str(), STGM_READ))) return {};
    std::wstring target(MAX_PATH + 1, L'\0');
    // S_FALSE: the shortcut has no path (a shell item such as a control panel entry).
    if (link->GetPath(target.data(), static_cast<int>(target.size()), nullptr, 0) != S_OK) return {};
    target.resize(wcsnlen(target.c_str(), target.size()));
    return Narrow(target);
}

std::optional<std::string> Native_Long_Path(std::string_view path) {
    const std::wstring wide = Widen(path);
    const DWORD size = GetLongPathNameW(wide.c_str(), nullptr, 0);
    if (size == 0) return std::nullopt;
    std::wstring buffer(size, L'\0');
    const DWORD written = GetLongPathNameW(wide.c_str(), buffer.data(), size);
    if (written == 0 || written >= size) return std::nullopt;
    buffer.resize(written);
    return Narrow(buffer);
}

LocalPathKind Native_Path_Kind(std::string_view path) {
    const std::string normal = Normalize_Folder_Path(path);
    if (normal.empty() || Has_Wildcard(normal)) return LocalPathKind::Unknown;
    const std::wstring wide = Widen(normal);
    WIN32_FIND_DATAW data{};
    unique_find find(FindFirstFileExW(wide.c_str(), FindExInfoBasic, &data, FindExSearchNameMatch, nullptr, 0));
    if (!find) {
        const DWORD error = GetLastError();
        return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ? LocalPathKind::Missing
                                                                              : LocalPathKind::Unknown;
    }
    return (data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0 ? LocalPathKind::ReparsePoint
                                                                       : LocalPathKind::Plain;
}

std::optional<std::string> Native_Read_Small_File(std::string_view path, std::size_t maxBytes) {
    unique_hfile file(CreateFileW(Widen(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    LARGE_INTEGER size{};
    if (!file || !GetFileSizeEx(file.get(), &size) || size.QuadPart < 0 ||
        static_cast<std::uint64_t>(size.QuadPart) > maxBytes) {
        return std::nullopt;
    }
    std::string content(static_cast<std::size_t>(size.QuadPart), '\0');
    DWORD read = 0;
    if (!content.empty() &&
        (!ReadFile(file.get(), content.data(), static_cast<DWORD>(content.size()), &read, nullptr) ||
         read != content.size())) {
        return std::nullopt;
    }
    return content;
}

}  // namespace corvane::remote::win32
