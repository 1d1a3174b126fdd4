#include "http/TIdCookieDate.h"

#include <chrono>
#include <cstdio>

namespace {

// Days since 1970-01-01 of a proleptic Gregorian date (years within the clamp range).
int64_t daysFromCivil(int64_t y, unsigned m, unsigned d) {
    y -= m <= 2;
    const int64_t era = (y >= 0 ? y : y - 399) / 400;
    const int64_t yoe = y - era * 400;
    const int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

void civilFromDays(int64_t z, int64_t& y, unsigned& m, unsigned& d) {
    z += 719468;
    const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const int64_t doe = z - era * 146097;
    const int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    y = yoe + era * 400;
    const int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const int64_t mp = (5 * doy + 2) / 153;
    d = static_cast<unsigned>(doy - (153 * mp + 2) / 5 + 1);
    m = static_cast<unsigned>(mp < 10 ? mp + 3 : mp - 9);
    y += m <= 2;
}

bool isLeap(int64_t y) {
    return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
}

unsigned daysInMonth(int64_t y, unsigned m) {
    static const unsigned kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return m == 2 && isLeap(y) ? 29 : kDays[m - 1];
}

const char* const kMonths[] = {"jan", "feb", "mar", "apr", "may", "jun",
                               "jul", "aug", "sep", "oct", "nov", "dec"};
const char* const kMonthNames[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                   "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
const char* const kDayNames[] = {"Thu", "Fri", "Sat", "Sun", "Mon", "Tue", "Wed"}; // from 1970-01-01

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// Delimiters between date tokens: everything but letters, digits and ':'.
bool isDelimiter(char c) {
    unsigned char u = static_cast<unsigned char>(c);
    return !(isDigit(c) || (u >= 'a' && u <= 'z') || (u >= 'A' && u <= 'Z') || c == ':' || u >= 0x80);
}

// Leading digits of s as a number, saturating; count is how many digits there were.
int64_t leadingNumber(std::string_view s, std::size_t& count) {
    int64_t n = 0;
    count = 0;
    while (count < s.size() && isDigit(s[count])) {
        if (n < 1000000000)
            n = n * 10 + (s[count] - '0');
        ++count;
    }
    return n;
}

// hh:mm:ss, each part one or two digits.
bool parseTime(std::string_view t, int& h, int& mi, int& s) {
    int parts[3];
    std::size_t pos = 0;
    for (int k = 0; k < 3; ++k) {
        std::size_t n;
        int64_t v = leadingNumber(t.substr(pos), n);
        if (n < 1 || n > 2)
            return false;
        parts[k] = static_cast<int>(v);
        pos += n;
        if (k < 2) {
            if (pos >= t.size() || t[pos] != ':')
                return false;
            ++pos;
        }
    }
    if (pos < t.size() && isDigit(t[pos]))
        return false;
    h = parts[0];
    mi = parts[1];
    s = parts[2];
    return true;
}

} // namespace

int64_t IdCookieClamp(int64_t t) {
    return t < kIdCookieTimeMin ? kIdCookieTimeMin : t > kIdCookieTimeMax ? kIdCookieTimeMax : t;
}

int64_t IdCookieAddSeconds(int64_t now, int64_t seconds) {
    now = IdCookieClamp(now);
    if (seconds > 0 && seconds > kIdCookieTimeMax - now)
        return kIdCookieTimeMax;
    if (seconds < 0 && seconds < kIdCookieTimeMin - now)
        return kIdCookieTimeMin;
    return now + seconds;
}

int64_t IdUnixNow() {
    return std::chrono::duration_cast<std::chrono::seconds>(
               std::chrono::system_clock::now().time_since_epoch())
        .count();
}

std::optional<int64_t> IdParseCookieDate(std::string_view text) {
    bool haveTime = false, haveDay = false, haveMonth = false, haveYear = false;
    int hour = 0, minute = 0, second = 0;
    int64_t day = 0, year = 0;
    unsigned month = 0;
    std::size_t pos = 0;
    while (pos < text.size()) {
        while (pos < text.size() && isDelimiter(text[pos]))
            ++pos;
        std::size_t end = pos;
        while (end < text.size() && !isDelimiter(text[end]))
            ++end;
        std::string_view token = text.substr(pos, end - pos);
        pos = end;
        if (token.empty())
            continue;
        std::size_t digits;
        int64_t number = leadingNumber(token, digits);
        bool onlyNumber = digits > 0 && (digits == token.size() || !isDigit(token[digits]));
        if (!haveTime && parseTime(token, hour, minute, second)) {
            haveTime = true;
        } else if (!haveDay && onlyNumber && digits <= 2 && token.find(':') == std::string_view::npos) {
            day = number;
            haveDay = true;
        } else if (!haveMonth && token.size() >= 3 && !isDigit(token[0])) {
            for (unsigned m = 0; m < 12; ++m) {
                bool same = true;
                for (int k = 0; k < 3; ++k) {
                    char c = token[static_cast<std::size_t>(k)];
                    if (c >= 'A' && c <= 'Z')
                        c = static_cast<char>(c - 'A' + 'a');
                    same = same && c == kMonths[m][k];
                }
                if (same) {
                    month = m + 1;
                    haveMonth = true;
                    break;
                }
            }
        } else if (!haveYear && onlyNumber && digits >= 2 && token.find(':') == std::string_view::npos) {
            year = number;
            if (digits == 2)
                year += year >= 70 ? 1900 : 2000;
            haveYear = true;
        }
    }
    if (!haveTime || !haveDay || !haveMonth || !haveYear)
        return std::nullopt;
    if (hour > 23 || minute > 59 || second > 59 || day < 1)
        return std::nullopt;
    if (year > 9999)
        return kIdCookieTimeMax;
    if (year < 1601)
        return kIdCookieTimeMin;
    if (day > daysInMonth(year, month))
        return std::nullopt;
    return daysFromCivil(year, month, static_cast<unsigned>(day)) * 86400 + hour * 3600 + minute * 60 +
           second;
}

std::string IdInternetDate(int64_t unixSeconds) {
    int64_t t = IdCookieClamp(unixSeconds);
    int64_t days = t >= 0 ? t / 86400 : (t - 86399) / 86400;
    int64_t secs = t - days * 86400;
    int64_t y;
    unsigned m, d;
    civilFromDays(days, y, m, d);
    int64_t weekday = ((days % 7) + 7) % 7;
    char buf[64];
    std::snprintf(buf, sizeof buf, "%s, %02u %s %04lld %02lld:%02lld:%02lld GMT", kDayNames[weekday], d,
                  kMonthNames[m - 1], static_cast<long long>(y), static_cast<long long>(secs / 3600),
                  static_cast<long long>(secs / 60 % 60), static_cast<long long>(secs % 60));
    return buf;
}
