// A DLL of the system directory, loaded at run time and freed with its owner,
// with typed access to its functions. The programs import only DLLs that
// Windows always takes from the system directory (its KnownDLLs; the build
// checks the import tables); every other one is reached through this type, so
// that a DLL of the same name beside a copy of the program never loads.
#pragma once

#include <windows.h>

#include <string>

#include "base/runtime_error.h"
#include "base/win32/unique_any.h"

namespace corvane::win32 {

// The process's own DLL search: the system directory only. First thing at
// start of each program, before any DLL loads on demand.
inline void Restrict_Dll_Search_To_System() noexcept { ::SetDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32); }

class SystemLibrary {
public:
    // fileName: a bare name such as L"winhttp.dll"; it is looked for in the
    // system directory only. A library that does not load leaves the owner
    // empty: every Find answers null and every Get raises.
    explicit SystemLibrary(const wchar_t* fileName) noexcept
        : fileName_(fileName), module_(::LoadLibraryExW(fileName, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32)) {}

    [[nodiscard]] bool is_loaded() const noexcept { return module_.is_valid(); }

    // The exported function as its declared type (Find<decltype(::WinHttpOpen)>);
    // null when the library or the function is missing.
    template <typename Function>
    [[nodiscard]] Function* Find(const char* name) const noexcept {
        if (!module_) return nullptr;
        // Through the generic function pointer type, which any function pointer may be cast to.
        return reinterpret_cast<Function*>(reinterpret_cast<void (*)()>(::GetProcAddress(module_.get(), name)));
    }

    // The same, raising RuntimeError (error 127, or the load's error) when missing.
    template <typename Function>
    [[nodiscard]] Function* Get(const char* name) const {
        if (Function* function = Find<Function>(name)) return function;
        Raise_Missing(name);
    }

private:
    [[noreturn]] void Raise_Missing(const char* name) const {
        std::string library;
        for (const wchar_t c : fileName_) library += static_cast<char>(c < 0x80 ? c : '?');
        throw RuntimeError(module_ ? ERROR_PROC_NOT_FOUND : ERROR_MOD_NOT_FOUND,
                           std::string(name) + " of " + library + " is not available on this system.");
    }

    std::wstring fileName_;
    unique_hmodule module_;
};

}  // namespace corvane::win32
