// Reading responses: the client's GET over an in-memory connection whose "server" sends the
// input. The first byte picks how the bytes are cut (a receive hands out 1 to 7 bytes, or as many
// as asked) and a few settings; the rest is what the server sends, possibly several responses
// for the two GETs made. Whatever arrives, a GET returns a body or raises an EIdException, and a
// body is never longer than the input nor past the client's bound.
#include "FuzzCheck.h"
#include "http/EIdException.h"
#include "http/TIdHTTP.h"
#include "http/TIdIOHandlerMemory.h"

#include <cstdint>
#include <string>

namespace {

constexpr std::size_t kBound = 64 * 1024;

void getOnce(TIdHTTP& http, const char* url, std::size_t inputSize) {
    try {
        std::string body = http.Get(url);
        FUZZ_CHECK(body.size() <= inputSize);
        FUZZ_CHECK(body.size() <= kBound);
    } catch (const EIdException&) {
        // Every refusal the client makes is one of its own exceptions.
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0)
        return 0;
    const uint8_t flags = data[0];
    std::string input(reinterpret_cast<const char*>(data) + 1, size - 1);
    TIdIOHandlerMemory io(input, flags & 7);
    TIdHTTP http;
    http.SetIOHandler(&io);
    http.SetMaxBodySize(kBound);
    http.Request().SetContentType("text/html");
    if (flags & 0x08)
        http.SetHeaderLineLimit(0);
    if (flags & 0x10)
        http.SetProtocolVersion(pv1_0);
    if (flags & 0x20)
        http.SetHandleRedirects(true);
    if (flags & 0x40)
        http.SetHTTPOptions(hoInProcessAuth);

    getOnce(http, "http://fuzz.example/rss/feed.xml", input.size());
    getOnce(http, "other.xml", input.size());

    // Each request went out whole, head first.
    const std::string& sent = io.Output();
    FUZZ_CHECK(sent.empty() || sent.rfind("GET /rss/feed.xml HTTP/1.", 0) == 0);
    http.SetIOHandler(nullptr);
    return 0;
}
