// Port: facts about the computer the program runs on that the connection
// layer needs: the version numbers of GetVersionExA and the NetBIOS name.
// Win32 implements it in remote/win32; tests use the simulated network.
#pragma once

#include <cstdint>
#include <string>

namespace corvane::remote {

struct OsVersionNumbers {
    std::uint32_t platformId = 2;  // 1 Windows 9x, 2 Windows NT
    std::uint32_t major = 0;
    std::uint32_t minor = 0;
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
};

// platform × 1000 + major × 100 + minor for the known systems (Windows 95
// 1400, 98 1410, NT 3.51 2351, NT 4 2400, 2000 2500, XP 2501, Server 2003
// 2502, Vista 2600, 7 2601, ...), 0 for anything else.
[[nodiscard]] std::int32_t Get_OS_Version_Code(const OsVersionNumbers& version);

}  // namespace corvane::remote
