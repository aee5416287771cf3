#include "remote/sim/sim_registry.h"

#include "base/text.h"
#include "base/utf8.h"

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

std::string Parent_Path(std::string_view path) {
    const auto parts = Split_Path(path);
    std::string parent;
    for (std::size_t i = 0; i + 1 < parts.size(); ++i) {
        if (i > 0) parent += '\\';
        parent += parts[i];
    }
    return parent;
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

namespace {

constexpr std::uint32_t kRegLink = 6;
constexpr std::string_view kLinkValueName = "SYMBOLICLINKVALUE";
// Windows gives up on a chain of links after a few dozen; so does this.
constexpr int kMaxLinkHops = 32;

// "\REGISTRY\MACHINE\Software\X" -> HKEY_LOCAL_MACHINE and "Software\X".
bool Link_Target(std::string_view target, std::uint32_t& root, std::string& path) {
    const std::string upper = Upper_Ascii(target);
    for (const auto& [prefix, hive] :
         {std::pair<std::string_view, std::uint32_t>{"\\REGISTRY\\MACHINE", kHkeyLocalMachine},
          {"\\REGISTRY\\USER", kHkeyUsers}}) {
        if (!upper.starts_with(prefix) || (upper.size() > prefix.size() && upper[prefix.size()] != '\\')) continue;
        root = hive;
        path = std::string(target.substr(prefix.size()));
        return true;
    }
    return false;
}

}  // namespace

std::optional<std::pair<std::uint32_t, std::string>> SimRegistry::Key::Link() const {
    if (values.empty()) return std::nullopt;
    static const std::string kName(kLinkValueName);
    const auto found = valueIndex.find(kName);
    if (found == valueIndex.end() || values[found->second].second.type != kRegLink) return std::nullopt;
    std::string target = Utf16le_To_Utf8(values[found->second].second.bytes);
    if (const auto zero = target.find('\0'); zero != std::string::npos) target.resize(zero);
    std::pair<std::uint32_t, std::string> place;
    if (!Link_Target(target, place.first, place.second)) return std::pair<std::uint32_t, std::string>{0, {}};
    return place;
}

SimRegistry::Place SimRegistry::Locate(std::uint32_t root, std::string_view keyPath, int hops) const {
    const auto found = roots_.find(root);
    if (found == roots_.end() || hops > kMaxLinkHops) return {};
    Place place{nullptr, found->second.get()};
    for (std::string_view part : Split_Path(keyPath)) {
        const auto child = place.key->children.find(Upper_Text(part));
        if (child == place.key->children.end()) return {};
        place = {place.key, child->second.get()};
        // Opened as the key it points at, as Windows' provider opens every key.
        if (const auto link = place.key->Link()) {
            place = Locate(link->first, link->second, hops + 1);
            if (place.key == nullptr || place.parent == nullptr) return {};
        }
    }
    return place;
}

const SimRegistry::Key* SimRegistry::Find(std::uint32_t root, std::string_view keyPath) const {
    return Locate(root, keyPath, 0).key;
}

SimRegistry::Key* SimRegistry::Find(std::uint32_t root, std::string_view keyPath) {
    return const_cast<Key*>(static_cast<const SimRegistry*>(this)->Find(root, keyPath));
}

SimRegistry::Key* SimRegistry::Create(std::uint32_t root, std::string_view keyPath) {
    const auto found = roots_.find(root);
    if (found == roots_.end()) return nullptr;
    Key* key = found->second.get();
    std::string walked;
    for (std::string_view part : Split_Path(keyPath)) {
        walked += walked.empty() ? "" : "\\";
        walked += part;
        auto& slot = key->children[Upper_Text(part)];
        if (!slot) {
            slot = std::make_unique<Key>();
            slot->name = std::string(part);
        } else if (slot->Link()) {
            key = Find(root, walked);
            if (key == nullptr) return nullptr;
            continue;
        }
        key = slot.get();
    }
    return key;
}

void SimRegistry::Make_Link(std::uint32_t root, std::string_view keyPath, std::string_view target) {
    Key* parent = Create(root, Parent_Path(keyPath));
    const auto parts = Split_Path(keyPath);
    if (parent == nullptr || parts.empty()) return;
    auto& slot = parent->children[Upper_Text(parts.back())];
    if (slot) valueCount_ -= Count_Values(*slot);
    slot = std::make_unique<Key>();
    slot->name = std::string(parts.back());
    RegistryValue link;
    link.type = kRegLink;
    link.bytes = Utf8_To_Utf16le(target, false);
    slot->values.emplace_back("SymbolicLinkValue", std::move(link));
    slot->Reindex();
    ++valueCount_;
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
    // Through a link the key it points at is deleted, as by Windows' provider.
    const Place place = Locate(root, keyPath, 0);
    if (place.key == nullptr) return kStatusNotFound;
    if (place.parent == nullptr) return kStatusAccessDenied;  // a root cannot be deleted
    if (place.key->denied || place.parent->denied) return kStatusAccessDenied;
    if (!place.key->children.empty()) return kStatusAccessDenied;
    valueCount_ -= place.key->values.size();
    place.parent->children.erase(Upper_Text(place.key->name));
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
            if (Key* parent = Find(block.root, Parent_Path(block.keyPath))) {
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
