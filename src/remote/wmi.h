// The one interface through which the program reaches a computer's management
// service, shaped like WMI's scripting API: a locator connects to a server and
// namespace; services run WQL queries, get class or object paths and list
// instances; objects expose properties by name and run methods by name.
// Failures raise RuntimeError with the HRESULT as a signed number and WMI's
// description text; a method's own return code is data ("ReturnValue").
// Backends: COM (remote/win32), and the WQL engine over a machine store
// (simulated computers, or the native local computer).
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "base/secret.h"
#include "remote/call_control.h"
#include "remote/wmi_variant.h"

namespace corvane::wmi {

// ExecQuery flags used by the program.
inline constexpr std::int32_t kReturnImmediately = 16;
inline constexpr std::int32_t kForwardOnlyReturnImmediately = 48;
// ConnectServer flag wbemConnectFlagUseMaxWait.
inline constexpr std::int32_t kConnectUseMaxWait = 128;

class IObject {
public:
    virtual ~IObject() = default;
    IObject() = default;
    IObject(const IObject&) = delete;
    IObject& operator=(const IObject&) = delete;

    // A property by name; an unknown name raises WBEM_E_NOT_FOUND.
    [[nodiscard]] virtual Variant Get(std::string_view property) const = 0;
    // Runs a method by name with named in-parameters; returns the
    // out-parameters, "ReturnValue" among them. A method the class does not
    // have raises WBEM_E_INVALID_METHOD.
    virtual PropertyBag Exec_Method(std::string_view method, const PropertyBag& in) = 0;
};
using ObjectPtr = std::shared_ptr<IObject>;

class IServices {
public:
    virtual ~IServices() = default;
    IServices() = default;
    IServices(const IServices&) = delete;
    IServices& operator=(const IServices&) = delete;

    virtual std::vector<ObjectPtr> ExecQuery(std::string_view wql, std::int32_t flags = kReturnImmediately) = 0;
    // A class object ("StdRegProv", "Win32_Process") or an object path.
    virtual ObjectPtr Get(std::string_view path) = 0;
    virtual std::vector<ObjectPtr> InstancesOf(std::string_view className) = 0;
    // True only for services over the store of the computer the program runs
    // on, which also reads that computer's registry and disk natively. The
    // backend knows; names cannot tell (a clone may answer with the same name).
    [[nodiscard]] virtual bool Is_Local_Computer() const noexcept { return false; }
    // The time limit and cancellation its calls are made under; null: none
    // (the local computer's own store).
    [[nodiscard]] virtual CallControl* Call_Control() const noexcept { return nullptr; }
};
using ServicesPtr = std::shared_ptr<IServices>;

class ILocator {
public:
    virtual ~ILocator() = default;
    ILocator() = default;
    ILocator(const ILocator&) = delete;
    ILocator& operator=(const ILocator&) = delete;

    // namespacePath is the full path such as "root\cimv2". Empty user and
    // password connect with the caller's own identity. Security is set to
    // impersonate with packet privacy on everything the services hand out; a
    // backend that keeps the credentials for its proxies keeps them as long
    // as the last object it handed out. Every call, the connection itself
    // among them, waits at most the time limit of calls and ends when they
    // are cancelled (WMI errors wbemErrTimedout and RPC_E_CALL_CANCELED); the
    // services keep calls for every call they and their objects make. No
    // calls: no limit (tests, the local computer's store).
    ServicesPtr ConnectServer(std::string_view server, std::string_view namespacePath, std::string_view user,
                              const Secret& password, std::int32_t flags, CallControlPtr calls = nullptr) {
        return Connect_Server(server, namespacePath, user, password, flags, std::move(calls));
    }

protected:
    virtual ServicesPtr Connect_Server(std::string_view server, std::string_view namespacePath, std::string_view user,
                                       const Secret& password, std::int32_t flags, CallControlPtr calls) = 0;
};

}  // namespace corvane::wmi
