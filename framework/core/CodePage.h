#pragma once
// The ANSI code page of the program's text: GB18030, the national superset of GBK. Every GBK
// character keeps its bytes, so list files written in GBK read and write as before (a lone
// byte 0x80 of an old file reads as the euro sign), and every Unicode character has a code, so
// nothing becomes "?". Conversions never fail: malformed input becomes U+FFFD, one per bad
// sequence, and the rest of the text stays. See Gb18030Codec.h.
#include <string>
#include <string_view>

std::string AnsiToUtf8(std::string_view ansi);
std::string Utf8ToAnsi(std::string_view utf8);
std::u16string AnsiToUtf16(std::string_view ansi);
std::string Utf16ToAnsi(std::u16string_view utf16);

// One character at a time, for converters that decode another encoding themselves.
void AppendAnsi(std::string& out, char32_t cp);
