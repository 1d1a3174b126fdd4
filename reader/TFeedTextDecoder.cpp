#include "reader/TFeedTextDecoder.h"

#include "framework/core/Gb18030Codec.h"
#include "framework/core/UnicodeText.h"
#include "reader/FeedCharset.h"

#include <bit>
#include <cerrno>
#include <iconv.h>
#include <map>
#include <memory>
#include <mutex>
#include <vector>

static_assert(std::endian::native == std::endian::little, "iconv hands code points back as UTF-32LE");

// Code points of the one-byte codes and, for each lead byte, of its two-byte codes; 0 = none.
struct TByteTable {
    char32_t single[256] = {};
    int leadIndex[256];          // into pairs, -1 for no lead byte
    std::vector<char32_t> pairs; // 256 per lead byte, by the second byte
    bool usable = true;          // false: some code is longer than two bytes
};

namespace {

enum class Outcome { Char, Incomplete, Invalid };

Outcome convertOne(iconv_t cd, const char* bytes, std::size_t n, char32_t& cp) {
    ::iconv(cd, nullptr, nullptr, nullptr, nullptr);
    char32_t out[4];
    char* src = const_cast<char*>(bytes);
    std::size_t srcLeft = n;
    char* dst = reinterpret_cast<char*>(out);
    std::size_t dstLeft = sizeof out;
    const std::size_t rc = ::iconv(cd, &src, &srcLeft, &dst, &dstLeft);
    if (rc == static_cast<std::size_t>(-1))
        return errno == EINVAL ? Outcome::Incomplete : Outcome::Invalid;
    if (srcLeft != 0 || sizeof out - dstLeft != sizeof(char32_t))
        return Outcome::Invalid;
    cp = out[0];
    return Outcome::Char;
}

std::unique_ptr<TByteTable> buildTable(const std::string& name) {
    auto table = std::make_unique<TByteTable>();
    for (int& l : table->leadIndex)
        l = -1;
    iconv_t cd = ::iconv_open("UTF-32LE", name.c_str());
    if (cd == reinterpret_cast<iconv_t>(-1)) {
        table->usable = false;
        return table;
    }
    for (unsigned b = 0; b < 256 && table->usable; ++b) {
        const char one = static_cast<char>(b);
        char32_t cp = 0;
        const Outcome o = convertOne(cd, &one, 1, cp);
        if (o == Outcome::Char) {
            table->single[b] = cp;
            // A stateful set shifts with ASCII bytes; the table cannot follow it.
            if (b < 0x80 && cp != b)
                table->usable = false;
        } else if (o == Outcome::Incomplete) {
            table->leadIndex[b] = static_cast<int>(table->pairs.size() / 256);
            table->pairs.resize(table->pairs.size() + 256, 0);
            for (unsigned t = 0x21; t < 256; ++t) {
                const char two[2] = {one, static_cast<char>(t)};
                char32_t pcp = 0;
                const Outcome po = convertOne(cd, two, 2, pcp);
                if (po == Outcome::Char)
                    table->pairs[static_cast<std::size_t>(table->leadIndex[b]) * 256 + t] = pcp;
                else if (po == Outcome::Incomplete)
                    table->usable = false;
            }
        }
    }
    ::iconv_close(cd);
    return table;
}

const TByteTable* tableFor(const std::string& name) {
    static std::mutex mutex;
    static std::map<std::string, std::unique_ptr<TByteTable>> tables;
    std::lock_guard lock(mutex);
    auto& slot = tables[name];
    if (!slot)
        slot = buildTable(name);
    return slot.get();
}

void transcodeUtf16(std::string_view text, bool bigEndian, std::string& out) {
    const auto* p = reinterpret_cast<const unsigned char*>(text.data());
    const std::size_t n = text.size() / 2;
    auto unit = [&](std::size_t i) -> char32_t {
        return bigEndian ? (p[2 * i] << 8 | p[2 * i + 1]) : (p[2 * i + 1] << 8 | p[2 * i]);
    };
    for (std::size_t i = 0; i < n; ++i) {
        char32_t c = unit(i);
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < n && unit(i + 1) >= 0xDC00 && unit(i + 1) <= 0xDFFF)
            c = 0x10000 + ((c - 0xD800) << 10) + (unit(++i) - 0xDC00);
        else if (c >= 0xD800 && c <= 0xDFFF)
            c = kReplacementChar;
        AppendUtf8(out, c);
    }
    if (text.size() % 2)
        AppendUtf8(out, kReplacementChar);
}

void transcodeIconv(std::string_view text, const std::string& name, std::string& out) {
    iconv_t cd = ::iconv_open("UTF-8", name.c_str());
    if (cd == reinterpret_cast<iconv_t>(-1)) {
        out.assign(text);
        return;
    }
    std::size_t used = 0;
    out.resize(text.size() * 2 + 16);
    char* src = const_cast<char*>(text.data());
    std::size_t srcLeft = text.size();
    while (srcLeft > 0) {
        char* dst = out.data() + used;
        std::size_t dstLeft = out.size() - used;
        const std::size_t rc = ::iconv(cd, &src, &srcLeft, &dst, &dstLeft);
        used = out.size() - dstLeft;
        if (rc != static_cast<std::size_t>(-1))
            break;
        if (errno == E2BIG) {
            out.resize(out.size() * 2);
            continue;
        }
        // A malformed byte: one replacement, then on with the next byte.
        ++src;
        --srcLeft;
        if (out.size() - used < 3)
            out.resize(out.size() * 2 + 3);
        out.replace(used, 3, "\xEF\xBF\xBD");
        used += 3;
    }
    out.resize(used);
    ::iconv_close(cd);
}

} // namespace

TFeedTextDecoder::TFeedTextDecoder(const std::string& charsetName) {
    if (charsetName == "UTF-8") {
        kind_ = Kind::Utf8;
    } else if (charsetName == "GB18030") {
        kind_ = Kind::Gb18030;
    } else if (IsWideCharset(charsetName)) {
        kind_ = Kind::Transcode;
    } else {
        table_ = tableFor(charsetName);
        kind_ = table_->usable ? Kind::Table : Kind::Transcode;
    }
}

char32_t TFeedTextDecoder::Next(const unsigned char*& p, const unsigned char* end) const {
    switch (kind_) {
    case Kind::Utf8:
        return NextUtf8(p, end);
    case Kind::Gb18030:
        return Gb18030Codec::Get().Next(p, end);
    case Kind::Table: {
        const unsigned b = *p++;
        if (const char32_t cp = table_->single[b]; cp != 0 || b == 0)
            return cp;
        const int lead = table_->leadIndex[b];
        if (lead < 0 || p == end)
            return kReplacementChar;
        if (const char32_t cp = table_->pairs[static_cast<std::size_t>(lead) * 256 + *p]; cp != 0) {
            ++p;
            return cp;
        }
        return kReplacementChar; // the second byte starts afresh
    }
    case Kind::Transcode:
        break;
    }
    ++p;
    return kReplacementChar;
}

std::string TranscodeToUtf8(std::string_view text, const std::string& charsetName) {
    std::string out;
    if (charsetName == "UTF-16LE" || charsetName == "UTF-16BE") {
        out.reserve(text.size());
        transcodeUtf16(text, charsetName == "UTF-16BE", out);
    } else {
        transcodeIconv(text, charsetName, out);
    }
    return out;
}
