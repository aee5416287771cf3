#include "app/main_window_presenter.h"

#include "app/application.h"
#include "app/results_list_exceptions.h"
#include "base/ports/clipboard.h"
#include "base/ports/message_box.h"
#include "base/ports/platform.h"
#include "base/ports/settings_store.h"
#include "base/runtime_error.h"
#include "base/ui/results_list.h"
#include "base/ui/results_list_ops.h"
#include "db/app_tables.h"
#include "db/result_table.h"
#include "scan/scan_categories.h"

namespace corvane {

std::string Total_Problems_Text(long long count) { return kTotalProblemsPrefix + std::to_string(count); }

MainWindowPresenter::MainWindowPresenter(Application& app, ISettingsStore& settings, CheckTree& computers,
                                         CheckTree& categories, ResultsList& results)
    : app_(app), settings_(settings), computers_(computers), categories_(categories), results_(results) {}

MainWindowSettings MainWindowPresenter::Load() {
    Count_Program_Start(settings_, app_.Clock());
    MainWindowSettings settings = Load_Main_Window_Settings(settings_);
    Fill_Computers(computers_);
    Fill_Scan_Categories(categories_);
    Load_Default_Computer();
    return settings;
}

void MainWindowPresenter::Fill_Computers(CheckTree& tree) {
    tree.Clear();
    const NodeId root = tree.Add(kNoNode, "rR", "Computers", "Root");
    try {
        ResultTable table;
        std::int32_t rows = 0;
        if (Get_All_Computers(app_.Db(), rows, table)) {
            for (std::int32_t r = 1; r <= rows; ++r) {
                const std::string name = table.Cell(r, 0);
                if (name.empty() || tree.Find("m" + name) != kNoNode) continue;
                tree.Add(root, "m" + name, name, "Computer");
            }
        }
    } catch (const RuntimeError& error) {
        app_.Reports().Show_Error(true, error);
    } catch (const std::exception& error) {
        app_.Reports().Show_Error(true, error.what());
    }
    tree.Set_Expanded(root, true);
}

void MainWindowPresenter::Load_Default_Computer() {
    const NodeId root = computers_.Find("rR");
    if (root == kNoNode || computers_.Has_Children(root)) return;
    const std::string name = Get_Comp_Name();
    if (name.empty()) return;
    computers_.Add(root, "m" + name, name, "Computer");
    computers_.Set_Expanded(root, true);
}

std::string MainWindowPresenter::Get_Comp_Name() { return app_.Platform().Computer_Name(); }

void MainWindowPresenter::Restore_Categories() { Restore_Last_Categories(settings_, categories_); }

void MainWindowPresenter::Rows_Of_Computer(std::string_view computerName, bool checked) {
    // Header keys are the category key (two characters) and the computer name
    // as listed; the whole rest must match, so that PC1 does not also take PC17.
    for (std::size_t i = 0; i < results_.Count(); ++i) {
        const ListRow& row = results_.Row(i);
        if (Kind_Of_Key(row.key) != RowKind::Header || row.key.size() < 2) continue;
        if (std::string_view(row.key).substr(2) == computerName) Set_Row_Checked(results_, i, checked);
    }
}

void MainWindowPresenter::Computer_Node_Checked(NodeId node, bool checked) {
    for (const NodeId changed : computers_.Set_Checked(node, checked)) {
        const TreeNode& computer = computers_.Node(changed);
        if (computer.key == "rR") continue;
        Rows_Of_Computer(computer.text, checked);
    }
}

void MainWindowPresenter::Category_Node_Checked(NodeId node, bool checked) {
    for (const NodeId changed : categories_.Set_Checked(node, checked)) {
        const std::string& categoryKey = categories_.Node(changed).key;
        for (const NodeId computer : computers_.Tree_Order()) {
            if (computers_.Node(computer).key == "rR") continue;
            const std::size_t row = results_.Find(categoryKey + computers_.Node(computer).text);
            if (row < results_.Count()) Set_Row_Checked(results_, row, checked);
        }
    }
}

void MainWindowPresenter::Row_Checked(std::size_t index, bool checked) { Set_Row_Checked(results_, index, checked); }

bool MainWindowPresenter::Query_Unload() {
    if (Count_Unfixed_Problems(results_) == 0) return true;
    return app_.Reports().Messages().Show(kUnfixedCloseQuestion, MsgButtons::YesNo, MsgIcon::Question) ==
           MsgResult::Yes;
}

void MainWindowPresenter::Save_On_Unload(const MainWindowSettings& layout) {
    Save_Last_Categories(settings_, categories_);
    Save_Main_Window_Layout(settings_, layout);
}

bool MainWindowPresenter::Clear_List() {
    if (results_.Count() > 0 &&
        app_.Reports().Messages().Show(kClearListQuestion, MsgButtons::YesNo, MsgIcon::Question) != MsgResult::Yes) {
        return false;
    }
    results_.Clear();
    for (const NodeId node : computers_.Tree_Order()) {
        if (computers_.Node(node).key != "rR") computers_.Set_Image(node, "Computer");
    }
    return true;
}

bool MainWindowPresenter::Copy_To_Clipboard(IClipboard& clipboard) {
    return clipboard.Set_Text(Results_Clipboard_Text(results_));
}

std::size_t MainWindowPresenter::Add_To_Exception_List() {
    return Add_Selected_To_Exception_List(results_, app_.Db(), app_.Reports());
}

}  // namespace corvane
