#include "app/win32/scan_host.h"

#include "app/application.h"
#include "app/scan_and_fix.h"
#include "remote/win32/com_worker_threads.h"
#include "remote/win32/windows_remote_ports.h"
#include "scan/scan_categories.h"
#include "scan/scan_target.h"

namespace corvane::scan {

namespace {

class ScanHost {
public:
    ScanHost(Application& app, IMainWindow& window, IProgressPanelView& panel)
        : remote_(window.Get_Comp_Name(), app.Reports(), app.Clock()),
          target_(remote_.Ports(), remote::kScanning),
          progress_(panel),
          threads_(remote_.Local_Name()),
          scan_(window, progress_, app.Db(), app.Reports(), target_) {
        scan_.Driver().Set_Worker_Threads(&threads_);
    }

    void mnuStartScan_Click() { scan_.Driver().Start(); }
    void mnuStopScan_Click() noexcept { scan_.Driver().Request_Stop(); }
    void lblSkip_Click() noexcept { scan_.Driver().Request_Skip(); }
    void mnuFixProblems_Click() { scan_.Fix_Problems(); }

private:
    remote::win32::WindowsRemotePorts remote_;
    ScanTarget target_;
    ProgressPresenter progress_;
    remote::win32::ComWorkerThreads threads_;
    ScanAndFix scan_;
};

}  // namespace

void Wire_Scan_Commands(Application& app, IMainWindow& window, IProgressPanelView& panel,
                        MainWindowCommands& commands) {
    const auto host = std::make_shared<ScanHost>(app, window, panel);
    commands.startScan = [host] { host->mnuStartScan_Click(); };
    commands.stopScan = [host] { host->mnuStopScan_Click(); };
    commands.skip = [host] { host->lblSkip_Click(); };
    commands.fixProblems = [host] { host->mnuFixProblems_Click(); };
}

}  // namespace corvane::scan
