#include "framework/core/CodePage.h"

#include "framework/core/Gb18030Codec.h"
#include "framework/core/UnicodeText.h"

namespace {

const unsigned char* bytes(std::string_view s) {
    return reinterpret_cast<const unsigned char*>(s.data());
}

} // namespace

std::string AnsiToUtf8(std::string_view ansi) {
    if (IsAscii(ansi))
        return std::string(ansi);
    const Gb18030Codec& codec = Gb18030Codec::Get();
    std::string out;
    out.reserve(ansi.size() + ansi.size() / 2);
    for (const unsigned char *p = bytes(ansi), *end = p + ansi.size(); p < end;)
        AppendUtf8(out, codec.Next(p, end));
    return out;
}

std::string Utf8ToAnsi(std::string_view utf8) {
    if (IsAscii(utf8))
        return std::string(utf8);
    const Gb18030Codec& codec = Gb18030Codec::Get();
    std::string out;
    out.reserve(utf8.size());
    for (const unsigned char *p = bytes(utf8), *end = p + utf8.size(); p < end;)
        codec.Append(out, NextUtf8(p, end));
    return out;
}

std::u16string AnsiToUtf16(std::string_view ansi) {
    std::u16string out;
    out.reserve(ansi.size());
    if (IsAscii(ansi)) {
        out.assign(ansi.begin(), ansi.end());
        return out;
    }
    const Gb18030Codec& codec = Gb18030Codec::Get();
    for (const unsigned char *p = bytes(ansi), *end = p + ansi.size(); p < end;)
        AppendUtf16(out, codec.Next(p, end));
    return out;
}

std::string Utf16ToAnsi(std::u16string_view utf16) {
    std::string out;
    out.reserve(utf16.size() * 2);
    const Gb18030Codec* codec = nullptr;
    for (std::size_t i = 0; i < utf16.size(); ++i) {
        char32_t c = utf16[i];
        if (c < 0x80) {
            out.push_back(static_cast<char>(c));
            continue;
        }
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < utf16.size() && utf16[i + 1] >= 0xDC00 &&
            utf16[i + 1] <= 0xDFFF)
            c = 0x10000 + ((c - 0xD800) << 10) + (utf16[++i] - 0xDC00);
        else if (c >= 0xD800 && c <= 0xDFFF)
            c = kReplacementChar; // a lone surrogate is no character
        if (!codec)
            codec = &Gb18030Codec::Get();
        codec->Append(out, c);
    }
    return out;
}

void AppendAnsi(std::string& out, char32_t cp) {
    Gb18030Codec::Get().Append(out, cp);
}
