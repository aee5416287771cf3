// The network-browse port over netapi32's NetServerEnum (level 100): the
// domains, then every server type of one domain; every buffer it returns is
// freed, also after a failure.
#pragma once

#include "computers/network_browser.h"

namespace corvane::computers::win32 {

class Win32NetworkBrowser final : public INetworkBrowser {
public:
    Win32NetworkBrowser() = default;
    [[nodiscard]] NetServerList List_Domains() override;
    [[nodiscard]] NetServerList List_Computers(std::string_view domain) override;
};

}  // namespace corvane::computers::win32
