#include "base/ui/ui_queue.h"

#include <string>
#include <utility>

namespace corvane {

void UiQueue::Post(std::function<void()> task) {
    {
        const std::lock_guard lock(mutex_);
        tasks_.push_back(std::move(task));
    }
    posted_.notify_one();
}

bool UiQueue::Run_Pending(std::chrono::milliseconds wait) {
    std::deque<std::function<void()>> taken;
    {
        std::unique_lock lock(mutex_);
        if (tasks_.empty()) posted_.wait_for(lock, wait, [this] { return !tasks_.empty(); });
        taken.swap(tasks_);
    }
    for (auto& task : taken) task();
    return !taken.empty();
}

MsgResult QueuedMessageBox::Show(std::string_view text, MsgButtons buttons, MsgIcon icon, std::string_view title) {
    return queue_.Ask<MsgResult>([this, text = std::string(text), buttons, icon, title = std::string(title)] {
        return shown_.Show(text, buttons, icon, title);
    });
}

}  // namespace corvane
