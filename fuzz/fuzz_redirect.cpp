// Where a redirect leads: the input is the Location a server sends; its first byte picks the
// URL that answered (http or https, with or without a path and query). Whatever the Location,
// the answer is a refusal with its reason or an absolute http(s) URL with a host and no
// fragment, never from https down to http, and it splits back into a URL the client can ask.
#include "FuzzCheck.h"
#include "framework/core/AsciiText.h"
#include "http/TIdRedirectTarget.h"
#include "http/TIdURI.h"

#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0)
        return 0;
    static const char* const kBases[] = {
        "http://feeds.example:80/rss/world.xml",
        "https://feeds.example:443/rss/a/b.xml?x=1",
        "https://[::1]:8443/",
        "http://127.0.0.1:8480/go/?url=x/y",
    };
    const std::string base = kBases[data[0] % 4];
    const std::string location(reinterpret_cast<const char*>(data) + 1, size - 1);
    const TIdRedirectTarget t = IdRedirectTarget(base, location);
    FUZZ_CHECK(t.URL.empty() != t.Refusal.empty());
    if (t.URL.empty())
        return 0;
    const bool https = t.URL.rfind("https://", 0) == 0;
    FUZZ_CHECK(https || t.URL.rfind("http://", 0) == 0);
    FUZZ_CHECK(https || base.rfind("https://", 0) != 0);
    FUZZ_CHECK(t.URL.find('#') == std::string::npos);
    TIdURI split(t.URL);
    FUZZ_CHECK(!split.Host().empty());
    FUZZ_CHECK(SameText(split.Protocol(), https ? "https" : "http"));
    return 0;
}
