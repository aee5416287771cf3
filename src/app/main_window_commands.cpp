#include "app/main_window_commands.h"

#include <array>
#include <stdexcept>

namespace corvane {

namespace {

constexpr std::array<CommandInfo, 19> kCommands{{
    {Command::ManageComputers, "mnuManageUsers", "Manage Computers", "ManageComputers", "Manage Computers",
     MenuGroup::File, false},
    {Command::StartScan, "mnuStartScan", "Start Scan", "StartScan", "Start Scan", MenuGroup::File, true},
    {Command::StopScan, "mnuStopScan", "Stop Scan", "StopScan", "Stop Scan", MenuGroup::File, false},
    {Command::FixProblems, "mnuFixProblems", "Fix Problems", "Fix", "Fix Problems", MenuGroup::File, false},
    {Command::ClearList, "mnuClearList", "Clear List", "ClearList", "Clear List", MenuGroup::File, true},
    {Command::ExceptionList, "mnuExceptionList", "Exception List", "ExceptionList", "Exception List", MenuGroup::File,
     true},
    {Command::Exit, "mnuExit", "Exit", "Exit", "Exit", MenuGroup::File, true},
    {Command::FontSmall, "mnuFontSize(8)", "Small", "", "", MenuGroup::View, false},
    {Command::FontMedium, "mnuFontSize(9)", "Medium", "", "", MenuGroup::View, false},
    {Command::FontLarge, "mnuFontSize(10)", "Large", "", "", MenuGroup::View, false},
    {Command::Refresh, "mnuRefresh", "Refresh", "Refresh", "Refresh", MenuGroup::View, true},
    {Command::Options, "mnuToolsOptions", "Options", "GeneralOptions", "Options", MenuGroup::Tools, false},
    {Command::ViewLog, "mnuViewLog", "View Log", "", "", MenuGroup::Tools, false},
    {Command::FAQs, "mnuFAQs", "FAQs", "FAQs", "FAQs", MenuGroup::Help, false},
    {Command::Troubleshoot, "mnuTroubleshoot", "Troubleshoot", "", "", MenuGroup::Help, false},
    {Command::Home, "mnuHome", "Home", "", "", MenuGroup::Help, true},
    {Command::Support, "mnuSupport", "Support", "", "", MenuGroup::Help, false},
    {Command::CheckUpdates, "mnuCheckUpdates", "Check Updates", "Updates", "Check Updates", MenuGroup::Help, true},
    {Command::About, "mnuAbout", "About", "About", "About", MenuGroup::Help, true},
}};

}  // namespace

std::span<const CommandInfo> Main_Window_Commands() { return kCommands; }

const CommandInfo& Command_Info(Command command) {
    for (const CommandInfo& info : kCommands) {
        if (info.command == command) return info;
    }
    throw std::out_of_range("unknown command");
}

int Font_Size_Of(Command command) noexcept {
    switch (command) {
        case Command::FontSmall: return 8;
        case Command::FontMedium: return 9;
        case Command::FontLarge: return 10;
        default: return 0;
    }
}

}  // namespace corvane
