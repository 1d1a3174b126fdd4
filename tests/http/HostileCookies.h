#pragma once
// Set-Cookie values a hostile or careless server may send, with what a later request must carry.
// Shared by the cookie store's own tests and the GET tests over the wire (where the hosts are
// reached through a scripted proxy, since only 127.0.0.1 is at hand).
//
// Each case: the response to a request for setHost carries "Set-Cookie: " + setCookie; then a
// request for laterHost and laterPath must carry exactly "Cookie: " + expected, or no Cookie line
// at all when expected is empty.
#include <string_view>

struct HostileCookie {
    std::string_view setCookie;
    const char* setHost;
    const char* laterHost;
    const char* laterPath;
    const char* expected;
    const char* why;
};

inline constexpr HostileCookie kHostileCookies[] = {
    {"a=1; domain=com", "news.example.com", "news.example.com", "/", "", "bare top-level domain"},
    {"a=1; domain=.com", "news.example.com", "evil.com", "/", "", "bare top-level domain with a dot"},
    {"a=1; domain=co", "x.co", "y.co", "/", "", "bare top-level domain of a short host"},
    {"a=1; domain=ample.com", "news.example.com", "ample.com", "/", "", "suffix without a dot boundary"},
    {"a=1; domain=ample.com", "news.example.com", "news.example.com", "/", "",
     "suffix without a dot boundary"},
    {"a=1; domain=evil.com", "news.example.com", "evil.com", "/", "", "another site"},
    {"a=1; domain=example.com", "news.example.com", "notexample.com", "/", "", "sent by substring"},
    {"a=1; domain=example.com", "news.example.com", "www.example.com", "/", "a=1", "parent domain is fine"},
    {"a=1", "example.com", "example.com.attacker.net", "/", "", "host contains the domain"},
    {"a=1", "example.com", "evilexample.com", "/", "", "host ends with the domain, no dot"},
    {"a=1", "news.example.com", "example.com", "/", "", "cookie of a subdomain goes up"},
    {"a=1; domain=0.0.1", "127.0.0.1", "127.0.0.1", "/", "", "partial IPv4 address"},
    {"a=1; domain=.0.0.1", "127.0.0.1", "127.0.0.1", "/", "", "partial IPv4 address with a dot"},
    {"a=1; domain=127.0.0.1", "127.0.0.1", "127.0.0.1", "/", "a=1", "an address sets its own cookies"},
    {"a=1", "127.0.0.1", "227.0.0.1", "/", "", "an address gets only its own cookies"},
    {"a=1; domain=127.0.0.1", "127.0.0.1", "x.127.0.0.1", "/", "", "no parent domains of an address"},
    {"a=1; domain=1.2.3.4", "news.example.com", "1.2.3.4", "/", "", "address domain from a named host"},
    {"a=1; domain=.", "news.example.com", "news.example.com", "/", "", "domain of a lone dot"},
    {"a=1; domain=example.com.", "news.example.com", "news.example.com", "/", "", "trailing dot"},
    {"a=1; domain=EXAMPLE.com", "News.Example.COM", "www.example.com", "/", "a=1", "host names ignore case"},
    {"a=1; domain=", "news.example.com", "news.example.com", "/", "a=1", "empty domain is the host"},
    {std::string_view("a=1\0b", 5), "example.com", "example.com", "/", "", "NUL in the value"},
    {"a=1\rX-Injected: y", "example.com", "example.com", "/", "", "CR in the value"},
    {"a=1\nX-Injected: y", "example.com", "example.com", "/", "", "LF in the value"},
    {"a\x01=1", "example.com", "example.com", "/", "", "control character in the name"},
    {"a=1\x7f", "example.com", "example.com", "/", "", "DEL in the value"},
    {"a=1; max-age=99999999999999999999999999", "example.com", "example.com", "/", "a=1", "huge Max-Age"},
    {"a=1; max-age=9223372036854775807", "example.com", "example.com", "/", "a=1",
     "Max-Age at the 64-bit limit"},
    {"a=1; max-age=-99999999999999999999999", "example.com", "example.com", "/", "", "huge negative Max-Age"},
    {"a=1; max-age=0", "example.com", "example.com", "/", "", "Max-Age 0 expires at once"},
    {"a=1; max-age=12abc", "example.com", "example.com", "/", "a=1", "Max-Age that is not a number"},
    {"a=1; expires=Fri, 31 Dec 99999 23:59:59 GMT", "example.com", "example.com", "/", "a=1", "year 99999"},
    {"a=1; expires=Fri, 31 Dec 9999999999999999999999 23:59:59 GMT", "example.com", "example.com", "/", "a=1",
     "year beyond 64 bits"},
    {"a=1; expires=Thu, 01 Jan 1970 00:00:00 GMT", "example.com", "example.com", "/", "", "expired"},
    {"a=1; expires=Mon, 01 Jan 0001 00:00:00 GMT", "example.com", "example.com", "/", "", "year 1"},
    {"a=1; expires=Tue, 31 Feb 2099 99:99:99 GMT", "example.com", "example.com", "/", "a=1",
     "impossible date"},
    {"a=1; expires=garbage", "example.com", "example.com", "/", "a=1", "unreadable date"},
    {"a=1; secure", "example.com", "example.com", "/", "", "secure cookie over plain HTTP"},
    {"a=1; SeCuRe=yes", "example.com", "example.com", "/", "", "secure flag with a value"},
    {"a=1; path=/admin", "example.com", "example.com", "/", "", "deeper path"},
    {"=; ;;; =", "example.com", "example.com", "/", "", "only separators"},
    {";;;;", "example.com", "example.com", "/", "", "only semicolons"},
    {"", "example.com", "example.com", "/", "", "empty value"},
    {"a=", "example.com", "example.com", "/", "", "empty cookie value is kept, never sent"},
};
