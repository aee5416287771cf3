#include "remote/sim/sim_registry.h"

#include "base/text.h"

namespace corvane::remote {

std::vector<std::string_view> Split_Path(std::string_view path) {
    std::vector<std::string_view> parts;
    std::size_t start = 0;
    while (start <= path.size()) {
        std::size_t end = path.find('\\', start);
        if (end == std::string_view::npos) end = path.size();
        if (end > start) parts.push_back(path.substr(start, end - start));
        start = end + 1;
    }
    return parts;
}

void SimRegistry::Key::Reindex() {
    valueIndex.clear();
    for (std::size_t i = 0; i < values.size(); ++i) valueIndex[Upper_Text(values[i].first)] = i;
}

SimRegistry::SimRegistry() {
    for (std::uint32_t root : {kHkeyClassesRoot, kHkeyCurrentUser, kHkeyLocalMachine, kHkeyUsers, kHkeyCurrentConfig}) {
        roots_[root] = std::make_unique<Key>();
    }
}

const SimRegistry::Key* SimRegistry::Find(std::uint32_t root, std::string_view keyPath) const {
    const auto found = roots_.find(root);
    if (found == roots_.end()) return nullptr;
    const Key* key = found->second.get();
    for (std::string_view part : Split_Path(keyPath)) {
        const auto child = key->children.find(Upper_Text(part));
        if (child == key->children.end()) return nullptr;
        key = child->second.get();
    }
    return key;
}

SimRegistry::Key* SimRegistry::Find(std::uint32_t root, std::string_view keyPath) {
    return const_cast<Key*>(static_cast<const SimRegistry*>(this)->Find(root, keyPath));
}

SimRegistry::Key* SimRegistry::Create(std::uint32_t root, std::string_view keyPath) {
    const auto found = roots_.find(root);
    if (found == roots_.end()) return nullptr;
    Key* key = found->second.get();
    for (std::string_view part : Split_Path(keyPath)) {
        auto& slot = key->children[Upper_Text(part)];
        if (!slot) {
            slot = std::make_unique<Key>();
            slot->name = std::string(part);
        }
        key = slot.get();
    }
    return key;
}

std::uint32_t SimRegistry::Enum_Keys(std::uint32_t root, std::string_view keyPath,
                                     std::vector<std::string>& names) const {
    const Key* key = Find(root, keyPath);
    if (key == nullptr) return kStatusNotFound;
    if (key->denied) return kStatusAccessDenied;
    names.clear();
    names.reserve(key->children.size());
    for (const auto& [upper, child] : key->children) names.push_back(child->name);
    return kStatusOk;
}

std::uint32_t SimRegistry::Enum_Values(std::uint32_t root, std::string_view keyPath,
                                       std::vector<RegistryValueName>& values) const {
    const Key* key = Find(root, keyPath);
    if (key == nullptr) return kStatusNotFound;
    if (key->denied) return kStatusAccessDenied;
    values.clear();
    values.reserve(key->values.size());
    for (const auto& [name, value] : key->values) values.push_back({name, value.type});
    return kStatusOk;
}

std::uint32_t SimRegistry::Get_Value(std::uint32_t root, std::string_view keyPath, std::string_view name,
                                     RegistryValue& value) const {
    const Key* key = Find(root, keyPath);
    if (key == nullptr) return kStatusNotFound;
    if (key->denied) return kStatusAccessDenied;
    const auto found = key->valueIndex.find(Upper_Text(name));
    if (found == key->valueIndex.end()) return kStatusNotFound;
    value = key->values[found->second].second;
    return kStatusOk;
}

std::uint32_t SimRegistry::Check_Access(std::uint32_t root, std::string_view keyPath, std::uint32_t,
                                        bool& granted) const {
    granted = false;
    const Key* key = Find(root, keyPath);
    if (key == nullptr) return kStatusNotFound;
    if (key->denied) return kStatusAccessDenied;
    granted = true;
    return kStatusOk;
}

std::uint32_t SimRegistry::Create_Key(std::uint32_t root, std::string_view keyPath) {
    return Create(root, keyPath) != nullptr ? kStatusOk : kStatusInvalidParameter;
}

std::uint32_t SimRegistry::Delete_Key(std::uint32_t root, std::string_view keyPath) {
    const auto parts = Split_Path(keyPath);
    if (parts.empty()) return kStatusAccessDenied;  // a root cannot be deleted
    std::string parentPath;
    for (std::size_t i = 0; i + 1 < parts.size(); ++i) {
        if (i > 0) parentPath += '\\';
        parentPath += parts[i];
    }
    Key* parent = Find(root, parentPath);
    if (parent == nullptr) return kStatusNotFound;
    const auto child = parent->children.find(Upper_Text(parts.back()));
    if (child == parent->children.end()) return kStatusNotFound;
    if (child->second->denied || parent->denied) return kStatusAccessDenied;
    if (!child->second->children.empty()) return kStatusAccessDenied;
    valueCount_ -= child->second->values.size();
    parent->children.erase(child);
    return kStatusOk;
}

std::uint32_t SimRegistry::Delete_Value(std::uint32_t root, std::string_view keyPath, std::string_view name) {
    Key* key = Find(root, keyPath);
    if (key == nullptr) return kStatusNotFound;
    if (key->denied) return kStatusAccessDenied;
    const auto found = key->valueIndex.find(Upper_Text(name));
    if (found == key->valueIndex.end()) return kStatusNotFound;
    key->values.erase(key->values.begin() + static_cast<std::ptrdiff_t>(found->second));
    key->Reindex();
    --valueCount_;
    return kStatusOk;
}

std::uint32_t SimRegistry::Set_Value(std::uint32_t root, std::string_view keyPath, std::string_view name,
                                     const RegistryValue& value) {
    Key* key = Find(root, keyPath);
    if (key == nullptr) return kStatusNotFound;
    if (key->denied) return kStatusAccessDenied;
    const std::string upper = Upper_Text(name);
    const auto found = key->valueIndex.find(upper);
    if (found != key->valueIndex.end()) {
        key->values[found->second].second = value;
    } else {
        key->valueIndex[upper] = key->values.size();
        key->values.emplace_back(std::string(name), value);
        ++valueCount_;
    }
    return kStatusOk;
}

void SimRegistry::Set_String(std::uint32_t root, std::string_view keyPath, std::string_view name, std::string_view text,
                             std::uint32_t type) {
    Create(root, keyPath);
    RegistryValue value;
    value.type = type;
    value.text = std::string(text);
    (void)Set_Value(root, keyPath, name, value);
}

void SimRegistry::Set_Dword(std::uint32_t root, std::string_view keyPath, std::string_view name, std::uint32_t number) {
    Create(root, keyPath);
    RegistryValue value;
    value.type = kRegDword;
    value.number = number;
    (void)Set_Value(root, keyPath, name, value);
}

void SimRegistry::Deny_Access(std::uint32_t root, std::string_view keyPath) {
    if (Key* key = Create(root, keyPath)) key->denied = true;
}

bool SimRegistry::Key_Exists(std::uint32_t root, std::string_view keyPath) const {
    return Find(root, keyPath) != nullptr;
}

void SimRegistry::Export_Key(const Key& key, std::uint32_t root, const std::string& path, RegFile& file) const {
    RegKeyBlock block;
    block.root = root;
    block.keyPath = path;
    for (const auto& [name, value] : key.values) block.values.push_back({name, value});
    file.keys.push_back(std::move(block));
    for (const auto& [upper, child] : key.children) {
        Export_Key(*child, root, path.empty() ? child->name : path + "\\" + child->name, file);
    }
}

std::uint32_t SimRegistry::Export(std::uint32_t root, std::string_view keyPath, RegFile& file) const {
    const auto found = roots_.find(root);
    if (found == roots_.end()) return kStatusNotFound;
    const Key* key = found->second.get();
    std::string path;  // with the names as stored
    for (std::string_view part : Split_Path(keyPath)) {
        const auto child = key->children.find(Upper_Text(part));
        if (child == key->children.end()) return kStatusNotFound;
        key = child->second.get();
        if (!path.empty()) path += '\\';
        path += key->name;
    }
    if (path.empty()) {
        // A whole root: the registry editor writes its sub-keys, not the root itself.
        for (const auto& [upper, child] : key->children) Export_Key(*child, root, child->name, file);
    } else {
        Export_Key(*key, root, path, file);
    }
    return kStatusOk;
}

std::string SimRegistry::Export_Reg_Text(std::uint32_t root, std::string_view keyPath, RegFormat format) const {
    RegFile file;
    file.format = format;
    if (Export(root, keyPath, file) != kStatusOk) return {};
    return Write_Reg_Text(file);
}

std::size_t SimRegistry::Count_Values(const Key& key) const {
    std::size_t count = key.values.size();
    for (const auto& [upper, child] : key.children) count += Count_Values(*child);
    return count;
}

void SimRegistry::Import(const RegFile& file) {
    for (const RegKeyBlock& block : file.keys) {
        if (block.deleteKey) {
            const auto parts = Split_Path(block.keyPath);
            if (parts.empty()) continue;
            std::string parentPath;
            for (std::size_t i = 0; i + 1 < parts.size(); ++i) {
                if (i > 0) parentPath += '\\';
                parentPath += parts[i];
            }
            if (Key* parent = Find(block.root, parentPath)) {
                const auto child = parent->children.find(Upper_Text(parts.back()));
                if (child != parent->children.end()) {
                    valueCount_ -= Count_Values(*child->second);
                    parent->children.erase(child);
                }
            }
            continue;
        }
        if (Create(block.root, block.keyPath) == nullptr) continue;
        for (const RegValueLine& line : block.values) {
            if (line.value) {
                (void)Set_Value(block.root, block.keyPath, line.name, *line.value);
            } else {
                (void)Delete_Value(block.root, block.keyPath, line.name);
            }
        }
    }
}

}  // namespace corvane::remote
