#include "app/win32/dialog_commands.h"

#include <windows.h>

#include <set>

#include "app/application.h"
#include "app/main_window_commands.h"
#include "app/win32/image_library.h"
#include "app/win32/main_window.h"
#include "app/win32/options_backup.h"
#include "base/open_url.h"
#include "base/win32/settings_store_win32.h"
#include "base/win32/shell_win32.h"
#include "base/win32/system_folders.h"
#include "base/win32/wide_text.h"
#include "computers/win32/computer_dialog.h"
#include "computers/win32/net_browser_win32.h"
#include "periphery/web_addresses.h"
#include "remote/win32/windows_remote_ports.h"
#include "settings/win32/exception_dialogs.h"
#include "settings/win32/options_view.h"

namespace corvane::win32 {
namespace {

// The registry editor of the Windows directory, never a program of the same
// name found first on the search path (the program's own folder among it).
void Open_Registry_Editor() {
    const std::wstring editor = Windows_Directory_Program(L"regedit.exe");
    if (!editor.empty()) (void)Win32Shell().Open(Narrow(editor));
}

// Refills the window's computer tree from the database after each change,
// keeping the check marks of the computers that stay; the local computer's
// default entry comes and goes with the list, as at start-up.
class MainTreeInStep final : public IMainComputerTree {
public:
    explicit MainTreeInStep(MainWindow& window) : window_(window) {}
    void Computer_Added(std::string_view) override { Refill(); }
    void Computer_Removed(std::string_view) override { Refill(); }

private:
    void Refill() {
        CheckTree& tree = window_.Computer_Tree();
        std::set<std::string> checked;
        for (NodeId node : tree.Tree_Order()) {
            if (tree.Node(node).checked) checked.insert(tree.Node(node).key);
        }
        window_.Fill_Computers();
        for (NodeId node : tree.Tree_Order()) {
            if (checked.count(tree.Node(node).key)) tree.Set_Checked_Only(node, true);
        }
    }
    MainWindow& window_;
};

// The options tree's image keys drawn with the main window's pictures.
std::string_view Page_Image(std::string_view key) {
    if (key == "Options" || key == "GenOptions") return "GeneralOptions";
    if (key == "RegOptions") return "Registry";
    return "File";
}

std::vector<std::string> Computer_Names(CheckTree& tree) {
    std::vector<std::string> names;
    for (NodeId node : tree.Tree_Order()) {
        if (tree.Node(node).key != "rR") names.push_back(tree.Node(node).text);
    }
    return names;
}

}  // namespace

void Wire_Dialog_Commands(Application& app, MainWindow& window, MainWindowCommands& commands) {
    // The home site as the per-user settings name it, read when the link is clicked.
    auto home = [&app](std::string query) {
        return [&app, query = std::move(query)] {
            Win32SettingsStore settings;
            Win32Shell shell;
            (void)Open_Web_Address(shell, periphery::Load_Web_Addresses(settings, app.Reports()).homeSite + query);
        };
    };
    commands.manageComputers = [&app, &window, home] {
        MainTreeInStep tree(window);
        ComputerList list(app.Db(), app.Reports(), tree, window.Get_Comp_Name());
        computers::win32::Win32NetworkBrowser network;
        const ImageLibrary& images = window.Images();
        ComputerDialog dialog(list, app.Reports(),
                              {.network = &network,
                               .openHomePage = home(""),
                               .images = images.Small(),
                               .computerImage = images.Index("Computer"),
                               .importIcon = images.Icon("Import"),
                               .exportIcon = images.Icon("Export")});
        dialog.Show(window.Handle());
    };
    commands.exceptionList = [&app, &window, home] {
        ExceptionList list(app.Db(), app.Reports());
        ExceptionListDialog dialog(list, app.Reports(),
                                   {.openRegistryEditor = [] { Open_Registry_Editor(); },
                                    .openHomePage = home(""),
                                    .images = window.Images().Small(),
                                    .exceptionImage = window.Images().Index("ExceptionList"),
                                    .importIcon = window.Images().Icon("Import"),
                                    .exportIcon = window.Images().Icon("Export")});
        dialog.Show(window.Handle());
    };
    commands.options = [&app, &window, home] {
        // Each backup command connects anew; the ports live as long as the dialog.
        remote::win32::WindowsRemotePorts remote(window.Get_Comp_Name(), app.Reports(), app.Clock());
        Win32Shell shell;
        const OptionsView* shown = nullptr;
        OptionsBackup backup(remote.Ports(), shell, &remote.User_Data(),
                             [&shown] { return shown ? shown->Handle() : nullptr; });
        OptionsDialog options(app.Db(), app.Reports(), &backup);
        const ImageLibrary& images = window.Images();
        OptionsView view(options, app.Reports(), Computer_Names(window.Computer_Tree()), home("?sr=cvn"),
                         images.Small(), [&images](std::string_view key) { return images.Index(Page_Image(key)); });
        shown = &view;
        view.Show(window.Handle());
    };
}

}  // namespace corvane::win32
