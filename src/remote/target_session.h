// One computer opened for a scan or a fix: the one routine that reaches a
// computer (root\cimv2, root\default, the registry provider, the name it
// answers with, its system facts, local or remote, fixed drives, the trust in
// its shares), the context it owns, and the registry and file operations the
// category routines and the fix call on it. What differs between scanning
// and fixing is the SessionPurpose, given once at construction.
//
// A session belongs to the thread that made it and is used only there: its
// context is not shared, and the COM proxies behind it are bound to that
// thread's apartment. Debug builds check it at every connection use. Only
// Cancel_Calls and Resume_Calls may come from another thread. Every call
// waits at most the time limit of the ports (RemotePorts::callLimit).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "base/secret.h"
#include "remote/target_context.h"
#include "remote/wmi_connection.h"
#include "remote/wmi_registry.h"

namespace corvane::remote {

// What differs between opening a computer to scan it and to fix it.
struct SessionPurpose {
    // The name the computer answers with is read before root\default is
    // opened, and must be readable and equal the name the rows were found
    // under; otherwise nothing more is opened there.
    bool confirmScannedName = false;
    // The existence tests answer from one listing per folder.
    bool folderListings = false;
    // The local registry keeps the last key it opened, for many reads in a row.
    bool keepLocalKey = false;
    // On a remote computer the existence tests always ask its management
    // service, whatever the safe-scan option.
    bool safeTestsWhenRemote = false;
    // The fixed drives are read (share trust, the systemwide search).
    bool readFixedDrives = false;
};

// A scan reads many values and tests many paths and lists what it finds.
inline constexpr SessionPurpose kScanning{
    .folderListings = true, .keepLocalKey = true, .safeTestsWhenRemote = false, .readFixedDrives = true};
// A fix asks the computer itself once per row, and only the computer the rows
// were found on.
inline constexpr SessionPurpose kFixing{.confirmScannedName = true, .safeTestsWhenRemote = true};
// An undo writes saved values back and judges nothing it reads; the caller
// compares the name the computer answers with to the file's.
inline constexpr SessionPurpose kUndoing{};

struct Credentials {
    std::string userName;  // empty: the caller's own identity
    Secret password;
};

// One computer to open.
struct OpenRequest {
    std::string computerName{};  // as listed: the server of every connection
    Credentials credentials{};
    bool safeScanOption = false;  // the general option "safe scan"
    std::string scannedName{};    // with confirmScannedName: the name of the scan
};

enum class OpenOutcome {
    Opened,
    NotReached,      // root\cimv2 could not be opened, or the computer stopped answering (errorText says why, logged)
    DefaultRefused,  // root\default could not be opened (errorText says why, logged)
    NameUnreadable,  // confirmScannedName: the computer does not tell its name (logged)
    OtherName,       // confirmScannedName: it answers under another name (logged)
};

// What WMI_Enum_String_Values gives: the names, their types and the text of
// the string values (empty for every other type), index for index.
struct StringValues {
    std::vector<std::string> names;
    std::vector<std::int32_t> types;
    std::vector<std::string> data;
};

class TargetSession {
public:
    TargetSession(const RemotePorts& ports, SessionPurpose purpose)
        : context_(ports), purpose_(purpose), thread_(std::this_thread::get_id()) {}
    ~TargetSession() { Close(); }
    TargetSession(const TargetSession&) = delete;
    TargetSession& operator=(const TargetSession&) = delete;

    [[nodiscard]] const SessionPurpose& Purpose() const noexcept { return purpose_; }
    // The computer as opened; it stays readable after Close until the next Open.
    [[nodiscard]] TargetContext& Context() noexcept { return context_; }
    [[nodiscard]] const TargetContext& Context() const noexcept { return context_; }

    // Closes the previous computer, forgets everything known of it, and
    // prepares for this one as the purpose says (listings, kept key).
    void Begin(std::string_view computerName);
    // Begin, then opens the computer. Raises the run-time error of a registry
    // provider that cannot be had; a lost connection while reading the facts
    // only leaves them empty.
    [[nodiscard]] OpenOutcome Open(OpenRequest request, std::string& errorText);
    // Drops the service objects, the folder listings and the kept key.
    void Close() noexcept;
    [[nodiscard]] bool Is_Open() const noexcept { return connection_.Connected(); }

