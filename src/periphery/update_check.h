// The Check for Updates command: asks the update server for the latest
// version of the product, compares it with the running version part by part
// as numbers, and offers the download page when the server's is newer.
#pragma once

#include <compare>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/ports/message_box.h"
#include "base/ports/shell.h"
#include "periphery/http_client.h"
#include "periphery/web_addresses.h"

namespace corvane::periphery {

inline constexpr std::string_view kProductCode = "cvn";
inline constexpr std::string_view kUpdateFailedMessage =
    "Unable to get update information at this time! Try again later.";

// GET of address + "?" + query (the address alone when the query is empty).
// True with the body when the server answered 200; false with an empty
// response on any other status or when the request failed.
[[nodiscard]] bool Http_Get(IHttpClient& http, std::string_view address, std::string_view query, std::string& response);

// Asks the update server (query fn=getver, pn=<product>, pv=<local version>);
// sets productCode to "cvn" and remoteVersion to the body as received.
[[nodiscard]] bool Get_Latest_Version(IHttpClient& http, const WebAddresses& addresses, std::string& productCode,
                                      std::string_view localVersion, std::string& remoteVersion);

// "2.10.0" as {2, 10, 0}, after trimming white space; nullopt for anything
// that is not one to four dot-separated decimal numbers.
[[nodiscard]] std::optional<std::vector<unsigned>> Parse_Version(std::string_view text);
// Part by part as numbers; missing parts count as 0 (2.1 equals 2.1.0).
[[nodiscard]] std::strong_ordering Compare_Versions(const std::vector<unsigned>& a, const std::vector<unsigned>& b);

// The whole command. A response that is not a version counts as a failed
// check, never as "up to date".
void Check_For_Updates(IHttpClient& http, IMessageBox& messages, IShell& shell, const WebAddresses& addresses,
                       std::string_view localVersion);

}  // namespace corvane::periphery
