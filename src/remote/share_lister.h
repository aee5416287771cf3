// Port: the file system's own view of a path, as the fast existence tests,
// the folder walks of remote computers and the checked deletion need it: a
// target's administrative share (\\NAME\C$\Windows\x.dll) or, for the local
// computer, the local path itself. Unlike WMI's file classes it shows a
// reparse point as one and takes short (8.3) names. Win32: FindFirstFileW and
// file handles (remote/win32); simulated computers answer their own shares
// (remote/sim_network.h).
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "base/secret.h"

#include "base/ui/problem.h"
#include "remote/machine_store.h"

namespace corvane::remote {

// Attribute masks of the listing, as the scripting Dir function takes them:
// 7 = normal, read-only, hidden and system files; 63 = every kind of entry,
// folders included.
inline constexpr std::uint32_t kListFiles = 7;
inline constexpr std::uint32_t kListEverything = 63;
inline constexpr std::uint32_t kAttributeDirectory = 16;
inline constexpr std::uint32_t kAttributeReparsePoint = 0x400;  // FILE_ATTRIBUTE_REPARSE_POINT

// One entry of a folder listing.
struct ListedEntry {
    std::string name;  // the last part of its path, as stored
    bool isFolder = false;
    std::uint32_t attributes = 0;  // FILE_ATTRIBUTE_* as the file system reports them
    std::uint64_t size = 0;        // files only
    DateTime created;
    FileIdentity identity;  // known only where the lister can read it

    [[nodiscard]] bool Is_Reparse_Point() const noexcept { return (attributes & kAttributeReparsePoint) != 0; }
};

// What a checked deletion did (IShareLister::Delete_Checked).
enum class DeleteOutcome {
    Deleted,
    Gone,             // nothing at the path any more
    IdentityDiffers,  // another file or folder than the one seen now has the path
    ReparsePoint,     // the entry or a folder from the start folder down is a junction or link
    NotEmpty,         // a folder that still holds something
    OutsideStart,     // the path does not lie below the start folder
    Error,            // the file system refused; code says why
};

struct DeleteResult {
    DeleteOutcome outcome = DeleteOutcome::Error;
    std::uint32_t code = 0;  // the Win32 error of an Error outcome
};

// The log's words for an outcome ("identity differs", "error 32", ...).
[[nodiscard]] std::string Delete_Outcome_Text(const DeleteResult& result);

enum class ListingResult {
    Found,        // an entry of that name and a fitting kind exists
    NotFound,     // the listing worked and found nothing
    Unavailable,  // the path could not be listed at all (share missing, access refused, network down)
};

class IShareLister {
public:
    virtual ~IShareLister() = default;
    IShareLister() = default;
    IShareLister(const IShareLister&) = delete;
    IShareLister& operator=(const IShareLister&) = delete;

    // The share calls for paths on that server are made as this user from
    // now on (Win32: a new-credentials logon impersonated around each call,
    // so that every computer keeps its own credentials); an empty user: as
    // the program's own user.
    virtual void Use_Credentials(std::string_view server, std::string_view user, const Secret& password) {
        (void)server;
        (void)user;
        (void)password;
    }

    // How another thread ends the share call the calling thread is about to
    // make, should it hang (Win32: CancelSynchronousIo on this thread); empty
    // when calls cannot be ended from outside.
    [[nodiscard]] virtual std::function<void()> Call_Canceller() { return {}; }

    // Lists exactly this path (no wildcards added). A folder counts only when
    // the mask holds kAttributeDirectory. A path ending in "\" names the
    // folder itself (a share root such as \\NAME\C$\).
    [[nodiscard]] virtual ListingResult Find(std::string_view path, std::uint32_t attributeMask) = 0;

    // Every entry of one folder (folderPath ends in "\\"): Found with the
    // entries (perhaps none), NotFound when the folder does not exist,
    // Unavailable when it cannot be listed. A lister without folder listings
    // answers Unavailable, which sends the caller to the management service.
    // With identities, each entry's identity is read too where it costs more.
    [[nodiscard]] virtual ListingResult List_Folder(std::string_view folderPath, std::vector<ListedEntry>& entries,
                                                    bool identities) {
        (void)folderPath;
        (void)entries;
        (void)identities;
        return ListingResult::Unavailable;
    }

    // The entry at exactly this path, a reparse point as itself (never its
    // target); name, attributes and identity as a listing gives them.
    [[nodiscard]] virtual ListingResult Entry_Of(std::string_view path, ListedEntry& entry) {
        (void)path;
        (void)entry;
        return ListingResult::Unavailable;
    }

    // Deletes the file or empty folder at path only when it is still the one
    // seen (identity), and neither it nor any folder from startFolder (which
    // path lies below) down to it is a reparse point. The entry is opened
    // without following a reparse point and deleted through that handle, so
    // that no swap after the checks can lead the deletion elsewhere. Both
    // paths are of one form (both share paths, or both local).
    [[nodiscard]] virtual DeleteResult Delete_Checked(std::string_view path, std::string_view startFolder,
                                                      const FileIdentity& identity) {
        (void)path;
        (void)startFolder;
        (void)identity;
        return {DeleteOutcome::Error, kStatusNotSupported};
    }
};

}  // namespace corvane::remote
