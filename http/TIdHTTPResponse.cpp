#include "http/TIdHTTPResponse.h"

#include "framework/core/AsciiText.h"

#include "http/TIdCustomHTTP.h"

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
        if (SameText(version, "1.0"))
            responseVersion_ = pv1_0;
        else if (SameText(version, "1.1"))
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
    std::string_view connection = TrimControls(Connection());
    std::string_view proxyConnection = TrimControls(ProxyConnection());
    if (http_.ProtocolVersion() == pv1_0)
        return SameText(connection, "keep-alive") || SameText(proxyConnection, "keep-alive");
    return !SameText(connection, "close") && !SameText(proxyConnection, "close");
}
