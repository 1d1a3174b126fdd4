#include "reader/FeedText.h"

#include "framework/core/Gb18030Codec.h"
#include "framework/core/UnicodeText.h"
#include "reader/HtmlEntities.h"
#include "reader/TFeedTextDecoder.h"

#include <algorithm>
#include <cstring>
#include <iterator>

namespace {

// Room for a title's markup before it is removed.
constexpr std::size_t kMarkupCapBytes = 16 * kTitleCapBytes;

// windows-1252's characters for the C1 controls 0x80..0x9F, as HTML reads "&#150;" too; 0 keeps
// the control.
constexpr char16_t kC1[32] = {0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                              0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,
                              0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                              0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

// What str.strip() takes off a title's ends: blanks, controls and the Unicode spaces.
bool isSpace(char32_t c) {
    return c <= 0x20 || c == 0x85 || c == 0xA0 || c == 0x1680 || (c >= 0x2000 && c <= 0x200A) ||
           c == 0x2028 || c == 0x2029 || c == 0x202F || c == 0x205F || c == 0x3000;
}

enum class Use { Title, Link };

// Whether the bytes are well-formed UTF-8 throughout.
bool wellFormedUtf8(std::string_view s) {
    const auto* p = reinterpret_cast<const unsigned char*>(s.data());
    const unsigned char* end = p + s.size();
    while (p < end) {
        const std::size_t n = WellFormedUtf8Length(p, end);
        if (n == 0)
            return false;
        p += n;
    }
    return true;
}

// Collects characters in the code page after what the string already holds, trimming both ends
// and stopping at the cap.
//
// With repair on, text that is UTF-8 read once too often as Latin-1 ("CafÃ©" for "Café", the
// common fault of a feed written in UTF-8 and encoded again) reads as meant, as mature feed
// readers repair it: when every character is below U+0100, some beyond ASCII, and their bytes
// are well-formed UTF-8, those bytes are decoded as UTF-8 instead.
class TextBuilder {
public:
    TextBuilder(std::string& out, Use use, std::size_t cap, std::size_t expected, bool repair = false)
        : out_(out), start_(out.size()), kept_(out.size()), use_(use), cap_(cap), codec_(Gb18030Codec::Get()),
          repair_(repair) {
        out_.reserve(start_ + std::min(expected + 8, cap));
    }

    bool Full() const { return full_; }

    void Add(char32_t c) {
        if (c > 0x3000 && !full_) {
            addWide(c);
            return;
        }
        if (c == 0 || full_)
            return;
        if (repair_ && c >= 0x80)
            noteForRepair(c);
        else if (latinHigh_)
            latin_.push_back(static_cast<char>(c));
        if (c == '\r' || c == '\n' || c == '\t') {
            if (use_ == Use::Link)
                return;
            c = ' ';
        } else if (c >= 0x80 && c <= 0x9F && use_ == Use::Title && kC1[c - 0x80]) {
            c = kC1[c - 0x80];
        }
        const bool space = isSpace(c);
        if (space && out_.size() == start_)
            return;
        const std::size_t before = out_.size();
        if (c < 0x80)
            out_.push_back(static_cast<char>(c));
        else
            codec_.Append(out_, c);
        if (out_.size() - start_ > cap_) {
            out_.resize(before);
            full_ = true;
            return;
        }
        if (!space)
            kept_ = out_.size();
    }

    // A run of two-byte code page characters, none of them a blank or a control, added in one go.
    void AddTwoByteRun(const char* bytes, std::size_t n) {
        if (full_ || n == 0)
            return;
        if (repair_) {
            repair_ = latinHigh_ = false;
            latin_.clear();
        }
        if (out_.size() - start_ + n > cap_) {
            n = (cap_ - (out_.size() - start_)) & ~std::size_t{1};
            full_ = true;
        }
        out_.append(bytes, n);
        if (n > 0)
            kept_ = out_.size();
    }

    // A run of printable ASCII (blanks included), added in one go.
    void AddAscii(const unsigned char* p, std::size_t n) {
        if (full_)
            return;
        if (out_.size() == start_)
            while (n > 0 && *p == ' ')
                ++p, --n;
        if (out_.size() - start_ + n > cap_) {
            n = cap_ - (out_.size() - start_);
            full_ = true;
        }
        std::size_t last = n;
        while (last > 0 && p[last - 1] == ' ')
            --last;
        if (latinHigh_)
            latin_.append(reinterpret_cast<const char*>(p), n);
        out_.append(reinterpret_cast<const char*>(p), n);
        if (last > 0)
            kept_ = out_.size() - (n - last);
    }

    void AddUtf8(std::string_view utf8) {
        const auto* p = reinterpret_cast<const unsigned char*>(utf8.data());
        for (const unsigned char* end = p + utf8.size(); p < end;)
            Add(NextUtf8(p, end));
    }

    // Drops the trailing blanks; the string then ends with the text.
    void Finish() {
        out_.resize(kept_);
        if (latinHigh_ && !full_ && wellFormedUtf8(latin_)) {
            latinHigh_ = repair_ = false;
            out_.resize(start_);
            kept_ = start_;
            AddUtf8(latin_);
            out_.resize(kept_);
        }
    }

private:
    // A character beyond every blank and control, the common case of CJK text.
    void addWide(char32_t c) {
        if (repair_) {
            repair_ = latinHigh_ = false;
            latin_.clear();
        }
        const std::size_t before = out_.size();
        codec_.Append(out_, c);
        if (out_.size() - start_ > cap_) {
            out_.resize(before);
            full_ = true;
            return;
        }
        kept_ = out_.size();
    }

    // Keeps the text's Latin-1 bytes from its first character beyond ASCII on, while there is
    // none above U+00FF.
    void noteForRepair(char32_t c) {
        if (c > 0xFF) {
            repair_ = latinHigh_ = false;
            latin_.clear();
            return;
        }
        if (!latinHigh_) {
            latinHigh_ = true;
            latin_.assign(out_, start_);
        }
        latin_.push_back(static_cast<char>(c));
    }

    std::string& out_;
    std::size_t start_;
    std::size_t kept_;
    Use use_;
    std::size_t cap_;
    const Gb18030Codec& codec_;
    bool full_ = false;
    bool repair_;
    bool latinHigh_ = false; // the text has a character beyond ASCII, none above U+00FF
    std::string latin_;
};

bool isAlnum(unsigned char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
}

bool isWord(unsigned char c) {
    return isAlnum(c) || c == '_';
}

// A numeric reference after "&#" at p: its character and the end, or nullptr when there are no
// digits. The ";" may be missing, as HTML forgives.
const unsigned char* numericReference(const unsigned char* p, const unsigned char* end, char32_t& c) {
    const bool hex = p < end && (*p == 'x' || *p == 'X');
    if (hex)
        ++p;
    const unsigned char* digits = p;
    std::uint32_t v = 0;
    for (; p < end; ++p) {
        unsigned d;
        if (*p >= '0' && *p <= '9')
            d = *p - '0';
        else if (hex && *p >= 'a' && *p <= 'f')
            d = *p - 'a' + 10;
        else if (hex && *p >= 'A' && *p <= 'F')
            d = *p - 'A' + 10;
        else
            break;
        v = std::min<std::uint32_t>(v * (hex ? 16 : 10) + d, 0x110000);
    }
    if (p == digits)
        return nullptr;
    if (p < end && *p == ';')
        ++p;
    if (v == 0 || v > 0x10FFFF || (v >= 0xD800 && v <= 0xDFFF))
        v = kReplacementChar;
    else if (v >= 0x80 && v <= 0x9F && kC1[v - 0x80])
        v = kC1[v - 0x80];
    c = v;
    return p;
}

// Decodes an entity at p (on its "&") into the builder; returns where the text goes on, or
// nullptr when it is no entity this reader knows (the "&" then stands as it is).
const unsigned char* entity(const unsigned char* p, const unsigned char* end, TextBuilder& out) {
    const unsigned char* q = p + 1;
    if (q < end && *q == '#') {
        char32_t c = 0;
        const unsigned char* after = numericReference(q + 1, end, c);
        if (after)
            out.Add(c);
        return after;
    }
    const unsigned char* name = q;
    while (q < end && isAlnum(*q) && static_cast<std::size_t>(q - name) <= kLongestHtmlEntityName)
        ++q;
    if (q == name || q == end || *q != ';')
        return nullptr;
    const std::string_view n(reinterpret_cast<const char*>(name), static_cast<std::size_t>(q - name));
    if (n == "apos") {
        out.Add('\'');
        return q + 1;
    }
    const THtmlEntity* e = FindHtmlEntity(n);
    if (!e)
        return nullptr;
    out.AddUtf8(e->utf8);
    return q + 1;
}

constexpr std::string_view kCdataOpen = "<![CDATA[";

// Characters, CDATA sections and entities of raw text in the decoder's character set.
bool plainAscii(unsigned char b) {
    return b >= 0x20 && b < 0x7F && b != '&' && b != '<';
}

// A three-byte UTF-8 character whose lead byte admits every continuation byte (no over-long
// form, no surrogate): most of CJK. Decoded here, without a call.
bool plainThreeByteUtf8(const unsigned char* p, const unsigned char* end) {
    return end - p >= 3 && ((p[0] >= 0xE1 && p[0] <= 0xEC) || p[0] >= 0xEE) && p[0] <= 0xEF &&
           (p[1] & 0xC0) == 0x80 && (p[2] & 0xC0) == 0x80;
}

char32_t threeByteUtf8(const unsigned char* p) {
    return static_cast<char32_t>(((p[0] & 0x0F) << 12) | ((p[1] & 0x3F) << 6) | (p[2] & 0x3F));
}

// A run of such characters (p on the first) that have two-byte codes and are no Unicode space,
// converted in one go; returns where the text goes on.
const unsigned char* addThreeByteRun(const unsigned char* p, const unsigned char* end, TextBuilder& out) {
    const Gb18030Codec& codec = Gb18030Codec::Get();
    char run[128];
    std::size_t n = 0;
    do {
        const char32_t c = threeByteUtf8(p);
        const std::uint32_t code = c > 0x3000 ? codec.TwoByteCode(c) : 0;
        if (code == 0)
            break;
        run[n++] = static_cast<char>(code >> 8);
        run[n++] = static_cast<char>(code & 0xFF);
        p += 3;
    } while (n < sizeof run && plainThreeByteUtf8(p, end));
    if (n == 0) {
        out.Add(threeByteUtf8(p));
        return p + 3;
    }
    out.AddTwoByteRun(run, n);
    return p;
}

void decodeText(std::string_view raw, const TFeedTextDecoder& decoder, TextBuilder& out) {
    const auto* p = reinterpret_cast<const unsigned char*>(raw.data());
    const unsigned char* end = p + raw.size();
    const bool utf8 = decoder.GetKind() == TFeedTextDecoder::Kind::Utf8;
    while (p < end && !out.Full()) {
        const unsigned char b = *p;
        if (plainAscii(b)) {
            const unsigned char* q = p + 1;
            while (q < end && plainAscii(*q))
                ++q;
            out.AddAscii(p, static_cast<std::size_t>(q - p));
            p = q;
        } else if (utf8 && plainThreeByteUtf8(p, end)) {
            p = addThreeByteRun(p, end, out);
        } else if (b >= 0x80) {
            out.Add(decoder.Next(p, end));
        } else if (b == '&') {
            const unsigned char* after = entity(p, end, out);
            if (after) {
                p = after;
            } else {
                out.Add('&');
                ++p;
            }
        } else if (b == '<' && static_cast<std::size_t>(end - p) >= kCdataOpen.size() &&
                   std::memcmp(p, kCdataOpen.data(), kCdataOpen.size()) == 0) {
            p += kCdataOpen.size();
            const std::string_view rest(reinterpret_cast<const char*>(p), static_cast<std::size_t>(end - p));
            const std::size_t close = rest.find("]]>");
            const unsigned char* stop = close == std::string_view::npos ? end : p + close;
            while (p < stop && !out.Full())
                out.Add(*p < 0x80 ? *p++ : decoder.Next(p, stop));
            p = stop == end ? end : stop + 3;
        } else {
            out.Add(b);
            ++p;
        }
    }
}

std::string decodeOnce(std::string_view raw, const TFeedTextDecoder& decoder, Use use, std::size_t cap,
                       bool repair = false) {
    std::string text;
    TextBuilder out(text, use, cap, raw.size(), repair);
    decodeText(raw, decoder, out);
    out.Finish();
    return text;
}

const TFeedTextDecoder& codePageDecoder() {
    static const TFeedTextDecoder decoder("GB18030");
    return decoder;
}

// Elements HTML may use in running text; a title naming any other is not taken for HTML.
constexpr std::string_view kHtmlElements[] = {
    "a",          "abbr",
    "acronym",    "address",
    "area",       "article",
    "aside",      "audio",
    "b",          "big",
    "blockquote", "br",
    "button",     "canvas",
    "caption",    "center",
    "cite",       "code",
    "col",        "colgroup",
    "command",    "datagrid",
    "datalist",   "dd",
    "del",        "details",
    "dfn",        "dialog",
    "dir",        "div",
    "dl",         "dt",
    "em",         "event-source",
    "fieldset",   "figcaption",
    "figure",     "font",
    "footer",     "form",
    "h1",         "h2",
    "h3",         "h4",
    "h5",         "h6",
    "header",     "hr",
    "i",          "img",
    "input",      "ins",
    "kbd",        "keygen",
    "label",      "legend",
    "li",         "m",
    "map",        "menu",
    "meter",      "multicol",
    "nav",        "nextid",
    "noscript",   "ol",
    "optgroup",   "option",
    "output",     "p",
    "pre",        "progress",
    "q",          "s",
    "samp",       "section",
    "select",     "small",
    "sound",      "source",
    "spacer",     "span",
    "strike",     "strong",
    "sub",        "sup",
    "table",      "tbody",
    "td",         "textarea",
    "tfoot",      "th",
    "thead",      "time",
    "tr",         "tt",
    "u",          "ul",
    "var",        "video",
};

bool htmlElement(std::string_view name) {
    std::string lower(name);
    for (char& c : lower)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return std::find(std::begin(kHtmlElements), std::end(kHtmlElements), lower) != std::end(kHtmlElements);
}

} // namespace

bool LooksLikeHtml(std::string_view s) {
    // Most titles have neither a tag nor an entity.
    if (s.find('<') == std::string_view::npos && s.find('&') == std::string_view::npos)
        return false;
    bool closeTagOrEntity = false;
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (s[i] == '<') {
            std::size_t j = i + 1;
            const bool closing = j < s.size() && s[j] == '/';
            if (closing)
                ++j;
            std::size_t k = j;
            while (k < s.size() && isWord(static_cast<unsigned char>(s[k])))
                ++k;
            if (k == j)
                continue;
            if (!htmlElement(s.substr(j, k - j)))
                return false;
            if (closing && k < s.size() && s[k] == '>')
                closeTagOrEntity = true;
        } else if (s[i] == '&') {
            std::size_t j = i + 1;
            const bool numeric = j < s.size() && s[j] == '#';
            if (numeric)
                ++j;
            std::size_t k = j;
            while (k < s.size() && isWord(static_cast<unsigned char>(s[k])))
                ++k;
            if (k == j || k >= s.size() || s[k] != ';')
                continue;
            closeTagOrEntity = true;
            if (!numeric) {
                const THtmlEntity* e = FindHtmlEntity(s.substr(j, k - j));
                if (!e || !e->html4)
                    return false;
            }
        }
    }
    return closeTagOrEntity;
}

