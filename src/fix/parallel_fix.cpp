#include "fix/parallel_fix.h"

#include <atomic>
#include <chrono>
#include <map>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "base/ports/worker_threads.h"
#include "base/reporter.h"
#include "base/ui/check_tree.h"
#include "base/ui/model_window.h"
#include "base/ui/results_list.h"
#include "base/ui/ui_queue.h"
#include "base/ui/worker_progress.h"
#include "fix/fix_environment.h"
#include "fix/fix_problems.h"
#include "fix/fix_settings.h"
#include "remote/target_context.h"

namespace corvane::fix {

namespace {

constexpr std::chrono::milliseconds kPumpInterval{50};

// The rows of one computer, and its worker. This thread fills it before the
// worker starts and reads it after the worker said it is done.
struct FixJob {
    enum class State { Waiting, Running, Done };

    std::string computerName;  // of its first header
    ModelWindow window;        // the copy of its computer's rows and their categories' names
    FixSettings settings;
    KeptLogLines log;
    FixTotals totals;
    bool stop = false;  // the worker's own Stop flag
    State state = State::Waiting;
    std::thread thread;
};

// The identity rows are grouped by: the name the computer answered with;
// computers that answered with none are told apart by their listed names.
std::string Identity_Of(const ListRow& header) {
    return header.targetName.empty() ? "\x01" + header.computerName : header.targetName;
}

class ParallelFix {
public:
    ParallelFix(FixEnvironment& env, int checkedCategories)
        : env_(env), checkedCategories_(checkedCategories), questions_(queue_, env.remote.reporter.Messages()) {}
    ~ParallelFix();
    ParallelFix(const ParallelFix&) = delete;
    ParallelFix& operator=(const ParallelFix&) = delete;

    void Run();

private:
    void Prepare_Jobs();
    void Worker(FixJob& job);
    void Write_Back(FixJob& job);
    void Update_Shown();

