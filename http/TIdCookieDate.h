#pragma once
// Times for cookie expiry: whole seconds since 1970-01-01 00:00:00 UTC.
//
// Every instant is kept between 1601-01-01 and 9999-12-31 23:59:59, so a date far in the past or
// the future, or a huge Max-Age added to now, never overflows.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

constexpr int64_t kIdCookieTimeMin = -11644473600; // 1601-01-01 00:00:00
constexpr int64_t kIdCookieTimeMax = 253402300799; // 9999-12-31 23:59:59

int64_t IdCookieClamp(int64_t t);
// now + seconds, clamped.
int64_t IdCookieAddSeconds(int64_t now, int64_t seconds);
// The system clock.
int64_t IdUnixNow();

// Reads the date forms servers put in Expires: RFC 1123 ("Sun, 06 Nov 1994 08:49:37 GMT"), RFC 850
// ("Sunday, 06-Nov-94 08:49:37 GMT"), the Netscape form ("Sun, 06-Nov-1994 08:49:37 GMT") and
// asctime ("Sun Nov  6 08:49:37 1994"). Tokens may come in any order; two-digit years 70-99 are
// 19xx, 00-69 20xx; a year outside 1601-9999 is clamped. Nothing when a part is missing or out of
// range (day 0, hour 24, 31 February).
std::optional<int64_t> IdParseCookieDate(std::string_view text);
// "Sun, 06 Nov 1994 08:49:37 GMT".
std::string IdInternetDate(int64_t unixSeconds);
