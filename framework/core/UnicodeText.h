#pragma once
// Code points in and out of UTF-8 and UTF-16, the way a reader shows text: a malformed sequence
// becomes one U+FFFD and decoding goes on with the byte after it, never dropping the rest.
#include <string>
#include <string_view>

inline constexpr char32_t kReplacementChar = 0xFFFD;

// Decodes the code point at p (p < end) and moves p past it. Over-long forms, surrogates and
// values past U+10FFFF are malformed; a malformed or cut-short sequence gives U+FFFD and moves
// past its longest valid beginning (at least one byte), as Unicode's "maximal subpart" rule says.
char32_t NextUtf8(const unsigned char*& p, const unsigned char* end);

// The length of the well-formed UTF-8 sequence at p (p < end; 1 for ASCII), or 0 when none starts
// there.
std::size_t WellFormedUtf8Length(const unsigned char* p, const unsigned char* end);

void AppendUtf8(std::string& out, char32_t cp);
void AppendUtf16(std::u16string& out, char32_t cp);

inline bool IsAscii(std::string_view s) {
    for (char c : s)
        if (static_cast<unsigned char>(c) >= 0x80)
            return false;
    return true;
}
