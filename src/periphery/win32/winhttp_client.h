// The HTTP port over WinHTTP: one synchronous GET per call, through the
// system's proxy settings, with the server's certificate checked for HTTPS
// (no certificate error is ever ignored) and bounded waits.
#pragma once

#include "periphery/http_client.h"

namespace corvane::periphery::win32 {

class WinHttpClient final : public IHttpClient {
public:
    WinHttpClient() = default;
    [[nodiscard]] HttpResponse Get(std::string_view url) override;
};

}  // namespace corvane::periphery::win32
