// Cutting headlines out of whatever body a server sends, in whatever character set the body or
// the Content-Type names: it ends in headlines or, for a body whose headlines would pass their
// bound, in EFeedTooLarge, nothing else. Every title is one trimmed line within its cap, every
// link starts with the redirect prefix and holds no line break, and a second cut of the same
// body gives the same headlines.
//
// The first byte of the input chooses the Content-Type, the feed's address and whether links get
// a redirect prefix; the rest is the body.
#include "FuzzCheck.h"
#include "reader/EFeedTooLarge.h"
#include "reader/FeedCutter.h"
#include "reader/FeedText.h"
#include "reader/THeadlineStore.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace {

constexpr std::string_view kTypes[] = {"",
                                       "text/xml",
                                       "application/rss+xml; charset=gb2312",
                                       "text/xml; charset=utf-16",
                                       "text/html; charset=iso-8859-1",
                                       "application/atom+xml; charset=\"big5\"",
                                       "text/xml; charset=no-such-set",
                                       "text/xml; charset=shift_jis"};
constexpr std::string_view kUrls[] = {"", "http://news.test/feeds/a.xml", "https://n.test/", "http://[::1]:8080/x?y#z"};
constexpr std::string_view kPrefix = "http://go.test/go/?url=";

bool oneTrimmedLine(const std::string& title) {
    if (title.find_first_of(std::string_view("\0\r\n\t", 4)) != std::string::npos)
        return false;
    return title.empty() || (title.front() != ' ' && title.back() != ' ');
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0)
        return 0;
    const unsigned pick = data[0];
    const std::string_view body(reinterpret_cast<const char*>(data + 1), size - 1);
    const TFeedOrigin origin{kUrls[(pick >> 3) & 3], kTypes[pick & 7], (pick & 0x20) ? kPrefix : ""};

    THeadlineStore store;
    std::size_t n = 0;
    try {
        n = CutHeadlines(body, origin, store);
    } catch (const EFeedTooLarge&) {
        return 0;
    }
    FUZZ_CHECK(n == static_cast<std::size_t>(store.Count()));
    for (std::int32_t i = 0; i < store.Count(); ++i) {
        const THeadlineItem& item = store.Item(i);
        FUZZ_CHECK(item.title.size() <= kTitleCapBytes);
        FUZZ_CHECK(oneTrimmedLine(item.title));
        FUZZ_CHECK(item.link.starts_with(origin.redirectPrefix));
        FUZZ_CHECK(item.link.find_first_of(std::string_view("\0\r\n", 3)) == std::string::npos);
    }

    THeadlineStore again;
    CutHeadlines(body, origin, again);
    FUZZ_CHECK(again.Count() == store.Count());
    for (std::int32_t i = 0; i < store.Count(); ++i)
        FUZZ_CHECK(again.Item(i) == store.Item(i));
    return 0;
}
