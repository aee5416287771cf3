#include "remote/win32/com_locator.h"

#include <windows.h>

#include <objbase.h>
#include <wbemcli.h>

#include <map>
#include <memory>
#include <optional>
#include <source_location>
#include <utility>
#include <vector>

#include "base/runtime_error.h"
#include "base/win32/unique_com.h"
#include "base/win32/wide_text.h"
#include "remote/win32/com_runtime.h"
#include "remote/win32/com_variant.h"
#include "remote/win32/hresult_error.h"
#include "remote/wmi_errors.h"

using namespace ::corvane::win32;  // the program's handle and COM owners, Widen and Narrow

namespace corvane::remote::win32 {
namespace {

constexpr HRESULT kNotFound = static_cast<HRESULT>(wmi::hresult::kWbemNotFound);
constexpr HRESULT kInvalidMethod = static_cast<HRESULT>(wmi::hresult::kWbemInvalidMethod);
constexpr HRESULT kInvalidParameters = static_cast<HRESULT>(wmi::hresult::kWbemInvalidMethodParameters);
constexpr ULONG kBatchSize = 64;
// Queries and instance lists run semisynchronously: each Next waits at most
// the time limit.
constexpr LONG kSemisynchronous = WBEM_FLAG_RETURN_IMMEDIATELY | WBEM_FLAG_FORWARD_ONLY;

unique_bstr Bstr(std::wstring_view text) {
    unique_bstr result = Make_Bstr(text);
    if (!result) Throw_Hresult(E_OUTOFMEMORY);
    return result;
}

// A password in the UTF-16 form COM takes; wiped when it goes.
class WideSecret {
public:
    explicit WideSecret(const Secret& password) : text_(Widen(password.View())) {}
    ~WideSecret() { SecureZeroMemory(text_.data(), text_.size() * sizeof(wchar_t)); }
    WideSecret(const WideSecret&) = delete;
    WideSecret& operator=(const WideSecret&) = delete;

    [[nodiscard]] std::wstring& Text() noexcept { return text_; }

private:
    std::wstring text_;
};

// Outgoing calls of this thread may be cancelled (CoCancelCall) while it lives.
class CallCancellation {
public:
    CallCancellation() : enabled_(SUCCEEDED(CoEnableCallCancellation(nullptr))) {}
    ~CallCancellation() {
        if (enabled_) CoDisableCallCancellation(nullptr);
    }
    CallCancellation(const CallCancellation&) = delete;
    CallCancellation& operator=(const CallCancellation&) = delete;

private:
    bool enabled_;
};

// One blocking call of this thread under the time limit of its connection:
// the watchdog cancels it with CoCancelCall when it runs past the limit, or
// when the connection's calls are cancelled (Stop), and its failure then
// reads as the time-out or the cancellation. No control: no limit.
class WatchedCall {
public:
    explicit WatchedCall(wmi::CallControl* control) {
        if (control == nullptr) return;
        cancellation_.emplace();
        watch_.emplace(control->Begin_Call([thread = GetCurrentThreadId()] { (void)CoCancelCall(thread, 0); }));
    }
    WatchedCall(const WatchedCall&) = delete;
    WatchedCall& operator=(const WatchedCall&) = delete;

    void Check(HRESULT hr, const std::source_location& where = std::source_location::current()) const {
        if (watch_) watch_->Raise_If_Ended();
        Check_Hresult(hr, where);
    }
    // WBEM_S_TIMEDOUT from Next: the call ran past the limit.
    [[noreturn]] void Raise_Time_Out() const {
        if (watch_) watch_->Raise_Time_Out();
        wmi::Raise_Hresult(wmi::hresult::kTimedOut);
    }

private:
    std::optional<CallCancellation> cancellation_;  // before the watch, so it outlives the call
    std::optional<wmi::CallControl::Watch> watch_;
};

// Explicit credentials for the proxies, at one address for as long as a proxy
// may use them (the Session that owns both outlives every proxy), and wiped
// when they go.
class Identity {
public:
    Identity(std::string_view account, const Secret& password) : password_(password) {
        const AccountName name = Split_Account_Name(account);
        user_ = Widen(name.user);
        domain_ = Widen(name.domain);
        auth_.User = reinterpret_cast<USHORT*>(user_.data());
        auth_.UserLength = static_cast<ULONG>(user_.size());
        auth_.Domain = reinterpret_cast<USHORT*>(domain_.data());
        auth_.DomainLength = static_cast<ULONG>(domain_.size());
        auth_.Password = reinterpret_cast<USHORT*>(password_.Text().data());
        auth_.PasswordLength = static_cast<ULONG>(password_.Text().size());
        auth_.Flags = SEC_WINNT_AUTH_IDENTITY_UNICODE;
    }
    Identity(const Identity&) = delete;
    Identity& operator=(const Identity&) = delete;

