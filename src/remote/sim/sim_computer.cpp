#include "remote/sim/sim_computer.h"
#include "base/utf8.h"

#include <algorithm>

#include "base/text.h"

namespace corvane::remote {

SimComputer::SimComputer(std::string computerName) : name(std::move(computerName)) {
    facts.computerName = Upper_Text(name);
    facts.version = "6.1.7601";
    facts.windowsDirectory = "C:\\Windows";
    facts.systemDirectory = "C:\\Windows\\system32";
    facts.addressWidth = 64;
    disks.push_back({"C:", 3});
    environment["SYSTEMROOT"] = "C:\\Windows";
    environment["WINDIR"] = "C:\\Windows";
    environment["PROGRAMFILES"] = "C:\\Program Files";
    environment["SYSTEMDRIVE"] = "C:";
    files.Add_Folder("C:\\Windows\\system32", now);
    files.Add_Folder("C:\\Windows\\Temp", now);
    constexpr std::uint32_t kInherit = kAceObjectInherit | kAceContainerInherit;
    files.Set_Security("C:\\Windows", true,
                       {{"S-1-5-18", 0x1F01FF, kAceAllowed, kInherit},
                        {"S-1-5-32-544", 0x1F01FF, kAceAllowed, kInherit},
                        {"S-1-5-32-545", 0x1200A9, kAceAllowed, kInherit}});
    Add_Process("System", 4);
    Add_Process("explorer.exe", 1640);
}

void SimComputer::Add_Process(std::string_view processName, std::uint32_t processId, std::string_view ownerSid) {
    processes_.push_back({{processId, std::string(processName)}, std::string(ownerSid), -1});
}

void SimComputer::Add_Restore_Point(std::string_view description, const DateTime& created) {
    restorePoints_.push_back({nextSequence_++, std::string(description), created});
}

bool SimComputer::Process_Running(std::uint32_t processId) const {
    return std::any_of(processes_.begin(), processes_.end(),
                       [&](const RunningProcess& p) { return p.entry.processId == processId; });
}

std::uint32_t SimComputer::Shutdown(std::uint32_t flags) {
    shutdownRequests.push_back(flags);
    return shutdownResult;
}

std::uint32_t SimComputer::Enum_Keys(std::uint32_t root, std::string_view keyPath, std::vector<std::string>& names) {
    return registry.Enum_Keys(root, keyPath, names);
}
std::uint32_t SimComputer::Enum_Values(std::uint32_t root, std::string_view keyPath,
                                       std::vector<RegistryValueName>& values) {
    return registry.Enum_Values(root, keyPath, values);
}
std::uint32_t SimComputer::Get_Value(std::uint32_t root, std::string_view keyPath, std::string_view valueName,
                                     RegistryValue& value) {
    return registry.Get_Value(root, keyPath, valueName, value);
}
std::uint32_t SimComputer::Check_Access(std::uint32_t root, std::string_view keyPath, std::uint32_t required,
                                        bool& granted) {
    return registry.Check_Access(root, keyPath, required, granted);
}
std::uint32_t SimComputer::Create_Key(std::uint32_t root, std::string_view keyPath) {
    return registry.Create_Key(root, keyPath);
}
std::uint32_t SimComputer::Delete_Key(std::uint32_t root, std::string_view keyPath) {
    return registry.Delete_Key(root, keyPath);
}
std::uint32_t SimComputer::Delete_Value(std::uint32_t root, std::string_view keyPath, std::string_view valueName) {
    return registry.Delete_Value(root, keyPath, valueName);
}
std::uint32_t SimComputer::Set_Value(std::uint32_t root, std::string_view keyPath, std::string_view valueName,
                                     const RegistryValue& value) {
    return registry.Set_Value(root, keyPath, valueName, value);
}

std::string SimComputer::Expand_Environment(std::string_view text) {
    std::string out;
    std::size_t i = 0;
    while (i < text.size()) {
        const std::size_t open = text.find('%', i);
        if (open == std::string_view::npos) break;
        const std::size_t close = text.find('%', open + 1);
        if (close == std::string_view::npos) break;
        out.append(text.substr(i, open - i));
        const auto found = environment.find(Upper_Text(text.substr(open + 1, close - open - 1)));
        if (found != environment.end()) {
            out += found->second;
            i = close + 1;
        } else {
            // Unknown names stay as written, as ExpandEnvironmentStrings leaves them.
            out.append(text.substr(open, close - open));
            i = close;
        }
    }
    out.append(text.substr(i));
    return out;
}

std::vector<ProcessEntry> SimComputer::Processes() {
    // Every listing is one poll: started processes end after their polls.
    std::vector<ProcessEntry> out;
    for (const RunningProcess& process : processes_) out.push_back(process.entry);
    for (RunningProcess& process : processes_) {
        if (process.pollsLeft > 0) --process.pollsLeft;
    }
    processes_.erase(
        std::remove_if(processes_.begin(), processes_.end(), [](const RunningProcess& p) { return p.pollsLeft == 0; }),
        processes_.end());
    return out;
}

std::uint32_t SimComputer::Process_Owner(std::uint32_t processId, std::string& sid) {
    const auto process = std::find_if(processes_.begin(), processes_.end(),
                                      [&](const RunningProcess& p) { return p.entry.processId == processId; });
    if (process == processes_.end()) return kOwnerSidNotFound;
    if (process->ownerSid.empty()) return kOwnerSidAccessDenied;
    sid = process->ownerSid;
    return kStatusOk;
}

std::uint32_t SimComputer::Create_Process(std::string_view commandLine, std::uint32_t& processId) {
    std::string imageName;
    if (!Run_Command(commandLine, imageName)) return kStatusNotFound;
    processId = nextProcessId_;
    nextProcessId_ += 4;
    const auto programLifetime = programLifetimePolls.find(imageName);
    const int lifetime = programLifetime != programLifetimePolls.end() ? programLifetime->second : processLifetimePolls;
    // Started through WMI: it runs for the account that asked, an administrator here.
    processes_.push_back({{processId, imageName}, "S-1-5-32-544", lifetime > 0 ? lifetime : 0});
    if (lifetime <= 0) processes_.pop_back();
    return kStatusOk;
}

std::uint32_t SimComputer::Create_Restore_Point(std::string_view description, std::uint32_t, std::uint32_t) {
    if (createRestorePointResult != 0) return createRestorePointResult;
    const auto hours = [](const DateTime& t) {
        return ((t.year * 12 + t.month) * 31 + t.day) * 24.0 + t.hour + (t.minute * 60 + t.second) / 3600.0;
    };
    if (std::any_of(restorePoints_.begin(), restorePoints_.end(),
                    [&](const RestorePoint& p) { return hours(now) - hours(p.created) < restorePointThrottleHours; })) {
        return 0;
    }
    Add_Restore_Point(description, now);
    return 0;
}

std::uint32_t SimComputer::Restore(std::uint32_t sequenceNumber) {
    if (restoreResult != 0) return restoreResult;
    const bool known = std::any_of(restorePoints_.begin(), restorePoints_.end(),
                                   [&](const RestorePoint& p) { return p.sequenceNumber == sequenceNumber; });
    return known ? 0 : kStatusNotFound;
}

std::optional<RawRegistryValue> SimComputer::Read_Value(std::uint32_t root, std::string_view keyPath,
                                                        std::string_view valueName) {
    RegistryValue value;
    if (registry.Get_Value(root, keyPath, valueName, value) != kStatusOk) return std::nullopt;
    RawRegistryValue raw;
    raw.type = value.type;
    switch (value.type) {
        case kRegSz:
        case kRegExpandSz: raw.data = Utf8_To_Utf16le(value.text, true); break;
        case kRegMultiSz:
            for (const std::string& part : value.parts) {
                const auto bytes = Utf8_To_Utf16le(part, true);
                raw.data.insert(raw.data.end(), bytes.begin(), bytes.end());
            }
            raw.data.push_back(0);
            raw.data.push_back(0);
            break;
        case kRegDword:
        case kRegQword:
            for (int i = 0; i < (value.type == kRegDword ? 4 : 8); ++i) {
                raw.data.push_back(static_cast<std::uint8_t>((value.number >> (8 * i)) & 0xFF));
            }
            break;
        default: raw.data = value.bytes; break;
    }
    return raw;
}

}  // namespace corvane::remote
