#include "framework/core/UnicodeText.h"

char32_t NextUtf8(const unsigned char*& p, const unsigned char* end) {
    const unsigned c = *p++;
    if (c < 0x80)
        return c;
    int more;
    char32_t cp;
    unsigned lo = 0x80, hi = 0xBF; // the range of the second byte
    if (c >= 0xC2 && c <= 0xDF) {
        more = 1;
        cp = c & 0x1F;
    } else if (c >= 0xE0 && c <= 0xEF) {
        more = 2;
        cp = c & 0x0F;
        if (c == 0xE0)
            lo = 0xA0; // over-long below U+0800
        else if (c == 0xED)
            hi = 0x9F; // surrogates
    } else if (c >= 0xF0 && c <= 0xF4) {
        more = 3;
        cp = c & 0x07;
        if (c == 0xF0)
            lo = 0x90; // over-long below U+10000
        else if (c == 0xF4)
            hi = 0x8F; // past U+10FFFF
    } else {
        return kReplacementChar;
    }
    for (int i = 0; i < more; ++i, lo = 0x80, hi = 0xBF) {
        if (p == end || *p < lo || *p > hi)
            return kReplacementChar; // p stays on the byte that broke the sequence
        cp = (cp << 6) | (*p++ & 0x3F);
    }
    return cp;
}

void AppendUtf8(std::string& out, char32_t cp) {
    if (cp < 0x80) {
        out.push_back(static_cast<char>(cp));
    } else if (cp < 0x800) {
        const char b[2] = {static_cast<char>(0xC0 | (cp >> 6)), static_cast<char>(0x80 | (cp & 0x3F))};
        out.append(b, 2);
    } else if (cp < 0x10000) {
        const char b[3] = {static_cast<char>(0xE0 | (cp >> 12)), static_cast<char>(0x80 | ((cp >> 6) & 0x3F)),
                           static_cast<char>(0x80 | (cp & 0x3F))};
        out.append(b, 3);
    } else {
        const char b[4] = {
            static_cast<char>(0xF0 | (cp >> 18)), static_cast<char>(0x80 | ((cp >> 12) & 0x3F)),
            static_cast<char>(0x80 | ((cp >> 6) & 0x3F)), static_cast<char>(0x80 | (cp & 0x3F))};
        out.append(b, 4);
    }
}

void AppendUtf16(std::u16string& out, char32_t cp) {
    if (cp < 0x10000) {
        out.push_back(static_cast<char16_t>(cp));
    } else {
        cp -= 0x10000;
        out.push_back(static_cast<char16_t>(0xD800 | (cp >> 10)));
        out.push_back(static_cast<char16_t>(0xDC00 | (cp & 0x3FF)));
    }
}

std::size_t WellFormedUtf8Length(const unsigned char* p, const unsigned char* end) {
    const unsigned char* q = p;
    const char32_t c = NextUtf8(q, end);
    const auto n = static_cast<std::size_t>(q - p);
    // U+FFFD itself is well-formed; the replacement for a malformed sequence is not.
    if (c == kReplacementChar && !(n == 3 && p[0] == 0xEF && p[1] == 0xBF && p[2] == 0xBD))
        return 0;
    return n;
}
