#pragma once
// The exceptions of the TLS connection handler. Their messages say why a secure connection was
// refused in the words a user can act on ("certificate has expired", "certificate is for
// other.example, not 127.0.0.1", "handshake timed out"); zelmora-cli prints them as they stand.
#include "http/EIdException.h"

#include <string>

// A TLS failure that is not about the certificate: the handshake broke, the server offers no
// version we accept, the CA file cannot be read, a TLS record was bad.
class EIdTLSError : public EIdException {
public:
    explicit EIdTLSError(std::string message) : EIdException(std::move(message)) {}
    const char* ClassName() const noexcept override { return "EIdTLSError"; }
};

// The server's certificate was not accepted: not trusted, out of its validity, or for another name.
class EIdTLSCertificateError : public EIdTLSError {
public:
    explicit EIdTLSCertificateError(std::string message) : EIdTLSError(std::move(message)) {}
    const char* ClassName() const noexcept override { return "EIdTLSCertificateError"; }
};

// The handshake did not finish within the connect time-out, or one wait in it outlasted the read
// time-out.
class EIdTLSHandshakeTimeout : public EIdTLSError {
public:
    EIdTLSHandshakeTimeout() : EIdTLSError("handshake timed out") {}
    const char* ClassName() const noexcept override { return "EIdTLSHandshakeTimeout"; }
};

// The server's end of the TLS connection went away without its close notice, so whatever came
// last may have been cut off by anyone on the way. Counted as a reset connection (error 10054),
// which is what it is to the HTTP client: never the orderly end of a body.
class EIdTLSUnexpectedEOF : public EIdSocketError {
public:
    EIdTLSUnexpectedEOF()
        : EIdSocketError(10054, "the server closed the TLS connection without a close notice") {}
    const char* ClassName() const noexcept override { return "EIdTLSUnexpectedEOF"; }
};
