#pragma once
// The client TLS settings one connection handler uses for all its connections: TLS 1.2 at
// least, no compression, no renegotiation, the server's certificate verified against the system
// trust store and, when given, a PEM bundle of further trusted CAs.
#include <string>

struct ssl_ctx_st;

class TIdSSLContext {
public:
    // Raises EIdTLSError when the CA file cannot be read or holds no certificate.
    explicit TIdSSLContext(const std::string& caFile = std::string());
    ~TIdSSLContext();
    TIdSSLContext(const TIdSSLContext&) = delete;
    TIdSSLContext& operator=(const TIdSSLContext&) = delete;

    ssl_ctx_st* Handle() const { return ctx_; }
    const std::string& CAFile() const { return caFile_; }

private:
    ssl_ctx_st* ctx_ = nullptr;
    std::string caFile_;
};
