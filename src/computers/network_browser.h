// Port: the network browser's lists, as NetServerEnum gives them: the domains
// and workgroups, then the computers of one domain. The Win32 implementation
// calls netapi32; tests script the answers.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace corvane::computers {

struct NetServerList {
    std::uint32_t error = 0;         // 0 on success, else the network API's error code
    std::vector<std::string> names;  // empty when the call failed, whatever it returned
};

class INetworkBrowser {
public:
    virtual ~INetworkBrowser() = default;
    INetworkBrowser() = default;
    INetworkBrowser(const INetworkBrowser&) = delete;
    INetworkBrowser& operator=(const INetworkBrowser&) = delete;

    [[nodiscard]] virtual NetServerList List_Domains() = 0;
    [[nodiscard]] virtual NetServerList List_Computers(std::string_view domain) = 0;
};

}  // namespace corvane::computers
