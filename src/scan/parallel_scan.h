// The scan of several computers at once. Each checked computer gets a worker
// thread of its own with its own session; at most N of them reach their
// computers at a time. First every computer is connected and tells its name,
// so that "Already scanned as" decides as in tree order whatever order the
// workers finish in, and two names of one computer are never both scanned.
// Then the computers are scanned, each against a copy of the stored settings
// taken when its scan begins. A worker touches only its own session, rows,
// log lines and control record; it hands progress, questions and its end to
// the thread that started the scan through one queue (UiQueue), and that
// thread alone writes the window, the log and the database. Each computer's
// rows and log lines are released in tree order, and the problem keys are
// numbered then, so the list reads as if the computers had run one by one.
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "base/ui/ui_queue.h"
#include "scan/scan_driver.h"

namespace corvane::scan {

struct ComputerJob;

// Stop and Skip as the workers see them: Stop once for all, each Skip a new
// generation that every computer running at that moment takes.
struct SharedRequests {
    std::atomic<bool> stop{false};
    std::atomic<int> skips{0};
};

class ParallelScan {
public:
    ParallelScan(ScanDriver& driver, int atOnce);
    ~ParallelScan();
    ParallelScan(const ParallelScan&) = delete;
    ParallelScan& operator=(const ParallelScan&) = delete;

    void Run();

private:
    struct Category {
        std::string key;
        std::string text;
    };

    void Prepare_Jobs();
    void Open_All();
    void Settle_Identities();
    void Scan_All();
    void Start_Worker(ComputerJob& job);
    void Begin_Scan(ComputerJob& job);
    void Release(ComputerJob& job);
    void Move_Rows(ComputerJob& job);
    // Runs the queue and the window's messages until done() holds.
    template <typename Done>
    void Wait_Until(Done done);
    // Stop and Skip from the window reach the workers.
    void Forward_Requests();
    // The progress panel follows the first computer in tree order that runs.
    void Update_Shown();
    void Worker(ComputerJob& job);
    // On the worker: Stop and Skip into the computer's control record.
    void Take_Requests(ComputerJob& job);
    // The problems found so far by this computer; the panel shows the scan's total.
    void Found(ComputerJob& job, std::int32_t count);
    // Problems found so far over every computer.
    void Show_Total();
    void Scan_Categories(ComputerJob& job, ScanTarget& target, IProgressEvents& progress);

    ScanDriver& driver_;
    int atOnce_;
    UiQueue queue_;
    SharedRequests requests_;
    std::unique_ptr<IMessageBox> questions_;
    std::vector<Category> categories_;
    std::vector<std::unique_ptr<ComputerJob>> jobs_;
    bool safeScanOption_ = false;
    int opening_ = 0;
    int running_ = 0;
    int done_ = 0;
    const ComputerJob* shown_ = nullptr;
};

}  // namespace corvane::scan
