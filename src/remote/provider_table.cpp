#include "remote/provider.h"

#include <memory>

#include "remote/wmi.h"
#include "remote/wmi_errors.h"

namespace corvane::remote {
namespace {

class EmbeddedObject final : public wmi::IObject {
public:
    explicit EmbeddedObject(wmi::PropertyBag properties) : properties_(std::move(properties)) {}

    [[nodiscard]] wmi::Variant Get(std::string_view property) const override {
        const auto found = properties_.find(property);
        if (found == properties_.end()) wmi::Raise_Hresult(wmi::hresult::kWbemNotFound);
        return found->second;
    }
    wmi::PropertyBag Exec_Method(std::string_view, const wmi::PropertyBag&) override {
        wmi::Raise_Hresult(wmi::hresult::kWbemInvalidMethod);
    }

private:
    wmi::PropertyBag properties_;
};

bool Same_Name(std::string_view a, std::string_view b) {
    const wmi::NameLess less;
    return !less(a, b) && !less(b, a);
}

}  // namespace

const PropertyDecl* ClassDescriptor::Find_Property(std::string_view property) const {
    for (const PropertyDecl& decl : properties) {
        if (Same_Name(decl.name, property)) return &decl;
    }
    return nullptr;
}

const MethodDecl* ClassDescriptor::Find_Method(std::string_view method) const {
    for (const MethodDecl& decl : methods) {
        if (Same_Name(decl.name, method)) return &decl;
    }
    return nullptr;
}

const std::vector<ClassDescriptor>& Provider_Table() {
    static const std::vector<ClassDescriptor> table = [] {
        std::vector<ClassDescriptor> all = System_Class_Descriptors();
        for (auto& decl : File_Class_Descriptors()) all.push_back(std::move(decl));
        for (auto& decl : Registry_Class_Descriptors()) all.push_back(std::move(decl));
        return all;
    }();
    return table;
}

const ClassDescriptor* Find_Class(std::string_view nameSpace, std::string_view className) {
    for (const ClassDescriptor& decl : Provider_Table()) {
        if (Same_Name(decl.nameSpace, nameSpace) && Same_Name(decl.name, className)) {
            return &decl;
        }
    }
    return nullptr;
}

wmi::Variant In_Parameter(const wmi::PropertyBag& in, std::string_view name) {
    const auto found = in.find(name);
    return found == in.end() ? wmi::Variant() : found->second;
}

wmi::Variant Embedded_Object(wmi::PropertyBag properties) {
    return wmi::Variant(std::make_shared<EmbeddedObject>(std::move(properties)));
}

wmi::PropertyBag Return_Value(std::uint32_t code) {
    wmi::PropertyBag out;
    out["ReturnValue"] = wmi::Variant(code);
    return out;
}

std::uint32_t File_Method_Code(std::uint32_t status) {
    switch (status) {
        case kStatusOk: return 0;
        case kStatusAccessDenied: return 2;
        case kStatusNotFound:
        case kStatusPathNotFound: return 9;
        case kStatusAlreadyExists: return 10;
        case kStatusDirNotEmpty: return 14;
        case kStatusSharingViolation: return 15;
        case kStatusInvalidParameter: return 21;
        default: return 8;
    }
}

}  // namespace corvane::remote
