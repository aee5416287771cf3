#include "periphery/update_check.h"

#include "base/open_url.h"

#include <algorithm>

#include "base/runtime_error.h"

namespace corvane::periphery {
namespace {

constexpr std::string_view kWhiteSpace = " \t\r\n\f\v";
constexpr std::size_t kMaxVersionParts = 4;
constexpr std::size_t kMaxPartDigits = 9;  // keeps every part within an unsigned

std::string_view Trimmed(std::string_view text) {
    const auto first = text.find_first_not_of(kWhiteSpace);
    if (first == std::string_view::npos) return {};
    return text.substr(first, text.find_last_not_of(kWhiteSpace) - first + 1);
}

}  // namespace

bool Http_Get(IHttpClient& http, std::string_view address, std::string_view query, std::string& response) {
    response.clear();
    std::string url(address);
    if (!query.empty()) url.append("?").append(query);
    try {
        HttpResponse answer = http.Get(url);
        if (answer.status != 200) return false;
        response = std::move(answer.body);
        return true;
    } catch (const RuntimeError&) {
        return false;  // no answer at all: the caller's one message covers it
    }
}

bool Get_Latest_Version(IHttpClient& http, const WebAddresses& addresses, std::string& productCode,
                        std::string_view localVersion, std::string& remoteVersion) {
    productCode = kProductCode;
    const std::string query = "fn=getver&pn=" + productCode + "&pv=" + std::string(localVersion);
    return Http_Get(http, addresses.Update_Address(), query, remoteVersion);
}

std::optional<std::vector<unsigned>> Parse_Version(std::string_view text) {
    text = Trimmed(text);
    std::vector<unsigned> parts;
    while (true) {
        const auto dot = text.find('.');
        const std::string_view part = text.substr(0, dot);
        if (part.empty() || part.size() > kMaxPartDigits ||
            !std::all_of(part.begin(), part.end(), [](char c) { return c >= '0' && c <= '9'; })) {
            return std::nullopt;
        }
        unsigned value = 0;
        for (const char c : part) value = value * 10 + static_cast<unsigned>(c - '0');
        parts.push_back(value);
        if (parts.size() > kMaxVersionParts) return std::nullopt;
        if (dot == std::string_view::npos) return parts;
        text.remove_prefix(dot + 1);
    }
}

std::strong_ordering Compare_Versions(const std::vector<unsigned>& a, const std::vector<unsigned>& b) {
    for (std::size_t i = 0; i < std::max(a.size(), b.size()); ++i) {
        const unsigned left = i < a.size() ? a[i] : 0;
        const unsigned right = i < b.size() ? b[i] : 0;
        if (left != right) return left <=> right;
    }
    return std::strong_ordering::equal;
}

void Check_For_Updates(IHttpClient& http, IMessageBox& messages, IShell& shell, const WebAddresses& addresses,
                       std::string_view localVersion) {
    std::string productCode;
    std::string response;
    const auto local = Parse_Version(localVersion);
    const auto remote = Get_Latest_Version(http, addresses, productCode, localVersion, response)
                            ? Parse_Version(response)
                            : std::nullopt;
    if (!local || !remote) {
        messages.Show(kUpdateFailedMessage, MsgButtons::Ok, MsgIcon::Exclamation);
        return;
    }
    if (Compare_Versions(*remote, *local) == std::strong_ordering::greater) {
        const std::string question = "A new version (ver. " + std::string(Trimmed(response)) +
                                     ") is available for download. Do you want to download the new version?";
        if (messages.Show(question, MsgButtons::YesNo, MsgIcon::Question) == MsgResult::Yes) {
            (void)Open_Web_Address(shell, addresses.Download_Page());
        }
        return;
    }
    messages.Show("You are running the most recent version (ver. " + std::string(localVersion) + ") of Corvane!",
                  MsgButtons::Ok, MsgIcon::Information);
}

}  // namespace corvane::periphery
