// The main window's commands: menu name, caption, toolbar key, and the rule
// that enables them (every command takes the state, Stop Scan the opposite).
#pragma once

#include <span>
#include <string_view>

namespace corvane {

enum class Command {
    ManageComputers,
    StartScan,
    StopScan,
    FixProblems,
    ClearList,
    ExceptionList,
    Exit,
    FontSmall,
    FontMedium,
    FontLarge,
    Refresh,
    Options,
    ViewLog,
    FAQs,
    Troubleshoot,
    Home,
    Support,
    CheckUpdates,
    About,
};

enum class MenuGroup { File, View, Tools, Help };

struct CommandInfo {
    Command command;
    std::string_view menuName;    // mnuStartScan
    std::string_view caption;     // "Start Scan"
    std::string_view toolbarKey;  // "StartScan"; empty when there is no button
    std::string_view toolTip;     // shown on the button
    MenuGroup group;
    bool separatorBefore;  // a separator precedes the item in its menu
};

// Every command in menu order.
[[nodiscard]] std::span<const CommandInfo> Main_Window_Commands();
[[nodiscard]] const CommandInfo& Command_Info(Command command);

// The state a command takes when the window's commands are set to `enabled`.
[[nodiscard]] constexpr bool Command_Enabled_For(Command command, bool enabled) noexcept {
    return command == Command::StopScan ? !enabled : enabled;
}

// mnuFontSize indices 8, 9, 10.
[[nodiscard]] int Font_Size_Of(Command command) noexcept;

// The web addresses are per-user settings: periphery/web_addresses.h.
inline constexpr const char* kSupportMail = "mailto:support@corvane.example";

}  // namespace corvane
