// The registry of a simulated computer: one key tree per root, children
// indexed by name, values kept in their order of creation. Loads from and
// exports to .reg files. Keys can be marked as refusing access. A registry
// link (a key holding "SymbolicLinkValue" of type REG_LINK) is opened as the
// key it points at by every call, as Windows' StdRegProv opens keys: its own
// value never shows, and DeleteKey of it deletes its target. Export and
// Import (the tests' view, and the registry editor of the simulation's
// processes) see the keys as stored.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "remote/machine_store.h"
#include "remote/reg_file.h"

namespace corvane::remote {

class SimRegistry {
public:
    SimRegistry();

    // Status results as the registry API gives them (0, 2 missing, 5 refused).
    std::uint32_t Enum_Keys(std::uint32_t root, std::string_view keyPath, std::vector<std::string>& names) const;
    std::uint32_t Enum_Values(std::uint32_t root, std::string_view keyPath,
                              std::vector<RegistryValueName>& values) const;
    std::uint32_t Get_Value(std::uint32_t root, std::string_view keyPath, std::string_view name,
                            RegistryValue& value) const;
    std::uint32_t Check_Access(std::uint32_t root, std::string_view keyPath, std::uint32_t required,
                               bool& granted) const;
    std::uint32_t Create_Key(std::uint32_t root, std::string_view keyPath);
    std::uint32_t Delete_Key(std::uint32_t root, std::string_view keyPath);
    std::uint32_t Delete_Value(std::uint32_t root, std::string_view keyPath, std::string_view name);
    std::uint32_t Set_Value(std::uint32_t root, std::string_view keyPath, std::string_view name,
                            const RegistryValue& value);

    // Test set-up shortcuts: the key and its parents are created.
    void Set_String(std::uint32_t root, std::string_view keyPath, std::string_view name, std::string_view text,
                    std::uint32_t type = kRegSz);
    void Set_Dword(std::uint32_t root, std::string_view keyPath, std::string_view name, std::uint32_t number);
    // keyPath becomes a link to target ("\\REGISTRY\\MACHINE\\..." or
    // "\\REGISTRY\\USER\\..."), replacing any key of that name.
    void Make_Link(std::uint32_t root, std::string_view keyPath, std::string_view target);
    // A key that refuses every access (reads give 5, CheckAccess grants nothing).
    void Deny_Access(std::uint32_t root, std::string_view keyPath);
    [[nodiscard]] bool Key_Exists(std::uint32_t root, std::string_view keyPath) const;

    // The key (or the whole root for "") with everything below it, in the
    // order of the registry editor's export.
    [[nodiscard]] std::uint32_t Export(std::uint32_t root, std::string_view keyPath, RegFile& file) const;
    // Applies a .reg file: creates keys, sets and deletes values, deletes key trees.
    void Import(const RegFile& file);
    // The same from .reg text of either form (raises RuntimeError when malformed).
    void Load_Reg_Text(std::string_view text) { Import(Parse_Reg_Text(text)); }
    // The key and everything below it as .reg text; "" when the key is missing.
    [[nodiscard]] std::string Export_Reg_Text(std::uint32_t root, std::string_view keyPath,
                                              RegFormat format = RegFormat::Version5) const;

    [[nodiscard]] std::size_t Value_Count() const noexcept { return valueCount_; }

private:
    struct Key {
        std::string name;
        bool denied = false;
        std::map<std::string, std::unique_ptr<Key>> children;  // by upper-cased name
        std::vector<std::pair<std::string, RegistryValue>> values;
        std::unordered_map<std::string, std::size_t> valueIndex;  // upper-cased name -> position
        void Reindex();
        // A link's root and path (root 0: a target outside both hives); nothing for a key.
        [[nodiscard]] std::optional<std::pair<std::uint32_t, std::string>> Link() const;
    };
    // A key found through any links, and the key that holds it (null for a root).
    struct Place {
        Key* parent = nullptr;
        Key* key = nullptr;
    };

    [[nodiscard]] Place Locate(std::uint32_t root, std::string_view keyPath, int hops) const;
    [[nodiscard]] const Key* Find(std::uint32_t root, std::string_view keyPath) const;
    Key* Find(std::uint32_t root, std::string_view keyPath);
    Key* Create(std::uint32_t root, std::string_view keyPath);
    void Export_Key(const Key& key, std::uint32_t root, const std::string& path, RegFile& file) const;
    std::size_t Count_Values(const Key& key) const;

    std::map<std::uint32_t, std::unique_ptr<Key>> roots_;
    std::size_t valueCount_ = 0;
};

// "A\B\\C\" -> {"A", "B", "C"}: empty parts are dropped, as the registry does.
[[nodiscard]] std::vector<std::string_view> Split_Path(std::string_view path);
// "A\B\C" -> "A\B"; "" for a key right below its root.
[[nodiscard]] std::string Parent_Path(std::string_view path);

}  // namespace corvane::remote