    [[nodiscard]] COAUTHIDENTITY* Get() noexcept { return &auth_; }

private:
    std::wstring user_;
    std::wstring domain_;
    WideSecret password_;
    COAUTHIDENTITY auth_{};
};

// One connection: the credentials its proxies use, the services proxy, and
// the class definitions fetched for method calls. Every object handed out
// holds the session, so the credentials outlive every proxy that points at
// them; inside, they are declared first and so released last.
class Session {
public:
    Session(std::unique_ptr<Identity> identity, com_ptr<IWbemServices> services, wmi::CallControlPtr calls)
        : identity_(std::move(identity)), services_(std::move(services)), calls_(std::move(calls)) {
        Secure(services_.get());
    }

    // Impersonate (3) with packet privacy (6). An object that is no proxy (an
    // in-process provider) has nothing to secure.
    void Secure(IUnknown* proxy) const {
        COAUTHIDENTITY* auth = identity_ ? identity_->Get() : nullptr;
        const auto blanket = [auth](IUnknown* target) {
            return CoSetProxyBlanket(target, RPC_C_AUTHN_DEFAULT, RPC_C_AUTHZ_DEFAULT, COLE_DEFAULT_PRINCIPAL,
                                     RPC_C_AUTHN_LEVEL_PKT_PRIVACY, RPC_C_IMP_LEVEL_IMPERSONATE, auth, EOAC_NONE);
        };
        const HRESULT hr = blanket(proxy);
        if (hr == E_NOINTERFACE) return;
        Check_Hresult(hr);
        if (auth == nullptr) return;
        // With explicit credentials the proxy's IUnknown needs them as well.
        com_ptr<IUnknown> unknown;
        if (SUCCEEDED(proxy->QueryInterface(IID_IUnknown, unknown.put_void())) && unknown.get() != proxy) {
            const HRESULT unknownResult = blanket(unknown.get());
            if (unknownResult != E_NOINTERFACE) Check_Hresult(unknownResult);
        }
    }

    [[nodiscard]] IWbemServices* Services() const noexcept { return services_.get(); }
    [[nodiscard]] wmi::CallControl* Calls() const noexcept { return calls_.get(); }
    // How long one Next may wait.
    [[nodiscard]] LONG Next_Timeout() const {
        return calls_ ? static_cast<LONG>(calls_->Limit().count()) : static_cast<LONG>(WBEM_INFINITE);
    }

    // An object or class by path, under the time limit.
    [[nodiscard]] com_ptr<IWbemClassObject> Get_Object(const std::wstring& path) const {
        com_ptr<IWbemClassObject> object;
        const WatchedCall call(Calls());
        call.Check(services_->GetObject(Bstr(path).get(), 0, nullptr, object.put(), nullptr));
        return object;
    }

    // The class definition, fetched once per connection.
    [[nodiscard]] com_ptr<IWbemClassObject> Class_Object(const std::wstring& className) {
        if (auto found = classes_.find(className); found != classes_.end()) return found->second;
        com_ptr<IWbemClassObject> object = Get_Object(className);
        classes_.emplace(className, object);
        return object;
    }

private:
    std::unique_ptr<Identity> identity_;
    com_ptr<IWbemServices> services_;
    wmi::CallControlPtr calls_;
    std::map<std::wstring, com_ptr<IWbemClassObject>> classes_;
};

std::wstring Text_Property(IWbemClassObject* object, const wchar_t* name) {
    unique_variant value;
    if (FAILED(object->Get(name, 0, value.put(), nullptr, nullptr)) || value.get().vt != VT_BSTR) return {};
    return std::wstring(value.get().bstrVal, SysStringLen(value.get().bstrVal));
}

class ComObject final : public wmi::IObject {
public:
    ComObject(std::shared_ptr<Session> session, com_ptr<IWbemClassObject> object)
        : session_(std::move(session)), object_(std::move(object)) {}

