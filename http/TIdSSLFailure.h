#pragma once
// Turns what OpenSSL reports after a failed TLS call into the client's exceptions, with
// messages that say why: the certificate verdict ("certificate has expired"), a name that does
// not match ("certificate is for other.example, not 127.0.0.1"), a server that speaks no TLS or
// no version we accept, a connection that broke.
#include <string>

struct ssl_st;

// What a non-blocking TLS call that returned ret <= 0 asks for next.
enum class TIdSSLWait { Read, Write, Closed };

// For a read or a write on an established connection: the wait to make, Closed for the
// server's close notice; anything else raises (EIdTLSUnexpectedEOF, a socket error, EIdTLSError).
// savedErrno is errno right after the call.
TIdSSLWait IdSSLTransferOutcome(ssl_st* ssl, int ret, int savedErrno);

// For a step of the handshake with serverName: the wait to make; anything else raises
// EIdTLSCertificateError, EIdTLSError or a socket error.
TIdSSLWait IdSSLHandshakeOutcome(ssl_st* ssl, int ret, int savedErrno, const std::string& serverName);

// The names a certificate is for (its DNS and IP subject alternative names, else its common
// name), as "a.example or 10.0.0.1"; control characters shown as "?".
std::string IdSSLCertificateNames(ssl_st* ssl);
