#pragma once
// How a feed item's title bytes become the ANSI title shown in the list.
//
// The title is decoded as UTF-8 into 16-bit characters by a deliberately simple rule: a byte
// below 0x80 is one character; any other byte starts a sequence of one following byte (when
// its bit 0x20 is clear) or two (when set), each following byte in 0x80..0xBF; the character
// is the start byte's low six bits followed by six bits of each following byte, cut to 16
// bits. Over-long forms pass; a four-byte sequence is not recognised, so its last byte starts
// a new sequence. Any violation, including a sequence cut short by the end, makes the whole
// title empty. The characters then go to GBK (unknown ones become "?"), every CR, LF and TAB
// becomes one blank (a title is one line of the list and of a list file), and leading and
// trailing bytes up to 32 (blanks, line breaks, control characters) are trimmed.
#include <string>
#include <string_view>

// False on a violation; out then holds nothing useful.
bool DecodeFeedUtf8(std::string_view bytes, std::u16string& out);

// Removes leading and trailing bytes with code at most 32.
std::string_view TrimControls(std::string_view text);

// CR, LF and TAB each replaced by one blank.
std::string BlankLineBreaks(std::string_view text);

// The whole rule: decode, convert to GBK, blank the line breaks, trim. Empty on a violation.
std::string FeedTitleToAnsi(std::string_view bytes);
