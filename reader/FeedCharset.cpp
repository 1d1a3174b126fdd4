#include "reader/FeedCharset.h"

#include "framework/core/AsciiText.h"
#include "framework/core/UnicodeText.h"

#include <cstdint>
#include <cstring>
#include <iconv.h>

namespace {

struct TLabel {
    const char* label;
    const char* name;
};

// Labels whose converter is not simply the label itself.
constexpr TLabel kLabels[] = {
    {"utf-8", "UTF-8"},
    {"utf8", "UTF-8"},
    {"unicode-1-1-utf-8", "UTF-8"},
    {"gb2312", "GB18030"},
    {"gbk", "GB18030"},
    {"gb18030", "GB18030"},
    {"x-gbk", "GB18030"},
    {"cp936", "GB18030"},
    {"ms936", "GB18030"},
    {"windows-936", "GB18030"},
    {"euc-cn", "GB18030"},
    {"csgb2312", "GB18030"},
    {"chinese", "GB18030"},
    {"gb_2312-80", "GB18030"},
    {"gb_2312", "GB18030"},
    {"iso-ir-58", "GB18030"},
    {"x-euc-cn", "GB18030"},
    {"big5", "CP950"},
    {"cn-big5", "CP950"},
    {"x-x-big5", "CP950"},
    {"csbig5", "CP950"},
    {"cp950", "CP950"},
    {"big5-hkscs", "BIG5-HKSCS"},
    {"shift_jis", "CP932"},
    {"shift-jis", "CP932"},
    {"sjis", "CP932"},
    {"x-sjis", "CP932"},
    {"ms_kanji", "CP932"},
    {"csshiftjis", "CP932"},
    {"windows-31j", "CP932"},
    {"cp932", "CP932"},
    {"ms932", "CP932"},
    {"euc-kr", "CP949"},
    {"cp949", "CP949"},
    {"windows-949", "CP949"},
    {"ks_c_5601-1987", "CP949"},
    {"ksc5601", "CP949"},
    {"korean", "CP949"},
    {"csksc56011987", "CP949"},
    {"uhc", "CP949"},
    {"iso-8859-1", "WINDOWS-1252"},
    {"iso8859-1", "WINDOWS-1252"},
    {"iso_8859-1", "WINDOWS-1252"},
    {"latin1", "WINDOWS-1252"},
    {"l1", "WINDOWS-1252"},
    {"cp819", "WINDOWS-1252"},
    {"us-ascii", "WINDOWS-1252"},
    {"ascii", "WINDOWS-1252"},
    {"windows-1252", "WINDOWS-1252"},
    {"cp1252", "WINDOWS-1252"},
    {"x-cp1252", "WINDOWS-1252"},
    {"utf-16", "UTF-16LE"},
    {"utf-16le", "UTF-16LE"},
    {"utf-16be", "UTF-16BE"},
    {"utf-32", "UTF-32LE"},
    {"utf-32le", "UTF-32LE"},
    {"utf-32be", "UTF-32BE"},
};

bool startsWith(std::string_view s, std::string_view prefix) {
    return s.substr(0, prefix.size()) == prefix;
}

bool blank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

// An 8-bit body begins with "<" (after blanks) and has no NUL among its first bytes.
bool looksEightBit(std::string_view body) {
    std::string_view head = body.substr(0, 256);
    return head.find('\0') == std::string_view::npos;
}

// The next byte at or after p that is not ASCII, eight at a time.
const unsigned char* nextNonAscii(const unsigned char* p, const unsigned char* end) {
    for (; end - p >= 8; p += 8) {
        std::uint64_t word;
        std::memcpy(&word, p, 8);
        if (word & 0x8080808080808080ull)
            break;
    }
    while (p < end && *p < 0x80)
        ++p;
    return p;
}

struct TUtf8Evidence {
    bool multibyte = false; // a well-formed sequence of two or more bytes
    bool malformed = false; // a byte that starts none
};

// What the bytes say about UTF-8; with stopAtMultibyte the scan ends at the first character.
TUtf8Evidence utf8Evidence(std::string_view body, bool stopAtMultibyte) {
    TUtf8Evidence e;
    const auto* p = reinterpret_cast<const unsigned char*>(body.data());
    const unsigned char* end = p + body.size();
    while ((p = nextNonAscii(p, end)) < end) {
        if (const std::size_t n = WellFormedUtf8Length(p, end)) {
            e.multibyte = true;
            if (stopAtMultibyte)
                return e;
            p += n;
        } else {
            e.malformed = true;
            ++p;
        }
    }
    return e;
}

// The character set of an 8-bit body, the label's word weighed against what the bytes say, as
// mature feed readers do: a body that is not UTF-8 at all is not read as UTF-8, and one that is
// plainly UTF-8 is not read as Latin-1.
std::string weighEightBit(std::string_view body, const std::string& http, const std::string& declared) {
    std::string name = !http.empty() ? http : !declared.empty() ? declared : "UTF-8";
    if (name == "UTF-8") {
        // The server says UTF-8, the document otherwise: the document is right when the bytes are
        // no UTF-8. Else a body without a single UTF-8 character but with other high bytes is
        // legacy 8-bit text; a few stray bytes among UTF-8 characters cost only themselves.
        if (!declared.empty() && declared != name) {
            if (utf8Evidence(body, false).malformed)
                return declared;
        } else if (const TUtf8Evidence e = utf8Evidence(body, true); e.malformed && !e.multibyte) {
            return "WINDOWS-1252";
        }
        return name;
    }
    // Latin-1 (or another label) over bytes that are UTF-8 throughout, with characters beyond
    // ASCII: the text was written in UTF-8 and mislabelled.
    if (name == "WINDOWS-1252" || declared == "UTF-8") {
        const TUtf8Evidence e = utf8Evidence(body, false);
        if (e.multibyte && !e.malformed)
            return "UTF-8";
    }
    return name;
}

} // namespace

