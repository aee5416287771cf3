#include "base/win32/platform_win32.h"

#include <windows.h>
#include <commctrl.h>

#include "base/win32/common_controls.h"
#include "base/win32/wide_text.h"

namespace corvane::win32 {

std::wstring Module_File_Name() {
    std::wstring buffer(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = ::GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (length == 0) return {};
        if (length < buffer.size()) {
            buffer.resize(length);
            return buffer;
        }
        buffer.resize(buffer.size() * 2);  // truncated: try a larger buffer
    }
}

namespace {

// "C:\Program Files\Corvane\Corvane.exe" -> folder and name without ".exe".
void Split_Module_Path(const std::wstring& path, std::string& folder, std::string& name) {
    const auto slash = path.find_last_of(L"\\/");
    std::wstring file = slash == std::wstring::npos ? path : path.substr(slash + 1);
    folder = slash == std::wstring::npos ? std::string() : Narrow(path.substr(0, slash));
    const auto dot = file.find_last_of(L'.');
    if (dot != std::wstring::npos && ::CompareStringOrdinal(file.c_str() + dot, -1, L".exe", -1, TRUE) == CSTR_EQUAL) {
        file.resize(dot);
    }
    name = Narrow(file);
}

}  // namespace

Win32Platform::Win32Platform(std::string programFolder) {
    std::string moduleFolder;
    Split_Module_Path(Module_File_Name(), moduleFolder, executableName_);
    programFolder_ = programFolder.empty() ? moduleFolder : std::move(programFolder);
}

bool Win32Platform::Create_Instance_Mutex(std::string_view name) {
    const std::wstring wideName = Widen(name);
    HANDLE mutex = ::CreateMutexW(nullptr, FALSE, wideName.c_str());
    const DWORD error = ::GetLastError();  // before anything else can change it
    instanceMutex_.reset(mutex);
    return error == ERROR_ALREADY_EXISTS;
}

void Win32Platform::Release_Instance_Mutex() {
    if (!instanceMutex_) return;
    // The mutex is never owned, so ReleaseMutex fails harmlessly; kept for
    // the documented order of release and close.
    ::ReleaseMutex(instanceMutex_.get());
    instanceMutex_.reset();
}

void Win32Platform::Set_Thread_Locale(std::uint32_t lcid) { ::SetThreadLocale(lcid); }

bool Win32Platform::Init_Common_Controls(std::uint32_t classFlags) {
    return CommonControls().Register_Classes(classFlags);
}

std::string Win32Platform::System_Directory() {
    const UINT needed = ::GetSystemDirectoryW(nullptr, 0);
    if (needed == 0) return {};
    std::wstring buffer(needed, L'\0');
    const UINT length = ::GetSystemDirectoryW(buffer.data(), needed);
    if (length == 0 || length >= needed) return {};
    buffer.resize(length);
    while (buffer.size() > 3 && buffer.back() == L'\\') buffer.pop_back();
    return Narrow(buffer);
}

std::string Win32Platform::Program_Folder() { return programFolder_; }

std::string Win32Platform::Executable_Name() { return executableName_; }

bool Win32Platform::Normal_File_Exists(std::string_view path) {
    // An exact name only: a pattern would otherwise match other files.
    if (path.empty() || path.find_first_of("*?") != std::string_view::npos) return false;
    WIN32_FIND_DATAW data{};
    unique_find find(::FindFirstFileW(Widen(path).c_str(), &data));
    if (!find) return false;
    constexpr DWORD kNotNormal = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_DIRECTORY;
    do {
        if ((data.dwFileAttributes & kNotNormal) == 0) return true;
    } while (::FindNextFileW(find.get(), &data));
    return false;
}

bool Win32Platform::Copy_New_File(std::string_view from, std::string_view to) {
    return ::CopyFileW(Widen(from).c_str(), Widen(to).c_str(), TRUE) != FALSE;
}

std::string Local_Computer_Name() {
    wchar_t buffer[20]{};
    DWORD size = 20;
    if (!::GetComputerNameW(buffer, &size)) return {};
    return Narrow(std::wstring_view(buffer, size));
}

std::string Win32Platform::Computer_Name() { return Local_Computer_Name(); }

}  // namespace corvane::win32
