#include "scan/scan_driver.h"

#include <exception>
#include <vector>

#include "base/log.h"
#include "base/reporter.h"
#include "base/runtime_error.h"
#include "base/ui/check_tree.h"
#include "base/ui/main_window_port.h"
#include "base/ui/progress_events.h"
#include "base/ui/results_list.h"
#include "base/ui/results_list_ops.h"
#include "db/app_tables.h"
#include "scan/family_routines.h"
#include "scan/parallel_scan.h"
#include "scan/scan_arguments.h"
#include "scan/scan_categories.h"
#include "scan/scan_settings.h"
#include "scan/scan_target.h"
#include "settings/general_options.h"

namespace corvane::scan {

namespace {

constexpr const char* kRootKey = "rR";
constexpr const char* kComputerImage = "Computer";

}  // namespace

bool Is_Computer_Node(const TreeNode& node) { return node.key != kRootKey; }

ComputerScanned Scanned_Facts(std::string_view computerName, const remote::TargetContext& context) {
    return {std::string(computerName), context.UserName, context.Password, context.TargetName, context.IsRemote};
}

void ScanDriver::Log(std::string_view text, int type) const { ports_.reporter.Log_Event(text, type, true); }

bool ScanDriver::Follow_Up(const ComputerScanned& computer) {
    return ports_.followUp == nullptr || ports_.followUp->After_Computer(computer);
}

void ScanDriver::Start() {
    if (running_) return;
    running_ = true;
    scanRan_ = false;
    try {
        Run_Scan();
    } catch (const RuntimeError& error) {
        ports_.target.Close();
        Finish_Scan();
        ports_.reporter.Show_Error(true, error);
    } catch (const std::exception& error) {
        ports_.target.Close();
        Finish_Scan();
        ports_.reporter.Show_Error(true, RuntimeError(0, error.what()));
    }
    running_ = false;
}

void ScanDriver::Run_Scan() {
    IMainWindow& window = ports_.window;
    IMessageBox& messages = ports_.reporter.Messages();

    control_.Reset();
    unscanned_ = 0;
    ports_.target.Context().SafeScan = true;

    const int checkedComputers = window.Computer_Tree().Count_Checked_Nodes();
    const int checkedCategories = window.Category_Tree().Count_Checked_Nodes();
    if (checkedComputers == 0) {
        messages.Show(kSelectComputerMessage, MsgButtons::Ok, MsgIcon::Exclamation);
        return;
    }
    if (checkedCategories == 0) {
        messages.Show(kSelectCategoryMessage, MsgButtons::Ok, MsgIcon::Exclamation);
        return;
    }
    ResultsList& list = window.Results();
    if (Count_Unfixed_Problems(list) > 0 &&
        messages.Show(kUnfixedItemsQuestion, MsgButtons::YesNo, MsgIcon::Exclamation) == MsgResult::No) {
        return;
    }
    scanRan_ = true;

    window.Set_Status_Text(std::string(kTotalProblemsText) + "0");
    CheckTree& computers = window.Computer_Tree();
    for (const NodeId node : computers.Tree_Order()) {
        if (!Is_Computer_Node(computers.Node(node))) continue;
        computers.Set_Image(node, kComputerImage);
        computers.Set_Tag(node, "");
    }
    ports_.progress.Scan_Started(checkedCategories);
    window.Show_Progress_Panel(true);
    window.Enable_Commands(false);
    list.Clear();

    Scan_Computers();
    Finish_Scan();

    Log(std::string(kTotalProblemsText) + std::to_string(control_.TotalProblems), LOG_INFO);
    if (control_.StopRequested) Log(kAbortedByUserText, LOG_WARNING);

    if (ports_.followUp != nullptr) ports_.followUp->After_Scan();
}

void ScanDriver::Finish_Scan() {
    IMainWindow& window = ports_.window;
    window.Set_Status_Text(std::string(kTotalProblemsText) + std::to_string(control_.TotalProblems));
    window.Enable_Commands(true);
    window.Show_Progress_Panel(false);
    ports_.progress.Scan_Ended(control_.TotalProblems);
}

int ScanDriver::Computers_At_Once() const {
    return ports_.computersAtOnce > 0 ? ports_.computersAtOnce : Get_Computers_At_Once(ports_.db);
}

void ScanDriver::Scan_Computers() {
    const int atOnce = Computers_At_Once();
    if (atOnce > 1) {
        ParallelScan(*this, atOnce).Run();
        return;
    }
    CheckTree& computers = ports_.window.Computer_Tree();
    for (const NodeId node : computers.Tree_Order()) {
        const TreeNode& current = computers.Node(node);
        if (!current.checked || !Is_Computer_Node(current)) continue;
        if (!Scan_Computer(node)) break;
        if (control_.StopRequested) break;
    }
}

bool ScanDriver::Scan_Computer(std::size_t node) {
    IMainWindow& window = ports_.window;
    IProgressEvents& progress = ports_.progress;
    CheckTree& computers = window.Computer_Tree();
    ScanTarget& target = ports_.target;
    const std::string computerName = computers.Node(node).text;
    try {
        // Nothing of the previous computer may reach this one's rows.
        target.Begin(computerName);
        computers.Select(node);
        progress.Computer_Started(computerName);
        progress.Pump();
        remote::OpenRequest request{.computerName = computerName};
        Get_Computer_Credentials(ports_.db, computerName, request.credentials.userName, request.credentials.password);
        request.safeScanOption = IsGeneralOptionSet(ports_.db, GO_SAFE_SCAN);

        std::string errorText;
        const remote::OpenOutcome outcome = target.Open(std::move(request), errorText);
        const remote::TargetContext& context = target.Context();
        if (outcome != remote::OpenOutcome::Opened) {
            computers.Set_Image(node, kComputerLockedImage);
            Add_Error_Row(computerName, context.TargetName,
                          outcome == remote::OpenOutcome::DefaultRefused ? kAccessDeniedText : errorText);
            progress.Computer_Ended();
            return true;
        }
        Log("Connected To: " + computerName + "**************", LOG_INFO);

        // The same computer listed a second time, under another name or address.
        if (!context.TargetName.empty()) {
            for (const NodeId other : computers.Tree_Order()) {
                const TreeNode& otherNode = computers.Node(other);
                if (other == node || !Is_Computer_Node(otherNode) || otherNode.tag != context.TargetName) continue;
                computers.Set_Tag(node, context.TargetName);
                computers.Set_Image(node, kComputerLockedImage);
                Add_Error_Row(computerName, computerName, kAlreadyScannedText + otherNode.text);
                Log("Already Scanned As: " + otherNode.text, LOG_WARNING);
                progress.Computer_Ended();
                target.Close();
                Log("Disconnected: " + computerName, LOG_INFO);
                return true;
            }
        }

        Log(context.SafeScan ? "Scan Mode: Safe" : "Scan Mode: Fast", LOG_INFO);
        computers.Set_Tag(node, context.TargetName);
        Log("Scan Started: " + computerName, LOG_INFO);

        Scan_Categories();

        Log("Scan Completed: " + computerName, LOG_INFO);
        progress.Computer_Ended();
        target.Close();
        Log("Disconnected: " + computerName, LOG_INFO);
        if (!Follow_Up(Scanned_Facts(computerName, context))) return false;
    } catch (const RuntimeError& error) {
        Drop_Computer(node, computerName, error.Text());
    } catch (const std::exception& error) {
        Drop_Computer(node, computerName, RuntimeError(0, error.what()).Text());
    }
    return true;
}

void ScanDriver::Drop_Computer(std::size_t node, std::string_view computerName, std::string_view errorText) {
    IMainWindow& window = ports_.window;
    window.Computer_Tree().Set_Image(node, kComputerLockedImage);
    Add_Error_Row(computerName, ports_.target.Context().TargetName, errorText);
    ports_.progress.Computer_Ended();
    ports_.target.Close();
}

void ScanDriver::Scan_Categories() {
    IMainWindow& window = ports_.window;
    CheckTree& categories = window.Category_Tree();
    for (const NodeId node : categories.Tree_Order()) {
        const TreeNode& category = categories.Node(node);
        if (!categories.Has_Children(node) && category.checked) {
            categories.Select(node);
            // The node may change while the pump runs; the routine works on copies.
            const std::string key = category.key;
            const std::string text = category.text;
            ports_.progress.Category_Started(text);
            DatabaseScanSettings settings(ports_.db);
            ScanArguments args{control_, window.Results(), ports_.progress, settings, ports_.target, key};
            (void)Run_Family_Routine(args, text);
            ports_.progress.Category_Ended();
        }
        if (control_.StopRequested) break;
    }
}

void ScanDriver::Add_Error_Row(std::string_view computerName, std::string_view targetName, std::string_view errorText) {
    ++unscanned_;
    ResultsList& list = ports_.window.Results();
    const std::string key = "e" + std::string(computerName);
    if (list.Find(key) < list.Count()) return;
    ListRow& row = list.Add_List_Item(0, key, "[Error]", "", "Error", 0);
    row.bold = true;
    row.computerName = std::string(computerName);
    row.targetName = std::string(targetName);
    row.status = std::string(errorText);
    const std::size_t index = list.Count() - 1;
    list.Notify_Changed(index);
    list.Ensure_Visible(index);
}

}  // namespace corvane::scan