    // The one entry point that may be called from any thread (Stop): ends
    // the call in progress on the computer, connecting included, and makes
    // every later call fail at once with RPC_E_CALL_CANCELED, which ends the
    // computer like a lost connection, until Resume_Calls (a new scan or fix
    // on the same session).
    void Cancel_Calls() noexcept { context_.Calls()->Cancel_Calls(); }
    void Resume_Calls() noexcept { context_.Calls()->Resume_Calls(); }

    // The service objects; raise error 91 when not open.
    [[nodiscard]] wmi::IServices& Cimv2();
    [[nodiscard]] wmi::IServices& Root_Default();
    [[nodiscard]] wmi::IObject& Registry();

    // ---- registry; roots are the registry API's numbers
    [[nodiscard]] bool Check_Access(std::uint32_t root, std::string_view keyPath, std::uint32_t required);
    // The same with CheckAccess's return code (2: there is no such key).
    [[nodiscard]] bool Check_Access(std::uint32_t root, std::string_view keyPath, std::uint32_t required,
                                    std::int32_t& returnCode);
    [[nodiscard]] std::vector<std::string> Enum_Key(std::uint32_t root, std::string_view keyPath);
    // The same; false when the call itself failed (the list is then empty).
    [[nodiscard]] bool Enum_Key(std::uint32_t root, std::string_view keyPath, std::vector<std::string>& names);
    [[nodiscard]] std::vector<std::string> Enum_Values(std::uint32_t root, std::string_view keyPath);
    // A key that could be read and holds nothing (remote::Is_Empty_Key).
    [[nodiscard]] bool Is_Empty_Key(std::uint32_t root, std::string_view keyPath);
    // EnumValues with the types, nothing read; false when the call failed or said no.
    [[nodiscard]] bool Enum_Value_Types(std::uint32_t root, std::string_view keyPath, std::vector<std::string>& names,
                                        std::vector<std::int32_t>& types);
    // Is_Empty_Key for a key whose values were just listed (Enum_Value_Types).
    [[nodiscard]] bool Is_Empty_Key(std::uint32_t root, std::string_view keyPath, const std::vector<std::string>& names,
                                    const std::vector<std::int32_t>& types);
    [[nodiscard]] bool Enum_String_Values(std::uint32_t root, std::string_view keyPath, StringValues& values);
    // WMI_Get_String_Value; value gets the text.
    [[nodiscard]] StringRead Get_String_Value(std::uint32_t root, std::string_view keyPath, std::string_view valueName,
                                              std::int32_t valueType, std::string& value);
    // WMI_Get_Expanded_String_Value, expanded by the computer itself.
    [[nodiscard]] StringRead Get_Expanded_String_Value(std::uint32_t root, std::string_view keyPath,
                                                       std::string_view valueName, std::string& value);
    // GetBinaryValue; true with the value's bytes when they were read.
    [[nodiscard]] bool Get_Binary_Value(std::uint32_t root, std::string_view keyPath, std::string_view valueName,
                                        std::vector<std::uint8_t>& bytes);

    // ---- files (safe or fast existence tests as the open decided)
    [[nodiscard]] bool Remote_File_Exists(std::string_view path);
    [[nodiscard]] bool Remote_Folder_Exists(std::string_view path);
    [[nodiscard]] bool Is_Fixed_Drive(std::string_view name) const;
    [[nodiscard]] bool Get_Windows_Directory(std::string& directory);

    // The connection itself, for the routines that take it whole.
    [[nodiscard]] WmiConnection& Connection() noexcept { return connection_; }

private:
    // Root\default and the registry provider.
    [[nodiscard]] bool Open_Registry(std::string& errorText);
    // The name the computer answers with, its version and address width, and
    // whether the backend is the local computer's own store.
    void Read_Facts(std::string& name);
    // Closes and says why (logged when told) when the computer's calls ended
    // (time-out, cancellation).
    [[nodiscard]] bool Stopped_Answering(std::string& errorText, bool log);
    [[nodiscard]] OpenOutcome Confirm_Name(const std::string& name, const std::string& scannedName);
    void Assert_Own_Thread() const noexcept;

    TargetContext context_;
    SessionPurpose purpose_;
    WmiConnection connection_;
    std::thread::id thread_;
};

}  // namespace corvane::remote
