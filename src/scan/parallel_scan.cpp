#include "scan/parallel_scan.h"

#include <condition_variable>
#include <exception>
#include <mutex>
#include <optional>
#include <thread>
#include <utility>

#include "base/log.h"
#include "base/ports/worker_threads.h"
#include "base/reporter.h"
#include "base/runtime_error.h"
#include "base/ui/check_tree.h"
#include "base/ui/main_window_port.h"
#include "base/ui/progress_events.h"
#include "base/ui/results_list.h"
#include "base/ui/worker_progress.h"
#include "db/app_tables.h"
#include "scan/family_routines.h"
#include "scan/scan_arguments.h"
#include "scan/scan_settings.h"
#include "settings/general_options.h"

namespace corvane::scan {

namespace {

constexpr std::chrono::milliseconds kPumpInterval{50};

}  // namespace

// One checked computer. Before the worker starts and while it waits for its
// next step, this thread owns every field; while the worker runs, the worker
// owns the fields it writes, until it reports through the queue.
struct ComputerJob {
    enum class Step { None, Scan, Close };
    enum class State { Waiting, Opening, Opened, Scanning, Done };

    std::size_t order = 0;
    NodeId node = kNoNode;
    std::string name;
    remote::OpenRequest request;

    // Written by the worker.
    ResultsList rows;
    KeptLogLines log;
    ScanControl control;
    remote::OpenOutcome outcome = remote::OpenOutcome::NotReached;
    std::string errorText;
    std::string targetName;
    std::optional<std::string> failure;  // an error ended the computer
    std::optional<ComputerScanned> scanned;

    // Given by this thread with the step.
    std::optional<ScanSettingsCopy> settings;
    int skipsSeen = 0;

    // This thread's view.
    State state = State::Waiting;
    std::string duplicateOf;  // the first name of the same computer
    std::int32_t found = 0;

    // The worker's session while it exists, so that Stop can end the call in
    // progress from this thread; guarded by mutex.
    ScanTarget* session = nullptr;

    std::mutex mutex;
    std::condition_variable stepGiven;
    Step step = Step::None;
    std::thread thread;

    [[nodiscard]] bool Opened() const noexcept { return outcome == remote::OpenOutcome::Opened && !failure; }

