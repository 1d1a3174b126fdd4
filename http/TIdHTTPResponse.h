#pragma once
// The response of an exchange: the status line and what follows from it, the parsed head, where
// the body goes, and whether the connection may be kept for the next request.
#include "http/TIdResponseHeaderInfo.h"

#include <string>

class TIdStream;
class TIdCustomHTTP;

enum class TIdHTTPProtocolVersion { pv1_0, pv1_1 };
using enum TIdHTTPProtocolVersion;

class TIdHTTPResponse : public TIdResponseHeaderInfo {
public:
    explicit TIdHTTPResponse(TIdCustomHTTP& http) : http_(http) {}

    // The status line as received, without its terminator. Setting it sets the code, and the
    // version when characters 6 to 8 read "1.0" or "1.1".
    const std::string& ResponseText() const { return responseText_; }
    void SetResponseText(const std::string& v);
    // The second blank-separated word of the status line as a number; -1 when it is not one.
    int ResponseCode() const { return responseCode_; }
    TIdHTTPProtocolVersion ResponseVersion() const { return responseVersion_; }

    // Where the body is written; not owned.
    TIdStream* ContentStream() const { return contentStream_; }
    void SetContentStream(TIdStream* s) { contentStream_ = s; }

    // Whether the connection stays open for the next request: it must still be open, hold no
    // unread bytes, and, under the client's protocol version, not have been asked to close (1.1)
    // or have been asked to stay (1.0). Closing our end is the caller's part.
    bool KeepAlive();

    // The status code parsed from a status line.
    static int ParseResponseCode(const std::string& statusLine);

private:
    TIdCustomHTTP& http_;
    std::string responseText_;
    int responseCode_ = -1;
    TIdHTTPProtocolVersion responseVersion_ = pv1_1;
    TIdStream* contentStream_ = nullptr;
};
