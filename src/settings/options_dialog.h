// frmOptions' logic, free of any window: the page tree, the controls' state
// (option bits, extension list, which controls are enabled), loading and
// saving the settings row with the bits the dialog does not show kept, the
// change behaviour (Manual clears and disables Shutdown), the closing
// question and the computer chosen for the backup commands. The backup
// commands themselves come through IBackupCommands, which may be absent.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/secret.h"

namespace corvane {

class Database;
class Reporter;

// The dialog's progress panel (picProgress, lblProgress, pbrProgress), for
// the backup commands.
class IOptionsProgress {
public:
    virtual ~IOptionsProgress() = default;
    IOptionsProgress() = default;
    IOptionsProgress(const IOptionsProgress&) = delete;
    IOptionsProgress& operator=(const IOptionsProgress&) = delete;

    // Shows or hides the panel, then lets the window process pending messages.
    virtual void Visible_Progress_Bar(bool visible) = 0;
    // Caption "Please wait while backing up registry...", bar maximum 20, value 1.
    virtual void Set_Progress_For_BackupRegistry() = 0;
    // Adds 1 to the bar's maximum, then 1 to its value.
    virtual void Do_Progess() = 0;
};

// The Backup page's four commands, acting on the chosen computer.
class IBackupCommands {
public:
    virtual ~IBackupCommands() = default;
    IBackupCommands() = default;
    IBackupCommands(const IBackupCommands&) = delete;
    IBackupCommands& operator=(const IBackupCommands&) = delete;

    struct Target {
        std::string_view computer;
        std::string_view userName;
        const Secret& password;
        IOptionsProgress& progress;
    };
    virtual void Create_Restore_Point(const Target& target) = 0;
    virtual void Backup_Registry(const Target& target) = 0;
    virtual void Restore_System(const Target& target) = 0;
    virtual void Restore_Registry(const Target& target) = 0;
};

struct OptionsPageNode {
    std::string_view key;
    std::string_view text;
    std::string_view image;
    std::string_view parent;  // empty for the root
};

// Build_Options_Tree's nodes in order; the root is expanded and "o0" selected.
[[nodiscard]] const std::vector<OptionsPageNode>& Options_Tree_Nodes();
// The page a node shows: the number after the key's first character.
[[nodiscard]] int Page_Of_Node(std::string_view key);

// What the controls show. Option buttons of a pair start with neither chosen.
struct OptionsState {
    std::optional<bool> automatic;  // optAutomatic; optManual is its opposite
    std::optional<bool> safeScan;   // optSafeScan; optUnSafeScan is its opposite
    bool abortFixing = false;
    bool restorePoint = false;
    bool shutdown = false;
    bool shutdownEnabled = true;
    bool regBackup = false;
    std::string extensions = ".tmp;";
    int computersAtOnce = 8;  // 1 to 32
    bool saveEnabled = false;
};

class OptionsDialog {
public:
    OptionsDialog(Database& db, const Reporter& reporter, IBackupCommands* backup)
        : db_(db), reporter_(reporter), backup_(backup) {}

    [[nodiscard]] const OptionsState& State() const noexcept { return state_; }
    [[nodiscard]] bool Backup_Commands_Available() const noexcept { return backup_ != nullptr; }

    // Form_Load: Load_Options, the computers of the main tree, Save disabled.
    void Load(const std::vector<std::string>& computerNames);
    void Load_Options();

    // Change behaviour of the controls; each enables Save.
    void Choose_Automatic(bool automatic);
    void Choose_Safe_Scan(bool safe);
    void Set_Abort_Fixing(bool on);
    void Set_Restore_Point(bool on);
    void Set_Shutdown(bool on);
    void Set_Reg_Backup(bool on);
    void Set_Extensions(std::string_view text);
    // Brought within 1 to 32.
    void Set_Computers_At_Once(int count);

    // The combo box: names in the main tree's order, and the chosen one.
    [[nodiscard]] const std::vector<std::string>& Computers() const noexcept { return computers_; }
    void Choose_Computer(std::string_view name);
    [[nodiscard]] const std::string& Chosen_Computer() const noexcept { return chosen_; }
    void Run_Backup_Command(void (IBackupCommands::*command)(const IBackupCommands::Target&),
                            IOptionsProgress& progress);

    // Save_Options; true when the row was written.
    bool Save_Options();
    // Close button, Escape or close box: true when the dialog may close.
    [[nodiscard]] bool Query_Close();

private:
    Database& db_;
    const Reporter& reporter_;
    IBackupCommands* backup_;
    OptionsState state_;
    std::vector<std::string> computers_;
    std::string chosen_;
    std::string chosenUser_;
    Secret chosenPassword_;
};

}  // namespace corvane
