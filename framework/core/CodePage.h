#pragma once
// The ANSI code page of the program's text: GBK (code page 936), converted through iconv.
// Conversions never fail: a character the target cannot represent, or a byte sequence that is
// not valid in the source, becomes the code page's default character "?".
#include <string>
#include <string_view>

std::string AnsiToUtf8(std::string_view ansi);
std::string Utf8ToAnsi(std::string_view utf8);
std::u16string AnsiToUtf16(std::string_view ansi);
std::string Utf16ToAnsi(std::u16string_view utf16);

// The default character that stands for anything the code page cannot hold.
constexpr char kAnsiDefaultChar = '?';
