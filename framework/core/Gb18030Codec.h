#pragma once
// GB18030, the reader's code page: one byte for ASCII, two bytes for every GBK character (the
// same bytes as GBK), four bytes for the rest of Unicode. Its tables are read once from iconv
// at first use; after that a character costs a table look-up, not an iconv call.
//
// Decoding is lenient where old files need it: a lone byte 0x80 is the euro sign, as GBK's
// single-byte euro was. Anything else malformed becomes U+FFFD, one per bad lead byte, and
// decoding goes on with the next byte.
#include <cstdint>
#include <string>
#include <vector>

class Gb18030Codec {
public:
    // The one instance, built on first use (thread-safe).
    static const Gb18030Codec& Get();

    // Decodes the character at p (p < end) and moves p past it.
    char32_t Next(const unsigned char*& p, const unsigned char* end) const;
    // The two-byte code of a BMP character (lead byte high), or 0 when it has none.
    std::uint32_t TwoByteCode(char32_t cp) const {
        const std::uint32_t code = cp < 0x10000 ? bmp_[cp] : 0;
        return code < 0x10000 ? code : 0;
    }

    // Appends the bytes of one code point; a surrogate or a value past U+10FFFF appends U+FFFD.
    // The two-byte codes (every GBK character) take the inline path.
    void Append(std::string& out, char32_t cp) const {
        if (cp >= 0x80 && cp < 0x10000) {
            const std::uint32_t code = bmp_[cp];
            if (code != 0 && code < 0x10000) {
                const char b[2] = {static_cast<char>(code >> 8), static_cast<char>(code & 0xFF)};
                out.append(b, 2);
                return;
            }
        }
        appendOther(out, cp);
    }

    // Four-byte codes are numbered from 0x81 0x30 0x81 0x30 on; the BMP's end before 39420.
    static constexpr std::uint32_t kBmpFourByteCodes = 39420;
    static constexpr std::uint32_t kSupplementaryBase = 189000; // 0x90 0x30 0x81 0x30 = U+10000

private:
    Gb18030Codec();
    void appendOther(std::string& out, char32_t cp) const;

    // Code point of each two-byte code, index (lead - 0x81) * 190 + trail slot; 0 = invalid.
    std::vector<char32_t> twoByte_;
    // Code point of each BMP four-byte code by its number; 0 = invalid.
    std::vector<char16_t> fourByte_;
    // Encoding of each BMP code point: the two bytes (< 0x10000) or the four (above); 0 = none.
    std::vector<std::uint32_t> bmp_;
};
