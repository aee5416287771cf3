// One problem as the scan found it and the fix acts on it: what to delete on
// which computer, and the reason the scan saw, kept typed from the category
// routine to the deletion. The results list row carries it; only the view,
// the clipboard and the console's output turn it into texts.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "base/ui/problem_kinds.h"

namespace corvane {

// A registry key (valueName empty) or one of its values. The root is the
// registry provider's number (HKEY_LOCAL_MACHINE 0x80000002).
struct RegistryItem {
    std::uint32_t root = 0;
    std::string keyPath;    // below the root, no leading backslash
    std::string valueName;  // "" for the key itself, or its default value for a Value row
};

// Which file a path named when it was seen: a path can be made to name
// another file later (a folder swapped for a junction), its identity cannot.
struct FileIdentity {
    std::uint64_t volumeSerial = 0;
    std::array<std::uint8_t, 16> fileId{};  // FILE_ID_128; a 64-bit index fills the low eight bytes
    bool known = false;                     // false: the scan could not read it

    friend bool operator==(const FileIdentity&, const FileIdentity&) = default;
};

// A file or folder, with the folder its category walked from: the deletion
// stays below that folder and never passes through a link on the way down.
struct FileItem {
    std::string path;         // canonical full path: what is deleted
    std::string startFolder;  // the category's known place the walk started at
    std::string ownerSid;     // the user whose profile holds it; "" for computer-wide folders
    FileIdentity identity;
};

// What the scan read and tested when it judged the row a problem. The fix
// reads the value again and compares before it runs the same test again.
struct ScanEvidence {
    // The data of the value the scan judged, as read (registry rows whose
    // reason came from a value); nullopt when the reason did not come from a value.
    std::optional<std::string> valueData;
    std::string testedPath;  // the file, folder, key or member the scan looked for; "" when none
    std::string answer;      // what the test answered, as the log tells it ("missing", "empty", ...)
};

struct Problem {
    fix::FixType type = fix::FixType::Value;
    std::string categoryKey;  // the category's node key, "fA"
    std::string targetName;   // the name the computer answered with at scan time
    RegistryItem registry;    // for KeyTree, Key and Value
    FileItem file;            // for File and Folder
    ScanEvidence evidence;
    bool fixed = false;

    [[nodiscard]] bool Is_File_Row() const noexcept {
        return type == fix::FixType::File || type == fix::FixType::Folder;
    }
};

}  // namespace corvane
