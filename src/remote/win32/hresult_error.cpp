#include "remote/win32/hresult_error.h"

#include <wbemcli.h>

#include <array>
#include <utility>

#include "base/runtime_error.h"
#include "base/win32/unique_com.h"
#include "base/win32/wide_text.h"
#include "remote/wmi_errors.h"

using namespace ::corvane::win32;  // the program's handle and COM owners, Widen and Narrow

namespace corvane::remote::win32 {
namespace {

// Codes the shared table does not hold, with the texts WMI's scripting
// layer reports for them.
constexpr std::array<std::pair<std::uint32_t, const char*>, 9> kMoreTexts{{
    {0x80070057u, "The parameter is incorrect."},
    {0x8007000Eu, "Not enough storage is available to complete this operation."},
    {0x80070776u, "The object exporter specified was not found."},
    {0x80004001u, "Not implemented"},
    {0x80004002u, "No such interface supported"},
    {0x80004005u, "Unspecified error"},
    {0x80041006u, "Out of memory"},
    {0x80041011u, "Provider not found"},
    {0x80041013u, "Provider load failure"},
}};

std::string Trim_Message(std::wstring_view text) {
    while (!text.empty() && (text.back() == L'\r' || text.back() == L'\n' || text.back() == L' ')) {
        text.remove_suffix(1);
    }
    return Narrow(text);
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
    // A Win32 code wrapped in an HRESULT is looked up as the code itself.
    const DWORD message =
        HRESULT_FACILITY(hr) == FACILITY_WIN32 ? static_cast<DWORD>(HRESULT_CODE(hr)) : static_cast<DWORD>(hr);
    wchar_t* buffer = nullptr;
    const DWORD length =
        FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                       nullptr, message, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
    const ::corvane::win32::unique_hlocal owner(buffer);
    if (length == 0 || buffer == nullptr) return {};
    return Trim_Message(std::wstring_view(buffer, length));
}

}  // namespace

std::string Known_Hresult_Text(std::uint32_t hr) {
    std::string shared = wmi::Hresult_Description(hr);
    if (!shared.starts_with("Unknown error")) return shared;
    for (const auto& [code, text] : kMoreTexts) {
        if (code == hr) return text;
    }
    return {};
}

std::string Hresult_Description(HRESULT hr) {
    std::string text = Known_Hresult_Text(static_cast<std::uint32_t>(hr));
    if (text.empty() && HRESULT_FACILITY(hr) == FACILITY_ITF) text = Wmi_Status_Text(hr);
    if (text.empty()) text = System_Message(hr);
    if (text.empty()) {
        text = wmi::Hresult_Description(static_cast<std::uint32_t>(hr));  // "Unknown error 0x..."
    }
    return text;
}

void Throw_Hresult(HRESULT hr, const std::source_location& where) {
    throw RuntimeError(Hresult_Number(static_cast<std::uint32_t>(hr)), Hresult_Description(hr), where);
}

void Throw_Win32(DWORD error, const std::source_location& where) { Throw_Hresult(HRESULT_FROM_WIN32(error), where); }

}  // namespace corvane::remote::win32
