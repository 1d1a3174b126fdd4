#pragma once
// The HTTP client's exceptions. Every failure of the client is one of these; the message texts are
// part of what callers see (the reader's error box, zelmora-cli's ERR lines), so they are fixed here.
#include "framework/core/Exception.h"

#include <cstdint>
#include <string>

class EIdException : public Exception {
public:
    explicit EIdException(std::string message = std::string()) : Exception(std::move(message)) {}
    const char* ClassName() const noexcept override { return "EIdException"; }
};

// Declares an exception class with its parent and the message it carries when none is given.
#define ZEL_ID_EXCEPTION(Name, Parent, DefaultMessage)                                                       \
    class Name : public Parent {                                                                             \
    public:                                                                                                  \
        explicit Name(std::string message = DefaultMessage) : Parent(std::move(message)) {}                  \
        const char* ClassName() const noexcept override { return #Name; }                                    \
    }

// Connection and socket layer.
ZEL_ID_EXCEPTION(EIdConnClosedGracefully, EIdException, "Connection Closed Gracefully.");
ZEL_ID_EXCEPTION(EIdReadTimeout, EIdException, "Read Timeout");
ZEL_ID_EXCEPTION(EIdReadLnMaxLineLengthExceeded, EIdException, "Max line length exceeded.");
ZEL_ID_EXCEPTION(EIdNotConnected, EIdException, "Not Connected");
ZEL_ID_EXCEPTION(EIdAlreadyConnected, EIdException, "Already connected.");
ZEL_ID_EXCEPTION(EIdConnectTimeout, EIdException, "Connect timed out.");
ZEL_ID_EXCEPTION(EIdConnectException, EIdException, "");
ZEL_ID_EXCEPTION(EIdIPv6Unavailable, EIdException, "IPv6 unavailable");
ZEL_ID_EXCEPTION(EIdStackInitializationFailed, EIdException, "Winsock Initialization Error.");
ZEL_ID_EXCEPTION(EIdCouldNotBindSocket, EIdException,
                 "Could not bind socket. Address and port are already in use.");
// Messages "Invalid Port Range (%d - %d)" and "Can not bind in port range (%d - %d)", filled by the raiser.
ZEL_ID_EXCEPTION(EIdInvalidPortRange, EIdException, "");
ZEL_ID_EXCEPTION(EIdCanNotBindPortInRange, EIdException, "");

// Buffers.
ZEL_ID_EXCEPTION(EIdTooMuchDataInBuffer, EIdException, "Too much data in buffer.");
// "Not enough data in buffer. (asked/size)", filled by the raiser.
ZEL_ID_EXCEPTION(EIdNotEnoughDataInBuffer, EIdException, "Not enough data in buffer.");

// URLs and the GET exchange.
ZEL_ID_EXCEPTION(EIdURIException, EIdException, "");
ZEL_ID_EXCEPTION(EIdUnknownProtocol, EIdException, "");
ZEL_ID_EXCEPTION(EIdIOHandlerPropInvalid, EIdException, "IOHandler value is not valid");
// A URL carrying CR, LF or NUL would let the caller's text split the request head.
ZEL_ID_EXCEPTION(EIdInvalidURL, EIdException, "URL contains a control character (CR, LF or NUL)");
// The whole request (connect, head and body) took longer than the client's overall limit; the
// message names the limit, filled by the raiser.
ZEL_ID_EXCEPTION(EIdDeadlineExceeded, EIdException, "The request did not finish in time.");
// A body past the in-memory bound of the stream it is read into.
ZEL_ID_EXCEPTION(EIdContentTooLarge, EIdException, "Response body exceeds the size limit.");
ZEL_ID_EXCEPTION(EIdReplyRFCError, EIdException, "");
// A port that is not a number from 1 to 65535, in a URL or the proxy settings; nothing is sent.
// The message names the port, filled by the raiser.
ZEL_ID_EXCEPTION(EIdInvalidPort, EIdException, "Invalid port: a port is a number from 1 to 65535.");
// A response whose framing cannot be trusted: a chunk size that is not a number, two different
// Content-Length values, a head that the server's close cut off before its blank line. What it
// says about the body would be a guess; the message names what was wrong.
ZEL_ID_EXCEPTION(EIdHTTPMalformedResponse, EIdException, "Malformed response.");

// A body in a content coding the request did not accept. The client decodes none, so the bytes
// would pass for the body itself (compressed bytes taken for a feed); the message names the coding.
ZEL_ID_EXCEPTION(EIdHTTPContentEncodingNotAccepted, EIdException,
                 "The response body is in a content coding that was not asked for.");

// Authentication registry. Message "This authentication method is already registered with class
// name %s.", filled by the raiser.
ZEL_ID_EXCEPTION(EIdAlreadyRegisteredAuthenticationMethod, EIdException, "");

#undef ZEL_ID_EXCEPTION

// A platform socket failure: "Socket Error # <n>" CR LF and the text of the error number.
class EIdSocketError : public EIdException {
public:
    explicit EIdSocketError(int lastError, std::string message)
        : EIdException(std::move(message)), lastError_(lastError) {}
    const char* ClassName() const noexcept override { return "EIdSocketError"; }
    int LastError() const noexcept { return lastError_; }

private:
    int lastError_;
};

// Error 10038: an operation on something that is not a socket.
class EIdNotASocket : public EIdSocketError {
public:
    using EIdSocketError::EIdSocketError;
    const char* ClassName() const noexcept override { return "EIdNotASocket"; }
};

// A response that Get does not accept. The message is the status line; the code and the body that
// came with it are kept for the caller.
class EIdHTTPProtocolException : public EIdReplyRFCError {
public:
    EIdHTTPProtocolException(std::string statusLine, int errorCode, std::string body)
        : EIdReplyRFCError(std::move(statusLine)), errorCode_(errorCode), errorMessage_(std::move(body)) {}
    const char* ClassName() const noexcept override { return "EIdHTTPProtocolException"; }
    int ErrorCode() const noexcept { return errorCode_; }
    // The body of the refused response, as text.
    const std::string& ErrorMessage() const noexcept { return errorMessage_; }

private:
    int errorCode_;
    std::string errorMessage_;
};

// A redirect the client does not follow although asked to follow redirects: from https down to
// http, to a scheme other than http and https, or without a Location. The message says why; the
// status code and body are the redirect's.
class EIdHTTPRedirectRefused : public EIdHTTPProtocolException {
public:
    EIdHTTPRedirectRefused(std::string why, int errorCode, std::string body)
        : EIdHTTPProtocolException(std::move(why), errorCode, std::move(body)) {}
    const char* ClassName() const noexcept override { return "EIdHTTPRedirectRefused"; }
};

// A response head past the client's bounds: too many header lines, too many bytes, or an endless
// run of interim (100) responses.
class EIdHTTPHeadTooLarge : public EIdException {
public:
    explicit EIdHTTPHeadTooLarge(std::string message) : EIdException(std::move(message)) {}
    const char* ClassName() const noexcept override { return "EIdHTTPHeadTooLarge"; }
};
