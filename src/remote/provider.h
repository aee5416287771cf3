// The WMI classes that the query engine serves over a machine store, each a
// descriptor: its name and namespace, its typed properties declared once, a
// fill function that reads the instances from the store, and its methods with
// their in-parameters. One table holds them all (Provider_Table).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "remote/machine_store.h"
#include "remote/wmi_variant.h"
#include "remote/wql.h"

namespace corvane::remote {

enum class PropertyType { Text, Int32, UInt32, UInt64Text, Bool, DateTimeText, TextArray, Int32Array };

struct PropertyDecl {
    std::string_view name;
    PropertyType type = PropertyType::Text;
};

// One instance: a value for every declared property (Null where unknown) and
// the key that instance methods act on (a full path, a process id).
struct Instance {
    wmi::PropertyBag values;
    std::string key;
};

// Filtered: the fill function read only the instances that a Drive and Path
// (or Name) condition of the query allows; Unfiltered: it read every instance.
// Either way the engine still evaluates the whole WHERE on each row.
enum class FillStatus { Unfiltered, Filtered };

using FillFunction = FillStatus (*)(IMachineStore& store, const wql::Condition* where, std::vector<Instance>& out);
// instance is null for a method called on the class object.
using MethodFunction = wmi::PropertyBag (*)(IMachineStore& store, const Instance* instance, const wmi::PropertyBag& in);

// The table's entries for provider functions that take only their part of
// the store (IRegistryStore, IFileStore, ISystemStore).
template <auto Fill>
FillStatus Fill_From(IMachineStore& store, const wql::Condition* where, std::vector<Instance>& out) {
    return Fill(store, where, out);
}
template <auto Method>
wmi::PropertyBag Run_On(IMachineStore& store, const Instance* instance, const wmi::PropertyBag& in) {
    return Method(store, instance, in);
}
template <auto Test>
bool Ask(IMachineStore& store) {
    return Test(store);
}

struct MethodDecl {
    std::string_view name;
    bool isStatic = false;  // a class method (Win32_Process.Create, StdRegProv's methods)
    std::vector<std::string_view> inParameters;
    MethodFunction run = nullptr;
    // Taken only from the computer the program runs on (its own store's
    // additions); any other computer refuses them as Windows' provider does.
    std::vector<std::string_view> localInParameters = {};
};

struct ClassDescriptor {
    std::string_view name;
    std::string_view nameSpace;  // "cimv2" or "default"
    std::vector<PropertyDecl> properties;
    FillFunction fill = nullptr;  // null: the class has no instances
    std::vector<MethodDecl> methods;
    // False when the store lacks the feature (SystemRestore on a computer without it).
    bool (*available)(IMachineStore& store) = nullptr;

    [[nodiscard]] const PropertyDecl* Find_Property(std::string_view property) const;
    [[nodiscard]] const MethodDecl* Find_Method(std::string_view method) const;
};

[[nodiscard]] const std::vector<ClassDescriptor>& Provider_Table();
// The class of that namespace ("cimv2"/"default", any case); null when none.
[[nodiscard]] const ClassDescriptor* Find_Class(std::string_view nameSpace, std::string_view className);

// The descriptors by family, gathered by Provider_Table.
[[nodiscard]] std::vector<ClassDescriptor> System_Class_Descriptors();
[[nodiscard]] std::vector<ClassDescriptor> File_Class_Descriptors();
[[nodiscard]] std::vector<ClassDescriptor> Registry_Class_Descriptors();

// Helpers shared by the providers.
// An in-parameter, or Empty when the caller did not pass it.
[[nodiscard]] wmi::Variant In_Parameter(const wmi::PropertyBag& in, std::string_view name);
[[nodiscard]] wmi::PropertyBag Return_Value(std::uint32_t code);
// An embedded object (a method's structured out-parameter such as a
// Win32_SecurityDescriptor) with these properties.
[[nodiscard]] wmi::Variant Embedded_Object(wmi::PropertyBag properties);
// A Win32 status as the return code of CIM_DataFile / Win32_Directory methods.
[[nodiscard]] std::uint32_t File_Method_Code(std::uint32_t status);

}  // namespace corvane::remote
