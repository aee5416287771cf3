// The scene of the backup tests: the simulated SERVER1 of remote/sim_scene.h
// with a little of both registry roots, the restore dialog's logic on it with
// a view that records what it shows, and a progress panel that records what
// it was told.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "backup/backup_ports.h"
#include "backup/restore_presenter.h"
#include "remote/sim_scene.h"

namespace corvane::testing {

struct FakeProgressPanel final : backup::IProgressPanel {
    void Do_Progress() override {}
    void Set_Progress(std::string_view, int, int) override {}
    void Visible_Progress_Bar(bool shown) override { visible = shown; }
    bool visible = false;
};

// Shows rows and remembers the title, the selection and the buttons.
struct FakeRestoreView final : backup::IRestoreView {
    void Set_Captions(std::string_view dialogTitle, std::string_view, bool) override { title = dialogTitle; }
    void Set_Columns(const std::vector<backup::RestoreColumn>&) override {}
    void Show_Rows(const std::vector<backup::RestoreRow>& shown) override { rows = shown; }
    void Remove_Row(int index) override {
        rows.erase(rows.begin() + index);
        selected = -1;
    }
    int Selected_Row() const override { return selected; }
    int Rows_Per_Page() const override { return 8; }
    void Widen_First_Column(int) override {}
    void Enable_Buttons(bool restore, bool) override { restoreEnabled = restore; }
    void Close() override {}

    std::string title;
    std::vector<backup::RestoreRow> rows;
    int selected = -1;
    bool restoreEnabled = true;
};

struct BackupScene : SimScene {
    static inline const std::string kFolder = "C:\\Windows\\CVNBackup\\";
    static inline const std::string kBackupFile = kFolder + backup::kFullBackupFile;

    BackupScene() {
        server.registry.Load_Reg_Text(
            "Windows Registry Editor Version 5.00\r\n\r\n"
            "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Vendor]\r\n\"Setting\"=\"1\"\r\n\r\n"
            "[HKEY_USERS\\S-1-5-21-7\\Software\\App]\r\n\"Mode\"=\"on\"\r\n");
    }

    [[nodiscard]] std::string Last_Message() const { return messages.shown.empty() ? "" : messages.shown.back().text; }
    // The matching calls, from the nth (or only that one), fail as on a lost connection.
    void Fail_Calls(remote::CallKind kind, const char* match, int fromCall = 1, bool once = false) {
        network.Add_Fault({.kind = kind, .computer = {}, .match = match, .fromCall = fromCall, .once = once});
    }
    // The restore dialog on SERVER1, its list filled.
    backup::RestorePresenter& Open(backup::RestoreMode mode, remote::IUserDataFolder* userData = nullptr) {
        presenter = std::make_unique<backup::RestorePresenter>(mode, computer, ports, view, progress, shell, userData);
        presenter->Load();
        return *presenter;
    }
    void Select(int row) {
        view.selected = row;
        presenter->Selection_Changed();
    }

    backup::BackupComputer computer{"SERVER1", "admin", Secret("secret")};
    FakeProgressPanel progress;
    FakeRestoreView view;
    FakeShell shell;
    std::unique_ptr<backup::RestorePresenter> presenter;
};

}  // namespace corvane::testing
