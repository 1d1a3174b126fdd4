#include "http/TIdBase64.h"

#include <array>
#include <cstdint>

namespace {

constexpr char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

constexpr std::array<int8_t, 256> makeReverse() {
    std::array<int8_t, 256> r{};
    for (auto& v : r)
        v = -1;
    for (int i = 0; i < 64; ++i)
        r[static_cast<unsigned char>(kAlphabet[i])] = static_cast<int8_t>(i);
    return r;
}
constexpr std::array<int8_t, 256> kReverse = makeReverse();

} // namespace

std::string TIdBase64::Encode(std::string_view bytes) {
    std::string out;
    out.reserve((bytes.size() + 2) / 3 * 4);
    std::size_t i = 0;
    for (; i + 3 <= bytes.size(); i += 3) {
        uint32_t n = (uint32_t(uint8_t(bytes[i])) << 16) | (uint32_t(uint8_t(bytes[i + 1])) << 8) |
                     uint32_t(uint8_t(bytes[i + 2]));
        out += kAlphabet[(n >> 18) & 63];
        out += kAlphabet[(n >> 12) & 63];
        out += kAlphabet[(n >> 6) & 63];
        out += kAlphabet[n & 63];
    }
    std::size_t left = bytes.size() - i;
    if (left > 0) {
        uint32_t n = uint32_t(uint8_t(bytes[i])) << 16;
        if (left == 2)
            n |= uint32_t(uint8_t(bytes[i + 1])) << 8;
        out += kAlphabet[(n >> 18) & 63];
        out += kAlphabet[(n >> 12) & 63];
        out += left == 2 ? kAlphabet[(n >> 6) & 63] : '=';
        out += '=';
    }
    return out;
}

std::optional<std::string> TIdBase64::Decode(std::string_view text) {
    if (text.size() % 4 != 0)
        return std::nullopt;
    std::string out;
    out.reserve(text.size() / 4 * 3);
    for (std::size_t i = 0; i < text.size(); i += 4) {
        bool last = i + 4 == text.size();
        int pad = 0;
        if (last) {
            pad = (text[i + 3] == '=') + (text[i + 3] == '=' && text[i + 2] == '=');
        }
        uint32_t n = 0;
        for (int k = 0; k < 4 - pad; ++k) {
            int8_t v = kReverse[static_cast<unsigned char>(text[i + static_cast<std::size_t>(k)])];
            if (v < 0)
                return std::nullopt;
            n |= uint32_t(v) << (18 - 6 * k);
        }
        if ((pad == 1 && (n & 0xFF)) || (pad == 2 && (n & 0xFFFF)))
            return std::nullopt; // spare bits set: not what an encoder writes
        out += static_cast<char>((n >> 16) & 0xFF);
        if (pad < 2)
            out += static_cast<char>((n >> 8) & 0xFF);
        if (pad < 1)
            out += static_cast<char>(n & 0xFF);
    }
    return out;
}
