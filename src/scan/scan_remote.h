// PROVISIONAL: the remote access types the scan uses, until the connection
// layer's own headers are in place.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "remote/wmi.h"

namespace corvane::scan {

struct TargetContext {
    std::string ComputerName;
    std::string UserName;
    std::string Password;
    std::string TargetName;
    std::string OSVersion;
    std::int32_t AddressWidth = 32;
    std::vector<std::string> FixedDrives;
    bool IsRemote = false;
    bool SafeScan = true;
};

struct WmiConnection {
    wmi::ServicesPtr cimv2;
    wmi::ServicesPtr defaultNs;
    wmi::ObjectPtr registry;
};

struct RemoteAccess {
    wmi::ILocator* locator = nullptr;
};

}  // namespace corvane::scan
