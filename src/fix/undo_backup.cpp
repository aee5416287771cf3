#include "fix/undo_backup.h"

namespace corvane::fix {

bool UndoBackup::Save(wmi::IObject& registry, FixType type, std::uint32_t root, std::string_view keyPath,
                      std::string_view valueName, std::string& failure) {
    if (!known_) {
        failure = "no folder for undo files";
        return false;
    }
    std::vector<remote::RegKeyBlock> blocks;
    const bool read =
        type == FixType::Value
            ? remote::WMI_Read_Value_Block(registry, root, keyPath, valueName, types_, blocks, failure)
            : remote::WMI_Read_Key_Blocks(registry, root, keyPath, type == FixType::KeyTree, types_, blocks, failure);
    if (!read) return false;
    // A value that is not there: the deletion removes nothing, nothing to keep.
    if (blocks.empty()) return true;
    return file_.Append(blocks, failure);
}

}  // namespace corvane::fix
