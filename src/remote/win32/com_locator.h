// The WMI interface over WMI's own COM API (IWbemLocator, IWbemServices,
// IWbemClassObject): the backend for every computer other than the one the
// program runs on. Every proxy (services, enumerators) is set to impersonate
// with packet privacy, with the given credentials when a user name is given.
// COM must be initialized on the calling thread (ComInit).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "remote/wmi.h"

namespace corvane::remote::win32 {

class ComLocator final : public wmi::ILocator {
protected:
    // server "" or "." connects to the local service; namespacePath such as
    // "root\cimv2". Raises RuntimeError with the HRESULT on failure.
    wmi::ServicesPtr Connect_Server(std::string_view server, std::string_view namespacePath, std::string_view user,
                                    const Secret& password, std::int32_t flags, wmi::CallControlPtr calls) override;
};

// "DOMAIN\user" split into its two parts; a name without "\" has no domain.
struct AccountName {
    std::string domain;
    std::string user;
};
[[nodiscard]] AccountName Split_Account_Name(std::string_view account);

// The network resource that ConnectServer takes: "\\server\root\cimv2", or the
// namespace alone for an empty server name.
[[nodiscard]] std::wstring Network_Resource(std::string_view server, std::string_view namespacePath);

}  // namespace corvane::remote::win32
