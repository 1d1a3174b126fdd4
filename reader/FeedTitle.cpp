#include "reader/FeedTitle.h"

#include "framework/core/CodePage.h"

namespace {

bool isTrail(unsigned char c) {
    return (c & 0xC0) == 0x80;
}

} // namespace

bool DecodeFeedUtf8(std::string_view bytes, std::u16string& out) {
    out.clear();
    out.reserve(bytes.size());
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
    const std::size_t n = bytes.size();
    std::size_t i = 0;
    while (i < n) {
        unsigned c = p[i++];
        if (c < 0x80) {
            out.push_back(static_cast<char16_t>(c));
            continue;
        }
        unsigned wc = c & 0x3F;
        if (c & 0x20) {
            if (i >= n || !isTrail(p[i]))
                return false;
            wc = (wc << 6) | (p[i++] & 0x3F);
        }
        if (i >= n || !isTrail(p[i]))
            return false;
        wc = (wc << 6) | (p[i++] & 0x3F);
        out.push_back(static_cast<char16_t>(wc & 0xFFFF));
    }
    return true;
}

std::string_view TrimControls(std::string_view text) {
    std::size_t b = 0, e = text.size();
    while (b < e && static_cast<unsigned char>(text[b]) <= 32)
        ++b;
    while (e > b && static_cast<unsigned char>(text[e - 1]) <= 32)
        --e;
    return text.substr(b, e - b);
}

std::string BlankLineBreaks(std::string_view text) {
    std::string out(text);
    for (char& c : out)
        if (c == '\r' || c == '\n' || c == '\t')
            c = ' ';
    return out;
}

std::string FeedTitleToAnsi(std::string_view bytes) {
    // Plain ASCII decodes to itself and is already GBK: skip the conversions.
    bool ascii = true;
    for (char ch : bytes)
        if (static_cast<unsigned char>(ch) >= 0x80) {
            ascii = false;
            break;
        }
    if (ascii)
        return std::string(TrimControls(BlankLineBreaks(bytes)));
    std::u16string wide;
    if (!DecodeFeedUtf8(bytes, wide))
        return std::string();
    // After the conversion, since an over-long sequence decodes to a line break too. GBK's
    // second bytes start at 0x40, so a CR, LF or TAB byte here is always the character itself.
    return std::string(TrimControls(BlankLineBreaks(Utf16ToAnsi(wide))));
}
