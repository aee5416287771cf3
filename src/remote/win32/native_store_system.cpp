// The native store's system side: facts about Windows, drives, processes,
// shutdown and System Restore.
#include <windows.h>

#include <srrestoreptapi.h>
#include <tlhelp32.h>

#include <string>

#include "base/runtime_error.h"
#include "base/win32/system_library.h"
#include "base/win32/unique_com.h"
#include "base/win32/wide_text.h"
#include "remote/win32/com_locator.h"
#include "remote/win32/native_store.h"
#include "remote/wmi_datetime.h"

using namespace ::corvane::win32;  // the program's handle and COM owners, Widen and Narrow

namespace corvane::remote::win32 {
namespace {

std::uint32_t Last_Status() { return static_cast<std::uint32_t>(GetLastError()); }

// The true version: GetVersionExW reports 6.2 to programs without a
// compatibility manifest on newer systems; ntdll's RtlGetVersion does not.
std::string Version_Text() {
    using RtlGetVersionFunction = LONG(WINAPI*)(OSVERSIONINFOW*);
    OSVERSIONINFOW info{};
    info.dwOSVersionInfoSize = sizeof(info);
    bool known = false;
    if (HMODULE ntdll = GetModuleHandleW(L"ntdll.dll")) {
        const auto rtlGetVersion =
            reinterpret_cast<RtlGetVersionFunction>(reinterpret_cast<void*>(GetProcAddress(ntdll, "RtlGetVersion")));
        known = rtlGetVersion != nullptr && rtlGetVersion(&info) == 0;
    }
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    if (!known && !GetVersionExW(&info)) return {};
#pragma GCC diagnostic pop
    return std::to_string(info.dwMajorVersion) + "." + std::to_string(info.dwMinorVersion) + "." +
           std::to_string(info.dwBuildNumber);
}

std::int32_t Address_Width() {
#if defined(_WIN64)
    return 64;
#else
    BOOL wow64 = FALSE;
    return IsWow64Process(GetCurrentProcess(), &wow64) && wow64 ? 64 : 32;
#endif
}

std::uint32_t Enable_Shutdown_Privilege() {
    unique_handle token;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, token.put())) {
        return Last_Status();
    }
    TOKEN_PRIVILEGES privileges{};
    privileges.PrivilegeCount = 1;
    privileges.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
    if (!LookupPrivilegeValueW(nullptr, SE_SHUTDOWN_NAME, &privileges.Privileges[0].Luid)) return Last_Status();
    if (!AdjustTokenPrivileges(token.get(), FALSE, &privileges, 0, nullptr, nullptr)) return Last_Status();
    return Last_Status();  // ERROR_NOT_ALL_ASSIGNED when the privilege is not held
}

wmi::ServicesPtr Local_Wmi_Default() {
    ComLocator locator;
    return locator.ConnectServer("", "root\\default", "", {}, 0);
}

}  // namespace

OsFacts NativeStore::Os_Facts() {
    OsFacts facts;
    std::wstring name(MAX_COMPUTERNAME_LENGTH + 1, L'\0');
    DWORD size = static_cast<DWORD>(name.size());
    if (GetComputerNameExW(ComputerNameNetBIOS, name.data(), &size)) facts.computerName = Narrow({name.data(), size});
    facts.version = Version_Text();
    std::wstring folder(MAX_PATH + 1, L'\0');
    const UINT length = GetWindowsDirectoryW(folder.data(), static_cast<UINT>(folder.size()));
    if (length > 0 && length < folder.size()) facts.windowsDirectory = Narrow({folder.data(), length});
    const UINT systemLength = GetSystemDirectoryW(folder.data(), static_cast<UINT>(folder.size()));
    if (systemLength > 0 && systemLength < folder.size()) facts.systemDirectory = Narrow({folder.data(), systemLength});
    facts.addressWidth = Address_Width();
    return facts;
}

std::vector<LogicalDisk> NativeStore::Logical_Disks() {
    std::vector<LogicalDisk> disks;
    const DWORD mask = GetLogicalDrives();
    for (int letter = 0; letter < 26; ++letter) {
        if ((mask & (1u << letter)) == 0) continue;
        const wchar_t root[] = {static_cast<wchar_t>(L'A' + letter), L':', L'\\', L'\0'};
        const UINT type = GetDriveTypeW(root);
        if (type == DRIVE_UNKNOWN || type == DRIVE_NO_ROOT_DIR) continue;
        disks.push_back({std::string{static_cast<char>('A' + letter), ':'}, type});
    }
    return disks;
}