namespace {

// Elements whose content is no text: a title keeps nothing of a script or a style sheet.
constexpr std::string_view kNoTextElements[] = {"script", "style", "applet"};

// The name of the element a start tag at lt opens ("script" for "<SCRIPT src=...>"), lower case.
std::string tagName(std::string_view s, std::size_t lt) {
    std::string name;
    for (std::size_t i = lt + 1; i < s.size() && (isAlnum(static_cast<unsigned char>(s[i])) || s[i] == '-');
         ++i)
        name.push_back(s[i] >= 'A' && s[i] <= 'Z' ? static_cast<char>(s[i] - 'A' + 'a') : s[i]);
    return name;
}

// Where the content of a no-text element that starts at from ends: after its end tag, or at the
// end of the text when it is never closed.
std::size_t afterElement(std::string_view s, std::size_t from, std::string_view name) {
    for (std::size_t at = s.find("</", from); at != std::string_view::npos; at = s.find("</", at + 2)) {
        std::string close = tagName(s, at + 1);
        if (close == name) {
            const std::size_t gt = s.find('>', at);
            return gt == std::string_view::npos ? s.size() : gt + 1;
        }
    }
    return s.size();
}

} // namespace

std::string StripMarkup(std::string_view s) {
    std::string out;
    out.reserve(s.size());
    std::size_t i = 0;
    while (i < s.size()) {
        const std::size_t lt = s.find('<', i);
        if (lt == std::string_view::npos || lt + 1 >= s.size()) {
            out.append(s.substr(i));
            break;
        }
        out.append(s.substr(i, lt - i));
        const char next = s[lt + 1];
        const bool tag = (next >= 'a' && next <= 'z') || (next >= 'A' && next <= 'Z') || next == '/' ||
                         next == '!' || next == '?';
        if (s.substr(lt, 4) == "<!--") {
            const std::size_t end = s.find("-->", lt + 4);
            i = end == std::string_view::npos ? s.size() : end + 3;
            continue;
        }
        const std::size_t gt = s.find('>', lt);
        // A "<" that starts no tag, or one that is never closed, is text ("a < b", "x<y").
        if (!tag || gt == std::string_view::npos) {
            out.push_back('<');
            i = lt + 1;
            continue;
        }
        i = gt + 1;
        const std::string name = tagName(s, lt);
        if (std::find(std::begin(kNoTextElements), std::end(kNoTextElements), name) !=
            std::end(kNoTextElements))
            i = afterElement(s, i, name);
    }
    return out;
}