    [[nodiscard]] wmi::Variant Get(std::string_view property) const override {
        unique_variant value;
        CIMTYPE cimType = CIM_EMPTY;
        Check_Hresult(object_->Get(Widen(property).c_str(), 0, value.put(), &cimType, nullptr));
        const EmbeddedObjects embedded = Embedded();
        return From_Com_Variant(value.get(), cimType, &embedded);
    }

    wmi::PropertyBag Exec_Method(std::string_view method, const wmi::PropertyBag& in) override {
        const std::wstring methodName = Widen(method);
        const std::wstring className = Text_Property(object_.get(), L"__CLASS");
        const bool isClass = Genus() == WBEM_GENUS_CLASS;
        com_ptr<IWbemClassObject> classObject = isClass ? object_ : session_->Class_Object(className);

        com_ptr<IWbemClassObject> signature;
        const HRESULT methodResult = classObject->GetMethod(methodName.c_str(), 0, signature.put(), nullptr);
        if (methodResult == kNotFound) Throw_Hresult(kInvalidMethod);
        Check_Hresult(methodResult);

        com_ptr<IWbemClassObject> inParameters;
        if (signature) {
            Check_Hresult(signature->SpawnInstance(0, inParameters.put()));
            for (const auto& [name, value] : in) Put_Parameter(inParameters.get(), Widen(name), value);
        } else if (!in.empty()) {
            Throw_Hresult(kInvalidParameters);
        }

        std::wstring target = isClass ? className : Text_Property(object_.get(), L"__PATH");
        if (target.empty()) target = Text_Property(object_.get(), L"__RELPATH");
        com_ptr<IWbemClassObject> outParameters;
        {
            const WatchedCall call(session_->Calls());
            call.Check(session_->Services()->ExecMethod(Bstr(target).get(), Bstr(methodName).get(), 0, nullptr,
                                                        inParameters.get(), outParameters.put(), nullptr));
        }
        return Read_Out_Parameters(outParameters.get(), Embedded());
    }

private:
    // Objects inside properties and out-parameters live on the same session.
    [[nodiscard]] EmbeddedObjects Embedded() const {
        return [session = session_](com_ptr<IWbemClassObject> object) -> wmi::ObjectPtr {
            return std::make_shared<ComObject>(session, std::move(object));
        };
    }

    [[nodiscard]] LONG Genus() const {
        unique_variant value;
        if (FAILED(object_->Get(L"__GENUS", 0, value.put(), nullptr, nullptr)) || value.get().vt != VT_I4) {
            return WBEM_GENUS_INSTANCE;
        }
        return value.get().lVal;
    }

    static void Put_Parameter(IWbemClassObject* parameters, const std::wstring& name, const wmi::Variant& value) {
        CIMTYPE cimType = CIM_EMPTY;
        if (FAILED(parameters->Get(name.c_str(), 0, nullptr, &cimType, nullptr))) Throw_Hresult(kInvalidParameters);
        unique_variant converted;
        To_Com_Variant(value, cimType, *converted.put());
        Check_Hresult(parameters->Put(name.c_str(), 0, &converted.get(), 0));
    }

    // Every out-parameter, "ReturnValue" among them; no object (a provider
    // that answered without one) gives no parameters.
    static wmi::PropertyBag Read_Out_Parameters(IWbemClassObject* parameters, const EmbeddedObjects& embedded) {
        wmi::PropertyBag out;
        if (parameters == nullptr) return out;
        Check_Hresult(parameters->BeginEnumeration(WBEM_FLAG_NONSYSTEM_ONLY));
        for (;;) {
            unique_bstr name;
            unique_variant value;
            CIMTYPE cimType = CIM_EMPTY;
            const HRESULT hr = parameters->Next(0, name.put(), value.put(), &cimType, nullptr);
            if (hr == WBEM_S_NO_MORE_DATA) break;
            Check_Hresult(hr);
            out[Narrow(std::wstring_view(name.get(), SysStringLen(name.get())))] =
                From_Com_Variant(value.get(), cimType, &embedded);
        }
        parameters->EndEnumeration();
        return out;
    }

    std::shared_ptr<Session> session_;
    com_ptr<IWbemClassObject> object_;
};

class ComServices final : public wmi::IServices {
public:
    explicit ComServices(std::shared_ptr<Session> session) : session_(std::move(session)) {}

    wmi::CallControl* Call_Control() const noexcept override { return session_->Calls(); }