    void Give(Step next) {
        {
            const std::lock_guard lock(mutex);
            step = next;
        }
        stepGiven.notify_one();
    }
    [[nodiscard]] Step Wait_For_Step() {
        std::unique_lock lock(mutex);
        stepGiven.wait(lock, [this] { return step != Step::None; });
        return step;
    }
};

namespace {

// Makes a worker's session known to its job for as long as it lives.
class Published {
public:
    Published(ComputerJob& job, ScanTarget& session) : job_(job) {
        const std::lock_guard lock(job_.mutex);
        job_.session = &session;
    }
    ~Published() {
        const std::lock_guard lock(job_.mutex);
        job_.session = nullptr;
    }
    Published(const Published&) = delete;
    Published& operator=(const Published&) = delete;

private:
    ComputerJob& job_;
};

std::string Error_Text(const std::exception& error) {
    if (const auto* runtime = dynamic_cast<const RuntimeError*>(&error)) return runtime->Text();
    return RuntimeError(0, error.what()).Text();
}

}  // namespace

ParallelScan::ParallelScan(ScanDriver& driver, int atOnce)
    : driver_(driver),
      atOnce_(atOnce),
      questions_(std::make_unique<QueuedMessageBox>(queue_, driver.ports_.reporter.Messages())) {}

ParallelScan::~ParallelScan() {
    // Normally every worker has ended; after an error on this thread they are
    // told to end, and the queue runs until each has said so.
    requests_.stop = true;
    for (auto& job : jobs_) {
        if (job->thread.joinable()) job->Give(ComputerJob::Step::Close);
    }
    for (auto& job : jobs_) {
        if (!job->thread.joinable()) continue;
        while (job->state != ComputerJob::State::Done) (void)queue_.Run_Pending(kPumpInterval);
        job->thread.join();
    }
    while (queue_.Run_Pending(std::chrono::milliseconds(0))) {
    }
}

void ParallelScan::Run() {
    Prepare_Jobs();
    Open_All();
    if (!driver_.control_.StopRequested) Settle_Identities();
    Scan_All();
    Update_Shown();
}

void ParallelScan::Prepare_Jobs() {
    ScanDriverPorts& ports = driver_.ports_;
    const CheckTree& categories = ports.window.Category_Tree();
    for (const NodeId node : categories.Tree_Order()) {
        const TreeNode& category = categories.Node(node);
        if (!categories.Has_Children(node) && category.checked) categories_.push_back({category.key, category.text});
    }
    safeScanOption_ = IsGeneralOptionSet(ports.db, GO_SAFE_SCAN);
    const CheckTree& computers = ports.window.Computer_Tree();
    for (const NodeId node : computers.Tree_Order()) {
        const TreeNode& current = computers.Node(node);
        if (!current.checked || !Is_Computer_Node(current)) continue;
        auto job = std::make_unique<ComputerJob>();
        job->order = jobs_.size();
        job->node = node;
        job->name = current.text;
        job->request.computerName = current.text;
        job->request.safeScanOption = safeScanOption_;
        try {
            (void)Get_Computer_Credentials(ports.db, current.text, job->request.credentials.userName,
                                           job->request.credentials.password);
        } catch (const std::exception& error) {
            job->failure = Error_Text(error);
            job->state = ComputerJob::State::Done;
        }
        jobs_.push_back(std::move(job));
    }
}

template <typename Done>
void ParallelScan::Wait_Until(Done done) {
    while (!done()) {
        (void)queue_.Run_Pending(kPumpInterval);
        driver_.ports_.progress.Pump();
        Forward_Requests();
    }
}

void ParallelScan::Forward_Requests() {
    ScanControl& control = driver_.control_;
    if (control.StopRequested && !requests_.stop.exchange(true)) {
        // A call that hangs would hold its computer until its time limit.
        for (const auto& job : jobs_) {
            const std::lock_guard lock(job->mutex);
            if (job->session != nullptr) job->session->Cancel_Calls();
        }
    }
    if (control.SkipRequested) {
        control.SkipRequested = false;
        ++requests_.skips;
    }
}

void ParallelScan::Take_Requests(ComputerJob& job) {
    if (requests_.stop.load()) job.control.StopRequested = true;
    const int skips = requests_.skips.load();
    if (skips != job.skipsSeen) {
        job.skipsSeen = skips;
        job.control.SkipRequested = true;
    }
}

void ParallelScan::Start_Worker(ComputerJob& job) {
    job.state = ComputerJob::State::Opening;
    ++opening_;
    job.thread = std::thread([this, &job] { Worker(job); });
}

void ParallelScan::Open_All() {
    std::size_t next = 0;
    Wait_Until([&] {
        while (opening_ < atOnce_ && next < jobs_.size() && !requests_.stop) {
            ComputerJob& job = *jobs_[next++];
            if (job.state == ComputerJob::State::Waiting) Start_Worker(job);
        }
        return opening_ == 0 && (next == jobs_.size() || requests_.stop);
    });
}

void ParallelScan::Settle_Identities() {
    CheckTree& computers = driver_.ports_.window.Computer_Tree();
    for (const auto& job : jobs_) {
        if (job->state != ComputerJob::State::Opened || !job->Opened()) continue;
        // The same computer listed a second time, under another name or address.
        if (!job->targetName.empty()) {
            for (const auto& earlier : jobs_) {
                if (earlier == job) break;
                if (earlier->state == ComputerJob::State::Opened && earlier->Opened() && earlier->duplicateOf.empty() &&
                    earlier->targetName == job->targetName) {
                    job->duplicateOf = earlier->name;
                    break;
                }
            }
        }
        computers.Set_Tag(job->node, job->targetName);
    }
}

void ParallelScan::Begin_Scan(ComputerJob& job) {
    ++running_;
    const bool scan = !requests_.stop && job.Opened() && job.duplicateOf.empty();
    if (scan) {
        try {
            // The settings of this moment: a change made during the scan applies from the next computer.
            job.settings.emplace(driver_.ports_.db);
        } catch (const std::exception& error) {
            job.failure = Error_Text(error);
        }
    }
    job.skipsSeen = requests_.skips.load();
    job.state = ComputerJob::State::Scanning;
    job.Give(job.settings ? ComputerJob::Step::Scan : ComputerJob::Step::Close);
    Update_Shown();
}

void ParallelScan::Scan_All() {
    std::size_t next = 0;
    std::size_t released = 0;
    Wait_Until([&] {
        while (running_ < atOnce_ && next < jobs_.size()) {
            ComputerJob& job = *jobs_[next++];
            if (job.state == ComputerJob::State::Opened) Begin_Scan(job);
        }
        while (released < jobs_.size()) {
            ComputerJob& job = *jobs_[released];
            if (job.state != ComputerJob::State::Done && job.state != ComputerJob::State::Waiting) break;
            if (job.thread.joinable()) job.thread.join();
            Release(job);
            ++released;
        }
        return released == jobs_.size();
    });
}

void ParallelScan::Found(ComputerJob& job, std::int32_t count) {
    job.found = count;
    Show_Total();
}

void ParallelScan::Show_Total() {
    std::int32_t total = driver_.control_.TotalProblems;
    for (const auto& other : jobs_) {
        if (other->state == ComputerJob::State::Scanning || other->state == ComputerJob::State::Done) {
            total += other->found;
        }
    }
    driver_.ports_.progress.Problems_Found(total);
}

void ParallelScan::Update_Shown() {
    const ComputerJob* first = nullptr;
    int waiting = 0;
    int running = 0;
    for (const auto& job : jobs_) {
        if (job->state == ComputerJob::State::Scanning) {
            ++running;
            if (first == nullptr) first = job.get();
        } else if (job->state != ComputerJob::State::Done) {
            ++waiting;
        }
    }
    IProgressEvents& progress = driver_.ports_.progress;
    progress.Computers_Counted(done_, running, waiting);
    if (first == shown_) return;
    if (shown_ != nullptr) progress.Computer_Ended();
    shown_ = first;
    if (shown_ != nullptr) {
        progress.Computer_Started(shown_->name);
        Show_Total();  // a computer's start shows no problems yet; the scan has found some
    }
}

void ParallelScan::Release(ComputerJob& job) {
    ScanDriver& driver = driver_;
    CheckTree& computers = driver.ports_.window.Computer_Tree();
    job.log.Write_To(driver.ports_.reporter);
    if (!job.duplicateOf.empty()) {
        computers.Set_Image(job.node, kComputerLockedImage);
        driver.Add_Error_Row(job.name, job.name, kAlreadyScannedText + job.duplicateOf);
    } else if (job.outcome != remote::OpenOutcome::Opened || (job.failure && !job.settings)) {
        if (job.state == ComputerJob::State::Waiting && !job.failure) return;  // stopped before it was reached
        computers.Set_Image(job.node, kComputerLockedImage);
        driver.Add_Error_Row(job.name, job.targetName,
                             job.failure                                          ? *job.failure
                             : job.outcome == remote::OpenOutcome::DefaultRefused ? std::string(kAccessDeniedText)
                                                                                  : job.errorText);
    } else {
        Move_Rows(job);
        if (job.failure) {
            computers.Set_Image(job.node, kComputerLockedImage);
            driver.Add_Error_Row(job.name, job.targetName, *job.failure);
        } else if (job.scanned && !driver.Follow_Up(*job.scanned)) {
            driver.control_.StopRequested = true;
        }
    }
    Found(job, job.found);
}

void ParallelScan::Move_Rows(ComputerJob& job) {
    ResultsList& list = driver_.ports_.window.Results();
    std::int32_t& total = driver_.control_.TotalProblems;
    if (job.rows.Count() == 0) return;
    list.Suspend_Drawing(true);
    for (std::size_t i = 0; i < job.rows.Count(); ++i) {
        ListRow row = std::move(job.rows.Row(i));
        // The keys of the whole scan are given here, in list order.
        std::string key = Is_Problem_Key(row.key) ? row.key.substr(0, 1) + std::to_string(total++) : row.key;
        ListRow& added = list.Add_List_Item(0, key, row.text, "", row.smallIcon, row.indent);
        row.key = std::move(key);
        added = std::move(row);
        list.Notify_Changed(list.Count() - 1);
    }
    list.Suspend_Drawing(false);
    list.Ensure_Visible(list.Count() - 1);
    job.found = 0;
}

void ParallelScan::Worker(ComputerJob& job) {
    const ScanDriverPorts& ports = driver_.ports_;
    try {
        std::shared_ptr<void> apartment;
        if (ports.workerThreads != nullptr) apartment = ports.workerThreads->Enter(job.name);
        Reporter reporter(*questions_);
        reporter.Divert_Lines(&job.log);
        const remote::RemotePorts own = remote::With_Reporter(ports.target.Context().Ports(), reporter);
        ScanTarget target(own, remote::kScanning);
        const Published published(job, target);
        WorkerProgress progress(queue_, ports.progress,
                                {.shown = [this, &job] { return shown_ == &job; },
                                 .found = [this, &job](std::int32_t count) { Found(job, count); },
                                 .pump = [this, &job] { Take_Requests(job); }});
        try {
            job.outcome = target.Open(std::move(job.request), job.errorText);
            job.targetName = target.Context().TargetName;
            if (job.outcome == remote::OpenOutcome::Opened) {
                reporter.Log_Event("Connected To: " + job.name + "**************", LOG_INFO);
            }
        } catch (const std::exception& error) {
            job.failure = Error_Text(error);
            job.targetName = target.Context().TargetName;
        }
        queue_.Post([this, &job] {
            --opening_;
            job.state = ComputerJob::State::Opened;
        });
        if (job.Wait_For_Step() == ComputerJob::Step::Scan) {
            try {
                Scan_Categories(job, target, progress);
                job.scanned = Scanned_Facts(job.name, target.Context());
            } catch (const std::exception& error) {
                // A call Stop cancelled is no fault of the computer.
                if (!requests_.stop.load()) job.failure = Error_Text(error);
            }
        } else if (!job.duplicateOf.empty()) {
            reporter.Log_Event("Already Scanned As: " + job.duplicateOf, LOG_WARNING);
            target.Close();
            reporter.Log_Event("Disconnected: " + job.name, LOG_INFO);
        }
        target.Close();
    } catch (...) {
        job.failure = "0: the computer's worker failed";
    }
    queue_.Post([this, &job] {
        --running_;
        ++done_;
        job.state = ComputerJob::State::Done;
        Update_Shown();
    });
}

void ParallelScan::Scan_Categories(ComputerJob& job, ScanTarget& target, IProgressEvents& progress) {
    Reporter& reporter = target.Context().Ports().reporter;
    reporter.Log_Event(target.Context().SafeScan ? "Scan Mode: Safe" : "Scan Mode: Fast", LOG_INFO);
    reporter.Log_Event("Scan Started: " + job.name, LOG_INFO);
    for (const Category& category : categories_) {
        progress.Category_Started(category.text);
        ScanArguments args{job.control, job.rows, progress, *job.settings, target, category.key};
        (void)Run_Family_Routine(args, category.text);
        progress.Category_Ended();
        if (job.control.StopRequested) break;
    }
    reporter.Log_Event("Scan Completed: " + job.name, LOG_INFO);
    target.Close();
    reporter.Log_Event("Disconnected: " + job.name, LOG_INFO);
}

}  // namespace corvane::scan
