#include "remote/win32/file_handles.h"

#include <windows.h>

#include <vector>

#include "base/win32/unique_any.h"
#include "base/win32/wide_text.h"
#include "remote/listed_identity.h"
#include "remote/share_walk.h"

using namespace ::corvane::win32;  // the handle owners and Widen

namespace corvane::remote::win32 {
namespace {

// Never through a junction or link at the end; folders open too.
constexpr DWORD kNoFollow = FILE_FLAG_OPEN_REPARSE_POINT | FILE_FLAG_BACKUP_SEMANTICS;

// FILE_ID_INFO of GetFileInformationByHandleEx (class 18, Windows 8 and
// later; the headers show it only for those).
struct FileIdInfo {
    ULONGLONG volumeSerialNumber;
    BYTE fileId[16];
};
constexpr auto kFileIdInfoClass = static_cast<FILE_INFO_BY_HANDLE_CLASS>(18);

unique_hfile Open_Entry(std::string_view path, DWORD access, DWORD share) {
    return unique_hfile(CreateFileW(Widen(path).c_str(), access, share, nullptr, OPEN_EXISTING, kNoFollow, nullptr));
}

DeleteResult Open_Failure(DWORD error) {
    if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) return {DeleteOutcome::Gone};
    return {DeleteOutcome::Error, error};
}

bool Is_Reparse_Point(const HandleFacts& facts) { return (facts.attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0; }

// The directory entry's own attributes say so too. Wine opens a host
// symbolic link as its target whatever the flags, so that its handle does
// not show the link; its directory entry does. True when it cannot be told.
bool Listed_As_Reparse_Point(std::string_view path) {
    if (path.size() <= 3 || path.ends_with("$\\")) return false;  // a drive or share root has no entry
    WIN32_FIND_DATAW data{};
    const unique_find find(
        FindFirstFileExW(Widen(path).c_str(), FindExInfoBasic, &data, FindExSearchNameMatch, nullptr, 0));
    return !find || (data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
}

}  // namespace

std::optional<HandleFacts> Handle_Facts(HANDLE file) {
    BY_HANDLE_FILE_INFORMATION info{};
    if (!GetFileInformationByHandle(file, &info)) return std::nullopt;
    HandleFacts facts;
    facts.attributes = info.dwFileAttributes;
    FileIdInfo id{};
    if (GetFileInformationByHandleEx(file, kFileIdInfoClass, &id, sizeof(id))) {
        facts.identity.volumeSerial = id.volumeSerialNumber;
        for (std::size_t i = 0; i < sizeof(id.fileId); ++i) facts.identity.fileId[i] = id.fileId[i];
        facts.identity.known = true;
    } else {
        facts.identity = Identity_Of(info.dwVolumeSerialNumber,
                                     (static_cast<std::uint64_t>(info.nFileIndexHigh) << 32) | info.nFileIndexLow);
    }
    return facts;
}

std::optional<HandleFacts> Entry_Facts(std::string_view path) {
    const unique_hfile entry =
        Open_Entry(path, FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE);
    if (!entry) return std::nullopt;
    return Handle_Facts(entry.get());
}

DeleteResult Delete_Through_Handle(std::string_view path, std::string_view startFolder, const FileIdentity& identity) {
    const std::vector<std::string> components = Components_From(startFolder, path);
    if (components.empty()) return {DeleteOutcome::OutsideStart};
    // Held open until the deletion is done. A handle with data access takes
    // part in sharing checks (one with attribute access only would not), so
    // while it is open nobody can rename or delete the folder.
    std::vector<unique_hfile> held;
    for (std::size_t i = 0; i + 1 < components.size(); ++i) {
        unique_hfile folder =
            Open_Entry(components[i], FILE_LIST_DIRECTORY | FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE);
        if (!folder) return Open_Failure(GetLastError());
        const auto facts = Handle_Facts(folder.get());
        if (!facts) return {DeleteOutcome::Error, GetLastError()};
        if (Is_Reparse_Point(*facts) || Listed_As_Reparse_Point(components[i])) return {DeleteOutcome::ReparsePoint};
        held.push_back(std::move(folder));
    }
    const unique_hfile entry =
        Open_Entry(path, DELETE | FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE);
    if (!entry) return Open_Failure(GetLastError());
    const auto facts = Handle_Facts(entry.get());
    if (!facts) return {DeleteOutcome::Error, GetLastError()};
    if (Is_Reparse_Point(*facts) || Listed_As_Reparse_Point(path)) return {DeleteOutcome::ReparsePoint};
    if (!identity.known || !facts->identity.known || facts->identity != identity) {
        return {DeleteOutcome::IdentityDiffers};
    }
    FILE_DISPOSITION_INFO disposition{};
    disposition.DeleteFile = TRUE;
    if (!SetFileInformationByHandle(entry.get(), FileDispositionInfo, &disposition, sizeof(disposition))) {
        const DWORD error = GetLastError();
        if (error == ERROR_DIR_NOT_EMPTY) return {DeleteOutcome::NotEmpty};
        return {DeleteOutcome::Error, error};
    }
    return {DeleteOutcome::Deleted};
}

}  // namespace corvane::remote::win32
