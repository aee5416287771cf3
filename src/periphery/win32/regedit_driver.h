// Open_RegEdit_At_Key on Windows: finds or starts regedit.exe, then walks its
// tree to the key and its value list to the value by keystrokes. Before
// starting it also writes the editor's remembered last key, in the form the
// running system reads, so that it opens at the key even where keystrokes do
// not arrive.
#pragma once

#include <windows.h>

#include "periphery/registry_editor.h"

namespace corvane {
class IMessageBox;
}

namespace corvane::win32 {

inline constexpr wchar_t kRegEditClass[] = L"RegEdit_RegEdit";
inline constexpr wchar_t kRegEditLastKeyPath[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Applets\\Regedit";

class Win32RegistryEditor final : public IRegistryEditor {
public:
    explicit Win32RegistryEditor(IMessageBox& messages) : messages_(messages) {}
    void Open_RegEdit_At_Key(std::string_view keyPath, std::string_view valueName) override;

private:
    IMessageBox& messages_;
};

// True under Wine (ntdll exports wine_get_version).
[[nodiscard]] bool Running_On_Wine();
// The first descendant window of this class, or nullptr.
[[nodiscard]] HWND Find_Descendant(HWND parent, const wchar_t* className);

}  // namespace corvane::win32
