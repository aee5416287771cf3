#include "remote/store_services.h"

#include "base/text.h"
#include "remote/provider.h"
#include "remote/wmi_errors.h"

namespace corvane::remote {
namespace {

using wmi::Variant;

class StoreObject final : public wmi::IObject {
public:
    // An instance (instance set) or the class object (instance null).
    StoreObject(IMachineStore& store, const ClassDescriptor& cls, std::optional<Instance> instance,
                std::vector<std::string> selected, bool localComputer)
        : store_(store),
          class_(cls),
          instance_(std::move(instance)),
          selected_(std::move(selected)),
          localComputer_(localComputer) {}

    Variant Get(std::string_view property) const override {
        const PropertyDecl* decl = class_.Find_Property(property);
        if (decl == nullptr) return Undeclared(property);
        if (!Selected(property)) wmi::Raise_Hresult(wmi::hresult::kWbemNotFound);
        if (!instance_) return Variant::Null();
        const auto found = instance_->values.find(property);
        return found == instance_->values.end() ? Variant::Null() : found->second;
    }

    wmi::PropertyBag Exec_Method(std::string_view method, const wmi::PropertyBag& in) override {
        const MethodDecl* decl = class_.Find_Method(method);
        if (decl == nullptr) wmi::Raise_Hresult(wmi::hresult::kWbemInvalidMethod);
        for (const auto& [name, value] : in) {
            bool known = false;
            for (std::string_view parameter : decl->inParameters) {
                known = known || Upper_Ascii(parameter) == Upper_Ascii(name);
            }
            for (std::string_view parameter : decl->localInParameters) {
                known = known || (localComputer_ && Upper_Ascii(parameter) == Upper_Ascii(name));
            }
            if (!known) wmi::Raise_Hresult(wmi::hresult::kWbemInvalidMethodParameters);
        }
        if (!decl->isStatic && !instance_) wmi::Raise_Hresult(wmi::hresult::kWbemInvalidMethodParameters);
        return decl->run(store_, instance_ ? &*instance_ : nullptr, in);
    }

private:
    // A value no class declares, which a store's own view adds to what it
    // lists (a file's identity, listed_identity.h): kept whatever the query
    // selected, and never there in WMI's own classes.
    Variant Undeclared(std::string_view property) const {
        if (instance_) {
            const auto found = instance_->values.find(property);
            if (found != instance_->values.end()) return found->second;
        }
        wmi::Raise_Hresult(wmi::hresult::kWbemNotFound);
    }

    bool Selected(std::string_view property) const {
        if (selected_.empty()) return true;
        for (const std::string& name : selected_) {
            if (Upper_Ascii(name) == Upper_Ascii(property)) return true;
        }
        return false;
    }

    IMachineStore& store_;
    const ClassDescriptor& class_;
    std::optional<Instance> instance_;
    std::vector<std::string> selected_;
    bool localComputer_;
};

void Check_Condition_Names(const wql::Condition& condition, const ClassDescriptor& cls) {
    std::visit(
        [&](const auto& node) {
            using Node = std::decay_t<decltype(node)>;
            if constexpr (std::is_same_v<Node, wql::Comparison>) {
                if (cls.Find_Property(node.property) == nullptr) wmi::Raise_Hresult(wmi::hresult::kWbemInvalidQuery);
            } else if constexpr (std::is_same_v<Node, wql::NotNode>) {
                Check_Condition_Names(*node.operand, cls);
            } else {
                Check_Condition_Names(*node.left, cls);
                Check_Condition_Names(*node.right, cls);
            }
        },
        condition.node);
}

class StoreServices final : public wmi::IServices {
public:
    StoreServices(IMachineStore& store, std::string nameSpace, bool localComputer)
        : store_(store), nameSpace_(std::move(nameSpace)), localComputer_(localComputer) {}

    bool Is_Local_Computer() const noexcept override { return localComputer_; }

    std::vector<wmi::ObjectPtr> ExecQuery(std::string_view text, std::int32_t) override {
        const wql::Query query = wql::Parse_Query(text);
        const ClassDescriptor& cls = Class(query.className);
        for (const std::string& property : query.properties) {
            if (cls.Find_Property(property) == nullptr) wmi::Raise_Hresult(wmi::hresult::kWbemInvalidQuery);
        }
        if (query.where) Check_Condition_Names(*query.where, cls);
        std::vector<Instance> rows;
        if (cls.fill != nullptr) (void)cls.fill(store_, query.where.get(), rows);
        std::vector<wmi::ObjectPtr> result;
        for (Instance& row : rows) {
            if (query.where) {
                // Every name of the condition was checked against the class above.
                const auto lookup = [&](std::string_view property) -> std::optional<Variant> {
                    const auto found = row.values.find(property);
                    return found == row.values.end() ? Variant::Null() : found->second;
                };
                if (!wql::Evaluate_Condition(*query.where, lookup)) continue;
            }
            result.push_back(
                std::make_shared<StoreObject>(store_, cls, std::move(row), query.properties, localComputer_));
        }
        return result;
    }

    wmi::ObjectPtr Get(std::string_view path) override {
        if (path.find_first_of(".=") != std::string_view::npos) return Get_Instance(path);
        if (path.find(':') != std::string_view::npos) wmi::Raise_Hresult(wmi::hresult::kWbemNotFound);
        const ClassDescriptor& cls = Class(path);
        return std::make_shared<StoreObject>(store_, cls, std::nullopt, std::vector<std::string>{}, localComputer_);
    }

