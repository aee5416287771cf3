#include "remote/watched_shares.h"

#include "base/runtime_error.h"
#include "remote/wmi_errors.h"

namespace corvane::remote {

template <typename Result>
std::optional<Result> WatchedShares::Watched(const std::function<Result()>& call, std::uint32_t& endedStatus) {
    try {
        const wmi::CallControl::Watch watch = calls_.Begin_Call(inner_.Call_Canceller());
        Result result = call();
        watch.Raise_If_Ended();
        return result;
    } catch (const RuntimeError& error) {
        const bool cancelled = error.Number() == Hresult_Number(wmi::hresult::kCallCanceled);
        endedStatus = cancelled ? kStatusCancelled : kStatusTimedOut;
        return std::nullopt;
    }
}

ListingResult WatchedShares::Find(std::string_view path, std::uint32_t attributeMask) {
    std::uint32_t ended = 0;
    return Watched<ListingResult>([&] { return inner_.Find(path, attributeMask); }, ended)
        .value_or(ListingResult::Unavailable);
}

ListingResult WatchedShares::List_Folder(std::string_view folderPath, std::vector<ListedEntry>& entries,
                                         bool identities) {
    std::uint32_t ended = 0;
    std::vector<ListedEntry> listed;
    const auto result =
        Watched<ListingResult>([&] { return inner_.List_Folder(folderPath, listed, identities); }, ended);
    if (!result) return ListingResult::Unavailable;
    entries = std::move(listed);
    return *result;
}

ListingResult WatchedShares::Entry_Of(std::string_view path, ListedEntry& entry) {
    std::uint32_t ended = 0;
    ListedEntry found;
    const auto result = Watched<ListingResult>([&] { return inner_.Entry_Of(path, found); }, ended);
    if (!result) return ListingResult::Unavailable;
    if (*result == ListingResult::Found) entry = std::move(found);
    return *result;
}

DeleteResult WatchedShares::Delete_Checked(std::string_view path, std::string_view startFolder,
                                           const FileIdentity& identity) {
    std::uint32_t ended = 0;
    const auto result =
        Watched<DeleteResult>([&] { return inner_.Delete_Checked(path, startFolder, identity); }, ended);
    return result.value_or(DeleteResult{DeleteOutcome::Error, ended});
}

}  // namespace corvane::remote
