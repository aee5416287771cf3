// The kinds of problem rows the scan builds and the fix acts on: what a row
// deletes (its fix type, the character its Tag begins with) and the reason the
// fix tests again on the computer before that row deletes anything. The scan's
// category table fills the re-test rules next to each category's routine; the
// fix reads them through a lookup by category key. Scan and fix stand side by
// side, so this shared vocabulary sits below both, beside the results list.
#pragma once

#include <optional>
#include <span>
#include <string_view>

namespace corvane::fix {

// Fix types. A problem row's Tag begins with its type's character, the
// type's position in this order as a decimal digit.
enum class FixType : char {
    KeyTree,  // a registry key with all its sub-keys
    Value,    // a registry value
    Key,      // a single registry key without sub-keys
    File,
    Folder,
};

[[nodiscard]] char Fix_Type_Character(FixType type);
// The type a row's Tag begins with; nullopt for a character that names none.
[[nodiscard]] std::optional<FixType> Fix_Type_Of(std::string_view tag);

// What a row says is wrong, as the fix tests it again.
enum class Reason {
    PathMissing,         // neither a file nor a folder at the row's path
    FileMissing,         // no file at the row's path
    FolderMissing,       // no folder at the row's path
    NamedFolderMissing,  // no folder at the path the row's text names
    DefaultFileMissing,  // the key's default value names a file that is missing
    AppPathMissing,      // the entry's default value names a missing file, or its "Path" a missing folder
    EmptyKey,            // the key holds nothing (perhaps an empty default value)
    BareKey,             // the key holds no value and no sub-key
    BareTree,            // no key of the tree holds a value
    ComReference,        // the class, type library or AppId the row names is not registered
    Listed,              // a registry entry listed for what it is (MRU entries, typed addresses, form
                         // data, a debugger): nothing missing to test; the deletion needs it present
    EntryPresent,        // a file or folder row: the deletion needs it still where the scan saw it
};

struct RecheckRule {
    FixType type;
    Reason reason;
};

// A category's rules by its node key ("fA"); empty for a key that names no category.
using RecheckRuleLookup = std::span<const RecheckRule> (*)(std::string_view categoryKey);

// The rule for rows of this type, or nullptr: such a row has no reason to test.
[[nodiscard]] constexpr const RecheckRule* Find_Rule(std::span<const RecheckRule> rules, FixType type) {
    for (const RecheckRule& rule : rules) {
        if (rule.type == type) return &rule;
    }
    return nullptr;
}

}  // namespace corvane::fix
