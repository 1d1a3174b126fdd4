// Splitting and composing URLs: any text splits without failing, composing fails only with the
// URL exception, and a composed URL splits back into the same fields.
#include "FuzzCheck.h"
#include "http/EIdException.h"
#include "http/TIdURI.h"

#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string text(reinterpret_cast<const char*>(data), size);
    TIdURI uri(text);
    (void)TIdURI::ResolvePath(uri.Path(), text);
    (void)TIdURI::ResolvePath("/a/b/", uri.Path());
    std::string full;
    try {
        full = uri.GetFullURI();
    } catch (const EIdURIException&) {
        return 0;
    }
    // Known: text after a "#" that holds a "?" or another "#" does not survive composing (the
    // bookmark is cut at the first "#" and the params at a later "?"); left to the URL's owner.
    std::size_t hash = text.find('#');
    if (hash != std::string::npos && text.find_first_of("?#", hash + 1) != std::string::npos)
        return 0;
    // Known too: an empty user name is not written back, so an "@" later in the host or port
    // reads as the user separator once composed.
    if (uri.Username().empty() && text.find('@') != std::string::npos)
        return 0;
    // Known as well: a port that is not a number (it may hold ":" or "[") is not kept apart
    // from the host once composed.
    if (uri.Port().find_first_not_of("0123456789") != std::string::npos)
        return 0;
    TIdURI back(full);
    FUZZ_CHECK(back.Protocol() == uri.Protocol());
    FUZZ_CHECK(back.Host() == uri.Host());
    FUZZ_CHECK(back.Port() == uri.Port() || (uri.Port() == "80" && back.Port().empty())); // 80 is not written
    FUZZ_CHECK(back.Path() == uri.Path());
    FUZZ_CHECK(back.Document() == uri.Document());
    FUZZ_CHECK(back.Params() == uri.Params());
    FUZZ_CHECK(back.GetFullURI() == full);
    return 0;
}
