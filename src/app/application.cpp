#include "app/application.h"

#include "base/ports/clock.h"
#include "base/ports/message_box.h"
#include "base/ports/platform.h"
#include "base/runtime_error.h"
#include "base/version.h"
#include "db/app_tables.h"

namespace corvane {

std::string Get_Version_String() {
    return "Version: " + std::to_string(CORVANE_VERSION_MAJOR) + "." + std::to_string(CORVANE_VERSION_MINOR) +
           " Build:" + std::to_string(CORVANE_VERSION_REVISION);
}

Application::Application(IPlatform& platform, IClock& clock, IMessageBox& messageBox)
    : platform_(platform), clock_(clock), reporter_(messageBox), database_(reporter_) {}

Application::~Application() { reporter_.Attach_Log(nullptr); }

std::string Application::Log_File_Path() const {
    return platform_.Program_Folder() + "\\" + platform_.Executable_Name() + ".log";
}

bool Application::Is_Already_Running() { return platform_.Create_Instance_Mutex(kInstanceMutexName); }

void Application::Release_Instance() { platform_.Release_Instance_Mutex(); }

void Application::Start_Log() {
    if (!log_) return;
    log_->Log_Event(std::string(100, '-'), LOG_PLAIN, false);
    log_->Log_Event("Started", LOG_INFO, true);
    log_->Log_Event("Path: " + platform_.Program_Folder() + "\\" + platform_.Executable_Name() + ".exe", LOG_INFO,
                    true);
    log_->Log_Event(Get_Version_String(), LOG_INFO, true);
}

void Application::Stop_Log() {
    if (!log_) return;
    log_->Log_Event("Stopped", LOG_INFO, true);
    log_->Log_Event(std::string(100, '+'), LOG_PLAIN, false);
}

Application::StartResult Application::Main(const ShowMainWindow& showMainWindow) {
    if (Is_Already_Running()) {
        End_Program();
        return StartResult::AlreadyRunning;
    }
    log_ = std::make_unique<clsLog>(Log_File_Path(), clock_);
    log_->Start_Logging(Log_File_Path());
    reporter_.Attach_Log(log_.get());
    Start_Log();

    platform_.Set_Thread_Locale(kEnglishUnitedStates);
    platform_.Init_Common_Controls(kCommonControlClasses);

    database_.Open_Database(Find_Or_Create_Database(platform_, reporter_));
    if (!database_.Is_Open()) {
        reporter_.Messages().Show(kDatabaseMissingMessage, MsgButtons::Ok, MsgIcon::Critical);
        return StartResult::DatabaseMissing;
    }
    Protect_Older_Passwords();
    Migrate_Database(database_, reporter_);
    database_.Compact_Database();
    showMainWindow(*this);
    return StartResult::WindowShown;
}

void Application::Protect_Older_Passwords() {
    // Before compacting, so that the scrambled texts leave the file with the freed pages.
    try {
        if (const std::int32_t converted = Protect_Scrambled_Passwords(database_)) {
            reporter_.Log_Event(std::to_string(converted) + " stored passwords of an older version are now protected.");
        }
    } catch (const RuntimeError& error) {
        reporter_.Log_Event("Stored passwords of an older version stay scrambled: " + error.Text(), LOG_WARNING);
    }
}

void Application::End_Program() {
    if (ended_) return;
    ended_ = true;
    if (unloadAllForms_) {
        auto unload = std::move(unloadAllForms_);
        unload();
    }
    database_.Close_Database();
    Stop_Log();
    reporter_.Attach_Log(nullptr);
    log_.reset();
    Release_Instance();
}

}  // namespace corvane
