#include "scan/category_run.h"

#include "base/log.h"
#include "base/reporter.h"
#include "base/runtime_error.h"
#include "base/ui/main_window_port.h"
#include "base/ui/results_list.h"
#include "db/app_tables.h"
#include "scan/scan_categories.h"
#include "scan/scan_control.h"
#include "scan/scan_target.h"

namespace corvane::scan {

namespace {
constexpr std::int32_t kNoRecheckRule = 5;  // "Invalid procedure call or argument"
}  // namespace

std::string Root_Tag(std::uint32_t root) { return std::to_string(static_cast<std::int32_t>(root)); }

CategoryRun::CategoryRun(ScanArguments& args) : args_(args) {
    const ScanCategory* category = Find_Scan_Category(args.categoryKey);
    const std::string header =
        category != nullptr ? std::string(category->sectionHeader) : "[" + std::string(args.categoryKey) + "]";
    icon_ = category != nullptr ? std::string(category->imageKey) : std::string("File");
    rowsChecked_ = category == nullptr || category->rowsStartChecked;
    if (category != nullptr) rules_ = category->rules;

    auto& context = args.target.Context();
    // Undecided tests of an earlier category were already told.
    (void)context.Take_Undecided();
    header_ = header;
    ResultsList& list = args.window.Results();
    headerKey_ = std::string(args.categoryKey) + context.ComputerName;
    ListRow& row = list.Add_List_Item(0, headerKey_, header, "", icon_, 0);
    row.bold = true;
    // The header's check mark checks or unchecks its rows: it starts as they do.
    row.checked = rowsChecked_;
    row.Sub(1).key = context.TargetName;
    row.Sub(1).text = context.ComputerName;
    row.Sub(1).bold = true;
    row.Sub(2).key = kFixStatusKey;
    row.Sub(2).text.clear();
    row.Sub(2).bold = true;
    const std::size_t headerIndex = list.Count() - 1;
    list.Notify_Changed(headerIndex);
    list.Ensure_Visible(headerIndex);
}

bool CategoryRun::Is_Excepted(std::string_view candidate) const { return Is_In_Exception_List(args_.db, candidate); }

bool CategoryRun::Stop_Requested() const noexcept { return args_.control.StopRequested; }

void CategoryRun::Require_Rule(FixType type) const {
    if (fix::Find_Rule(rules_, type) == nullptr) {
        throw RuntimeError(kNoRecheckRule, "Category " + std::string(args_.categoryKey) +
                                               " has no re-test rule for the rows it is building");
    }
}

void CategoryRun::Add_Registry_Problem(const RegistryProblem& problem, std::string_view icon) {
    Require_Rule(problem.type);
    ResultsList& list = args_.window.Results();
    const auto& context = args_.target.Context();
    ListRow& row = list.Add_List_Item(0, "s" + std::to_string(args_.control.TotalProblems), problem.text, "",
                                      icon.empty() ? icon_ : std::string(icon), 1);
    row.checked = rowsChecked_;
    row.tag =
        std::string(1, fix::Fix_Type_Character(problem.type)) + std::string(args_.categoryKey) + context.TargetName;
    row.Sub(1).text = problem.data;
    row.Sub(1).tag = Root_Tag(problem.root);
    row.Sub(2).text = problem.problem;
    row.Sub(2).tag = problem.keyPath;
    row.Sub(3).text = problem.registryKey;
    row.Sub(3).tag = problem.valueName;
    const std::size_t index = list.Count() - 1;
    list.Notify_Changed(index);
    list.Ensure_Visible(index);
    ++args_.control.TotalProblems;
    ++found_;
}

void CategoryRun::Add_File_Problem(const FileProblem& problem, bool scrollIntoView) {
    Require_Rule(problem.type);
    ResultsList& list = args_.window.Results();
    ListRow& row = list.Add_List_Item(0, "c" + std::to_string(args_.control.TotalProblems), problem.text, "",
                                      problem.smallIcon, 1);
    row.checked = rowsChecked_;
    row.tag = std::string(1, fix::Fix_Type_Character(problem.type)) + std::string(args_.categoryKey) +
              args_.target.Context().TargetName;
    row.Sub(1).text = problem.detail;
    row.Sub(1).tag = problem.path;
    row.Sub(2).text = problem.kind;
    row.Sub(3).text = problem.location;
    const std::size_t index = list.Count() - 1;
    list.Notify_Changed(index);
    if (scrollIntoView) list.Ensure_Visible(index);
    ++args_.control.TotalProblems;
    ++found_;
}

EntryStep CategoryRun::After_Entry(std::int64_t position, std::int64_t upperBound) {
    IMainWindow& window = args_.window;
    window.Set_Label(ProgressLabel::ScannedItemCount, std::to_string(position) + "/" + std::to_string(upperBound));
    window.Set_Label(ProgressLabel::ProblemsCount, std::to_string(args_.control.TotalProblems));
    window.FormDoMyDoEvents();
    if (args_.control.StopRequested) return EntryStep::Stop;
    if (args_.control.SkipRequested) {
        args_.control.SkipRequested = false;
        return EntryStep::Skip;
    }
    return EntryStep::Continue;
}

void CategoryRun::Finish() {
    Write_Count();
    args_.control.SkipRequested = false;
    auto& context = args_.target.Context();
    const auto undecided = context.Take_Undecided();
    if (undecided.count > 0) {
        context.Ports().reporter.Log_Event(
            std::to_string(undecided.count) + " entries of " + header_ + " on " + context.ComputerName +
                " could not be checked and are not listed; last error: " + undecided.lastError,
            LOG_WARNING);
    }
}

void CategoryRun::Write_Count() {
    ResultsList& list = args_.window.Results();
    const std::size_t index = list.Find(headerKey_);
    if (index < list.Count()) {
        ListRow& row = list.Row(index);
        row.Sub(2).text = std::to_string(found_) + kProblemsFoundSuffix;
        row.Sub(2).tag = std::to_string(found_);
        list.Notify_Changed(index);
    }
}

void CategoryRun::Write_Header_Note(std::string_view note) {
    ResultsList& list = args_.window.Results();
    const std::size_t index = list.Find(headerKey_);
    if (index < list.Count()) {
        list.Row(index).Sub(2).text = std::string(note);
        list.Notify_Changed(index);
    }
}

}  // namespace corvane::scan
