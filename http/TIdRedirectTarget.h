#pragma once
// Where a redirect leads: its Location resolved against the URL that answered, as a browser
// resolves a reference (an absolute URL, "//host/path", "/path", "?query" or a relative path,
// dot segments removed, the fragment dropped), and the redirects a client must not follow.
//
//   IdRedirectTarget("https://a.example/feeds/x.xml", "../y.xml").URL == "https://a.example/y.xml"
//
// Refused, with the reason: no Location, a scheme other than http and https, no host, and any
// step from https down to http.
#include <string>

struct TIdRedirectTarget {
    std::string URL;     // absolute, "scheme://authority/path?query"; empty when refused
    std::string Refusal; // why it is not followed; empty when it may be
};

TIdRedirectTarget IdRedirectTarget(const std::string& base, const std::string& location);
