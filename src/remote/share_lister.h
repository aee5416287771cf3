// Port: directory listings of a path for the fast existence tests, such as a
// target's administrative share (\\NAME\C$\Windows\x.dll) or, for the local
// computer, the local path itself. Win32: FindFirstFileW (remote/win32);
// simulated computers answer their own shares (remote/sim_network.h).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace corvane::remote {

// Attribute masks of the listing, as the scripting Dir function takes them:
// 7 = normal, read-only, hidden and system files; 63 = every kind of entry,
// folders included.
inline constexpr std::uint32_t kListFiles = 7;
inline constexpr std::uint32_t kListEverything = 63;
inline constexpr std::uint32_t kAttributeDirectory = 16;

// One entry of a folder listing.
struct ListedEntry {
    std::string name;  // the last part of its path, as stored
    bool isFolder = false;
};

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

    // Lists exactly this path (no wildcards added). A folder counts only when
    // the mask holds kAttributeDirectory. A path ending in "\" names the
    // folder itself (a share root such as \\NAME\C$\).
    [[nodiscard]] virtual ListingResult Find(std::string_view path, std::uint32_t attributeMask) = 0;

    // Every entry of one folder (folderPath ends in "\\"): Found with the
    // entries (perhaps none), NotFound when the folder does not exist,
    // Unavailable when it cannot be listed. A lister without folder listings
    // answers Unavailable, which sends the caller to the management service.
    [[nodiscard]] virtual ListingResult List_Folder(std::string_view folderPath, std::vector<ListedEntry>& entries) {
        (void)folderPath;
        (void)entries;
        return ListingResult::Unavailable;
    }
};

}  // namespace corvane::remote
