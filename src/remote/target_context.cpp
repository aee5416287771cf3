#include "remote/target_context.h"

namespace corvane::remote {

void TargetContext::Start_Computer(std::string_view computerName) {
    ComputerName = std::string(computerName);
    UserName.clear();
    Password.clear();
    TargetName.clear();
    OSVersion.clear();
    AddressWidth = 0;
    FixedDrives.clear();
    IsRemote = false;
    SafeScan = false;
    fastTestsTrusted_ = true;
    checkedShares.clear();
}

void TargetContext::Decide_Is_Remote() {
    IsRemote = ports_.localSystem.Computer_Name() != TargetName;
}

void TargetContext::Decide_Scan_Mode(bool safeScanOptionSet) {
    SafeScan = safeScanOptionSet && IsRemote;
}

}  // namespace corvane::remote
