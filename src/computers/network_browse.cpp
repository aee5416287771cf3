#include "computers/network_browse.h"

#include <set>

#include "base/text.h"

namespace corvane::computers {
namespace {

void Call(const std::function<void()>& hook) {
    if (hook) hook();
}

}  // namespace

std::string Net_Error_Text(std::uint32_t code) {
    switch (code) {
        case 5: return "Access is denied.";
        case 50: return "The request is not supported.";
        case 87: return "The parameter is incorrect.";
        case 234: return "More entries are available. Specify a large enough buffer to receive all entries.";
        case 2114: return "The server service is not started.";
        case 2138:
            return "The Workstation service has not been started. The local workstation service is used to "
                   "communicate with a downlevel remote server.";
        case 2184: return "The service has not been started.";
        case 6118: return "No browser servers found.";
        default: return {};
    }
}

int Get_Network_Domains(INetworkBrowser& network, std::vector<std::string>& domains, std::string* errorText) {
    NetServerList list = network.List_Domains();
    if (errorText) *errorText = list.error != 0 ? Net_Error_Text(list.error) : std::string();
    if (list.error != 0) return 0;
    domains = std::move(list.names);
    return static_cast<int>(domains.size());
}

int Get_Domain_Computers(INetworkBrowser& network, std::string_view domain, std::vector<std::string>& names,
                         std::string& errorText) {
    NetServerList list = network.List_Computers(domain);
    if (list.error != 0) {
        errorText = Net_Error_Text(list.error);
        return 0;
    }
    errorText.clear();
    names.insert(names.end(), list.names.begin(), list.names.end());
    return static_cast<int>(list.names.size());
}

std::vector<std::string> NetworkBrowse::GetAllComputersFromNetWork(const Hooks& hooks) {
    std::vector<std::string> names{std::string(kComputersPlaceholder)};
    BrowseProgress progress;
    std::vector<std::string> domains;
    std::string domainsFailure;
    if (Get_Network_Domains(network_, domains, &domainsFailure) == 0 && !domainsFailure.empty()) {
        (void)messages_.Show(domainsFailure, MsgButtons::Ok, MsgIcon::Exclamation);
    }
    if (!domains.empty()) {
        for (const std::string& domain : domains) {
            if (cancelled_) break;
            std::string errorText;
            Get_Domain_Computers(network_, domain, names, errorText);
            if (!errorText.empty() && messages_.Show(domain + ": " + errorText, MsgButtons::OkCancel,
                                                     MsgIcon::Exclamation) == MsgResult::Cancel) {
                break;
            }
            Call(hooks.doEvents);
            progress.Increase_ProgressBar_Status(false);
            if (hooks.showProgress) hooks.showProgress(progress);
        }
    }
    progress.Increase_ProgressBar_Status(true);
    if (hooks.showProgress) hooks.showProgress(progress);
    return names;
}

std::vector<std::string> NetworkBrowse::Browse(std::span<const std::string> managed, const Hooks& hooks) {
    cancelled_ = false;
    if (hooks.showProgress) hooks.showProgress(BrowseProgress{});
    Call(hooks.doEvents);
    const std::vector<std::string> reported = GetAllComputersFromNetWork(hooks);
    cancelled_ = false;

    std::set<std::string> known;
    for (const std::string& name : managed) known.insert(Lower_Ascii(name));
    std::vector<std::string> added;
    for (std::size_t i = 1; i < reported.size(); ++i) {
        if (!reported[i].empty() && known.insert(Lower_Ascii(reported[i])).second) added.push_back(reported[i]);
    }
    return added;
}

}  // namespace corvane::computers
