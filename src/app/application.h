// The process-wide objects and the start and shutdown sequences (Main,
// End_Program). Main ends at once when another copy runs; otherwise it opens
// the log, sets the English locale, registers the common controls, finds (or
// makes from the pristine copy) and opens the database, protects the passwords
// an older version left scrambled, compacts the database, and shows the main
// window. The main window calls End_Program when it unloads.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "base/log.h"
#include "base/reporter.h"
#include "db/database.h"

namespace corvane {

class IClock;
class IMessageBox;
class IPlatform;

inline constexpr const char* kInstanceMutexName = "HNCorvane";
inline constexpr std::uint32_t kEnglishUnitedStates = 1033;
inline constexpr std::uint32_t kCommonControlClasses = 0x8FE;
inline constexpr const char* kDatabaseMissingMessage =
    "Necessary file to run the program is not found! Please re-install the program.";

// "Version: " major "." minor " Build:" revision.
[[nodiscard]] std::string Get_Version_String();

class Application {
public:
    // What Main does once start-up has succeeded: load and show the main window.
    using ShowMainWindow = std::function<void(Application&)>;
    enum class StartResult { AlreadyRunning, DatabaseMissing, WindowShown };

    Application(IPlatform& platform, IClock& clock, IMessageBox& messageBox);
    ~Application();
    Application(const Application&) = delete;
    Application& operator=(const Application&) = delete;

    StartResult Main(const ShowMainWindow& showMainWindow);
    // Unloads the forms, closes the database, ends the log, releases the mutex.
    void End_Program();

    // Called by End_Program first; the window layer sets it to close its forms.
    void Set_Unload_All_Forms(std::function<void()> unload) { unloadAllForms_ = std::move(unload); }

    [[nodiscard]] IPlatform& Platform() const noexcept { return platform_; }
    [[nodiscard]] IClock& Clock() const noexcept { return clock_; }
    [[nodiscard]] Reporter& Reports() noexcept { return reporter_; }
    [[nodiscard]] Database& Db() noexcept { return database_; }
    [[nodiscard]] clsLog* Log() noexcept { return log_.get(); }
    // Program folder, "\", executable name, ".log".
    [[nodiscard]] std::string Log_File_Path() const;

private:
    bool Is_Already_Running();
    void Release_Instance();
    void Start_Log();
    void Stop_Log();
    // Passwords an older version stored scrambled are protected for the
    // person running the program (app_tables.h); a failure is logged.
    void Protect_Older_Passwords();

    IPlatform& platform_;
    IClock& clock_;
    Reporter reporter_;
    Database database_;
    std::unique_ptr<clsLog> log_;
    std::function<void()> unloadAllForms_;
    bool ended_ = false;
};

}  // namespace corvane
