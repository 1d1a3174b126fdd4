#pragma once
// The prefixes a feed binds to the Atom and RSS 1.0 namespaces, so that a feed written as
// "<a:feed xmlns:a="http://www.w3.org/2005/Atom"><a:entry>..." or as RSS 1.0 with
// "<rss:item>" is cut as the unprefixed one is. They are read from the declarations on the
// document element, where feeds put them; a declaration further in is not seen.
// Namespace names compare without regard to case, as mature feed readers compare them.
#include <string>
#include <string_view>

struct TFeedPrefixes {
    std::string_view atom; // Atom 1.0 or 0.3; "" when no prefix is bound to it
    std::string_view rss;  // RSS 1.0 or 0.90; "" likewise
};

TFeedPrefixes ReadFeedPrefixes(std::string_view body);

// A tag's names with a prefix: "<prefix:name" and "</prefix:name>", or without one for "".
std::string OpenTag(std::string_view prefix, std::string_view name);
std::string CloseTag(std::string_view prefix, std::string_view name);
