// Open_RegEdit_At_Key on Windows: finds or starts regedit.exe, then walks its
// tree to the key and its value list to the value by keystrokes. Before
// starting it also writes the editor's remembered last key, in the form the
// running system reads, so that it opens at the key even where keystrokes do
// not arrive: a fresh editor already at the key is not walked again, and a
// running editor that the keystrokes did not bring there is restarted.
#pragma once

#include <windows.h>

#include <string>

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

// The key selected in the editor's tree, from the root key down
// ("HKEY_LOCAL_MACHINE\Software\..."), read through memory of the editor's
// own process; empty when it cannot be read or the top node is selected.
[[nodiscard]] std::string Editor_Selected_Key(HWND tree);

// True under Wine (ntdll exports wine_get_version).
[[nodiscard]] bool Running_On_Wine();
// The first descendant window of this class, or nullptr.
[[nodiscard]] HWND Find_Descendant(HWND parent, const wchar_t* className);

}  // namespace corvane::win32
