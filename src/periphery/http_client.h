// Port: one HTTP GET. The Win32 implementation uses WinHTTP (HTTPS with the
// server's certificate checked); tests answer from a table or a local server.
#pragma once

#include <string>
#include <string_view>

namespace corvane::periphery {

struct HttpResponse {
    int status = 0;    // the server's status code (200, 404, ...)
    std::string body;  // the whole body as received
};

class IHttpClient {
public:
    virtual ~IHttpClient() = default;
    IHttpClient() = default;
    IHttpClient(const IHttpClient&) = delete;
    IHttpClient& operator=(const IHttpClient&) = delete;

    // GET of the full address; a request that gets no answer at all (no
    // connection, bad address, certificate refused) raises RuntimeError.
    [[nodiscard]] virtual HttpResponse Get(std::string_view url) = 0;
};

}  // namespace corvane::periphery
