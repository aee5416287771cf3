// The one form in which a folder read from a computer's registry is judged,
// listed and deleted: a drive letter, a colon and "\"-separated components,
// "." and ".." resolved, no repeated "\". Forms that Windows reads in more
// than one way (drive-relative, device and UNC paths, streams, names ending
// in a dot or a space) are refused rather than guessed at.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace corvane::remote {

// The canonical form ("C:\Users\bob\AppData\Local\Temp", "C:\" for a drive
// root), or nothing for a refused form: "/" anywhere, "C:foo", "\Windows",
// "\\?\...", "\\.\...", "\\server\share", a ":" after the drive (an
// alternate data stream), a wildcard or control character, or a component
// ending in "." or " ". Short names ("PROGRA~1") are left to the caller.
[[nodiscard]] std::optional<std::string> Canonical_Path(std::string_view path);

// True when a component of the canonical path holds a "~", the mark of a
// short (8.3) name that only the computer itself can make long.
[[nodiscard]] bool Has_Short_Name_Mark(std::string_view canonicalPath);

// True when path is base or lies below it (both canonical; case ignored).
[[nodiscard]] bool Is_At_Or_Below(std::string_view path, std::string_view base);

// The folders from the first component below the drive root down to the path
// itself ("C:\a\b" -> "C:\a", "C:\a\b"); none for a drive root.
[[nodiscard]] std::vector<std::string> Path_Chain(std::string_view canonicalPath);

}  // namespace corvane::remote
