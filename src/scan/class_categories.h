// The two registry categories of the class registrations under
// HKEY_LOCAL_MACHINE\SOFTWARE\Classes: empty class and per-user file-extension
// keys, and COM registrations (class IDs, interfaces, programmatic IDs) that
// name a missing AppId, type library, class ID or server file. Both work in
// phases, each reported as the category's phase; Skip ends a phase, Stop the
// category.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "scan/scan_arguments.h"
#include "scan/scan_target.h"

namespace corvane::scan {

// Registered names compared without letter case (kept upper-cased).
using NameSet = std::unordered_set<std::string>;
// Existence answers of one run, by upper-cased path.
using FileExistsCache = std::unordered_map<std::string, bool>;

// True when the key's default value is a non-empty string, or it has a value,
// or one of its sub-keys has content. A key that cannot be read, or whose
// sub-keys cannot be listed, counts as having content: only a key seen to be
// empty is empty.
[[nodiscard]] bool Key_Has_Content(ScanTarget& target, std::uint32_t root, std::string_view keyPath);

// Adds every name; duplicates are ignored.
bool Fill_Name_Set(NameSet& set, const std::vector<std::string>& names);

// Braces the GUID text when it does not start with "{" and drops every "\"
// when it ends with one; the caller's text keeps both changes. True when the
// set holds it.
[[nodiscard]] bool Name_In_Set(const NameSet& set, std::string& guid);

// Remote_File_Exists, asked once per path and run.
[[nodiscard]] bool Cached_File_Exists(FileExistsCache& cache, ScanTarget& target, std::string_view path);

void Scan_File_Extensions(ScanArguments& args);  // "fH"
void Scan_ActiveX_COM(ScanArguments& args);      // "fC"

}  // namespace corvane::scan
