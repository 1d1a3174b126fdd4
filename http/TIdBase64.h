#pragma once
// Base64 with the RFC 2045 alphabet ("A-Z a-z 0-9 + /"), "=" filling the last group, no line
// breaks: what Basic credentials are written in.
#include <optional>
#include <string>
#include <string_view>

class TIdBase64 {
public:
    static std::string Encode(std::string_view bytes);
    // The bytes, or nothing when the text is not canonical Base64 (wrong length, a character
    // outside the alphabet, misplaced padding or non-zero spare bits).
    static std::optional<std::string> Decode(std::string_view text);
};
