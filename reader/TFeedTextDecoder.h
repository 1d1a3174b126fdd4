#pragma once
// Reads the characters of a feed's text in the feed's character set. UTF-8 and GB18030 decode
// directly; any other ASCII-compatible set whose codes are one or two bytes long (windows-125x,
// ISO-8859-x, KOI8-R, CP932, CP949, CP950, ...) decodes through a table read once from iconv at
// first use and shared by every later feed. A set that is not ASCII-compatible (UTF-16/32) or
// has longer or stateful codes (EUC-JP, ISO-2022-JP) is converted whole to UTF-8 first
// (TranscodeToUtf8), once per feed.
#include <string>
#include <string_view>

struct TByteTable;

class TFeedTextDecoder {
public:
    enum class Kind { Utf8, Gb18030, Table, Transcode };

    explicit TFeedTextDecoder(const std::string& charsetName);

    Kind GetKind() const { return kind_; }

    // Decodes the character at p (p < end) and moves p past it; a malformed byte gives U+FFFD
    // and decoding goes on after it. Never called for Transcode.
    char32_t Next(const unsigned char*& p, const unsigned char* end) const;

private:
    Kind kind_;
    const TByteTable* table_ = nullptr;
};

// The whole text in UTF-8, each malformed sequence one U+FFFD.
std::string TranscodeToUtf8(std::string_view text, const std::string& charsetName);
