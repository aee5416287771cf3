// The one queue through which worker threads hand work to the user-interface
// thread: rows, log lines, progress and questions travel as small tasks that
// only that thread runs, so the database, the log, the results list and the
// windows are touched there alone. A worker that needs an answer (a message
// box) waits for its task to have run there.
#pragma once

#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <future>
#include <mutex>
#include <string_view>

#include "base/ports/message_box.h"

namespace corvane {

class UiQueue {
public:
    UiQueue() = default;
    UiQueue(const UiQueue&) = delete;
    UiQueue& operator=(const UiQueue&) = delete;

    // Any thread: the task runs later on the user-interface thread.
    void Post(std::function<void()> task);
    // User-interface thread: runs every task that waits, in the order posted;
    // when none waits, waits up to `wait` for one first. False when none ran.
    bool Run_Pending(std::chrono::milliseconds wait);

    // A worker: runs the task on the user-interface thread and returns its
    // result. That thread must keep running the queue while workers live.
    template <typename Result>
    Result Ask(std::function<Result()> task) {
        auto promise = std::make_shared<std::promise<Result>>();
        std::future<Result> answer = promise->get_future();
        Post([promise, task = std::move(task)] {
            try {
                promise->set_value(task());
            } catch (...) {
                promise->set_exception(std::current_exception());
            }
        });
        return answer.get();
    }

private:
    std::mutex mutex_;
    std::condition_variable posted_;
    std::deque<std::function<void()>> tasks_;
};

// The message boxes of a worker thread: each is shown by the user-interface
// thread's own message box, one at a time, and the worker waits for the answer.
class QueuedMessageBox final : public IMessageBox {
public:
    QueuedMessageBox(UiQueue& queue, IMessageBox& shown) : queue_(queue), shown_(shown) {}
    MsgResult Show(std::string_view text, MsgButtons buttons, MsgIcon icon, std::string_view title) override;

private:
    UiQueue& queue_;
    IMessageBox& shown_;
};

}  // namespace corvane
