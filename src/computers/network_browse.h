// The Browse command of the computers dialog without its window: collects the
// computers the network browser knows, domain by domain, with a progress
// count, a Cancel flag tested before each domain and one OK/Cancel message
// per failing domain, and hands back the names not yet managed. A network
// whose domains cannot be listed says why (with OK only), so that a failed
// browse never looks like an empty network. The dialog shows the panel,
// wires its Cancel button to Cancel() and adds the names.
#pragma once

#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "base/ports/message_box.h"
#include "computers/network_browser.h"

namespace corvane::computers {

inline constexpr std::string_view kComputersPlaceholder = "Computers";
inline constexpr std::string_view kBrowseWaitText = "Please wait while searching computers...";

// The message for a network API error code; empty (no message) for codes
// without a text of their own.
[[nodiscard]] std::string Net_Error_Text(std::uint32_t code);

// Fills domains (from index 0) and returns their number; 0 on failure, with
// the error's text in errorText when given (empty when the code has none).
int Get_Network_Domains(INetworkBrowser& network, std::vector<std::string>& domains, std::string* errorText = nullptr);
// Appends the computers of the domain and returns how many; on failure adds
// nothing, returns 0 and sets errorText to the error's text (empty when the
// code has none); on success clears errorText.
int Get_Domain_Computers(INetworkBrowser& network, std::string_view domain, std::vector<std::string>& names,
                         std::string& errorText);

// The progress bar of the panel: a step raises maximum and value by one
// (k of k + 1 after k domains); the final step raises only the value.
struct BrowseProgress {
    int value = 0;
    int maximum = 1;
    void Increase_ProgressBar_Status(bool finalStep) noexcept {
        ++value;
        if (!finalStep) ++maximum;
    }
};

class NetworkBrowse {
public:
    struct Hooks {
        std::function<void()> doEvents;                           // lets pending window messages run
        std::function<void(const BrowseProgress&)> showProgress;  // after every change of the bar
    };

    NetworkBrowse(INetworkBrowser& network, IMessageBox& messages) : network_(network), messages_(messages) {}

    // The panel's Cancel button: takes effect before the next domain.
    void Cancel() noexcept { cancelled_ = true; }

    // "Computers" followed by every name reported, domain after domain.
    [[nodiscard]] std::vector<std::string> GetAllComputersFromNetWork(const Hooks& hooks);

    // The whole command: the names reported that are neither managed already
    // nor reported before (ignoring case), in the order reported. Empty names
    // are left out.
    [[nodiscard]] std::vector<std::string> Browse(std::span<const std::string> managed, const Hooks& hooks);

private:
    INetworkBrowser& network_;
    IMessageBox& messages_;
    bool cancelled_ = false;
};

}  // namespace corvane::computers
