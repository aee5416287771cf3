// One problem as the scan found it and the fix acts on it: what to delete on
// which computer, and the reason the scan saw, kept typed from the category
// routine to the deletion. The results list row carries it; only the view,
// the clipboard and the console's output turn it into texts.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <utility>

#include "base/ui/problem_kinds.h"

namespace corvane {

// A registry key (valueName empty) or one of its values. The root is the
// registry provider's number (HKEY_LOCAL_MACHINE 0x80000002).
struct RegistryItem {
    std::uint32_t root = 0;
    std::string keyPath{};    // below the root, no leading backslash
    std::string valueName{};  // "" for the key itself, or its default value for a Value row
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
    std::string path{};         // canonical full path: what is deleted
    std::string startFolder{};  // the category's known place the walk started at
    std::string ownerSid{};     // the user whose profile holds it; "" for computer-wide folders
    FileIdentity identity{};
    // The program ("chrome.exe") that holds the file open while it runs for
    // ownerSid; "" none.
    std::string keptBy{};
};

// What the scan read and tested when it judged the row a problem. The fix
// reads the value again and compares before it runs the same test again.
struct ScanEvidence {
    // The data of the value the scan judged, as read (registry rows whose
    // reason came from a value, and listed values); nullopt when the reason
    // did not come from a value's data. A string value's text, a binary
    // value's Binary_Evidence (its bytes), "" for other types.
    std::optional<std::string> valueData{};
    // Which value of a key row's key valueData was read from ("" its default
    // value); a value row's data is its own value's.
    std::string valueName{};
    std::string testedPath{};  // the file, folder, key or member the scan looked for; "" when none
    std::string answer{};      // what the test answered, as the log tells it ("missing", "empty", ...)
};

// The evidence of a reason that came from a value's data: the data as read
// (of valueName for a key row) and the path or member found missing.
[[nodiscard]] inline ScanEvidence Data_Evidence(std::string valueData, std::string testedPath,
                                                std::string valueName = {}) {
    return {std::move(valueData), std::move(valueName), std::move(testedPath), "missing"};
}
// The evidence of a path or member found missing, whatever named it.
[[nodiscard]] inline ScanEvidence Path_Evidence(std::string testedPath) {
    return {std::nullopt, {}, std::move(testedPath), "missing"};
}
// The evidence of a value listed for what it is: its data as read, or
// nullopt when they could not be read (the row then never deletes).
[[nodiscard]] inline ScanEvidence Listed_Evidence(std::optional<std::string> valueData) {
    return {std::move(valueData), {}, {}, "listed"};
}

// How the Data column shows a binary value: its size.
[[nodiscard]] inline std::string Binary_Size_Text(std::size_t size) {
    return "(binary, " + std::to_string(size) + " bytes)";
}

// How evidence keeps a binary value: its size and every byte in hex, so that
// data rewritten in place at the same length is seen as changed.
[[nodiscard]] inline std::string Binary_Evidence(std::span<const std::uint8_t> bytes) {
    constexpr char kDigits[] = "0123456789abcdef";
    std::string evidence = Binary_Size_Text(bytes.size()) + " ";
    evidence.reserve(evidence.size() + 2 * bytes.size());
    for (const std::uint8_t byte : bytes) {
        evidence += kDigits[byte >> 4];
        evidence += kDigits[byte & 0x0F];
    }
    return evidence;
}

struct Problem {
    fix::FixType type = fix::FixType::Value;
    std::string categoryKey{};  // the category's node key, "fA"
    std::string targetName{};   // the name the computer answered with at scan time
    RegistryItem registry{};    // for KeyTree, Key and Value
    FileItem file{};            // for File and Folder
    ScanEvidence evidence{};
    bool fixed = false;

    [[nodiscard]] bool Is_File_Row() const noexcept {
        return type == fix::FixType::File || type == fix::FixType::Folder;
    }
};

}  // namespace corvane
