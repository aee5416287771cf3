// WMI services answered by the query engine over one machine store, and the
// locators built on it: the local computer's locator over the native store,
// and the chooser that sends the local computer's names to that locator and
// every other server to the COM locator.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "remote/machine_store.h"
#include "remote/wmi.h"

namespace corvane::remote {

// Services of namespace root\cimv2 or root\default ("root\\cimv2" in any
// letter case) over the store; any other namespace raises WBEM_E_INVALID_NAMESPACE.
// The store must outlive the services. localComputer: the store is the
// computer the program runs on (IServices::Is_Local_Computer).
[[nodiscard]] wmi::ServicesPtr Make_Store_Services(IMachineStore& store, std::string_view namespacePath,
                                                   bool localComputer = false);

// Connects every server name to one store: the native store of the computer
// the program runs on, so its services are local.
class StoreLocator final : public wmi::ILocator {
public:
    explicit StoreLocator(IMachineStore& store) : store_(store) {}

protected:
    // The local computer's own store answers without a time limit.
    wmi::ServicesPtr Connect_Server(std::string_view server, std::string_view namespacePath, std::string_view user,
                                    const Secret& password, std::int32_t flags, wmi::CallControlPtr calls) override;

private:
    IMachineStore& store_;
};

// True for the names that mean the computer the program runs on: its own
// name (ignoring case), "LOCALHOST", "LOOPBACK", ".", "" and loopback
// addresses (127.x.x.x, "::1").
[[nodiscard]] bool Is_Local_Server_Name(std::string_view server, std::string_view localComputerName);

// Sends the local computer's names to `local` and every other server to `remote`.
class LocatorChooser final : public wmi::ILocator {
public:
    LocatorChooser(std::string localComputerName, wmi::ILocator& local, wmi::ILocator& remote)
        : localName_(std::move(localComputerName)), local_(local), remote_(remote) {}

protected:
    wmi::ServicesPtr Connect_Server(std::string_view server, std::string_view namespacePath, std::string_view user,
                                    const Secret& password, std::int32_t flags, wmi::CallControlPtr calls) override;

private:
    std::string localName_;
    wmi::ILocator& local_;
    wmi::ILocator& remote_;
};

}  // namespace corvane::remote
