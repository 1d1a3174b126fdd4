#include "framework/core/CodePage.h"

#include <bit>
#include <cerrno>
#include <cstring>
#include <iconv.h>

static_assert(std::endian::native == std::endian::little, "UTF-16 text is handed to iconv as UTF-16LE");

namespace {

constexpr const char* kAnsi = "CP936";

enum class Source { Ansi, Utf8, Utf16 };

// One descriptor per direction and thread, reset before each use.
class Converter {
public:
    Converter(const char* to, const char* from) : cd_(::iconv_open(to, from)) {}
    ~Converter() {
        if (cd_ != reinterpret_cast<iconv_t>(-1))
            ::iconv_close(cd_);
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;
    iconv_t get() const { return cd_; }

private:
    iconv_t cd_;
};

// How many input bytes the character at p takes when iconv refused it: a whole well-formed
// character when the target cannot hold it, a single unit when the source is malformed.
std::size_t badLength(Source source, const unsigned char* p, std::size_t left) {
    switch (source) {
    case Source::Ansi:
        return 1;
    case Source::Utf8: {
        std::size_t len = p[0] >= 0xF0 && p[0] <= 0xF4   ? 4
                          : p[0] >= 0xE0 && p[0] <= 0xEF ? 3
                          : p[0] >= 0xC2 && p[0] <= 0xDF ? 2
                                                         : 1;
        if (len > left)
            return 1;
        for (std::size_t i = 1; i < len; ++i)
            if ((p[i] & 0xC0) != 0x80)
                return 1;
        return len;
    }
    case Source::Utf16: {
        if (left >= 4) {
            unsigned hi = p[0] | (p[1] << 8), lo = p[2] | (p[3] << 8);
            if (hi >= 0xD800 && hi <= 0xDBFF && lo >= 0xDC00 && lo <= 0xDFFF)
                return 4;
        }
        return left >= 2 ? 2 : left;
    }
    }
    return 1;
}

std::string convert(iconv_t cd, Source source, std::string_view input, std::string_view replacement) {
    std::string out;
    if (cd == reinterpret_cast<iconv_t>(-1)) {
        // No converter: keep ASCII, replace the rest; never throw from a text conversion.
        for (char c : input)
            out += static_cast<unsigned char>(c) < 0x80 ? std::string(1, c) : std::string(replacement);
        return out;
    }
    ::iconv(cd, nullptr, nullptr, nullptr, nullptr);
    out.resize(input.size() * 2 + 16);
    char* in = const_cast<char*>(input.data());
    std::size_t inLeft = input.size();
    std::size_t used = 0;
    while (inLeft > 0) {
        char* dst = out.data() + used;
        std::size_t outLeft = out.size() - used;
        std::size_t rc = ::iconv(cd, &in, &inLeft, &dst, &outLeft);
        used = out.size() - outLeft;
        if (rc != static_cast<std::size_t>(-1))
            break;
        if (errno == E2BIG) {
            out.resize(out.size() * 2);
            continue;
        }
        // EILSEQ or EINVAL (a sequence cut short at the end): one default character for it.
        std::size_t skip = badLength(source, reinterpret_cast<const unsigned char*>(in), inLeft);
        in += skip;
        inLeft -= skip;
        if (out.size() - used < replacement.size())
            out.resize(out.size() * 2 + replacement.size());
        std::memcpy(out.data() + used, replacement.data(), replacement.size());
        used += replacement.size();
        ::iconv(cd, nullptr, nullptr, nullptr, nullptr);
    }
    out.resize(used);
    return out;
}

bool isAscii(std::string_view s) {
    for (char c : s)
        if (static_cast<unsigned char>(c) >= 0x80)
            return false;
    return true;
}

constexpr char kUtf16Question[2] = {'?', '\0'};

} // namespace

std::string AnsiToUtf8(std::string_view ansi) {
    if (isAscii(ansi))
        return std::string(ansi);
    thread_local Converter c("UTF-8", kAnsi);
    return convert(c.get(), Source::Ansi, ansi, "?");
}

std::string Utf8ToAnsi(std::string_view utf8) {
    if (isAscii(utf8))
        return std::string(utf8);
    thread_local Converter c(kAnsi, "UTF-8");
    return convert(c.get(), Source::Utf8, utf8, "?");
}

std::u16string AnsiToUtf16(std::string_view ansi) {
    std::u16string out;
    if (isAscii(ansi)) {
        out.assign(ansi.begin(), ansi.end());
        return out;
    }
    thread_local Converter c("UTF-16LE", kAnsi);
    std::string bytes = convert(c.get(), Source::Ansi, ansi, std::string_view(kUtf16Question, 2));
    out.resize(bytes.size() / 2);
    std::memcpy(out.data(), bytes.data(), out.size() * 2);
    return out;
}

std::string Utf16ToAnsi(std::u16string_view utf16) {
    bool ascii = true;
    for (char16_t c : utf16)
        if (c >= 0x80) {
            ascii = false;
            break;
        }
    if (ascii)
        return std::string(utf16.begin(), utf16.end());
    thread_local Converter c(kAnsi, "UTF-16LE");
    return convert(c.get(), Source::Utf16,
                   std::string_view(reinterpret_cast<const char*>(utf16.data()), utf16.size() * 2), "?");
}
