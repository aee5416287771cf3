// The locator the program uses on Windows: the local computer's own names
// ("LOCALHOST", ".", its NetBIOS name, loopback addresses) are served by the
// query engine over the native store; every other computer through WMI's COM
// API with the given credentials.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "remote/store_services.h"
#include "remote/win32/com_locator.h"
#include "remote/win32/native_store.h"

namespace corvane::remote::win32 {

class WindowsLocator final : public wmi::ILocator {
public:
    // localComputerName: the name that also counts as local (the NetBIOS name
    // from NativeLocalSystem when empty).
    explicit WindowsLocator(std::string localComputerName = {});

    [[nodiscard]] NativeStore& Local_Store() noexcept { return store_; }
    [[nodiscard]] const std::string& Local_Name() const noexcept { return localName_; }

protected:
    wmi::ServicesPtr Connect_Server(std::string_view server, std::string_view namespacePath, std::string_view user,
                                    const Secret& password, std::int32_t flags, wmi::CallControlPtr calls) override {
        return chooser_.ConnectServer(server, namespacePath, user, password, flags, std::move(calls));
    }

private:
    std::string localName_;
    NativeStore store_;
    StoreLocator local_{store_};
    ComLocator remote_;
    LocatorChooser chooser_;
};

}  // namespace corvane::remote::win32