    FixEnvironment& env_;
    int checkedCategories_;
    UiQueue queue_;
    QueuedMessageBox questions_;
    std::atomic<bool> stop_{false};
    std::vector<std::unique_ptr<FixJob>> jobs_;
    const FixJob* shown_ = nullptr;
    int running_ = 0;
};

ParallelFix::~ParallelFix() {
    // Only after an error on this thread: every worker ends at its next row.
    stop_ = true;
    for (auto& job : jobs_) {
        if (!job->thread.joinable()) continue;
        while (job->state != FixJob::State::Done) (void)queue_.Run_Pending(kPumpInterval);
        job->thread.join();
    }
    while (queue_.Run_Pending(std::chrono::milliseconds(0))) {
    }
}

void ParallelFix::Prepare_Jobs() {
    const ResultsList& list = env_.window.Results();
    const CheckTree& categories = env_.window.Category_Tree();
    std::map<std::string, FixJob*> byIdentity;
    std::map<FixJob*, std::vector<std::string>> names;
    FixJob* current = nullptr;
    for (std::size_t i = 0; i < list.Count(); ++i) {
        const ListRow& row = list.Row(i);
        const RowKind kind = Kind_Of_Key(row.key);
        if (kind == RowKind::Error) continue;
        if (kind == RowKind::Header) {
            FixJob*& job = byIdentity[Identity_Of(row)];
            if (job == nullptr) {
                jobs_.push_back(std::make_unique<FixJob>());
                job = jobs_.back().get();
                job->computerName = row.computerName;
            }
            current = job;
            names[job].push_back(row.computerName);
            CheckTree& own = job->window.Category_Tree();
            const std::string categoryKey = row.key.substr(0, 2);
            const NodeId node = categories.Find(categoryKey);
            if (node != kNoNode && own.Find(categoryKey) == kNoNode) {
                (void)own.Add(kNoNode, categoryKey, categories.Node(node).text, "");
            }
        }
        if (current == nullptr) continue;
        ResultsList& rows = current->window.Results();
        ListRow& copy = rows.Add_List_Item(0, row.key, row.text, row.icon, row.smallIcon, row.indent);
        copy = row;
    }
    for (auto& job : jobs_) job->settings = FixSettings::Read(env_.db, names[job.get()]);
}

void ParallelFix::Run() {
    Prepare_Jobs();
    env_.progress.Fix_Started(checkedCategories_);
    env_.window.Suspend_Results_Drawing(true);
    std::size_t next = 0;
    std::size_t written = 0;
    FixTotals totals;
    const int atOnce = env_.computersAtOnce;
    while (written < jobs_.size()) {
        while (running_ < atOnce && next < jobs_.size() && !stop_) {
            FixJob& job = *jobs_[next++];
            job.state = FixJob::State::Running;
            ++running_;
            job.thread = std::thread([this, &job] { Worker(job); });
            Update_Shown();
        }
        while (written < jobs_.size()) {
            FixJob& job = *jobs_[written];
            if (job.state == FixJob::State::Running) break;
            if (job.thread.joinable()) job.thread.join();
            if (job.state == FixJob::State::Done) {
                Write_Back(job);
                totals.fixed += job.totals.fixed;
                totals.found += job.totals.found;
            }
            ++written;
        }
        if (written == jobs_.size()) break;
        (void)queue_.Run_Pending(kPumpInterval);
        env_.progress.Pump();
        if (env_.stopRequested) stop_ = true;
        if (stop_ && next < jobs_.size()) next = jobs_.size();  // the rest stay as they are
    }
    env_.window.Suspend_Results_Drawing(false);
    End_Fix(env_, totals);
}

void ParallelFix::Update_Shown() {
    const FixJob* first = nullptr;
    for (const auto& job : jobs_) {
        if (job->state == FixJob::State::Running) {
            first = job.get();
            break;
        }
    }
    if (first == shown_) return;
    shown_ = first;
    if (shown_ != nullptr) env_.progress.Computer_Started(shown_->computerName);
}

void ParallelFix::Worker(FixJob& job) {
    try {
        std::shared_ptr<void> apartment;
        if (env_.workerThreads != nullptr) apartment = env_.workerThreads->Enter(job.computerName);
        Reporter reporter(questions_);
        reporter.Divert_Lines(&job.log);
        const remote::RemotePorts own = remote::With_Reporter(env_.remote, reporter);
        WorkerProgress progress(queue_, env_.progress,
                                {.shown = [this, &job] { return shown_ == &job; },
                                 .found = {},
                                 .pump = [this, &job] { job.stop = job.stop || stop_.load(); }});
        FixEnvironment env{job.window, progress, env_.db, own, job.stop, env_.recheckRules, env_.undoBackup};
        env.settings = &job.settings;
        job.totals = Fix_Computer_Rows(env, checkedCategories_);
    } catch (const std::exception& error) {
        job.log.Add_Line(error.what(), LOG_ERROR, true);
    }
    queue_.Post([this, &job] {
        --running_;
        job.state = FixJob::State::Done;
        Update_Shown();
    });
}

// The outcomes into the window's rows, found again by their keys; the log
// lines after those of the computers above.
void ParallelFix::Write_Back(FixJob& job) {
    ResultsList& list = env_.window.Results();
    const ResultsList& rows = job.window.Results();
    for (std::size_t i = 0; i < rows.Count(); ++i) {
        const ListRow& row = rows.Row(i);
        const std::size_t index = list.Find(row.key);
        if (index >= list.Count()) continue;
        ListRow& shown = list.Row(index);
        shown.status = row.status;
        shown.count = row.count;
        if (shown.problem && row.problem) shown.problem->fixed = row.problem->fixed;
        list.Notify_Changed(index);
    }
    job.log.Write_To(env_.remote.reporter);
}

}  // namespace

void Fix_Problems_At_Once(FixEnvironment& env, int checkedCategories) { ParallelFix(env, checkedCategories).Run(); }

}  // namespace corvane::fix
