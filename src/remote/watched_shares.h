// The share lister as the routines of one computer reach it: every call waits
// at most that computer's time limit and ends when its calls are cancelled,
// like its WMI calls (call_control.h). A call ended so answers "unavailable"
// (a deletion: an error), never "not found", and the limit passed sticks to
// the computer as for WMI.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>

#include "remote/call_control.h"
#include "remote/share_lister.h"

namespace corvane::remote {

class WatchedShares final : public IShareLister {
public:
    WatchedShares(IShareLister& inner, wmi::CallControl& calls) : inner_(inner), calls_(calls) {}

    void Use_Credentials(std::string_view server, std::string_view user, const Secret& password) override {
        inner_.Use_Credentials(server, user, password);
    }
    [[nodiscard]] ListingResult Find(std::string_view path, std::uint32_t attributeMask) override;
    [[nodiscard]] ListingResult List_Folder(std::string_view folderPath, std::vector<ListedEntry>& entries,
                                            bool identities) override;
    [[nodiscard]] ListingResult Entry_Of(std::string_view path, ListedEntry& entry) override;
    [[nodiscard]] DeleteResult Delete_Checked(std::string_view path, std::string_view startFolder,
                                              const FileIdentity& identity) override;
    [[nodiscard]] std::function<void()> Call_Canceller() override { return inner_.Call_Canceller(); }

private:
    // The call's result under the limit; nothing when it was ended (or not
    // made because the computer's calls already ended), with the Win32
    // status that says so.
    template <typename Result>
    std::optional<Result> Watched(const std::function<Result()>& call, std::uint32_t& endedStatus);

    IShareLister& inner_;
    wmi::CallControl& calls_;
};

}  // namespace corvane::remote
