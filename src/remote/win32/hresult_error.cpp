#include "remote/win32/hresult_error.h"

#include <wbemcli.h>

#include <array>
#include <cstdio>
#include <utility>

#include "app/runtime_error.h"
#include "remote/win32/unique_handles.h"
#include "remote/win32/wide_text.h"

namespace corvane::remote::win32 {
namespace {

// Texts as WMI's scripting layer reports these codes.
constexpr std::array<std::pair<std::uint32_t, const char*>, 26> kKnownTexts{{
    {0x800706BAu, "The RPC server is unavailable."},
    {0x800706BEu, "The remote procedure call failed."},
    {0x800706BFu, "The remote procedure call failed and did not execute."},
    {0x80010108u, "The object invoked has disconnected from its clients."},
    {0x80070005u, "Access is denied."},
    {0x80070057u, "The parameter is incorrect."},
    {0x8007000Eu, "Not enough storage is available to complete this operation."},
    {0x80070776u, "The object exporter specified was not found."},
    {0x80004001u, "Not implemented"},
    {0x80004002u, "No such interface supported"},
    {0x80004005u, "Unspecified error"},
    {0x80041001u, "Generic failure"},
    {0x80041002u, "Not found"},
    {0x80041003u, "Access denied"},
    {0x80041006u, "Out of memory"},
    {0x80041008u, "Invalid parameter"},
    {0x8004100Cu, "Not supported"},
    {0x8004100Eu, "Invalid namespace"},
    {0x80041010u, "Invalid class"},
    {0x80041011u, "Provider not found"},
    {0x80041013u, "Provider load failure"},
    {0x80041017u, "Invalid query"},
    {0x80041018u, "Invalid query type"},
    {0x8004102Eu, "Invalid method"},
    {0x8004102Fu, "Invalid method Parameter(s)"},
    {0x80041064u, "User credentials cannot be used for local connections"},
}};

std::string Trim_Message(std::wstring_view text) {
    while (!text.empty() && (text.back() == L'\r' || text.back() == L'\n' || text.back() == L' ')) {
        text.remove_suffix(1);
    }
    return To_Utf8(text);
}

std::string Wmi_Status_Text(HRESULT hr) {
    com_ptr<IWbemStatusCodeText> status;
    if (FAILED(CoCreateInstance(CLSID_WbemStatusCodeText, nullptr, CLSCTX_INPROC_SERVER, IID_IWbemStatusCodeText,
                                status.put_void()))) {
        return {};
    }
    unique_bstr text;
    if (FAILED(status->GetErrorCodeText(hr, 0, 0, text.put())) || !text) return {};
    return Trim_Message(std::wstring_view(text.get(), SysStringLen(text.get())));
}

std::string System_Message(HRESULT hr) {
    wchar_t* buffer = nullptr;
    const DWORD length =
        FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                       nullptr, static_cast<DWORD>(hr), 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
    if (length == 0 || buffer == nullptr) return {};
    std::string text = Trim_Message(std::wstring_view(buffer, length));
    LocalFree(buffer);
    return text;
}

}  // namespace

std::string Known_Hresult_Text(std::uint32_t hr) {
    for (const auto& [code, text] : kKnownTexts) {
        if (code == hr) return text;
    }
    return {};
}

std::string Hresult_Description(HRESULT hr) {
    std::string text = Known_Hresult_Text(static_cast<std::uint32_t>(hr));
    if (text.empty() && HRESULT_FACILITY(hr) == FACILITY_ITF) text = Wmi_Status_Text(hr);
    if (text.empty()) text = System_Message(hr);
    if (text.empty()) {
        std::array<char, 32> number{};
        std::snprintf(number.data(), number.size(), "0x%08lX", static_cast<unsigned long>(hr));
        text = std::string("Automation error ") + number.data();
    }
    return text;
}

void Throw_Hresult(HRESULT hr) {
    throw RuntimeError(Hresult_Number(static_cast<std::uint32_t>(hr)), Hresult_Description(hr));
}

void Throw_Win32(DWORD error) { Throw_Hresult(HRESULT_FROM_WIN32(error)); }

}  // namespace corvane::remote::win32
