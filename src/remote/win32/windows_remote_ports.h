// The Windows ports of the remote access layer in one owning bundle: the
// locator (the local computer served natively, every other one through WMI),
// the share lister, the local registry and system facts, the per-user data
// folder, the shell's file type names, and the RemotePorts view over them that the routines take.
#pragma once

#include <string>

#include "base/ports/clock.h"
#include "base/reporter.h"
#include "base/win32/shell_win32.h"
#include "remote/target_context.h"
#include "remote/win32/native_ports.h"
#include "remote/win32/windows_locator.h"

namespace corvane::remote::win32 {

class WindowsRemotePorts final {
public:
    // localComputerName: the name that also counts as local (the NetBIOS
    // name when empty).
    WindowsRemotePorts(std::string localComputerName, Reporter& reporter, IClock& clock)
        : locator_(std::move(localComputerName)),
          ports_{.locator = locator_,
                 .reporter = reporter,
                 .clock = clock,
                 .shares = shares_,
                 .localRegistry = localRegistry_,
                 .localSystem = localSystem_,
                 .userData = &userData_,
                 .shell = &shell_} {}
    WindowsRemotePorts(const WindowsRemotePorts&) = delete;
    WindowsRemotePorts& operator=(const WindowsRemotePorts&) = delete;

    [[nodiscard]] const RemotePorts& Ports() const noexcept { return ports_; }
    [[nodiscard]] IUserDataFolder& User_Data() noexcept { return userData_; }
    [[nodiscard]] const std::string& Local_Name() const noexcept { return locator_.Local_Name(); }

private:
    NativeShareLister shares_;
    NativeLocalRegistry localRegistry_;
    NativeLocalSystem localSystem_;
    NativeUserDataFolder userData_;
    ::corvane::win32::Win32Shell shell_;
    WindowsLocator locator_;
    RemotePorts ports_;
};

}  // namespace corvane::remote::win32
