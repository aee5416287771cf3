#include "periphery/win32/winhttp_client.h"

#include <windows.h>
#include <winhttp.h>

#include <string>

#include "base/runtime_error.h"
#include "base/win32/system_library.h"
#include "base/win32/wide_text.h"

namespace corvane::periphery::win32 {
namespace {

// The functions of WinHTTP, loaded from the system directory for one request.
struct WinHttp {
    template <typename Function>
    Function* Get(const char* name) const {
        return library.Get<Function>(name);
    }

    corvane::win32::SystemLibrary library{L"winhttp.dll"};
    decltype(&::WinHttpCrackUrl) crackUrl = Get<decltype(::WinHttpCrackUrl)>("WinHttpCrackUrl");
    decltype(&::WinHttpOpen) open = Get<decltype(::WinHttpOpen)>("WinHttpOpen");
    decltype(&::WinHttpSetTimeouts) setTimeouts = Get<decltype(::WinHttpSetTimeouts)>("WinHttpSetTimeouts");
    decltype(&::WinHttpConnect) connect = Get<decltype(::WinHttpConnect)>("WinHttpConnect");
    decltype(&::WinHttpOpenRequest) openRequest = Get<decltype(::WinHttpOpenRequest)>("WinHttpOpenRequest");
    decltype(&::WinHttpSendRequest) sendRequest = Get<decltype(::WinHttpSendRequest)>("WinHttpSendRequest");
    decltype(&::WinHttpReceiveResponse) receiveResponse =
        Get<decltype(::WinHttpReceiveResponse)>("WinHttpReceiveResponse");
    decltype(&::WinHttpQueryHeaders) queryHeaders = Get<decltype(::WinHttpQueryHeaders)>("WinHttpQueryHeaders");
    decltype(&::WinHttpQueryDataAvailable) queryDataAvailable =
        Get<decltype(::WinHttpQueryDataAvailable)>("WinHttpQueryDataAvailable");
    decltype(&::WinHttpReadData) readData = Get<decltype(::WinHttpReadData)>("WinHttpReadData");
    decltype(&::WinHttpCloseHandle) closeHandle = Get<decltype(::WinHttpCloseHandle)>("WinHttpCloseHandle");
};

// A session, connection or request handle, closed through the loaded library.
class InternetHandle {
public:
    InternetHandle(const WinHttp& api, HINTERNET handle) noexcept : api_(api), handle_(handle) {}
    ~InternetHandle() {
        if (handle_) api_.closeHandle(handle_);
    }
    InternetHandle(const InternetHandle&) = delete;
    InternetHandle& operator=(const InternetHandle&) = delete;

    [[nodiscard]] HINTERNET get() const noexcept { return handle_; }
    explicit operator bool() const noexcept { return handle_ != nullptr; }

private:
    const WinHttp& api_;
    HINTERNET handle_;
};

constexpr int kResolveTimeoutMs = 10000;
constexpr int kConnectTimeoutMs = 10000;
constexpr int kSendTimeoutMs = 15000;
constexpr int kReceiveTimeoutMs = 30000;
constexpr std::size_t kMaxBody = 1 << 20;  // a version is a few bytes; more is not read

[[noreturn]] void Fail(std::string_view step, std::string_view url) {
    const DWORD code = ::GetLastError();
    throw RuntimeError(static_cast<std::int32_t>(code), "The request for " + std::string(url) + " failed in " +
                                                            std::string(step) + " (WinHTTP error " +
                                                            std::to_string(code) + ").");
}

}  // namespace

HttpResponse WinHttpClient::Get(std::string_view url) {
    const WinHttp api;
    std::wstring wideUrl = corvane::win32::Widen(url);
    URL_COMPONENTS parts{};
    parts.dwStructSize = sizeof(parts);
    parts.dwSchemeLength = static_cast<DWORD>(-1);
    parts.dwHostNameLength = static_cast<DWORD>(-1);
    parts.dwUrlPathLength = static_cast<DWORD>(-1);
    parts.dwExtraInfoLength = static_cast<DWORD>(-1);
    if (!api.crackUrl(wideUrl.c_str(), static_cast<DWORD>(wideUrl.size()), 0, &parts)) Fail("WinHttpCrackUrl", url);
    const std::wstring host(parts.lpszHostName, parts.dwHostNameLength);
    std::wstring path(parts.lpszUrlPath, parts.dwUrlPathLength);
    path.append(parts.lpszExtraInfo, parts.dwExtraInfoLength);
    if (path.empty()) path = L"/";
    const bool secure = parts.nScheme == INTERNET_SCHEME_HTTPS;

    const InternetHandle session(api, api.open(L"Corvane", WINHTTP_ACCESS_TYPE_DEFAULT_PROXY, WINHTTP_NO_PROXY_NAME,
                                               WINHTTP_NO_PROXY_BYPASS, 0));
    if (!session) Fail("WinHttpOpen", url);
    if (!api.setTimeouts(session.get(), kResolveTimeoutMs, kConnectTimeoutMs, kSendTimeoutMs, kReceiveTimeoutMs)) {
        Fail("WinHttpSetTimeouts", url);
    }
    const InternetHandle connection(api, api.connect(session.get(), host.c_str(), parts.nPort, 0));
    if (!connection) Fail("WinHttpConnect", url);
    const InternetHandle request(api,
                                 api.openRequest(connection.get(), L"GET", path.c_str(), nullptr, WINHTTP_NO_REFERER,
                                                 WINHTTP_DEFAULT_ACCEPT_TYPES, secure ? WINHTTP_FLAG_SECURE : 0));
    if (!request) Fail("WinHttpOpenRequest", url);
    if (!api.sendRequest(request.get(), WINHTTP_NO_ADDITIONAL_HEADERS, 0, WINHTTP_NO_REQUEST_DATA, 0, 0, 0)) {
        Fail("WinHttpSendRequest", url);
    }
    if (!api.receiveResponse(request.get(), nullptr)) Fail("WinHttpReceiveResponse", url);

    DWORD status = 0;
    DWORD size = sizeof(status);
    if (!api.queryHeaders(request.get(), WINHTTP_QUERY_STATUS_CODE | WINHTTP_QUERY_FLAG_NUMBER,
                          WINHTTP_HEADER_NAME_BY_INDEX, &status, &size, WINHTTP_NO_HEADER_INDEX)) {
        Fail("WinHttpQueryHeaders", url);
    }
    HttpResponse response{.status = static_cast<int>(status), .body = {}};
    while (response.body.size() < kMaxBody) {
        DWORD available = 0;
        if (!api.queryDataAvailable(request.get(), &available)) Fail("WinHttpQueryDataAvailable", url);
        if (available == 0) break;
        const std::size_t start = response.body.size();
        response.body.resize(start + available);
        DWORD read = 0;
        if (!api.readData(request.get(), response.body.data() + start, available, &read)) {
            Fail("WinHttpReadData", url);
        }
        response.body.resize(start + read);
        if (read == 0) break;
    }
    return response;
}

}  // namespace corvane::periphery::win32
