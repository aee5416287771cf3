// The progress events of a computer that runs on a worker thread: each event
// travels through the queue and reaches the panel only while that computer
// is the one the panel shows; the computer's own start and end, and the
// run's, are told by the driver on the user-interface thread. Pump runs on
// the worker, where it takes the Stop and Skip requests.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <utility>

#include "base/ui/progress_events.h"
#include "base/ui/ui_queue.h"

namespace corvane {

class WorkerProgress final : public IProgressEvents {
public:
    struct Hooks {
        std::function<bool()> shown;              // user-interface thread: is the computer on the panel?
        std::function<void(std::int32_t)> found;  // user-interface thread: its problems found so far
        std::function<void()> pump;               // worker: take the requests
    };
    WorkerProgress(UiQueue& queue, IProgressEvents& panel, Hooks hooks)
        : queue_(queue), panel_(panel), hooks_(std::make_shared<const Hooks>(std::move(hooks))) {}

    void Category_Started(std::string_view displayName) override {
        Post([text = std::string(displayName)](IProgressEvents& panel) { panel.Category_Started(text); });
    }
    void Category_Phase(std::string_view caption) override {
        Post([text = std::string(caption)](IProgressEvents& panel) { panel.Category_Phase(text); });
    }
    void Category_Ended() override {
        Post([](IProgressEvents& panel) { panel.Category_Ended(); });
    }
    void Entry_Done(std::int64_t position, std::int64_t upperBound) override {
        Post([position, upperBound](IProgressEvents& panel) { panel.Entry_Done(position, upperBound); });
    }
    void Problems_Found(std::int32_t total) override {
        if (total == found_ || !hooks_->found) return;
        found_ = total;
        queue_.Post([hooks = hooks_, total] { hooks->found(total); });
    }
    void Problems_Fixed(std::int32_t total, std::int32_t inCategory, std::int32_t foundInCategory) override {
        Post([=](IProgressEvents& panel) { panel.Problems_Fixed(total, inCategory, foundInCategory); });
    }
    void Restore_Point_Started() override {
        Post([](IProgressEvents& panel) { panel.Restore_Point_Started(); });
    }
    void Restore_Point_Ended() override {
        Post([](IProgressEvents& panel) { panel.Restore_Point_Ended(); });
    }
    void Pump() override {
        if (hooks_->pump) hooks_->pump();
    }

private:
    // The task may run after this object is gone: it holds the hooks and the panel, not this.
    template <typename Event>
    void Post(Event event) {
        queue_.Post([hooks = hooks_, &panel = panel_, event = std::move(event)] {
            if (hooks->shown && hooks->shown()) event(panel);
        });
    }

    UiQueue& queue_;
    IProgressEvents& panel_;
    std::shared_ptr<const Hooks> hooks_;
    std::int32_t found_ = 0;
};

}  // namespace corvane
