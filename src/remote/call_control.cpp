#include "remote/call_control.h"

#include <cassert>

#include "remote/wmi_errors.h"

namespace corvane::wmi {

CallControl::~CallControl() {
    {
        const std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    changed_.notify_all();
    if (watchdog_.joinable()) watchdog_.join();
}

std::chrono::milliseconds CallControl::Limit() const {
    const std::lock_guard lock(mutex_);
    return limit_;
}

void CallControl::Cancel_Calls() noexcept {
    {
        const std::lock_guard lock(mutex_);
        cancelled_ = true;
        if (active_ && end_ == End::Running) End_Call(End::Cancelled);
    }
    changed_.notify_all();
}

void CallControl::Resume_Calls() noexcept {
    const std::lock_guard lock(mutex_);
    cancelled_ = false;
}

void CallControl::Forget_Time_Out() noexcept {
    const std::lock_guard lock(mutex_);
    timedOut_ = false;
}

std::uint32_t CallControl::Ended_By() const noexcept {
    const std::lock_guard lock(mutex_);
    if (cancelled_) return hresult::kCallCanceled;
    return timedOut_ ? hresult::kTimedOut : 0;
}

void CallControl::End_Call(End end) {
    end_ = end;
    if (end == End::TimedOut) timedOut_ = true;
    // Under the lock, so that the action never runs once the call's Watch has gone.
    if (cancel_) cancel_();
}

void CallControl::Raise_End(End end) const {
    if (end == End::TimedOut) Raise_Hresult(hresult::kTimedOut);
    if (end == End::Cancelled) Raise_Hresult(hresult::kCallCanceled);
}

CallControl::Watch CallControl::Begin_Call(std::function<void()> cancel) {
    {
        const std::lock_guard lock(mutex_);
        assert(!active_ && "one call at a time per control");
        if (cancelled_) Raise_End(End::Cancelled);
        if (timedOut_) Raise_End(End::TimedOut);
        active_ = true;
        end_ = End::Running;
        ++callNumber_;
        deadline_ = std::chrono::steady_clock::now() + limit_;
        cancel_ = std::move(cancel);
        if (!watchdog_.joinable()) watchdog_ = std::thread([this] { Watchdog(); });
    }
    changed_.notify_all();
    return Watch(this);
}

void CallControl::Watchdog() {
    std::unique_lock lock(mutex_);
    while (!stopping_) {
        if (!active_ || end_ != End::Running) {
            changed_.wait(lock);
            continue;
        }
        const std::uint64_t call = callNumber_;
        const auto deadline = deadline_;
        const bool changed = changed_.wait_until(
            lock, deadline, [&] { return stopping_ || !active_ || callNumber_ != call || end_ != End::Running; });
        if (!changed) End_Call(End::TimedOut);
        changed_.notify_all();
    }
}

CallControl::Watch::~Watch() {
    if (control_ == nullptr) return;
    {
        const std::lock_guard lock(control_->mutex_);
        control_->active_ = false;
        control_->cancel_ = nullptr;
    }
    control_->changed_.notify_all();
}

void CallControl::Watch::Wait() const {
    std::unique_lock lock(control_->mutex_);
    control_->changed_.wait(lock, [this] { return control_->end_ != End::Running; });
}

void CallControl::Watch::Raise_If_Ended() const {
    End end = End::Running;
    {
        const std::lock_guard lock(control_->mutex_);
        end = control_->end_;
    }
    control_->Raise_End(end);
}

void CallControl::Watch::Raise_Time_Out() const {
    {
        const std::lock_guard lock(control_->mutex_);
        control_->timedOut_ = true;
    }
    Raise_Hresult(hresult::kTimedOut);
}

CallControl::LongerLimit::LongerLimit(CallControl* control, std::chrono::milliseconds limit) : control_(control) {
    if (control_ == nullptr) return;
    const std::lock_guard lock(control_->mutex_);
    previous_ = control_->limit_;
    if (limit > control_->limit_) control_->limit_ = limit;
}

CallControl::LongerLimit::~LongerLimit() {
    if (control_ == nullptr) return;
    const std::lock_guard lock(control_->mutex_);
    control_->limit_ = previous_;
}

}  // namespace corvane::wmi
