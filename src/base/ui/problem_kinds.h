// The kinds of problem rows the scan builds and the fix acts on: what a row
// deletes (its fix type) and the reason the fix tests again on the computer
// before that row deletes anything. The scan's category table fills the
// re-test rules next to each category's routine; the fix reads them through
// a lookup by category key. Scan and fix stand side by side, so this shared
// vocabulary sits below both, beside the results list.
#pragma once

#include <span>
#include <string_view>

namespace corvane::fix {

// Fix types: what a problem row deletes.
enum class FixType {
    KeyTree,  // a registry key with all its sub-keys
    Value,    // a registry value
    Key,      // a single registry key without sub-keys
    File,
    Folder,
};

// What a row says is wrong, as the fix tests it again.
// What a row says is wrong, as the fix tests it again. A reason that came
// from a value's data (the scan's evidence keeps it) is tested again only
// while the value still holds that data.
enum class Reason {
    PathMissing,                // neither a file nor a folder at the tested path
    FileMissing,                // no file at the tested path
    FolderMissing,              // no folder at the tested path
    AppPathMissing,             // the entry's default value names a missing file, or its "Path" a missing folder
    EmptyKey,                   // the key holds nothing (perhaps an empty default value)
    BareKey,                    // the key holds no value and no sub-key
    BareTree,                   // no key of the tree holds a value
    ComReference,               // the class, type library or AppId the row names is not registered
    Listed,                     // a registry value listed for what it is (MRU entries, typed addresses, form
                                // data, a debugger): deleted only while it holds the data the scan read
    EntryPresent,               // a file or folder row: deleted only while still where the scan saw it
    EntryPresentProgramClosed,  // a browser's file or folder: still there, and the browser (FileItem::keptBy)
                                // not running for its user (FileItem::ownerSid)
    ShortcutTargetMissing,      // a shortcut still there whose target is still missing
};

struct RecheckRule {
    FixType type;
    Reason reason;
};

// A category's rules by its node key ("fA"); empty for a key that names no category.
using RecheckRuleLookup = std::span<const RecheckRule> (*)(std::string_view categoryKey);

// The rule for rows of this type, or nullptr: such a row is never built, and refused at fix.
[[nodiscard]] constexpr const RecheckRule* Find_Rule(std::span<const RecheckRule> rules, FixType type) {
    for (const RecheckRule& rule : rules) {
        if (rule.type == type) return &rule;
    }
    return nullptr;
}

}  // namespace corvane::fix
