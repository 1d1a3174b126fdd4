#pragma once
// The request of an exchange: its header fields plus the target, the method and the body source.
#include "http/TIdRequestHeaderInfo.h"

#include <string>

class TIdStream;

enum class TIdHTTPMethod { hmHead, hmGet, hmPost, hmOptions, hmTrace, hmPut, hmDelete, hmConnect };
using enum TIdHTTPMethod;

// How the request reaches the server.
enum class TIdHTTPConnectionType { ctNormal, ctSSL, ctProxy, ctSSLProxy };
using enum TIdHTTPConnectionType;

// The word a method has in the request line ("GET").
const char* IdHTTPMethodName(TIdHTTPMethod method);

class TIdHTTPRequest : public TIdRequestHeaderInfo {
public:
    // The target: the URL the caller passed, then the request-line form made from it.
    const std::string& URL() const { return url_; }
    void SetURL(const std::string& v) { url_ = v; }
    TIdHTTPMethod Method() const { return method_; }
    void SetMethod(TIdHTTPMethod v) { method_ = v; }
    // Bytes sent after the head (none for a GET); not owned.
    TIdStream* Source() const { return source_; }
    void SetSource(TIdStream* v) { source_ = v; }
    TIdHTTPConnectionType UseProxy() const { return useProxy_; }
    void SetUseProxy(TIdHTTPConnectionType v) { useProxy_ = v; }

private:
    std::string url_;
    TIdHTTPMethod method_ = hmGet;
    TIdStream* source_ = nullptr;
    TIdHTTPConnectionType useProxy_ = ctNormal;
};

inline const char* IdHTTPMethodName(TIdHTTPMethod method) {
    switch (method) {
    case hmHead:
        return "HEAD";
    case hmGet:
        return "GET";
    case hmPost:
        return "POST";
    case hmOptions:
        return "OPTIONS";
    case hmTrace:
        return "TRACE";
    case hmPut:
        return "PUT";
    case hmDelete:
        return "DELETE";
    case hmConnect:
        return "CONNECT";
    }
    return "GET";
}
