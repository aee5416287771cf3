// What the scan driver, the category routines and the fixing routine use of
// the main window, without seeing a window: showing the progress panel,
// enabling the commands, the two trees and the results list as models,
// status-bar panel 3 and the local computer name. Their progress travels as
// events (progress_events.h), which the window's presenter turns into the
// panel's texts. The Win32 main window implements it; tests use a fake. The
// commands that later work fills in are hooks in MainWindowCommands.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace corvane {

class CheckTree;
class ResultsList;

// Handlers of the commands whose work lives in other subsystems. An empty
// function makes the command do nothing.
struct MainWindowCommands {
    std::function<void()> startScan;        // mnuStartScan, "StartScan"
    std::function<void()> stopScan;         // mnuStopScan, "StopScan", cmdCancelScanning; also on close
    std::function<void()> skip;             // lblSkip
    std::function<void()> fixProblems;      // mnuFixProblems, "Fix"
    std::function<void()> manageComputers;  // mnuManageUsers, "ManageComputers"
    std::function<void()> exceptionList;    // mnuExceptionList, "ExceptionList"
    std::function<void()> options;          // mnuToolsOptions, "GeneralOptions"
    std::function<void()> checkUpdates;     // mnuCheckUpdates, "Updates"
};

class IMainWindow {
public:
    virtual ~IMainWindow() = default;
    IMainWindow() = default;
    IMainWindow(const IMainWindow&) = delete;
    IMainWindow& operator=(const IMainWindow&) = delete;

    // GetComputerNameA with a 20-character buffer; "" on failure.
    [[nodiscard]] virtual std::string Get_Comp_Name() = 0;

    [[nodiscard]] virtual CheckTree& Computer_Tree() = 0;  // tvwComputers
    [[nodiscard]] virtual CheckTree& Category_Tree() = 0;  // tvwScanCategories
    [[nodiscard]] virtual ResultsList& Results() = 0;      // lvwScanResults

    // Every toolbar button, menu item of the command table and both trees take
    // the state; Stop Scan takes the opposite.
    virtual void Enable_Commands(bool enabled) = 0;
    // Status-bar panel 3 ("Total Problems Found: " and the number).
    virtual void Set_Status_Text(std::string_view text) = 0;

    // picProgressReport; its texts are the progress presenter's.
    virtual void Show_Progress_Panel(bool visible) = 0;

    // LockWindowUpdate on the results list while disk-style categories add rows.
    virtual void Suspend_Results_Drawing(bool suspend) = 0;
    // Owner window for modal dialogs of other subsystems (an HWND on Windows,
    // 0 in tests).
    [[nodiscard]] virtual std::uintptr_t Native_Handle() const = 0;
};

}  // namespace corvane
