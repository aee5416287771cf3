// The dialogs the main window opens, under Wine (a display is needed: ctest
// under xvfb-run), each shown modally from its command and driven from a
// timer inside its own loop: the guard around their callbacks, Manage
// Computers, the exception list, and the options with their restore dialog.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <functional>
#include <utility>

#include "app/win32/about_box.h"
#include "backup/win32/restore_dialog.h"
#include "base/runtime_error.h"
#include "base/win32/dialog.h"
#include "base/win32/wide_text.h"
#include "computers/win32/computer_dialog_ids.h"
#include "db/app_tables.h"
#include "gui_program.h"
#include "settings/win32/settings_dialog_ids.h"

namespace corvane::win32 {
namespace {

using namespace corvane::testing;

class DialogGui : public GuiProgramTest {};

// A dialog whose command throws: the guard logs the error with the dialog's
// name, nothing crosses the dialog procedure, and the dialog goes on to close.
class ThrowingDialog final : public Dialog {
public:
    explicit ThrowingDialog(const Reporter& reporter) : Dialog(&reporter, "Throwing") {}

private:
    bool On_Init() override {
        ::PostMessageW(Handle(), WM_COMMAND, 999, 0);
        ::PostMessageW(Handle(), WM_COMMAND, IDOK, 0);
        return true;
    }
    bool On_Command(int id, int, HWND) override {
        if (id == 999) throw RuntimeError(5, "Invalid procedure call");
        End(id);
        return true;
    }
};

TEST_F(DialogGui, DialogCallbacksLogWhatTheyThrowAndGoOn) {
    TestDatabase t;
    ThrowingDialog dialog(t.reporter);
    EXPECT_EQ(dialog.Run_Modal(nullptr, kAboutDialogId), IDOK);
    EXPECT_NE(t.Log_Text().find("Dialog Throwing: 5: Invalid procedure call"), std::string::npos) << t.Log_Text();
    EXPECT_TRUE(t.messages.shown.empty());
}

// Runs `act` on the modal dialog titled `title` from a timer inside the
// dialog's own loop, while `open` (a main-window command) shows it; `act`
// closes the dialog.
struct DialogVisit {
    const wchar_t* title;
    std::function<void(HWND)> act;
    bool visited = false;
};
DialogVisit* g_visit = nullptr;

void CALLBACK Visit_Dialog(HWND, UINT, UINT_PTR timer, DWORD) {
    HWND dialog = g_visit ? ::FindWindowW(L"#32770", g_visit->title) : nullptr;
    if (!dialog) return;
    ::KillTimer(nullptr, timer);
    g_visit->visited = true;
    ::RedrawWindow(dialog, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    g_visit->act(dialog);
}

// `open` returns when the dialog is closed; visits nest (a dialog opened from
// a dialog).
void Visit_During(const std::function<void()>& open, const wchar_t* title, std::function<void(HWND)> act) {
    DialogVisit visit{title, std::move(act)};
    DialogVisit* outer = std::exchange(g_visit, &visit);
    const UINT_PTR timer = ::SetTimer(nullptr, 0, 300, Visit_Dialog);
    open();
    ::KillTimer(nullptr, timer);
    g_visit = outer;
    EXPECT_TRUE(visit.visited) << Narrow(title);
}

void Visit(MainWindow& window, Command command, const wchar_t* title, std::function<void(HWND)> act) {
    Visit_During([&] { window.Run_Command(command); }, title, std::move(act));
}

bool Shot(HWND dialog, const char* path) {
    ::RedrawWindow(dialog, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    Pump(200);
    return Save_Window_Bitmap(dialog, path);
}

void Click(HWND dialog, int id) {
    ::SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(::GetDlgItem(dialog, id)));
}
std::string Item_Text(HWND dialog, int id) {
    wchar_t text[512] = {};
    ::GetDlgItemTextW(dialog, id, text, 512);
    return Narrow(text);
}

// Manage Computers: two computers added, the list and the tree follow, and the
// remote one's password goes through Wine's CryptProtectData and comes back
// through CryptUnprotectData.
TEST_F(DialogGui, ManageComputersAddsToTheTreeAndProtectsThePassword) {
    ProgramRun run(folder_, messages_, false);
    Visit(*run.window, Command::ManageComputers, L"Manage Computers - Corvane", [&](HWND dialog) {
        ::SetDlgItemTextW(dialog, IDC_TXT_COMPUTER, L"localhost");
        Click(dialog, IDC_CMD_ADD);
        ::SetDlgItemTextW(dialog, IDC_TXT_COMPUTER, L"lab-pc09");
        ::SetDlgItemTextW(dialog, IDC_TXT_USER_NAME, L"admin");
        ::SetDlgItemTextW(dialog, IDC_TXT_PASSWORD, L"pw!9");
        Click(dialog, IDC_CMD_ADD);
        HWND list = ::GetDlgItem(dialog, IDC_LVW_COMPUTER);
        EXPECT_EQ(ListView_GetItemCount(list), 2);
        wchar_t text[64] = {};
        ListView_GetItemText(list, 1, 2, text, 64);
        EXPECT_EQ(std::wstring(text), L"\x2022\x2022\x2022\x2022");
        EXPECT_TRUE(Shot(dialog, "dialog_computers.bmp"));
        Click(dialog, IDC_CMD_CLOSE);
    });
    CheckTree& computers = run.window->Computer_Tree();
    EXPECT_NE(computers.Find("mLAB-PC09"), kNoNode);
    EXPECT_NE(computers.Find("mLOCALHOST"), kNoNode);
    std::string user;
    Secret password;
    ASSERT_TRUE(Get_Computer_Credentials(run.App().Db(), "LAB-PC09", user, password));
    EXPECT_EQ(password.View(), "pw!9");
}

// Exception List: internal entries listed, Add through the Add/Edit dialog.
TEST_F(DialogGui, ExceptionListShowsTheEntriesAndAddsOne) {
    ProgramRun run(folder_, messages_, false);
    Visit(*run.window, Command::ExceptionList, L"Exception List - Corvane", [&](HWND dialog) {
        HWND list = ::GetDlgItem(dialog, IDC_LVW_EXCEPTIONS);
        const int before = ListView_GetItemCount(list);
        EXPECT_GT(before, 0);
        Visit_During([&] { Click(dialog, IDC_EXC_ADD); }, L"Add Exceptions - Corvane",
                     [](HWND box) {
                         ::SetDlgItemTextW(box, IDC_TXT_EXCEPTION, L"software\\oldapp");
                         Click(box, IDOK);
                     });
        EXPECT_EQ(ListView_GetItemCount(list), before + 1);
        EXPECT_TRUE(Shot(dialog, "dialog_exceptions.bmp"));
        Click(dialog, IDC_EXC_CLOSE);
    });
    EXPECT_TRUE(Is_In_Exception_List(run.App().Db(), "HKEY_CURRENT_USER\\Software\\OldApp\\Settings"));
}

// Options: the stored extensions shown and a change saved; the Backup page
// opens the restore dialog of the selected computer.
TEST_F(DialogGui, OptionsSaveAndOpenTheRestoreDialog) {
    ProgramRun run(folder_, messages_, false);
    std::string extensions;
    ASSERT_TRUE(Get_Extensions(run.App().Db(), extensions));
    Visit(*run.window, Command::Options, L"Options - Corvane", [&](HWND dialog) {
        EXPECT_EQ(Item_Text(dialog, IDC_TXT_EXTENSIONS), extensions);
        EXPECT_TRUE(Shot(dialog, "dialog_options.bmp"));
        ::SetDlgItemTextW(dialog, IDC_TXT_EXTENSIONS, L".bak;");
        Click(dialog, IDC_CMD_SAVE);
        HWND pages = ::GetDlgItem(dialog, IDC_TVW_OPTIONS);  // Options: General, Backup, Systemwide
        TreeView_SelectItem(pages, TreeView_GetNextSibling(pages, TreeView_GetChild(pages, TreeView_GetRoot(pages))));
        EXPECT_TRUE(Shot(dialog, "dialog_options_backup.bmp"));
        const std::wstring title = L"Restore Registry - " + Widen(Item_Text(dialog, IDC_CBO_COMPUTERS)) + L" - Corvane";
        Visit_During([&] { Click(dialog, IDC_CMD_RESTORE_REGISTRY); }, title.c_str(),
                     [](HWND box) { Click(box, kRestoreClose); });
        Click(dialog, IDC_OPT_CLOSE);
    });
    std::string saved;
    ASSERT_TRUE(Get_Extensions(run.App().Db(), saved));
    EXPECT_EQ(saved, ".bak;");
}

}  // namespace
}  // namespace corvane::win32
