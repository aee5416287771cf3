// The Windows ports of the remote access layer in one owning bundle: the
// locator (the local computer served natively, every other one through WMI),
// the share lister, the local registry and system facts, the per-user data
// folder, the shell's file type names, and the RemotePorts view over them that the routines take,
// with the time limit of calls read from the per-user settings.
#pragma once

#include <string>

#include "base/ports/clock.h"
#include "base/reporter.h"
#include "base/win32/settings_store_win32.h"
#include "base/win32/shell_win32.h"
#include "remote/call_limit_setting.h"
#include "remote/target_context.h"
#include "remote/win32/native_ports.h"
#include "remote/win32/windows_locator.h"

namespace corvane::remote::win32 {

class WindowsRemotePorts final {
public:
    // localComputerName: the name that also counts as local (the NetBIOS
    // name when empty); settingsRoot: the per-user settings' key below
    // HKEY_CURRENT_USER.
    WindowsRemotePorts(std::string localComputerName, Reporter& reporter, IClock& clock,
                       std::wstring settingsRoot = L"Software\\Corvane")
        : locator_(std::move(localComputerName)),
          ports_{.locator = locator_,
                 .reporter = reporter,
                 .clock = clock,
                 .shares = shares_,
                 .localRegistry = localRegistry_,
                 .localSystem = localSystem_,
                 .userData = &userData_,
                 .shell = &shell_,
                 .callLimit = Call_Limit(std::move(settingsRoot))} {}
    WindowsRemotePorts(const WindowsRemotePorts&) = delete;
    WindowsRemotePorts& operator=(const WindowsRemotePorts&) = delete;

    [[nodiscard]] const RemotePorts& Ports() const noexcept { return ports_; }
    [[nodiscard]] IUserDataFolder& User_Data() noexcept { return userData_; }
    [[nodiscard]] const std::string& Local_Name() const noexcept { return locator_.Local_Name(); }

private:
    static std::chrono::milliseconds Call_Limit(std::wstring settingsRoot) {
        ::corvane::win32::Win32SettingsStore settings(std::move(settingsRoot));
        return Load_Call_Limit(settings);
    }

    NativeShareLister shares_;
    NativeLocalRegistry localRegistry_;
    NativeLocalSystem localSystem_;
    NativeUserDataFolder userData_;
    ::corvane::win32::Win32Shell shell_;
    WindowsLocator locator_;
    RemotePorts ports_;
};

}  // namespace corvane::remote::win32
