// Port: facts about the computer the program runs on that the connection
// layer needs (the version numbers of GetVersionExA, the NetBIOS name) and
// what only its own file system can tell about a path: its long form, whether
// it is a junction or link, and a small file's text read directly. Win32
// implements it in remote/win32 (the native store); tests use the simulated
// network.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace corvane::remote {

struct OsVersionNumbers {
    std::uint32_t platformId = 2;  // 1 Windows 9x, 2 Windows NT
    std::uint32_t major = 0;
    std::uint32_t minor = 0;
};

// What the local file system says about one path.
enum class LocalPathKind {
    Missing,       // nothing of that name
    Plain,         // a file or folder that is neither a junction nor a link
    ReparsePoint,  // a junction, symbolic link or other reparse point
    Unknown,       // it could not be told
};

class ILocalSystem {
public:
    virtual ~ILocalSystem() = default;
    ILocalSystem() = default;
    ILocalSystem(const ILocalSystem&) = delete;
    ILocalSystem& operator=(const ILocalSystem&) = delete;

    [[nodiscard]] virtual OsVersionNumbers Os_Version() = 0;
    // GetComputerNameA with a 20-character buffer; empty on failure.
    [[nodiscard]] virtual std::string Computer_Name() = 0;

    // GetLongPathNameW: the path of an existing file or folder with every
    // short (8.3) name made long; nothing when that cannot be done.
    [[nodiscard]] virtual std::optional<std::string> Long_Path(std::string_view path) = 0;
    [[nodiscard]] virtual LocalPathKind Path_Kind(std::string_view path) = 0;
    // The whole content of a file of at most maxBytes; nothing when it cannot
    // be read whole.
    [[nodiscard]] virtual std::optional<std::string> Read_Small_File(std::string_view path, std::size_t maxBytes) = 0;
};

// Why a canonical path of the local computer must not be walked or deleted
// through: "a reparse point on the way" when a component from the drive's
// first folder down to the path itself is a junction or link (the content
// behind it belongs to another folder), or when that cannot be ruled out;
// empty when none is. Components below a missing one are not asked for.
inline constexpr const char* kReparsePointOnTheWay = "a reparse point on the way";
[[nodiscard]] std::string Local_Reparse_Refusal(ILocalSystem& local, std::string_view canonicalPath);

// platform × 1000 + major × 100 + minor for the known systems (Windows 95
// 1400, 98 1410, NT 3.51 2351, NT 4 2400, 2000 2500, XP 2501, Server 2003
// 2502, Vista 2600, 7 2601, ...), 0 for anything else.
[[nodiscard]] std::int32_t Get_OS_Version_Code(const OsVersionNumbers& version);

}  // namespace corvane::remote