    std::vector<wmi::ObjectPtr> ExecQuery(std::string_view wql, std::int32_t flags) override {
        com_ptr<IEnumWbemClassObject> items;
        {
            const WatchedCall call(session_->Calls());
            call.Check(session_->Services()->ExecQuery(Bstr(L"WQL").get(), Bstr(Widen(wql)).get(),
                                                       static_cast<LONG>(flags) | kSemisynchronous, nullptr,
                                                       items.put()));
        }
        return Walk(items);
    }

    wmi::ObjectPtr Get(std::string_view path) override {
        return std::make_shared<ComObject>(session_, session_->Get_Object(Widen(path)));
    }

    std::vector<wmi::ObjectPtr> InstancesOf(std::string_view className) override {
        com_ptr<IEnumWbemClassObject> items;
        {
            const WatchedCall call(session_->Calls());
            call.Check(session_->Services()->CreateInstanceEnum(Bstr(Widen(className)).get(), kSemisynchronous, nullptr,
                                                                items.put()));
        }
        return Walk(items);
    }

private:
    std::vector<wmi::ObjectPtr> Walk(const com_ptr<IEnumWbemClassObject>& items) {
        std::vector<wmi::ObjectPtr> objects;
        if (!items) return objects;
        session_->Secure(items.get());
        for (;;) {
            std::vector<IWbemClassObject*> batch(kBatchSize, nullptr);
            ULONG returned = 0;
            const WatchedCall call(session_->Calls());
            const HRESULT hr = items->Next(session_->Next_Timeout(), kBatchSize, batch.data(), &returned);
            for (ULONG index = 0; index < returned && index < kBatchSize; ++index) {
                com_ptr<IWbemClassObject> object;
                *object.put() = batch[index];  // takes over the reference Next handed out
                objects.push_back(std::make_shared<ComObject>(session_, std::move(object)));
            }
            // Past the limit, not the end of the result.
            if (hr == WBEM_S_TIMEDOUT) call.Raise_Time_Out();
            call.Check(hr);
            if (hr != WBEM_S_NO_ERROR || returned == 0) break;
        }
        return objects;
    }

    std::shared_ptr<Session> session_;
};

}  // namespace

AccountName Split_Account_Name(std::string_view account) {
    const auto separator = account.find('\\');
    if (separator == std::string_view::npos) return {"", std::string(account)};
    return {std::string(account.substr(0, separator)), std::string(account.substr(separator + 1))};
}

std::wstring Network_Resource(std::string_view server, std::string_view namespacePath) {
    while (!namespacePath.empty() && (namespacePath.front() == '\\' || namespacePath.front() == '/')) {
        namespacePath.remove_prefix(1);
    }
    std::wstring resource;
    if (!server.empty()) resource = L"\\\\" + Widen(server) + L"\\";
    return resource + Widen(namespacePath);
}

wmi::ServicesPtr ComLocator::Connect_Server(std::string_view server, std::string_view namespacePath,
                                            std::string_view user, const Secret& password, std::int32_t flags,
                                            wmi::CallControlPtr calls) {
    Initialize_Com_Security();
    com_ptr<IWbemLocator> locator;
    Check_Hresult(
        CoCreateInstance(CLSID_WbemLocator, nullptr, CLSCTX_INPROC_SERVER, IID_IWbemLocator, locator.put_void()));

    // No user name: the caller's own identity (NULL user and password).
    // A user name with an empty password is a blank password.
    unique_bstr userText;
    unique_bstr passwordText;
    std::unique_ptr<Identity> identity;
    if (!user.empty()) {
        userText = Bstr(Widen(user));
        identity = std::make_unique<Identity>(user, password);
        WideSecret wide(password);
        passwordText = Bstr(wide.Text());
    }
    com_ptr<IWbemServices> services;
    {
        // ConnectServer has no time-out of its own: the watchdog cancels it.
        const WatchedCall call(calls.get());
        const HRESULT connected = locator->ConnectServer(Bstr(Network_Resource(server, namespacePath)).get(),
                                                         userText.get(), passwordText.get(), nullptr,
                                                         static_cast<LONG>(flags), nullptr, nullptr, services.put());
        // Wiped whether or not the connection was made: refused credentials
        // are the common failure.
        if (passwordText) SecureZeroMemory(passwordText.get(), SysStringByteLen(passwordText.get()));
        call.Check(connected);
    }
    auto session = std::make_shared<Session>(std::move(identity), std::move(services), std::move(calls));
    return std::make_shared<ComServices>(std::move(session));
}

}  // namespace corvane::remote::win32