    std::vector<wmi::ObjectPtr> InstancesOf(std::string_view className) override {
        const ClassDescriptor& cls = Class(className);
        std::vector<Instance> rows;
        if (cls.fill != nullptr) (void)cls.fill(store_, nullptr, rows);
        std::vector<wmi::ObjectPtr> result;
        for (Instance& row : rows) {
            result.push_back(
                std::make_shared<StoreObject>(store_, cls, std::move(row), std::vector<std::string>{}, localComputer_));
        }
        return result;
    }

private:
    // An object path Class.Key="value": the instance that the query on that
    // key finds (the providers fill the classes reached this way by key).
    wmi::ObjectPtr Get_Instance(std::string_view path) {
        const std::size_t dot = path.find('.');
        const std::size_t equals = path.find('=');
        if (dot == std::string_view::npos || equals == std::string_view::npos || equals < dot) {
            wmi::Raise_Hresult(wmi::hresult::kWbemInvalidObjectPath);
        }
        const ClassDescriptor& cls = Class(path.substr(0, dot));
        const std::string_view key = path.substr(dot + 1, equals - dot - 1);
        const std::string_view quoted = path.substr(equals + 1);
        if (cls.Find_Property(key) == nullptr || quoted.size() < 2 ||
            (quoted.front() != '"' && quoted.front() != '\'') || quoted.back() != quoted.front()) {
            wmi::Raise_Hresult(wmi::hresult::kWbemInvalidObjectPath);
        }
        // Inside the quotation marks "\\" stands for "\" and "\"" for a quotation mark.
        std::string literal;
        for (std::size_t i = 1; i + 1 < quoted.size(); ++i) {
            if (quoted[i] == '\\' && i + 2 < quoted.size()) ++i;
            if (quoted[i] == '\\' || quoted[i] == '\'') literal += '\\';
            literal += quoted[i];
        }
        auto found = ExecQuery(
            "Select * From " + std::string(cls.name) + " Where " + std::string(key) + "='" + literal + "'", 0);
        if (found.empty()) wmi::Raise_Hresult(wmi::hresult::kWbemNotFound);
        return found.front();
    }

    const ClassDescriptor& Class(std::string_view name) const {
        const ClassDescriptor* cls = Find_Class(nameSpace_, name);
        if (cls == nullptr || (cls->available != nullptr && !cls->available(store_))) {
            wmi::Raise_Hresult(wmi::hresult::kWbemInvalidClass);
        }
        return *cls;
    }

    IMachineStore& store_;
    std::string nameSpace_;
    bool localComputer_ = false;
};

// "root\cimv2", "\\.\root\cimv2", "ROOT\Default" -> "cimv2" / "default"; "" for anything else.
std::string Namespace_Leaf(std::string_view path) {
    std::string upper = Upper_Ascii(path);
    if (upper.rfind("\\\\", 0) == 0) {
        const std::size_t slash = upper.find('\\', 2);
        upper = slash == std::string::npos ? std::string() : upper.substr(slash + 1);
    }
    if (upper == "ROOT\\CIMV2") return "cimv2";
    if (upper == "ROOT\\DEFAULT") return "default";
    return {};
}

}  // namespace

wmi::ServicesPtr Make_Store_Services(IMachineStore& store, std::string_view namespacePath, bool localComputer) {
    const std::string leaf = Namespace_Leaf(namespacePath);
    if (leaf.empty()) wmi::Raise_Hresult(wmi::hresult::kWbemInvalidNamespace);
    return std::make_shared<StoreServices>(store, leaf, localComputer);
}

wmi::ServicesPtr StoreLocator::Connect_Server(std::string_view, std::string_view namespacePath, std::string_view user,
                                              const Secret&, std::int32_t, wmi::CallControlPtr) {
    // Windows refuses credentials on a connection to the local computer.
    if (!user.empty()) wmi::Raise_Hresult(wmi::hresult::kWbemLocalCredentials);
    return Make_Store_Services(store_, namespacePath, true);
}

bool Is_Local_Server_Name(std::string_view server, std::string_view localComputerName) {
    const std::string upper = Upper_Text(Trim(server));
    if (upper.empty() || upper == "." || upper == "LOCALHOST" || upper == "LOOPBACK" || upper == "::1" ||
        upper == "[::1]") {
        return true;
    }
    if (!localComputerName.empty() && upper == Upper_Text(localComputerName)) return true;
    if (upper.rfind("127.", 0) == 0) {
        int dots = 0;
        for (char c : upper) {
            if (c == '.') {
                ++dots;
            } else if (c < '0' || c > '9') {
                return false;
            }
        }
        return dots == 3;
    }
    return false;
}

wmi::ServicesPtr LocatorChooser::Connect_Server(std::string_view server, std::string_view namespacePath,
                                                std::string_view user, const Secret& password, std::int32_t flags,
                                                wmi::CallControlPtr calls) {
    wmi::ILocator& chosen = Is_Local_Server_Name(server, localName_) ? local_ : remote_;
    return chosen.ConnectServer(server, namespacePath, user, password, flags, std::move(calls));
}

}  // namespace corvane::remote
