// Fakes of the ports for tests: plain classes that record calls and return
// scripted answers.
#pragma once

#include <deque>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "base/ports/clock.h"
#include "base/ports/data_protection.h"
#include "base/ports/message_box.h"
#include "base/ports/platform.h"
#include "base/ports/shell.h"

namespace corvane::testing {

struct ShownMessage {
    std::string text;
    MsgButtons buttons;
    MsgIcon icon;
};

// Answers come from a queue; when it is empty, Yes/No boxes answer Yes and
// the others Ok.
class FakeMessageBox final : public IMessageBox {
public:
    MsgResult Show(std::string_view text, MsgButtons buttons, MsgIcon icon, std::string_view title) override;
    void Queue_Answer(MsgResult answer) { answers_.push_back(answer); }

    std::vector<ShownMessage> shown;

private:
    std::deque<MsgResult> answers_;
};

// A clock that stands still unless told to move; Sleep advances it.
class FakeClock final : public IClock {
public:
    LocalTime Now() override { return now; }
    void Sleep(std::uint32_t milliseconds) override;

    LocalTime now{2026, 12, 5, 14, 3, 9};
    std::uint64_t sleptMilliseconds = 0;
};

class FakePlatform final : public IPlatform {
public:
    bool Create_Instance_Mutex(std::string_view name) override;
    void Release_Instance_Mutex() override { ++mutexReleases; }
    void Set_Thread_Locale(std::uint32_t) override {}
    bool Init_Common_Controls(std::uint32_t) override { return true; }
    std::string System_Directory() override { return systemDirectory; }
    std::string Program_Folder() override { return programFolder; }
    std::string Executable_Name() override { return "Corvane"; }
    bool Normal_File_Exists(std::string_view path) override { return existingFiles.count(std::string(path)) > 0; }
    // Copies the host file of that name; the copy then exists.
    bool Copy_New_File(std::string_view from, std::string_view to) override;
    std::string Computer_Name() override { return computerName; }

    // Names of mutexes "held by another copy".
    std::set<std::string> heldMutexes;
    std::set<std::string> existingFiles;
    std::string systemDirectory = "C:\\Windows\\system32";
    std::string programFolder = "C:\\Program Files\\Corvane";
    std::string computerName = "WORKSTATION";
    int mutexReleases = 0;
};

class FakeShell final : public IShell {
public:
    std::intptr_t Open(std::string_view target) override {
        opened.emplace_back(target);
        return 42;
    }
    // The names a Windows console gives two registered types; others as unregistered.
    std::string File_Type_Name(std::string_view extension) override {
        if (extension == "exe") return "Application";
        if (extension == "txt") return "Text Document";
        return IShell::File_Type_Name(extension);
    }
    std::vector<std::string> opened;
};

// Protects by prefixing and reversing the text (enough to tell protected from
// plain); `refuse` makes Unprotect fail as for another user's blob.
class FakeDataProtection final : public IDataProtection {
public:
    std::string Protect(const Secret& plain) override {
        return "fake-blob:" + std::string(plain.View().rbegin(), plain.View().rend());
    }
    std::optional<Secret> Unprotect(std::string_view blob) override {
        if (refuse || !blob.starts_with("fake-blob:")) return std::nullopt;
        blob.remove_prefix(10);
        return Secret(std::string(blob.rbegin(), blob.rend()));
    }
    bool refuse = false;
};

}  // namespace corvane::testing
