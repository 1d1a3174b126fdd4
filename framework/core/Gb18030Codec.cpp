#include "framework/core/Gb18030Codec.h"

#include "framework/core/UnicodeText.h"

#include <bit>
#include <cstring>
#include <iconv.h>

static_assert(std::endian::native == std::endian::little, "iconv hands code points back as UTF-32LE");

namespace {

constexpr std::uint32_t kLeads = 126;             // 0x81..0xFE
constexpr std::uint32_t kTrailSlots = 190;        // 0x40..0x7E, 0x80..0xFE
constexpr std::uint32_t kFourBytePerLead = 12600; // 10 x 126 x 10

int trailSlot(unsigned b) {
    if (b >= 0x40 && b <= 0x7E)
        return static_cast<int>(b - 0x40);
    if (b >= 0x80 && b <= 0xFE)
        return static_cast<int>(b - 0x80 + 63);
    return -1;
}

unsigned trailOfSlot(std::uint32_t slot) {
    return slot < 63 ? 0x40 + slot : 0x80 + (slot - 63);
}

void appendFourByte(std::string& out, std::uint32_t n) {
    const char b[4] = {static_cast<char>(0x81 + n / kFourBytePerLead),
                       static_cast<char>(0x30 + n / 1260 % 10), static_cast<char>(0x81 + n / 10 % 126),
                       static_cast<char>(0x30 + n % 10)};
    out.append(b, 4);
}

// Converts codes of one fixed length, laid end to end, to code points in one pass of iconv,
// stepping over any code iconv refuses. store(i, cp) receives the code point of code i.
template <class Store>
void decodeEach(iconv_t cd, const std::string& codes, std::size_t stride, Store store) {
    const std::size_t count = codes.size() / stride;
    std::vector<char32_t> out(count + 1);
    std::size_t done = 0;
    while (done < count) {
        ::iconv(cd, nullptr, nullptr, nullptr, nullptr);
        char* src = const_cast<char*>(codes.data()) + done * stride;
        std::size_t srcLeft = (count - done) * stride;
        char* dst = reinterpret_cast<char*>(out.data());
        std::size_t dstLeft = out.size() * sizeof(char32_t);
        const std::size_t before = srcLeft;
        const std::size_t rc = ::iconv(cd, &src, &srcLeft, &dst, &dstLeft);
        const std::size_t taken = (before - srcLeft) / stride;
        const std::size_t produced = (out.size() * sizeof(char32_t) - dstLeft) / sizeof(char32_t);
        // One code point per code, or the pass cannot be matched up and is dropped.
        if (produced == taken)
            for (std::size_t i = 0; i < taken; ++i)
                store(done + i, out[i]);
        done += taken;
        if (rc == static_cast<std::size_t>(-1) && srcLeft > 0)
            ++done;
    }
}

} // namespace

const Gb18030Codec& Gb18030Codec::Get() {
    static const Gb18030Codec codec;
    return codec;
}

Gb18030Codec::Gb18030Codec()
    : twoByte_(kLeads * kTrailSlots, 0), fourByte_(kBmpFourByteCodes, 0), bmp_(0x10000, 0) {
    iconv_t cd = ::iconv_open("UTF-32LE", "GB18030");
    if (cd == reinterpret_cast<iconv_t>(-1))
        return; // no tables: every non-ASCII byte decodes as U+FFFD, nothing crashes

    std::string codes;
    codes.reserve(kLeads * kTrailSlots * 2);
    for (std::uint32_t lead = 0; lead < kLeads; ++lead)
        for (std::uint32_t slot = 0; slot < kTrailSlots; ++slot) {
            codes.push_back(static_cast<char>(0x81 + lead));
            codes.push_back(static_cast<char>(trailOfSlot(slot)));
        }
    decodeEach(cd, codes, 2, [&](std::size_t i, char32_t cp) { twoByte_[i] = cp; });

    codes.clear();
    for (std::uint32_t n = 0; n < kBmpFourByteCodes; ++n)
        appendFourByte(codes, n);
    decodeEach(cd, codes, 4, [&](std::size_t i, char32_t cp) {
        if (cp < 0x10000)
            fourByte_[i] = static_cast<char16_t>(cp);
    });
    ::iconv_close(cd);

    // The encoding is the decoding turned round; a two-byte code wins over a four-byte one.
    for (std::uint32_t n = 0; n < kBmpFourByteCodes; ++n)
        if (char32_t cp = fourByte_[n]; cp >= 0x80)
            bmp_[cp] = 0x10000u + n; // marks a four-byte code by its number
    for (std::uint32_t i = 0; i < kLeads * kTrailSlots; ++i)
        if (char32_t cp = twoByte_[i]; cp >= 0x80 && cp < 0x10000)
            bmp_[cp] = ((0x81 + i / kTrailSlots) << 8) | trailOfSlot(i % kTrailSlots);
}

char32_t Gb18030Codec::Next(const unsigned char*& p, const unsigned char* end) const {
    const unsigned b1 = *p++;
    if (b1 < 0x80)
        return b1;
    if (b1 == 0x80)
        return 0x20AC;
    if (b1 == 0xFF || p == end)
        return kReplacementChar;
    const unsigned b2 = p[0];
    if (int slot = trailSlot(b2); slot >= 0) {
        const char32_t cp = twoByte_[(b1 - 0x81) * kTrailSlots + static_cast<unsigned>(slot)];
        if (cp == 0)
            return kReplacementChar; // the second byte starts afresh
        ++p;
        return cp;
    }
    if (b2 < 0x30 || b2 > 0x39 || end - p < 3 || p[1] < 0x81 || p[1] > 0xFE || p[2] < 0x30 || p[2] > 0x39)
        return kReplacementChar;
    const std::uint32_t n =
        (b1 - 0x81) * kFourBytePerLead + (b2 - 0x30) * 1260 + (p[1] - 0x81) * 10 + (p[2] - 0x30);
    char32_t cp = 0;
    if (n < kBmpFourByteCodes)
        cp = fourByte_[n];
    else if (n >= kSupplementaryBase && n < kSupplementaryBase + 0x100000)
        cp = 0x10000 + (n - kSupplementaryBase);
    if (cp == 0)
        return kReplacementChar;
    p += 3;
    return cp;
}

void Gb18030Codec::appendOther(std::string& out, char32_t cp) const {
    if (cp < 0x80) {
        out.push_back(static_cast<char>(cp));
        return;
    }
    if (cp >= 0x10000) {
        if (cp > 0x10FFFF)
            cp = kReplacementChar;
        else {
            appendFourByte(out, kSupplementaryBase + (cp - 0x10000));
            return;
        }
    }
    const std::uint32_t code = bmp_[cp];
    if (code == 0) {
        // A surrogate, or a character the tables could not be read for: U+FFFD.
        out.append("\x84\x31\xA4\x37", 4);
    } else if (code >= 0x10000)
        appendFourByte(out, code - 0x10000);
    else {
        const char b[2] = {static_cast<char>(code >> 8), static_cast<char>(code & 0xFF)};
        out.append(b, 2);
    }
}