bool IsWideCharset(std::string_view name) {
    return startsWith(name, "UTF-16") || startsWith(name, "UTF-32");
}

std::string CharsetNameOfLabel(std::string_view label) {
    label = TrimControls(label);
    if (label.size() >= 2 && (label.front() == '"' || label.front() == '\'') && label.back() == label.front())
        label = label.substr(1, label.size() - 2);
    if (label.empty() || label.size() > 40)
        return {};
    std::string lower;
    for (char c : label)
        lower.push_back(AsciiLower(c));
    for (const TLabel& l : kLabels)
        if (lower == l.label)
            return l.name;
    // Anything else iconv reads under its own name (ISO-8859-x, windows-125x, KOI8-R, EUC-JP).
    std::string upper;
    for (char c : lower) {
        if (!((c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' || c == '_' || c == '.' ||
              c == ':'))
            return {};
        upper.push_back(c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c);
    }
    iconv_t cd = ::iconv_open("UTF-8", upper.c_str());
    if (cd == reinterpret_cast<iconv_t>(-1))
        return {};
    ::iconv_close(cd);
    return upper;
}

std::string_view ContentTypeCharset(std::string_view contentType) {
    std::size_t at = 0;
    while ((at = contentType.find(';', at)) != std::string_view::npos) {
        std::string_view param = TrimControls(contentType.substr(at + 1));
        ++at;
        std::size_t eq = param.find('=');
        if (eq == std::string_view::npos || !SameText(TrimControls(param.substr(0, eq)), "charset"))
            continue;
        std::string_view value = TrimControls(param.substr(eq + 1));
        if (!value.empty() && value.front() == '"') {
            std::size_t close = value.find('"', 1);
            return value.substr(1, close == std::string_view::npos ? std::string_view::npos : close - 1);
        }
        return TrimControls(value.substr(0, value.find(';')));
    }
    return {};
}

std::string_view XmlDeclarationEncoding(std::string_view body) {
    if (!startsWith(body, "<?xml"))
        return {};
    std::string_view decl = body.substr(0, body.find("?>"));
    if (decl.size() > 1024)
        return {};
    std::size_t at = decl.find("encoding");
    if (at == std::string_view::npos)
        return {};
    std::size_t i = at + 8;
    while (i < decl.size() && blank(decl[i]))
        ++i;
    if (i >= decl.size() || decl[i] != '=')
        return {};
    ++i;
    while (i < decl.size() && blank(decl[i]))
        ++i;
    if (i >= decl.size() || (decl[i] != '"' && decl[i] != '\''))
        return {};
    const char quote = decl[i++];
    std::size_t close = decl.find(quote, i);
    if (close == std::string_view::npos)
        return {};
    return decl.substr(i, close - i);
}

TFeedCharset DetectFeedCharset(std::string_view body, std::string_view httpContentType) {
    if (startsWith(body, "\xEF\xBB\xBF"))
        return {"UTF-8", 3};
    if (startsWith(body, std::string_view("\xFF\xFE\0\0", 4)))
        return {"UTF-32LE", 4};
    if (startsWith(body, std::string_view("\0\0\xFE\xFF", 4)))
        return {"UTF-32BE", 4};
    if (startsWith(body, "\xFF\xFE"))
        return {"UTF-16LE", 2};
    if (startsWith(body, "\xFE\xFF"))
        return {"UTF-16BE", 2};
    if (startsWith(body, std::string_view("<\0\0\0", 4)))
        return {"UTF-32LE", 0};
    if (startsWith(body, std::string_view("\0\0\0<", 4)))
        return {"UTF-32BE", 0};
    if (startsWith(body, std::string_view("<\0", 2)))
        return {"UTF-16LE", 0};
    if (startsWith(body, std::string_view("\0<", 2)))
        return {"UTF-16BE", 0};

    // A UTF-16 or UTF-32 label over a body that is plainly 8-bit is a lie.
    auto eightBit = [&](std::string label) {
        return IsWideCharset(label) && looksEightBit(body) ? std::string("UTF-8") : label;
    };
    const std::string http = eightBit(CharsetNameOfLabel(ContentTypeCharset(httpContentType)));
    const std::string declared = eightBit(CharsetNameOfLabel(XmlDeclarationEncoding(body)));
    if (IsWideCharset(http))
        return {http, 0};
    if (http.empty() && IsWideCharset(declared))
        return {declared, 0};
    return {weighEightBit(body, http, declared), 0};
}
