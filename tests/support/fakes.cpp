#include "fakes.h"

#include <filesystem>
#include <system_error>

#include "base/file_path.h"

namespace corvane::testing {

MsgResult FakeMessageBox::Show(std::string_view text, MsgButtons buttons, MsgIcon icon, std::string_view) {
    shown.push_back({std::string(text), buttons, icon});
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

bool FakePlatform::Copy_New_File(std::string_view from, std::string_view to) {
    std::error_code error;
    if (existingFiles.count(std::string(to)) > 0 ||
        !std::filesystem::copy_file(Utf8_Path(from), Utf8_Path(to), std::filesystem::copy_options::none, error)) {
        return false;
    }
    existingFiles.insert(std::string(to));
    return true;
}

}  // namespace corvane::testing
