// The process-level services of start-up on Windows: the single-instance
// mutex, thread locale, common controls, program and system folders, the plain
// file-existence test and the computer name.
#pragma once

#include <string>
#include <string_view>

#include "base/ports/platform.h"
#include "base/win32/unique_any.h"

namespace corvane::win32 {

// This computer's NetBIOS name (GetComputerNameW, a 20-character buffer);
// empty when it cannot be read.
[[nodiscard]] std::string Local_Computer_Name();

class Win32Platform final : public IPlatform {
public:
    // programFolder replaces the running program's folder when not empty
    // (tests use a scratch folder); the executable name stays the real one.
    explicit Win32Platform(std::string programFolder = {});

    bool Create_Instance_Mutex(std::string_view name) override;
    void Release_Instance_Mutex() override;
    void Set_Thread_Locale(std::uint32_t lcid) override;
    bool Init_Common_Controls(std::uint32_t classFlags) override;
    [[nodiscard]] std::string System_Directory() override;
    [[nodiscard]] std::string Program_Folder() override;
    [[nodiscard]] std::string Executable_Name() override;
    [[nodiscard]] bool Normal_File_Exists(std::string_view path) override;
    [[nodiscard]] bool Copy_New_File(std::string_view from, std::string_view to) override;
    [[nodiscard]] std::string Computer_Name() override;

private:
    unique_handle instanceMutex_;
    std::string programFolder_;
    std::string executableName_;
};

// Full path of the running program's executable (GetModuleFileNameW).
[[nodiscard]] std::wstring Module_File_Name();

}  // namespace corvane::win32
