// The chunked-body decoder on its own: the first byte picks how the bytes are cut (a receive
// hands out 1 to 7 bytes, or as many as asked) and whether lines and trailers are bounded; the
// rest is what follows a response head. However the bytes are cut, the decoder comes to the same
// end as with them all at once: the same body, the same failure, the same bytes left behind.
#include "FuzzCheck.h"
#include "http/EIdException.h"
#include "http/TIdChunkedBody.h"
#include "http/TIdIOHandlerMemory.h"
#include "http/TIdMemoryStream.h"

#include <cstdint>
#include <string>

namespace {

struct Outcome {
    std::string body;
    std::string error;
    std::string rest;
};

Outcome decode(const std::string& input, std::size_t piece, int maxLine, int trailers) {
    TIdIOHandlerMemory io(input, piece);
    io.Open();
    TIdMemoryStream out;
    out.SetMaxSize(64 * 1024);
    Outcome o;
    try {
        TIdChunkedBody(maxLine, trailers).Read(io, out);
        TIdMemoryStream rest;
        io.ReadStream(rest, -1, true);
        o.rest = rest.ToString();
    } catch (const EIdException& e) {
        o.error = e.ClassName();
    }
    o.body = out.ToString();
    return o;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0)
        return 0;
    const uint8_t flags = data[0];
    const std::string input(reinterpret_cast<const char*>(data) + 1, size - 1);
    const int maxLine = flags & 0x08 ? 64 : 16384;
    const int trailers = flags & 0x10 ? 2 : 255;
    Outcome whole = decode(input, 0, maxLine, trailers);
    Outcome cut = decode(input, (flags & 7) == 0 ? 1 : flags & 7, maxLine, trailers);
    FUZZ_CHECK(whole.body.size() <= input.size());
    FUZZ_CHECK(whole.body == cut.body);
    FUZZ_CHECK(whole.error == cut.error);
    FUZZ_CHECK(whole.rest == cut.rest);
    FUZZ_CHECK(!whole.error.empty() || whole.body.size() + whole.rest.size() < input.size());
    return 0;
}
