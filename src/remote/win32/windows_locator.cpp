#include "remote/win32/windows_locator.h"

#include "remote/win32/native_ports.h"

namespace corvane::remote::win32 {
namespace {

std::string Own_Name(std::string given) {
    if (!given.empty()) return given;
    NativeLocalSystem system;
    return system.Computer_Name();
}

}  // namespace

WindowsLocator::WindowsLocator(std::string localComputerName)
    : localName_(Own_Name(std::move(localComputerName))), chooser_(localName_, local_, remote_) {}

}  // namespace corvane::remote::win32
