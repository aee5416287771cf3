// Open_Url: a document, web address or mail address opened with the shell's
// "open" verb, shown normally. Returns the shell's result (above 32 = success).
// Addresses that come from settings a user can change go through
// Open_Web_Address, which hands the shell web pages only.
#pragma once

#include <algorithm>
#include <cstdint>
#include <string_view>

#include "base/ports/shell.h"
#include "base/text.h"

namespace corvane {

inline std::intptr_t Open_Url(IShell& shell, std::string_view target) { return shell.Open(target); }

// True for an "http://" or "https://" address (either case) with a host, made
// only of the characters an address may hold: no blank, no quote, no control
// character, nothing outside ASCII. Anything else given to the shell could
// start a registered handler, open a local file or reach another program's
// command line.
[[nodiscard]] inline bool Is_Web_Address(std::string_view address) {
    std::string_view rest;
    if (Starts_With_Ignore_Case(address, "http://")) {
        rest = address.substr(7);
    } else if (Starts_With_Ignore_Case(address, "https://")) {
        rest = address.substr(8);
    } else {
        return false;
    }
    if (rest.empty() || rest.find_first_of("/?#") == 0) return false;
    constexpr std::string_view kPunctuation = "-._~:/?#[]@!$&'()*+,;=%";
    return std::ranges::all_of(address, [&](char c) {
        return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
               kPunctuation.find(c) != std::string_view::npos;
    });
}

// Open_Url for a web page; anything else is not handed to the shell (answer 0).
inline std::intptr_t Open_Web_Address(IShell& shell, std::string_view address) {
    return Is_Web_Address(address) ? Open_Url(shell, address) : 0;
}

}  // namespace corvane
