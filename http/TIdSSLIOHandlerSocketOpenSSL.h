#pragma once
// A socket handler that speaks TLS (OpenSSL) over its TCP connection, so every rule above the
// socket (buffered lines, framing, keep-alive, time-outs) holds unchanged over https.
//
// It connects plain and turns to TLS when asked (StartTLS): the HTTP client asks right after
// the connect for an https URL, or inside the proxy's tunnel, and uses the same handler plain
// for http. With PassThrough cleared, Open shakes hands itself, with Host() as the server. The
// handshake verifies the server's certificate against the system trust
// store and the CA file, and the certificate against the host name or IP address asked for; it
// sends the name (SNI) but never an address. The handshake finishes within the connect time-out
// and no wait in it outlasts the read time-out (0: no limit, as everywhere).
#include "http/TIdIOHandlerStack.h"

#include <exception>
#include <memory>
#include <string>

class TIdSSLContext;
struct ssl_st;

class TIdSSLIOHandlerSocketOpenSSL : public TIdIOHandlerStack {
public:
    TIdSSLIOHandlerSocketOpenSSL();
    ~TIdSSLIOHandlerSocketOpenSSL() override;

    // True (the default): Open connects plain. False: Open shakes hands after connecting.
    bool PassThrough() const { return passThrough_; }
    void SetPassThrough(bool v) { passThrough_ = v; }
    // A PEM file of CAs trusted besides the system's; empty for the system's alone. Read at the
    // next handshake; one that cannot be read fails it with EIdTLSError.
    const std::string& CAFile() const { return caFile_; }
    void SetCAFile(const std::string& file);

    // Connects; unless PassThrough, shakes hands with Host() as the server's name.
    void Open() override;
    bool TLSCapable() const override { return true; }
    // Turns the open plain connection into TLS with the named server (a host name or an IP
    // address), verifying its certificate. Failures raise EIdTLSCertificateError,
    // EIdTLSHandshakeTimeout, EIdTLSError or a socket error; the connection is then unusable.
    void StartTLS(const std::string& serverName) override;
    bool TLSActive() const override { return ssl_ != nullptr; }
    // The name the current TLS connection was verified for.
    const std::string& ServerName() const { return serverName_; }

protected:
    // Called when the TCP connection stands, before any TLS byte goes out.
    virtual void SocketConnected() {}

    bool Readable(int timeoutMs) override;
    std::size_t Recv(char* buffer, std::size_t n) override;
    bool RecvNow(char* buffer, std::size_t n, std::size_t& got) override;
    std::size_t Send(const char* bytes, std::size_t n) override;
    void CloseSource() override;

private:
    void handshake(long long deadlineMs);
    // Raises for a failed transfer call, remembering that the connection is broken.
    bool waitAfter(int ret, int savedErrno, int timeoutMs);

    bool passThrough_ = true;
    std::string caFile_;
    std::unique_ptr<TIdSSLContext> context_;
    ssl_st* ssl_ = nullptr;
    std::string serverName_;
    // The server sent its close notice: every further receive reads 0.
    bool tlsClosed_ = false;
    // A fatal TLS failure seen while only looking for data; the next receive raises it.
    std::exception_ptr pendingError_;
    bool broken_ = false;
};
