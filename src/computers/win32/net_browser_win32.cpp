#include "computers/win32/net_browser_win32.h"

#include <windows.h>
#include <lm.h>

#include <memory>
#include <string>

#include "base/win32/system_library.h"
#include "base/win32/wide_text.h"

namespace corvane::computers::win32 {
namespace {

NetServerList Enum_Servers(DWORD serverType, const wchar_t* domain) {
    const corvane::win32::SystemLibrary netapi32(L"netapi32.dll");
    const auto enumServers = netapi32.Find<decltype(::NetServerEnum)>("NetServerEnum");
    const auto freeBuffer = netapi32.Find<decltype(::NetApiBufferFree)>("NetApiBufferFree");
    if (!enumServers || !freeBuffer) return {.error = ERROR_MOD_NOT_FOUND, .names = {}};
    LPBYTE received = nullptr;
    DWORD read = 0;
    DWORD total = 0;
    const NET_API_STATUS status =
        enumServers(nullptr, 100, &received, MAX_PREFERRED_LENGTH, &read, &total, serverType, domain, nullptr);
    const std::unique_ptr<BYTE, decltype(freeBuffer)> buffer(received, freeBuffer);
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
