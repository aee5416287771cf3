#include "computers/win32/net_browser_win32.h"

#include <windows.h>
#include <lm.h>

#include <string>

#include "base/win32/unique_any.h"
#include "base/win32/wide_text.h"

namespace corvane::computers::win32 {
namespace {

void Free_Net_Buffer(LPBYTE buffer) noexcept { ::NetApiBufferFree(buffer); }
using unique_net_buffer = corvane::win32::unique_any<LPBYTE, Free_Net_Buffer>;

NetServerList Enum_Servers(DWORD serverType, const wchar_t* domain) {
    unique_net_buffer buffer;
    DWORD read = 0;
    DWORD total = 0;
    const NET_API_STATUS status =
        ::NetServerEnum(nullptr, 100, buffer.put(), MAX_PREFERRED_LENGTH, &read, &total, serverType, domain, nullptr);
    NetServerList list{.error = status, .names = {}};
    if (status == NERR_Success && buffer) {
        const auto* entries = reinterpret_cast<const SERVER_INFO_100*>(buffer.get());
        for (DWORD i = 0; i < read; ++i) {
            if (entries[i].sv100_name) list.names.push_back(corvane::win32::Narrow(entries[i].sv100_name));
        }
    }
    return list;
}

}  // namespace

NetServerList Win32NetworkBrowser::List_Domains() { return Enum_Servers(SV_TYPE_DOMAIN_ENUM, nullptr); }

NetServerList Win32NetworkBrowser::List_Computers(std::string_view domain) {
    const std::wstring wideDomain = corvane::win32::Widen(domain);
    return Enum_Servers(SV_TYPE_ALL, wideDomain.c_str());
}

}  // namespace corvane::computers::win32