std::string FeedTitleText(std::string_view raw, const TFeedTextDecoder& decoder, TTitleMarkup markup) {
    switch (markup) {
    case TTitleMarkup::Text:
        return decodeOnce(raw, decoder, Use::Title, kTitleCapBytes, true);
    case TTitleMarkup::Xhtml:
        return decodeOnce(StripMarkup(raw.substr(0, kMarkupCapBytes)), decoder, Use::Title, kTitleCapBytes,
                          true);
    case TTitleMarkup::Html: {
        const std::string text = decodeOnce(raw, decoder, Use::Title, kMarkupCapBytes);
        return decodeOnce(StripMarkup(text), codePageDecoder(), Use::Title, kTitleCapBytes, true);
    }
    case TTitleMarkup::Guess: {
        std::string text = decodeOnce(raw, decoder, Use::Title, kMarkupCapBytes, true);
        if (LooksLikeHtml(text))
            return decodeOnce(StripMarkup(text), codePageDecoder(), Use::Title, kTitleCapBytes, true);
        if (text.size() <= kTitleCapBytes)
            return text;
        return decodeOnce(raw, decoder, Use::Title, kTitleCapBytes, true);
    }
    }
    return {};
}

std::string FeedLinkText(std::string_view raw, const TFeedTextDecoder& decoder) {
    std::string link;
    AppendFeedLinkText(link, raw, decoder);
    return link;
}

void AppendFeedLinkText(std::string& out, std::string_view raw, const TFeedTextDecoder& decoder) {
    TextBuilder builder(out, Use::Link, static_cast<std::size_t>(-1), raw.size());
    decodeText(raw, decoder, builder);
    builder.Finish();
}
