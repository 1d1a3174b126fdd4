#include "http/TIdResponseHeaderInfo.h"

TIdResponseHeaderInfo::TIdResponseHeaderInfo() {
    TIdResponseHeaderInfo::Clear();
}

void TIdResponseHeaderInfo::Clear() {
    TIdEntityHeaderInfo::Clear();
    // Until a response has been parsed the type reads as HTML.
    contentType_ = "text/html";
    location_.clear();
    server_.clear();
    proxyConnection_.clear();
    transferEncoding_.clear();
    wwwAuthenticate_.clear();
    proxyAuthenticate_.clear();
}

void TIdResponseHeaderInfo::ProcessHeaders() {
    TIdEntityHeaderInfo::ProcessHeaders();
    location_ = rawHeaders_.Values("Location");
    server_ = rawHeaders_.Values("Server");
    proxyConnection_ = rawHeaders_.Values("Proxy-Connection");
    transferEncoding_ = rawHeaders_.Values("Transfer-Encoding");
    wwwAuthenticate_ = rawHeaders_.Extract("WWW-Authenticate");
    proxyAuthenticate_ = rawHeaders_.Extract("Proxy-Authenticate");
}
