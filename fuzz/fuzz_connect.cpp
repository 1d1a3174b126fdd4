// The proxy's answers to CONNECT: the client's https GET through a proxy over an in-memory
// connection with TLS faked, so the input is what the proxy says and then what the server says
// inside the tunnel. The first byte picks how the bytes are cut and whether the proxy gets Basic
// credentials from the start. Whatever arrives, the GET returns a body or raises an
// EIdException; only CONNECT heads go to the proxy, and nothing for the proxy (its credentials,
// another CONNECT) goes inside the tunnel.
#include "FuzzCheck.h"
#include "http/EIdException.h"
#include "http/TIdHTTP.h"
#include "http/TIdIOHandlerMemory.h"

#include <cstdint>
#include <string>

namespace {

constexpr std::size_t kBound = 64 * 1024;

void checkToProxy(const std::string& sent) {
    for (std::size_t at = 0; at < sent.size();) {
        FUZZ_CHECK(sent.compare(at, 35, "CONNECT fuzz.example:443 HTTP/1.1\r\n") == 0);
        const std::size_t end = sent.find("\r\n\r\n", at);
        FUZZ_CHECK(end != std::string::npos);
        at = end + 4;
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0)
        return 0;
    const uint8_t flags = data[0];
    std::string input(reinterpret_cast<const char*>(data) + 1, size - 1);
    TIdIOHandlerMemory io(input, flags & 7);
    io.SetFakeTLS(true);
    TIdHTTP http;
    http.SetIOHandler(&io);
    http.SetMaxBodySize(kBound);
    http.ProxyParams().SetProxyServer("proxy.example");
    http.ProxyParams().SetProxyPort(3128);
    http.ProxyParams().SetProxyUsername("user");
    http.ProxyParams().SetProxyPassword("secret");
    if (flags & 0x08)
        http.ProxyParams().SetBasicAuthentication(true);
    try {
        std::string body = http.Get("https://fuzz.example/feed.xml");
        FUZZ_CHECK(body.size() <= input.size());
        FUZZ_CHECK(!io.TLSStarts().empty());
    } catch (const EIdException&) {
        // Every refusal is one of the client's own exceptions.
    }
    const std::string& sent = io.Output();
    const std::size_t tunnel = io.TLSStarts().empty() ? sent.size() : io.TLSStarts()[0].second;
    checkToProxy(sent.substr(0, tunnel));
    const std::string inside = sent.substr(tunnel);
    FUZZ_CHECK(inside.find("Proxy-Authorization") == std::string::npos);
    FUZZ_CHECK(inside.find("CONNECT ") == std::string::npos);
    FUZZ_CHECK(inside.empty() || inside.rfind("GET /feed.xml HTTP/1.1\r\n", 0) == 0);
    http.SetIOHandler(nullptr);
    return 0;
}
