// The undo backup of registry fixes on one computer in one fixing run: before
// a registry row's deletion it reads through WMI exactly what the deletion
// will remove and appends it to the computer's undo file. The fixing routine
// deletes nothing from the registry whose backup failed: a value not read
// whole, a name the file cannot hold, a type the provider cannot write back,
// a file that could not be written.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "fix/fix_texts.h"
#include "remote/undo_files.h"
#include "remote/wmi.h"
#include "remote/wmi_registry_copy.h"

namespace corvane::fix {

class UndoBackup {
public:
    // folder: Undo_Folder of the computer; empty when no folder is known, and
    // then every Save fails. types: what the computer's registry provider can
    // write back; a value of another type fails the Save.
    UndoBackup(std::string folder, IClock& clock, remote::ValueTypes types)
        : known_(!folder.empty()), types_(types), file_(std::move(folder), clock) {}

    // The key (type 2), key tree (0) or value (1) the row will delete. False
    // with the reason when it could not be read completely or kept.
    [[nodiscard]] bool Save(wmi::IObject& registry, FixType type, std::uint32_t root, std::string_view keyPath,
                            std::string_view valueName, std::string& failure);
    // The undo file; empty until something was saved.
    [[nodiscard]] const std::string& Path() const noexcept { return file_.Path(); }

private:
    bool known_;
    remote::ValueTypes types_;
    remote::UndoFile file_;
};

}  // namespace corvane::fix
