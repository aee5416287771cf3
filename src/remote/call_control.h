// The time limit of the calls made to one computer, and the way to end a call
// that hangs: a watchdog thread ends the call in progress when it runs past
// the limit, and any thread may cancel it (Stop). The backends register how
// their call is ended (COM: CoCancelCall on the calling thread; the simulated
// computers: the call simply stops waiting) and raise the outcome as WMI
// errors: the time-out (wbemErrTimedout) or the cancellation
// (RPC_E_CALL_CANCELED), both taken for a lost connection by the routines.
//
// The calls of one control are made from one thread, one at a time; only
// Cancel_Calls and Resume_Calls may come from any thread.
#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <utility>

namespace corvane::wmi {

inline constexpr std::chrono::milliseconds kDefaultCallLimit{60'000};
// Creating a restore point may take many minutes on a busy computer.
inline constexpr std::chrono::milliseconds kRestorePointCallLimit{600'000};

class CallControl {
public:
    explicit CallControl(std::chrono::milliseconds limit = kDefaultCallLimit) : limit_(limit) {}
    ~CallControl();
    CallControl(const CallControl&) = delete;
    CallControl& operator=(const CallControl&) = delete;

    [[nodiscard]] std::chrono::milliseconds Limit() const;

    // Thread-safe. Ends the call in progress, and every later call fails at
    // once, until Resume_Calls.
    void Cancel_Calls() noexcept;
    void Resume_Calls() noexcept;
    // A computer that let a call run past its limit is taken for gone: later
    // calls fail at once with the time-out until this is called (the next
    // computer on the same control).
    void Forget_Time_Out() noexcept;
    // What every call now fails with: the cancellation or the time-out
    // (wmi_errors.h); 0 while calls go on.
    [[nodiscard]] std::uint32_t Ended_By() const noexcept;

    // One call being watched, from Begin_Call until it goes.
    class Watch {
    public:
        Watch(Watch&& other) noexcept : control_(std::exchange(other.control_, nullptr)) {}
        Watch& operator=(Watch&&) = delete;
        Watch(const Watch&) = delete;
        Watch& operator=(const Watch&) = delete;
        ~Watch();

        // Blocks until the call is ended by the limit or a cancellation: the
        // call of a computer that never answers.
        void Wait() const;
        // Raises the time-out or the cancellation when the call was ended so;
        // returns when it was not.
        void Raise_If_Ended() const;
        // The call's own wait ran out (IEnumWbemClassObject::Next's
        // WBEM_S_TIMEDOUT): raised as the time-out, which sticks.
        [[noreturn]] void Raise_Time_Out() const;

    private:
        friend class CallControl;
        explicit Watch(CallControl* control) : control_(control) {}
        CallControl* control_;
    };

    // Watches the calling thread's next call: cancel (may be empty) runs once,
    // on another thread and under the control's lock, when the call runs past
    // the limit or is cancelled. A control already cancelled or timed out
    // raises at once and the call is not made.
    [[nodiscard]] Watch Begin_Call(std::function<void()> cancel = {});

    // A longer limit for the calls made while it lives (a restore point).
    class LongerLimit {
    public:
        LongerLimit(CallControl* control, std::chrono::milliseconds limit);
        ~LongerLimit();
        LongerLimit(const LongerLimit&) = delete;
        LongerLimit& operator=(const LongerLimit&) = delete;

    private:
        CallControl* control_;
        std::chrono::milliseconds previous_{};
    };

private:
    enum class End { Running, TimedOut, Cancelled };

    void Watchdog();
    void End_Call(End end);  // with mutex_ held
    void Raise_End(End end) const;

    mutable std::mutex mutex_;
    mutable std::condition_variable changed_;
    std::chrono::milliseconds limit_;
    bool cancelled_ = false;
    bool timedOut_ = false;
    // The call in progress.
    bool active_ = false;
    End end_ = End::Running;
    std::uint64_t callNumber_ = 0;
    std::chrono::steady_clock::time_point deadline_{};
    std::function<void()> cancel_;
    bool stopping_ = false;
    std::thread watchdog_;  // started at the first call
};
using CallControlPtr = std::shared_ptr<CallControl>;

}  // namespace corvane::wmi
