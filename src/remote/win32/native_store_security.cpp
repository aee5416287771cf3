// The native store's view of a file's or folder's security: its control
// flags, owner and discretionary access list, read with
// GetNamedSecurityInfoW as Win32_LogicalFileSecuritySetting shows them.
#include <windows.h>

#include <aclapi.h>
#include <sddl.h>

#include <vector>

#include "base/win32/unique_any.h"
#include "base/win32/wide_text.h"
#include "remote/win32/native_store.h"

using namespace ::corvane::win32;  // the handle owners, Widen and Narrow

namespace corvane::remote::win32 {
namespace {

// A string SID ("S-1-5-32-544"); empty when it cannot be converted.
std::string Sid_Text(PSID sid) {
    LPWSTR text = nullptr;
    if (sid == nullptr || !ConvertSidToStringSidW(sid, &text)) return {};
    std::string result = Narrow(text);
    LocalFree(text);
    return result;
}

class LocalMemory {
public:
    LocalMemory() = default;
    ~LocalMemory() {
        if (memory_ != nullptr) LocalFree(memory_);
    }
    LocalMemory(const LocalMemory&) = delete;
    LocalMemory& operator=(const LocalMemory&) = delete;
    [[nodiscard]] PSECURITY_DESCRIPTOR* put() noexcept { return &memory_; }
    [[nodiscard]] PSECURITY_DESCRIPTOR get() const noexcept { return memory_; }

private:
    PSECURITY_DESCRIPTOR memory_ = nullptr;
};

}  // namespace

std::uint32_t NativeStore::Get_Security(std::string_view path, FileSecurity& security) {
    PSID owner = nullptr;
    PACL dacl = nullptr;
    LocalMemory descriptor;
    const std::wstring widePath = Widen(path);
    const DWORD status =
        GetNamedSecurityInfoW(widePath.c_str(), SE_FILE_OBJECT, OWNER_SECURITY_INFORMATION | DACL_SECURITY_INFORMATION,
                              &owner, nullptr, &dacl, nullptr, descriptor.put());
    if (status != ERROR_SUCCESS) return status;
    SECURITY_DESCRIPTOR_CONTROL control = 0;
    DWORD revision = 0;
    if (!GetSecurityDescriptorControl(descriptor.get(), &control, &revision)) return GetLastError();
    security = {};
    security.controlFlags = control;
    security.ownerSid = Sid_Text(owner);
    if (dacl == nullptr) {
        // No list at all: everyone has every right.
        security.controlFlags &= ~static_cast<std::uint32_t>(SE_DACL_PRESENT);
        return kStatusOk;
    }
    for (DWORD index = 0; index < dacl->AceCount; ++index) {
        void* ace = nullptr;
        if (!GetAce(dacl, index, &ace)) return GetLastError();
        const auto* header = static_cast<const ACE_HEADER*>(ace);
        AccessEntry entry;
        entry.aceType = header->AceType;
        entry.aceFlags = header->AceFlags;
        if (header->AceType == ACCESS_ALLOWED_ACE_TYPE || header->AceType == ACCESS_DENIED_ACE_TYPE) {
            // Both share the layout of ACCESS_ALLOWED_ACE.
            const auto* allowed = static_cast<const ACCESS_ALLOWED_ACE*>(ace);
            entry.accessMask = allowed->Mask;
            entry.sid = Sid_Text(const_cast<DWORD*>(&allowed->SidStart));
        }
        security.dacl.push_back(std::move(entry));
    }
    return kStatusOk;
}

// The user of the process's token, as GetOwnerSid answers it.
std::uint32_t NativeStore::Process_Owner(std::uint32_t processId, std::string& sid) {
    unique_handle process(OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId));
    if (!process) return GetLastError() == ERROR_INVALID_PARAMETER ? kOwnerSidNotFound : kOwnerSidAccessDenied;
    unique_handle token;
    if (!OpenProcessToken(process.get(), TOKEN_QUERY, token.put())) return kOwnerSidAccessDenied;
    DWORD size = 0;
    (void)GetTokenInformation(token.get(), TokenUser, nullptr, 0, &size);
    if (size < sizeof(TOKEN_USER)) return kOwnerSidAccessDenied;
    std::vector<std::byte> buffer(size);
    if (!GetTokenInformation(token.get(), TokenUser, buffer.data(), size, &size)) return kOwnerSidAccessDenied;
    sid = Sid_Text(reinterpret_cast<const TOKEN_USER*>(buffer.data())->User.Sid);
    return sid.empty() ? kOwnerSidAccessDenied : kStatusOk;
}

}  // namespace corvane::remote::win32
