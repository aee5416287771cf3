#include "fakes.h"

namespace corvane::testing {

MsgResult FakeMessageBox::Show(std::string_view text, MsgButtons buttons, MsgIcon icon, std::string_view title) {
    shown.push_back({std::string(text), buttons, icon, std::string(title)});
    if (!answers_.empty()) {
        const MsgResult answer = answers_.front();
        answers_.pop_front();
        return answer;
    }
    return buttons == MsgButtons::YesNo ? MsgResult::Yes : MsgResult::Ok;
}

void FakeClock::Sleep(std::uint32_t milliseconds) {
    sleptMilliseconds += milliseconds;
    std::uint64_t total = static_cast<std::uint64_t>(now.second) + milliseconds / 1000;
    now.second = static_cast<int>(total % 60);
    total = static_cast<std::uint64_t>(now.minute) + total / 60;
    now.minute = static_cast<int>(total % 60);
    now.hour = static_cast<int>((now.hour + total / 60) % 24);
}

bool FakePlatform::Create_Instance_Mutex(std::string_view name) { return heldMutexes.count(std::string(name)) > 0; }

bool FakePlatform::Init_Common_Controls(std::uint32_t classFlags) {
    commonControlFlags = classFlags;
    return true;
}

}  // namespace corvane::testing
