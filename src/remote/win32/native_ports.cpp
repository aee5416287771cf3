#include "remote/win32/native_ports.h"

#include <windows.h>

#include <knownfolders.h>
#include <shlobj.h>

#include <memory>
#include <vector>

#include "base/win32/platform_win32.h"
#include "base/win32/unique_com.h"
#include "base/win32/wide_text.h"
#include "remote/win32/file_handles.h"
#include "remote/win32/native_store.h"

using namespace ::corvane::win32;  // the program's handle and COM owners, Widen and Narrow

namespace corvane::remote::win32 {
namespace {

constexpr std::size_t kFirstBufferSize = 1024;

HKEY Root_Handle(std::uint32_t root) { return reinterpret_cast<HKEY>(static_cast<ULONG_PTR>(static_cast<LONG>(root))); }

bool Fits_Mask(DWORD attributes, std::uint32_t mask) {
    if ((attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) return (mask & kAttributeDirectory) != 0;
    if ((attributes & FILE_ATTRIBUTE_HIDDEN) != 0 && (mask & FILE_ATTRIBUTE_HIDDEN) == 0) return false;
    if ((attributes & FILE_ATTRIBUTE_SYSTEM) != 0 && (mask & FILE_ATTRIBUTE_SYSTEM) == 0) return false;
    return true;
}

bool Can_List(const std::wstring& root) {
    WIN32_FIND_DATAW data{};
    unique_find find(FindFirstFileW((root + L'*').c_str(), &data));
    if (find) return true;
    // An empty local drive root lists nothing, but the listing itself worked.
    // A network root is trusted only when it really lists: Wine, for one,
    // answers "file not found" for paths on servers that do not exist.
    return GetLastError() == ERROR_FILE_NOT_FOUND && !root.starts_with(L"\\\\");
}

std::optional<RawRegistryValue> Query_Value(HKEY key, const std::wstring& name) {
    RawRegistryValue value;
    value.data.resize(kFirstBufferSize);
    DWORD type = REG_NONE;
    DWORD size = static_cast<DWORD>(value.data.size());
    LSTATUS status = RegQueryValueExW(key, name.c_str(), nullptr, &type, value.data.data(), &size);
    if (status == ERROR_MORE_DATA) {
        value.data.resize(size);
        status = RegQueryValueExW(key, name.c_str(), nullptr, &type, value.data.data(), &size);
    }
    if (status != ERROR_SUCCESS) return std::nullopt;
    value.data.resize(size);
    value.type = type;
    return value;
}

}  // namespace

std::optional<RawRegistryValue> NativeLocalRegistry::Read_Value(std::uint32_t root, std::string_view keyPath,
                                                                std::string_view valueName) {
    const std::wstring name = Widen(valueName);
    const std::lock_guard lock(mutex_);
    if (kept_ && keptRoot_ == root && keptPath_ == keyPath) {
        // A key deleted since it was opened (even one made again under the
        // same name) fails every read: only a fresh opening may say "none".
        if (auto value = Query_Value(kept_.get(), name)) return value;
    }
    kept_.reset();
    unique_hkey key;
    // The 64-bit view, as the native store's registry provider reads it.
    if (RegOpenKeyExW(Root_Handle(root), Widen(keyPath).c_str(), 0, KEY_READ | KEY_WOW64_64KEY, key.put()) !=
        ERROR_SUCCESS) {
        return std::nullopt;
    }
    auto value = Query_Value(key.get(), name);
    if (keep_) {
        kept_ = std::move(key);
        keptRoot_ = root;
        keptPath_ = std::string(keyPath);
    }
    return value;
}

void NativeLocalRegistry::Keep_Last_Key(bool on) noexcept {
    const std::lock_guard lock(mutex_);
    keep_ = on;
    kept_.reset();
}

std::string Listing_Root(std::string_view path) {
    if (path.starts_with("\\\\")) {
        const auto serverEnd = path.find('\\', 2);
        if (serverEnd == std::string_view::npos) return {};
        const auto shareEnd = path.find('\\', serverEnd + 1);
        return std::string(shareEnd == std::string_view::npos ? path : path.substr(0, shareEnd)) + '\\';
    }
    if (path.size() >= 2 && path[1] == ':') return std::string(path.substr(0, 2)) + '\\';
    return {};
}

std::function<void()> NativeShareLister::Call_Canceller() {
    // CancelSynchronousIo needs a handle of the thread with THREAD_TERMINATE access.
    HANDLE thread = OpenThread(THREAD_TERMINATE, FALSE, GetCurrentThreadId());
    if (thread == nullptr) return {};
    auto owned = std::make_shared<::corvane::win32::unique_handle>(thread);
    return [owned] { (void)CancelSynchronousIo(owned->get()); };
}

ListingResult NativeShareLister::Find(std::string_view path, std::uint32_t attributeMask) {
    const Impersonation asUser(logons_.Token_For(path));
    const std::wstring wide = Widen(path);
    const bool namesFolder = path.ends_with('\\');
    WIN32_FIND_DATAW data{};
    unique_find find(FindFirstFileExW((namesFolder ? wide + L'*' : wide).c_str(), FindExInfoBasic, &data,
                                      FindExSearchNameMatch, nullptr, 0));
    if (find) {
        // A folder named with a trailing "\" exists once it can be listed.
        if (namesFolder)
            return (attributeMask & kAttributeDirectory) != 0 ? ListingResult::Found : ListingResult::NotFound;
        do {
            if (Fits_Mask(data.dwFileAttributes, attributeMask)) return ListingResult::Found;
        } while (FindNextFileW(find.get(), &data));
        return ListingResult::NotFound;
    }
    const DWORD error = GetLastError();
    const std::string root = Listing_Root(path);
    const bool isShareRoot = namesFolder && root == path && path.starts_with("\\\\");
    // Only "not found" answers mean missing; a refused access, a path too
    // long, a sharing violation and every other error cannot tell. A share
    // that does not exist is "missing" only for the share root itself.
    const bool missing = error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ||
                         (isShareRoot && (error == ERROR_BAD_NETPATH || error == ERROR_BAD_NET_NAME));
    if (!missing) return ListingResult::Unavailable;
    // A share is believed only once its root lists (Wine answers "not found"
    // for servers and shares that do not exist).
    if (root.empty() || !Can_List(Widen(root))) return ListingResult::Unavailable;
    if (namesFolder && root == path) {
        return (attributeMask & kAttributeDirectory) != 0 ? ListingResult::Found : ListingResult::NotFound;
    }
    return ListingResult::NotFound;
}

ListingResult NativeShareLister::List_Folder(std::string_view folderPath, std::vector<ListedEntry>& entries,
                                             bool identities) {
    const Impersonation asUser(logons_.Token_For(folderPath));
    std::wstring pattern = Widen(folderPath);
    if (!pattern.ends_with(L'\\')) pattern += L'\\';
    WIN32_FIND_DATAW data{};
    unique_find find(FindFirstFileExW((pattern + L'*').c_str(), FindExInfoBasic, &data, FindExSearchNameMatch, nullptr,
                                      FIND_FIRST_EX_LARGE_FETCH));
    entries.clear();
    if (!find) {
        const DWORD error = GetLastError();
        // Only "not found" answers mean the folder is missing (an empty drive
        // root answers "file not found" too); Wine answers so for servers that
        // do not exist, so a network folder counts only when its root lists.
        if (error != ERROR_FILE_NOT_FOUND && error != ERROR_PATH_NOT_FOUND) return ListingResult::Unavailable;
        const std::string root = Listing_Root(folderPath);
        if (root.empty() || !Can_List(Widen(root))) return ListingResult::Unavailable;
        return root == Narrow(pattern) ? ListingResult::Found : ListingResult::NotFound;
    }
    do {
        const std::wstring_view name(data.cFileName);
        if (name == L"." || name == L"..") continue;
        ListedEntry entry;
        entry.name = Narrow(name);
        entry.isFolder = (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
        entry.attributes = data.dwFileAttributes;
        entry.size = (static_cast<std::uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
        entries.push_back(std::move(entry));
    } while (FindNextFileW(find.get(), &data));
    if (GetLastError() != ERROR_NO_MORE_FILES) return ListingResult::Unavailable;
    const std::string folder = Narrow(pattern);
    for (ListedEntry& entry : entries) {
        if (!identities) break;
        if (const auto facts = Entry_Facts(folder + entry.name)) entry.identity = facts->identity;
    }
    return ListingResult::Found;
}

ListingResult NativeShareLister::Entry_Of(std::string_view path, ListedEntry& entry) {
    const Impersonation asUser(logons_.Token_For(path));
    WIN32_FIND_DATAW data{};
    unique_find find(FindFirstFileExW(Widen(path).c_str(), FindExInfoBasic, &data, FindExSearchNameMatch, nullptr, 0));
    if (!find) {
        const DWORD error = GetLastError();
        return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ? ListingResult::NotFound
                                                                              : ListingResult::Unavailable;
    }
    entry = {};
    entry.name = Narrow(data.cFileName);
    entry.isFolder = (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    entry.attributes = data.dwFileAttributes;
    entry.size = (static_cast<std::uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    if (const auto facts = Entry_Facts(path)) entry.identity = facts->identity;
    return ListingResult::Found;
}

DeleteResult NativeShareLister::Delete_Checked(std::string_view path, std::string_view startFolder,
                                               const FileIdentity& identity) {
    const Impersonation asUser(logons_.Token_For(path));
    return Delete_Through_Handle(path, startFolder, identity);
}

OsVersionNumbers NativeLocalSystem::Os_Version() {
    OSVERSIONINFOW info{};
    info.dwOSVersionInfoSize = sizeof(info);
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    if (!GetVersionExW(&info)) return {2, 0, 0};
#pragma GCC diagnostic pop
    return {info.dwPlatformId, info.dwMajorVersion, info.dwMinorVersion};
}

std::string NativeLocalSystem::Computer_Name() { return ::corvane::win32::Local_Computer_Name(); }

std::optional<std::string> NativeLocalSystem::Long_Path(std::string_view path) { return Native_Long_Path(path); }
LocalPathKind NativeLocalSystem::Path_Kind(std::string_view path) { return Native_Path_Kind(path); }
std::optional<std::string> NativeLocalSystem::Read_Small_File(std::string_view path, std::size_t maxBytes) {
    return Native_Read_Small_File(path, maxBytes);
}

}  // namespace corvane::remote::win32

namespace corvane::remote::win32 {

std::string NativeUserDataFolder::Local_Application_Data() {
    PWSTR path = nullptr;
    const HRESULT result = ::SHGetKnownFolderPath(FOLDERID_LocalAppData, 0, nullptr, &path);
    std::string folder = SUCCEEDED(result) && path != nullptr ? Narrow(path) : std::string();
    ::CoTaskMemFree(path);
    return folder;
}

}  // namespace corvane::remote::win32
