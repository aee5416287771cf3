#include "scan/category_run.h"

#include "base/log.h"
#include "base/reporter.h"
#include "base/runtime_error.h"
#include "base/ui/progress_events.h"
#include "base/ui/results_list.h"
#include "scan/scan_categories.h"
#include "scan/scan_control.h"
#include "scan/scan_settings.h"
#include "scan/scan_target.h"

namespace corvane::scan {

namespace {
constexpr std::int32_t kNoRecheckRule = 5;  // "Invalid procedure call or argument"
}  // namespace

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
    ResultsList& list = args.results;
    headerKey_ = std::string(args.categoryKey) + context.ComputerName;
    ListRow& row = list.Add_List_Item(0, headerKey_, header, "", icon_, 0);
    row.bold = true;
    // The header's check mark checks or unchecks its rows: it starts as they do.
    row.checked = rowsChecked_;
    row.computerName = context.ComputerName;
    row.targetName = context.TargetName;
    const std::size_t headerIndex = list.Count() - 1;
    list.Notify_Changed(headerIndex);
    list.Ensure_Visible(headerIndex);
}

bool CategoryRun::Is_Excepted(std::string_view candidate) const { return args_.settings.Is_Excepted(candidate); }

bool CategoryRun::Stop_Requested() const noexcept { return args_.control.StopRequested; }

void CategoryRun::Require_Rule(FixType type) const {
    if (fix::Find_Rule(rules_, type) == nullptr) {
        throw RuntimeError(kNoRecheckRule, "Category " + std::string(args_.categoryKey) +
                                               " has no re-test rule for the rows it is building");
    }
}

Problem CategoryRun::Record(FixType type, ScanEvidence evidence) const {
    Require_Rule(type);
    Problem record;
    record.type = type;
    record.categoryKey = std::string(args_.categoryKey);
    record.targetName = args_.target.Context().TargetName;
    record.evidence = std::move(evidence);
    return record;
}

std::size_t CategoryRun::Add_Problem_Row(std::string key, const std::string& text, std::string_view smallIcon,
                                         Problem record, std::string data, std::string status, std::string location) {
    ResultsList& list = args_.results;
    ListRow& row = list.Add_List_Item(0, std::move(key), text, "", smallIcon, 1);
    row.checked = rowsChecked_;
    row.data = std::move(data);
    row.status = std::move(status);
    row.location = std::move(location);
    row.problem = std::move(record);
    const std::size_t index = list.Count() - 1;
    list.Notify_Changed(index);
    ++args_.control.TotalProblems;
    ++found_;
    return index;
}

void CategoryRun::Add_Registry_Problem(const RegistryProblem& problem, std::string_view icon) {
    Problem record = Record(problem.type, problem.evidence);
    record.registry = {.root = problem.root, .keyPath = problem.keyPath, .valueName = problem.valueName};
    const std::size_t index =
        Add_Problem_Row("s" + std::to_string(args_.control.TotalProblems), problem.text, icon.empty() ? icon_ : icon,
                        std::move(record), problem.data, problem.problem, problem.registryKey);
    args_.results.Ensure_Visible(index);
}

void CategoryRun::Add_File_Problem(const FileProblem& problem, bool scrollIntoView) {
    Problem record = Record(problem.type, problem.evidence);
    record.file.path = problem.path;
    record.file.startFolder = problem.startFolder;
    record.file.ownerSid = problem.ownerSid;
    record.file.keptBy = problem.keptBy;
    record.file.identity = problem.identity;
    const std::size_t index =
        Add_Problem_Row("c" + std::to_string(args_.control.TotalProblems), problem.text, problem.smallIcon,
                        std::move(record), problem.detail, problem.kind, problem.location);
    if (scrollIntoView) args_.results.Ensure_Visible(index);
}

void CategoryRun::Let_Messages_Through() {
    args_.progress.Problems_Found(args_.control.TotalProblems);
    args_.progress.Pump();
}

EntryStep CategoryRun::After_Entry(std::int64_t position, std::int64_t upperBound) {
    args_.progress.Entry_Done(position, upperBound);
    Let_Messages_Through();
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

void CategoryRun::Write_Count() { Write_Header_Status(std::to_string(found_) + kProblemsFoundSuffix, found_); }

void CategoryRun::Write_Header_Note(std::string_view note) { Write_Header_Status(std::string(note), std::nullopt); }

void CategoryRun::Write_Header_Status(std::string status, std::optional<std::int32_t> count) {
    ResultsList& list = args_.results;
    const std::size_t index = list.Find(headerKey_);
    if (index < list.Count()) {
        ListRow& row = list.Row(index);
        row.status = std::move(status);
        if (count) row.count = *count;
        list.Notify_Changed(index);
    }
}

}  // namespace corvane::scan
