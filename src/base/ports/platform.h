// Port: the process-level services that start-up needs: the single-instance
// mutex, the thread locale, the common controls, where the program and the
// system directory are, a plain file-existence test and a file copy. Win32 implements it
// in app/win32; tests use a fake.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace corvane {

class IPlatform {
public:
    virtual ~IPlatform() = default;
    IPlatform() = default;
    IPlatform(const IPlatform&) = delete;
    IPlatform& operator=(const IPlatform&) = delete;

    // Creates the named mutex (not initially owned) and keeps its handle;
    // true when another copy already holds one of that name.
    virtual bool Create_Instance_Mutex(std::string_view name) = 0;
    // ReleaseMutex and CloseHandle on the kept handle; nothing when there is none.
    virtual void Release_Instance_Mutex() = 0;
    virtual void Set_Thread_Locale(std::uint32_t lcid) = 0;
    // InitCommonControlsEx with the given class flags; false on any error.
    virtual bool Init_Common_Controls(std::uint32_t classFlags) = 0;
    // Windows system directory, without trailing backslash.
    [[nodiscard]] virtual std::string System_Directory() = 0;
    // Folder of the running program, without trailing backslash.
    [[nodiscard]] virtual std::string Program_Folder() = 0;
    // The running program's file name without ".exe" ("Corvane").
    [[nodiscard]] virtual std::string Executable_Name() = 0;
    // True when a directory listing of exactly this path with normal attributes
    // finds it: hidden or system files and folders do not count.
    [[nodiscard]] virtual bool Normal_File_Exists(std::string_view path) = 0;
    // Copies the file `from` to `to`, never over an existing `to`; false when
    // `to` exists or the copy failed.
    [[nodiscard]] virtual bool Copy_New_File(std::string_view from, std::string_view to) = 0;
    // The local computer's NetBIOS name (GetComputerNameA with a 20-character
    // buffer); empty on failure.
    [[nodiscard]] virtual std::string Computer_Name() = 0;
};

}  // namespace corvane
