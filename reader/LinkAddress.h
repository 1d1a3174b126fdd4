#pragma once
// A feed item's link as the address it names: relative links are resolved against the feed's
// own address (RFC 3986, section 5.2), and links whose scheme a browser pane must not follow
// ("javascript:", "data:", "vbscript:", ...) come out empty, as mature feed readers have it.
#include <string>
#include <string_view>

// ref resolved against base; ref as it is when it is absolute or base is empty.
std::string ResolveLink(std::string_view base, std::string_view ref);

// The resolved link, or "" when there is none or its scheme is not one a reader opens.
std::string LinkAddress(std::string_view base, std::string_view ref);

// The same in place, for the part of text from "from" on (what comes before, a redirect prefix,
// stays); that part is emptied when its scheme is not one a reader opens.
void FinishLinkAddress(std::string& text, std::size_t from, std::string_view base);