std::uint32_t NativeStore::Shutdown(std::uint32_t flags) {
    if (const auto status = Enable_Shutdown_Privilege()) return status;
    return ExitWindowsEx(flags, SHTDN_REASON_MAJOR_OTHER | SHTDN_REASON_FLAG_PLANNED) ? kStatusOk : Last_Status();
}

std::vector<ProcessEntry> NativeStore::Processes() {
    std::vector<ProcessEntry> processes;
    unique_hfile snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    if (!snapshot) return processes;
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof(entry);
    for (BOOL more = Process32FirstW(snapshot.get(), &entry); more; more = Process32NextW(snapshot.get(), &entry)) {
        processes.push_back({entry.th32ProcessID, Narrow(entry.szExeFile)});
    }
    return processes;
}

std::uint32_t NativeStore::Create_Process(std::string_view commandLine, std::uint32_t& processId) {
    std::wstring command = Widen(commandLine);
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_HIDE;
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr, nullptr, &startup,
                        &process)) {
        return Last_Status();
    }
    unique_handle processHandle(process.hProcess);
    unique_handle threadHandle(process.hThread);
    processId = process.dwProcessId;
    return kStatusOk;
}

bool NativeStore::Has_System_Restore() {
    const SystemLibrary srclient(L"srclient.dll");
    return srclient.Find<decltype(::SRSetRestorePointW)>("SRSetRestorePointW") != nullptr;
}

std::vector<RestorePoint> NativeStore::Restore_Points() {
    std::vector<RestorePoint> points;
    for (const wmi::ObjectPtr& point : Local_Wmi_Default()->InstancesOf("SystemRestore")) {
        RestorePoint entry;
        entry.sequenceNumber = static_cast<std::uint32_t>(point->Get("SequenceNumber").As_Int64());
        entry.description = point->Get("Description").As_String();
        entry.created = Parse_Wmi_Date_Time(point->Get("CreationTime").As_String()).value_or(DateTime{});
        points.push_back(std::move(entry));
    }
    return points;
}

std::uint32_t NativeStore::Create_Restore_Point(std::string_view description, std::uint32_t restorePointType,
                                                std::uint32_t eventType) {
    const SystemLibrary srclient(L"srclient.dll");
    if (!srclient.is_loaded()) return Last_Status();
    const auto setRestorePoint = srclient.Find<decltype(::SRSetRestorePointW)>("SRSetRestorePointW");
    if (setRestorePoint == nullptr) return kStatusNotSupported;

    RESTOREPOINTINFOW point{};
    point.dwEventType = eventType;
    point.dwRestorePtType = restorePointType;
    const std::wstring text = Widen(description).substr(0, MAX_DESC_W - 1);
    text.copy(point.szDescription, text.size());
    STATEMGRSTATUS status{};
    if (!setRestorePoint(&point, &status)) {
        return status.nStatus != ERROR_SUCCESS ? status.nStatus : kStatusNotSupported;
    }
    if (eventType == BEGIN_SYSTEM_CHANGE) {
        // A begun change is closed at once, so that the point is complete and
        // usable: the program makes no changes in between that it could cancel.
        RESTOREPOINTINFOW end{};
        end.dwEventType = END_SYSTEM_CHANGE;
        end.dwRestorePtType = restorePointType;
        end.llSequenceNumber = status.llSequenceNumber;
        STATEMGRSTATUS endStatus{};
        setRestorePoint(&end, &endStatus);
    }
    return kStatusOk;
}

std::uint32_t NativeStore::Restore(std::uint32_t sequenceNumber) {
    const wmi::ObjectPtr systemRestore = Local_Wmi_Default()->Get("SystemRestore");
    const wmi::PropertyBag out =
        systemRestore->Exec_Method("Restore", {{"SequenceNumber", wmi::Variant(sequenceNumber)}});
    const auto returned = out.find("ReturnValue");
    return returned == out.end() ? kStatusNotSupported : static_cast<std::uint32_t>(returned->second.As_Int64());
}

}  // namespace corvane::remote::win32
