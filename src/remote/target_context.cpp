#include "remote/target_context.h"

#include <utility>

namespace corvane::remote {

void TargetContext::Start_Computer(std::string_view computerName) {
    ComputerName = std::string(computerName);
    UserName.clear();
    Password = Secret();
    TargetName.clear();
    OSVersion.clear();
    AddressWidth = 0;
    FixedDrives.clear();
    IsRemote = false;
    SafeScan = false;
    fastTestsTrusted_ = true;
    checkedShares.clear();
    listings.Enable(false);
    undecided_ = {};
    notes_.clear();
    calls_->Forget_Time_Out();
}

void TargetContext::Note_Undecided(std::string_view errorText) {
    ++undecided_.count;
    undecided_.lastError = std::string(errorText);
}

TargetContext::UndecidedTally TargetContext::Take_Undecided() { return std::exchange(undecided_, {}); }

bool TargetContext::First_Note(std::string_view text) { return notes_.emplace(text).second; }

void TargetContext::Decide_Is_Remote(const wmi::IServices& cimv2) { IsRemote = !cimv2.Is_Local_Computer(); }

void TargetContext::Decide_Scan_Mode(bool safeScanOptionSet) { SafeScan = safeScanOptionSet && IsRemote; }

}  // namespace corvane::remote
