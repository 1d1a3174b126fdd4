#include "http/TIdHTTPResponse.h"

#include "http/TIdCustomHTTP.h"

namespace {

bool sameText(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        char x = a[i] >= 'A' && a[i] <= 'Z' ? static_cast<char>(a[i] + 32) : a[i];
        char y = b[i] >= 'A' && b[i] <= 'Z' ? static_cast<char>(b[i] + 32) : b[i];
        if (x != y)
            return false;
    }
    return true;
}

std::string_view trimmed(std::string_view s) {
    while (!s.empty() && static_cast<unsigned char>(s.front()) <= ' ')
        s.remove_prefix(1);
    while (!s.empty() && static_cast<unsigned char>(s.back()) <= ' ')
        s.remove_suffix(1);
    return s;
}

} // namespace

int TIdHTTPResponse::ParseResponseCode(const std::string& statusLine) {
    std::size_t first = statusLine.find(' ');
    if (first == std::string::npos)
        return -1;
    std::size_t second = statusLine.find(' ', first + 1);
    std::string_view word(statusLine);
    word = word.substr(first + 1, second == std::string::npos ? std::string::npos : second - first - 1);
    std::int64_t code = -1;
    if (!TIdEntityHeaderInfo::ParseInt32(word, code))
        return -1;
    return static_cast<int>(code);
}

void TIdHTTPResponse::SetResponseText(const std::string& v) {
    responseText_ = v;
    responseCode_ = ParseResponseCode(v);
    if (v.size() >= 8) {
        std::string_view version = std::string_view(v).substr(5, 3);
        if (sameText(version, "1.0"))
            responseVersion_ = pv1_0;
        else if (sameText(version, "1.1"))
            responseVersion_ = pv1_1;
    }
}

bool TIdHTTPResponse::KeepAlive() {
    TIdIOHandler* io = http_.IOHandler();
    bool open = io && io->Opened() && http_.Connected();
    if (!open)
        return false;
    // Bytes nobody asked for: a stale or forged reply must not answer the next request.
    if (!io->InputBuffer().Empty())
        return false;
    std::string_view connection = trimmed(Connection());
    std::string_view proxyConnection = trimmed(ProxyConnection());
    if (http_.ProtocolVersion() == pv1_0)
        return sameText(connection, "keep-alive") || sameText(proxyConnection, "keep-alive");
    return !sameText(connection, "close") && !sameText(proxyConnection, "close");
}
