// Opening a key in the local registry editor: the keystrokes that walk the
// editor's tree to a key and its value list to a value, the remembered
// last-key text the editor opens at, and Open_Registry_Editor, which reports
// failures. The Win32 driver sends the keystrokes to the editor's windows.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace corvane {

class Reporter;

inline constexpr std::uint32_t kVkLeft = 37;
inline constexpr std::uint32_t kVkRight = 39;
inline constexpr std::uint32_t kVkHome = 36;
inline constexpr int kCollapseKeystrokes = 30;
inline constexpr const char* kRegEditNotLaunched = "Unable to launch RegEdit.";

struct RegEditKeystroke {
    enum class Kind { KeyDown, Char, WaitIdle };
    Kind kind = Kind::KeyDown;
    std::uint32_t code = 0;  // virtual key, or the character (a Unicode code point, upper-cased)

    friend bool operator==(const RegEditKeystroke&, const RegEditKeystroke&) = default;
};

// 30 Left arrows, one Right arrow, wait; then per character of the path a
// Right arrow and a wait for "\", else the upper-cased character.
[[nodiscard]] std::vector<RegEditKeystroke> Tree_Keystrokes(std::string_view keyPath);
// Home, then the upper-cased characters of the value name.
[[nodiscard]] std::vector<RegEditKeystroke> Value_Keystrokes(std::string_view valueName);

// The text for HKCU\...\Applets\Regedit\LastKey: Windows writes the key with
// "Computer\" in front, Wine reads it without.
[[nodiscard]] std::string Regedit_Last_Key(std::string_view keyPath, bool withComputerPrefix);

// Port: the registry editor of the local computer.
class IRegistryEditor {
public:
    virtual ~IRegistryEditor() = default;
    IRegistryEditor() = default;
    IRegistryEditor(const IRegistryEditor&) = delete;
    IRegistryEditor& operator=(const IRegistryEditor&) = delete;
    // Brings up the editor at the key (and value when not empty); throws
    // RuntimeError on an unexpected failure.
    virtual void Open_RegEdit_At_Key(std::string_view keyPath, std::string_view valueName) = 0;
};

// Open_RegEdit_At_Key with its run-time errors shown and logged.
void Open_Registry_Editor(IRegistryEditor& editor, Reporter& reporter, std::string_view keyPath,
                          std::string_view valueName);

}  // namespace corvane
