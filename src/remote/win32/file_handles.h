// Files and folders opened without following a reparse point, for what only
// a handle can tell safely: an entry's identity (volume serial number and
// file ID) and a deletion that cannot be led elsewhere by a swap after its
// checks. Local paths and administrative share paths alike.
#pragma once

#include <windows.h>

#include <cstdint>
#include <optional>
#include <string_view>

#include "remote/share_lister.h"

namespace corvane::remote::win32 {

// What a handle tells of the entry it was opened on.
struct HandleFacts {
    std::uint32_t attributes = 0;
    FileIdentity identity;
};

// The facts of an open handle: the identity from FileIdInfo where the file
// system gives it, else from BY_HANDLE_FILE_INFORMATION, as the checked
// deletion compares it.
[[nodiscard]] std::optional<HandleFacts> Handle_Facts(HANDLE file);

// The facts of the entry at path itself (a junction as itself); nothing when
// it cannot be opened.
[[nodiscard]] std::optional<HandleFacts> Entry_Facts(std::string_view path);

// IShareLister::Delete_Checked on the file system: the folders from
// startFolder down are opened one by one and held open without sharing
// deletion (so none can be renamed or replaced meanwhile), each checked for
// a reparse point; the entry is opened for deletion without following one,
// its identity compared (FileIdInfo, else BY_HANDLE_FILE_INFORMATION), and
// it is deleted through that handle (FileDispositionInfo).
[[nodiscard]] DeleteResult Delete_Through_Handle(std::string_view path, std::string_view startFolder,
                                                 const FileIdentity& identity);

}  // namespace corvane::remote::win32
