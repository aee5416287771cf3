// The main window's logic without a window: loading (start counter, computer
// tree, category tree, default computer), check marks of the trees passed on
// to the results rows, the close question and what is saved at unload, Clear
// List, Copy To Clipboard and Add To Exception List. The Win32 window calls it
// and shows the models it changes.
#pragma once

#include <cstddef>
#include <string>

#include "app/main_window_settings.h"
#include "base/ui/check_tree.h"

namespace corvane {

class Application;
class IClipboard;
class ISettingsStore;
class ResultsList;

inline constexpr const char* kUnfixedCloseQuestion =
    "There are un-fixed items in the list.\r\n\r\n"
    "Are you sure you want to close the program without fixing the issues?";
inline constexpr const char* kTotalProblemsPrefix = "Total Problems Found: ";

class MainWindowPresenter {
public:
    MainWindowPresenter(Application& app, ISettingsStore& settings, CheckTree& computers, CheckTree& categories,
                        ResultsList& results);
    MainWindowPresenter(const MainWindowPresenter&) = delete;
    MainWindowPresenter& operator=(const MainWindowPresenter&) = delete;

    // Start counter, settings, computer tree, category tree and the default
    // computer, in the order of loading. Returns the settings read.
    MainWindowSettings Load();

    // Clears the tree, adds the root "rR" and one node per managed computer,
    // expands the root. A failure to read is shown and leaves only the root.
    void Fill_Computers(CheckTree& tree);
    // Adds the local computer when the computer tree holds only its root.
    void Load_Default_Computer();
    [[nodiscard]] std::string Get_Comp_Name();

    // The one-shot timer: check marks from "Categories"/"LastCategories".
    void Restore_Categories();

    // The node-check events of the two trees: the node and every node below
    // it take the state, and so do the matching results rows.
    void Computer_Node_Checked(NodeId node, bool checked);
    void Category_Node_Checked(NodeId node, bool checked);
    // The user changed a row's check mark.
    void Row_Checked(std::size_t index, bool checked);

    // False when un-fixed problems are listed and the user answers No.
    [[nodiscard]] bool Query_Unload();
    // Saves the checked categories and the layout.
    void Save_On_Unload(const MainWindowSettings& layout);

    // False when the user answered No; otherwise the list is empty and every
    // computer node shows "Computer" again. The caller sets the status text.
    bool Clear_List();
    bool Copy_To_Clipboard(IClipboard& clipboard);
    std::size_t Add_To_Exception_List();

    [[nodiscard]] ISettingsStore& Settings() noexcept { return settings_; }

private:
    void Rows_Of_Computer(std::string_view computerName, bool checked);

    Application& app_;
    ISettingsStore& settings_;
    CheckTree& computers_;
    CheckTree& categories_;
    ResultsList& results_;
};

[[nodiscard]] std::string Total_Problems_Text(long long count);

}  // namespace corvane
