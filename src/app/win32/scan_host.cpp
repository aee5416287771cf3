#include "app/win32/scan_host.h"

#include <string>

#include "app/application.h"
#include "fix/fix_commands.h"
#include "remote/target_context.h"
#include "remote/win32/windows_remote_ports.h"
#include "scan/scan_categories.h"
#include "scan/scan_driver.h"
#include "scan/scan_target.h"

namespace corvane::scan {

namespace {

class ScanHost {
public:
    ScanHost(Application& app, IMainWindow& window)
        : app_(app),
          window_(window),
          remote_(window.Get_Comp_Name(), app.Reports(), app.Clock()),
          context_(remote_.Ports(), &remote_.User_Data()),
          target_(context_),
          driver_({window, app.Db(), app.Reports(), target_, false}) {}

    void Start_Scan() { driver_.mnuStartScan_Click(); }
    void Stop() noexcept { driver_.mnuStopScan_Click(); }
    void Skip() noexcept { driver_.lblSkip_Click(); }
    void Fix_Problems() {
        if (driver_.Is_Running()) return;
        fix::FixEnvironment env{window_, app_.Db(), context_, driver_.Stop_Flag(), &Category_Recheck_Rules};
        (void)fix::mnuFixProblems_Click(env);
    }

private:
    Application& app_;
    IMainWindow& window_;
    remote::win32::WindowsRemotePorts remote_;
    remote::TargetContext context_;
    ScanTarget target_;
    ScanDriver driver_;
};

}  // namespace

void Wire_Scan_Commands(Application& app, IMainWindow& window, MainWindowCommands& commands) {
    const auto host = std::make_shared<ScanHost>(app, window);
    commands.startScan = [host] { host->Start_Scan(); };
    commands.stopScan = [host] { host->Stop(); };
    commands.skip = [host] { host->Skip(); };
    commands.fixProblems = [host] { host->Fix_Problems(); };
}

}  // namespace corvane::scan
