// The Win32 implementations of the small remote-access ports: reading one
// local registry value (RegQueryValueExW), listing a path for the fast
// existence tests (FindFirstFileW), the local computer's version and name, and
// the per-user folder of undo files.
#pragma once

#include <cstdint>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>

#include "base/win32/unique_any.h"
#include "remote/local_registry.h"
#include "remote/local_system.h"
#include "remote/share_lister.h"
#include "remote/undo_files.h"
#include "remote/win32/share_logons.h"

namespace corvane::remote::win32 {

class NativeLocalRegistry final : public ILocalRegistry {
public:
    // KEY_READ, then a 1024-byte buffer, enlarged once to the reported size.
    [[nodiscard]] std::optional<RawRegistryValue> Read_Value(std::uint32_t root, std::string_view keyPath,
                                                             std::string_view valueName) override;
    // Under Wine opening and closing a key cost as much as reading a value:
    // a category that reads two values of every entry saves a third.
    void Keep_Last_Key(bool on) noexcept override;

private:
    // Every computer's session turns the kept key on and off, from its own thread.
    std::mutex mutex_;
    bool keep_ = false;
    std::uint32_t keptRoot_ = 0;
    std::string keptPath_;
    ::corvane::win32::unique_hkey kept_;
};

class NativeShareLister final : public IShareLister {
public:
    // Every call on a "\\server\..." path runs impersonating that server's logon.
    void Use_Credentials(std::string_view server, std::string_view user, const Secret& password) override {
        logons_.Use(server, user, password);
    }
    // Found when an entry of a fitting kind matches. A listing that fails is
    // NotFound only when the root of the path (the share, or the drive) can
    // itself be listed; otherwise the share is Unavailable, never "missing".
    [[nodiscard]] ListingResult Find(std::string_view path, std::uint32_t attributeMask) override;
    // With identities, each entry is opened once more (file_handles.h).
    [[nodiscard]] ListingResult List_Folder(std::string_view folderPath, std::vector<ListedEntry>& entries,
                                            bool identities) override;
    [[nodiscard]] ListingResult Entry_Of(std::string_view path, ListedEntry& entry) override;
    [[nodiscard]] DeleteResult Delete_Checked(std::string_view path, std::string_view startFolder,
                                              const FileIdentity& identity) override;
    // CancelSynchronousIo on the calling thread: a listing or deletion that
    // waits for a computer that no longer answers fails at once.
    [[nodiscard]] std::function<void()> Call_Canceller() override;

private:
    ShareLogons logons_;
};

class NativeLocalSystem final : public ILocalSystem {
public:
    [[nodiscard]] OsVersionNumbers Os_Version() override;
    [[nodiscard]] std::string Computer_Name() override;
    // The native store's answers (native_store.h).
    [[nodiscard]] std::optional<std::string> Long_Path(std::string_view path) override;
    [[nodiscard]] LocalPathKind Path_Kind(std::string_view path) override;
    [[nodiscard]] std::optional<std::string> Read_Small_File(std::string_view path, std::size_t maxBytes) override;
};

// The per-user local application data folder (FOLDERID_LocalAppData).
class NativeUserDataFolder final : public IUserDataFolder {
public:
    [[nodiscard]] std::string Local_Application_Data() override;
};

// The root a listing failure is checked against: "\\server\share\" for a UNC
// path, "C:\" for a drive path, "" when the path has neither.
[[nodiscard]] std::string Listing_Root(std::string_view path);

}  // namespace corvane::remote::win32
