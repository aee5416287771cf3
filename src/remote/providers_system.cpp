// Win32_ComputerSystem, Win32_OperatingSystem, Win32_Processor,
// Win32_LogicalDisk, Win32_Process (root\cimv2) and SystemRestore (root\default).
#include "remote/provider.h"
#include "remote/wmi_datetime.h"

namespace corvane::remote {
namespace {

using wmi::Variant;

FillStatus Fill_Computer_System(ISystemStore& store, const wql::Condition*, std::vector<Instance>& out) {
    const OsFacts facts = store.Os_Facts();
    Instance row;
    row.values["Name"] = Variant(facts.computerName);
    row.values["Caption"] = Variant(facts.computerName);
    row.key = facts.computerName;
    out.push_back(std::move(row));
    return FillStatus::Unfiltered;
}

FillStatus Fill_Operating_System(ISystemStore& store, const wql::Condition*, std::vector<Instance>& out) {
    const OsFacts facts = store.Os_Facts();
    Instance row;
    const std::string name = "Microsoft Windows|" + facts.windowsDirectory + "|\\Device\\Harddisk0\\Partition1";
    row.values["Name"] = Variant(name);
    row.values["Caption"] = Variant("Microsoft Windows");
    row.values["Version"] = Variant(facts.version);
    row.values["WindowsDirectory"] = Variant(facts.windowsDirectory);
    row.values["SystemDirectory"] = Variant(facts.systemDirectory);
    row.values["Primary"] = Variant(true);
    row.key = name;
    out.push_back(std::move(row));
    return FillStatus::Unfiltered;
}

FillStatus Fill_Processor(ISystemStore& store, const wql::Condition*, std::vector<Instance>& out) {
    Instance row;
    row.values["DeviceID"] = Variant("CPU0");
    row.values["AddressWidth"] = Variant(store.Os_Facts().addressWidth);
    row.key = "CPU0";
    out.push_back(std::move(row));
    return FillStatus::Unfiltered;
}

FillStatus Fill_Logical_Disk(ISystemStore& store, const wql::Condition*, std::vector<Instance>& out) {
    for (const LogicalDisk& disk : store.Logical_Disks()) {
        Instance row;
        row.values["Name"] = Variant(disk.name);
        row.values["DeviceID"] = Variant(disk.name);
        row.values["DriveType"] = Variant(disk.driveType);
        row.key = disk.name;
        out.push_back(std::move(row));
    }
    return FillStatus::Unfiltered;
}

FillStatus Fill_Process(ISystemStore& store, const wql::Condition* where, std::vector<Instance>& out) {
    const Variant* wanted = wql::Required_Equality(where, "ProcessId");
    for (const ProcessEntry& process : store.Processes()) {
        if (wanted != nullptr && !wanted->Is_Array()) {
            try {
                if (wanted->As_Int64() != static_cast<std::int64_t>(process.processId)) continue;
            } catch (const std::exception&) {
                continue;
            }
        }
        Instance row;
        row.values["Name"] = Variant(process.name);
        row.values["Caption"] = Variant(process.name);
        row.values["ProcessId"] = Variant(process.processId);
        row.values["Handle"] = Variant(std::to_string(process.processId));
        row.key = std::to_string(process.processId);
        out.push_back(std::move(row));
    }
    return wanted != nullptr ? FillStatus::Filtered : FillStatus::Unfiltered;
}

FillStatus Fill_Restore_Points(ISystemStore& store, const wql::Condition*, std::vector<Instance>& out) {
    for (const RestorePoint& point : store.Restore_Points()) {
        Instance row;
        row.values["Description"] = Variant(point.description);
        row.values["SequenceNumber"] = Variant(point.sequenceNumber);
        row.values["CreationTime"] = Variant(Format_Wmi_Date_Time(point.created));
        row.values["RestorePointType"] = Variant(std::uint32_t{12});
        row.values["EventType"] = Variant(std::uint32_t{100});
        row.key = std::to_string(point.sequenceNumber);
        out.push_back(std::move(row));
    }
    return FillStatus::Unfiltered;
}

wmi::PropertyBag Run_Shutdown(ISystemStore& store, const Instance*, const wmi::PropertyBag& in) {
    const Variant flags = In_Parameter(in, "Flags");
    return Return_Value(store.Shutdown(static_cast<std::uint32_t>(flags.As_Int32())));
}

wmi::PropertyBag Run_Create_Process(ISystemStore& store, const Instance*, const wmi::PropertyBag& in) {
    const std::string commandLine = In_Parameter(in, "CommandLine").As_String();
    std::uint32_t processId = 0;
    const std::uint32_t status =
        commandLine.empty() ? kStatusInvalidParameter : store.Create_Process(commandLine, processId);
    std::uint32_t code = 8;
    switch (status) {
        case kStatusOk: code = 0; break;
        case kStatusAccessDenied: code = 2; break;
        case kStatusNotFound:
        case kStatusPathNotFound: code = 9; break;
        case kStatusInvalidParameter: code = 21; break;
        default: break;
    }
    wmi::PropertyBag out = Return_Value(code);
    out["ProcessId"] = code == 0 ? Variant(processId) : Variant::Null();
    return out;
}

wmi::PropertyBag Run_Get_Owner_Sid(ISystemStore& store, const Instance* instance, const wmi::PropertyBag&) {
    std::string sid;
    std::uint32_t code = kOwnerSidNotFound;
    try {
        code = store.Process_Owner(static_cast<std::uint32_t>(std::stoul(instance->key)), sid);
    } catch (const std::exception&) {
        code = kOwnerSidNotFound;
    }
    wmi::PropertyBag out = Return_Value(code);
    out["Sid"] = code == 0 ? Variant(sid) : Variant::Null();
    return out;
}

wmi::PropertyBag Run_Create_Restore_Point(ISystemStore& store, const Instance*, const wmi::PropertyBag& in) {
    return Return_Value(
        store.Create_Restore_Point(In_Parameter(in, "Description").As_String(),
                                   static_cast<std::uint32_t>(In_Parameter(in, "RestorePointType").As_Int32()),
                                   static_cast<std::uint32_t>(In_Parameter(in, "EventType").As_Int32())));
}

wmi::PropertyBag Run_Restore(ISystemStore& store, const Instance*, const wmi::PropertyBag& in) {
    return Return_Value(store.Restore(static_cast<std::uint32_t>(In_Parameter(in, "SequenceNumber").As_Int32())));
}

bool Has_Restore(ISystemStore& store) { return store.Has_System_Restore(); }

}  // namespace

std::vector<ClassDescriptor> System_Class_Descriptors() {
    std::vector<ClassDescriptor> classes;
    classes.push_back({"Win32_ComputerSystem",
                       "cimv2",
                       {{"Name", PropertyType::Text}, {"Caption", PropertyType::Text}},
                       &Fill_From<&Fill_Computer_System>,
                       {},
                       nullptr});
    classes.push_back({"Win32_OperatingSystem",
                       "cimv2",
                       {{"Name", PropertyType::Text},
                        {"Caption", PropertyType::Text},
                        {"Version", PropertyType::Text},
                        {"WindowsDirectory", PropertyType::Text},
                        {"SystemDirectory", PropertyType::Text},
                        {"Primary", PropertyType::Bool}},
                       &Fill_From<&Fill_Operating_System>,
                       {{"Win32Shutdown", false, {"Flags", "Reserved"}, &Run_On<&Run_Shutdown>}},
                       nullptr});
    classes.push_back({"Win32_Processor",
                       "cimv2",
                       {{"DeviceID", PropertyType::Text}, {"AddressWidth", PropertyType::Int32}},
                       &Fill_From<&Fill_Processor>,
                       {},
                       nullptr});
    classes.push_back(
        {"Win32_LogicalDisk",
         "cimv2",
         {{"Name", PropertyType::Text}, {"DeviceID", PropertyType::Text}, {"DriveType", PropertyType::UInt32}},
         &Fill_From<&Fill_Logical_Disk>,
         {},
         nullptr});
    classes.push_back({"Win32_Process",
                       "cimv2",
                       {{"Name", PropertyType::Text},
                        {"Caption", PropertyType::Text},
                        {"ProcessId", PropertyType::UInt32},
                        {"Handle", PropertyType::Text}},
                       &Fill_From<&Fill_Process>,
                       {{"Create",
                         true,
                         {"CommandLine", "CurrentDirectory", "ProcessStartupInformation"},
                         &Run_On<&Run_Create_Process>},
                        {"GetOwnerSid", false, {}, &Run_On<&Run_Get_Owner_Sid>}},
                       nullptr});
    classes.push_back({"SystemRestore",
                       "default",
                       {{"Description", PropertyType::Text},
                        {"SequenceNumber", PropertyType::UInt32},
                        {"CreationTime", PropertyType::DateTimeText},
                        {"RestorePointType", PropertyType::UInt32},
                        {"EventType", PropertyType::UInt32}},
                       &Fill_From<&Fill_Restore_Points>,
                       {{"CreateRestorePoint",
                         true,
                         {"Description", "RestorePointType", "EventType"},
                         &Run_On<&Run_Create_Restore_Point>},
                        {"Restore", true, {"SequenceNumber"}, &Run_On<&Run_Restore>}},
                       &Ask<&Has_Restore>});
    return classes;
}

}  // namespace corvane::remote
