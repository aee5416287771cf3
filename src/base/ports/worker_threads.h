// Port: what a worker thread enters before it reaches a computer, and leaves
// when its work ends. On Windows it is the thread's COM apartment: a
// multithreaded one for a remote computer, a single-threaded one for the
// computer the program runs on (its scan uses the shell). Null where nothing
// is needed (Linux, tests).
#pragma once

#include <memory>
#include <string_view>

namespace corvane {

class IWorkerThreads {
public:
    virtual ~IWorkerThreads() = default;
    IWorkerThreads() = default;
    IWorkerThreads(const IWorkerThreads&) = delete;
    IWorkerThreads& operator=(const IWorkerThreads&) = delete;

    // Called first on the worker thread; the thread holds the result until it ends.
    [[nodiscard]] virtual std::shared_ptr<void> Enter(std::string_view computerName) = 0;
};

}  // namespace corvane
