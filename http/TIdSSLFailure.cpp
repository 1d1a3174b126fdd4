#include "http/TIdSSLFailure.h"

#include "http/EIdTLS.h"
#include "http/TIdStack.h"

#include <arpa/inet.h>
#include <openssl/err.h>
#include <openssl/ssl.h>
#include <openssl/x509v3.h>

#include <vector>

namespace {

constexpr std::size_t kShownNames = 4;
constexpr std::size_t kShownNameBytes = 64;

// A name taken from a certificate, safe to put in a message: at most 64 bytes, control
// characters as "?".
std::string shown(const unsigned char* bytes, int n) {
    std::string s;
    for (int i = 0; i < n && s.size() < kShownNameBytes; ++i)
        s += bytes[i] < 0x20 || bytes[i] == 0x7F ? '?' : static_cast<char>(bytes[i]);
    return s;
}

std::string ipText(const ASN1_OCTET_STRING* ip) {
    char text[INET6_ADDRSTRLEN] = "";
    const int n = ASN1_STRING_length(ip);
    const unsigned char* d = ASN1_STRING_get0_data(ip);
    if ((n == 4 && ::inet_ntop(AF_INET, d, text, sizeof text)) ||
        (n == 16 && ::inet_ntop(AF_INET6, d, text, sizeof text)))
        return text;
    return "?";
}

struct CertName {
    std::string text;
    bool dns = false; // a DNS entry (else an IP entry or the common name)
};

std::vector<CertName> namesOf(X509* cert) {
    std::vector<CertName> names;
    auto* sans = static_cast<GENERAL_NAMES*>(X509_get_ext_d2i(cert, NID_subject_alt_name, nullptr, nullptr));
    for (int i = 0; sans && i < sk_GENERAL_NAME_num(sans); ++i) {
        const GENERAL_NAME* g = sk_GENERAL_NAME_value(sans, i);
        if (g->type == GEN_DNS)
            names.push_back(
                {shown(ASN1_STRING_get0_data(g->d.dNSName), ASN1_STRING_length(g->d.dNSName)), true});
        else if (g->type == GEN_IPADD)
            names.push_back({ipText(g->d.iPAddress)});
    }
    GENERAL_NAMES_free(sans);
    if (names.empty()) {
        X509_NAME* subject = X509_get_subject_name(cert);
        int at = X509_NAME_get_index_by_NID(subject, NID_commonName, -1);
        if (at >= 0) {
            ASN1_STRING* cn = X509_NAME_ENTRY_get_data(X509_NAME_get_entry(subject, at));
            names.push_back({shown(ASN1_STRING_get0_data(cn), ASN1_STRING_length(cn))});
        }
    }
    return names;
}

std::string lowered(std::string s) {
    for (char& c : s)
        c = c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
    return s;
}

// Why a name that looks right still does not match, for the two cases that puzzle people: an
// address written as a DNS entry, and a wildcard right under a top-level name.
std::string mismatchHint(const std::vector<CertName>& names, std::string host, bool address) {
    host = lowered(host);
    if (host.size() > 1 && host.back() == '.')
        host.pop_back();
    for (const CertName& n : names) {
        if (!n.dns)
            continue;
        const std::string name = lowered(n.text);
        if (address && name == host)
            return ": it holds " + n.text + " as a DNS name, and an address matches only an IP address entry";
        const std::string parent = name.size() > 2 && name.starts_with("*.") ? name.substr(1) : "";
        if (!address && !parent.empty() && parent.find('.', 1) == std::string::npos &&
            host.size() > parent.size() && host.ends_with(parent))
            return ": a wildcard needs two labels after it, so " + n.text + " matches no name";
    }
    return "";
}

X509* leafOf(ssl_st* ssl) {
    if (X509* peer = SSL_get0_peer_certificate(ssl))
        return peer;
    // A chain that failed verification is kept without its leaf being made the peer's.
    STACK_OF(X509)* chain = SSL_get_peer_cert_chain(ssl);
    return chain && sk_X509_num(chain) > 0 ? sk_X509_value(chain, 0) : nullptr;
}

std::string reasonText(unsigned long err) {
    const char* r = ERR_reason_error_string(err);
    return r ? r : "error " + std::to_string(ERR_GET_REASON(err));
}

[[noreturn]] void raiseSyscall(int savedErrno, const char* eofMessage) {
    if (savedErrno != 0)
        TIdStack::RaiseSocketError(TIdStack::TranslateError(savedErrno));
    if (eofMessage)
        throw EIdTLSError(eofMessage);
    throw EIdTLSUnexpectedEOF();
}

[[noreturn]] void raiseCertificate(ssl_st* ssl, long verdict, const std::string& serverName) {
    if (verdict == X509_V_ERR_HOSTNAME_MISMATCH || verdict == X509_V_ERR_IP_ADDRESS_MISMATCH) {
        X509* leaf = leafOf(ssl);
        const std::string hint =
            leaf ? mismatchHint(namesOf(leaf), serverName, verdict == X509_V_ERR_IP_ADDRESS_MISMATCH) : "";
        throw EIdTLSCertificateError("certificate is for " + IdSSLCertificateNames(ssl) + ", not " +
                                     serverName + hint);
    }
    throw EIdTLSCertificateError(X509_verify_cert_error_string(verdict));
}

} // namespace

std::string IdSSLCertificateNames(ssl_st* ssl) {
    X509* leaf = leafOf(ssl);
    std::vector<CertName> names = leaf ? namesOf(leaf) : std::vector<CertName>();
    if (names.empty())
        return "no name";
    std::string text;
    for (std::size_t i = 0; i < names.size() && i < kShownNames; ++i)
        text += (i ? " or " : "") + names[i].text;
    if (names.size() > kShownNames)
        text += " (and " + std::to_string(names.size() - kShownNames) + " more)";
    return text;
}

TIdSSLWait IdSSLTransferOutcome(ssl_st* ssl, int ret, int savedErrno) {
    switch (SSL_get_error(ssl, ret)) {
    case SSL_ERROR_WANT_READ:
        return TIdSSLWait::Read;
    case SSL_ERROR_WANT_WRITE:
        return TIdSSLWait::Write;
    case SSL_ERROR_ZERO_RETURN:
        return TIdSSLWait::Closed;
    case SSL_ERROR_SYSCALL:
        if (ERR_peek_error() == 0)
            raiseSyscall(savedErrno, nullptr);
        break;
    default:
        break;
    }
    const unsigned long err = ERR_get_error();
    ERR_clear_error();
    if (ERR_GET_REASON(err) == SSL_R_UNEXPECTED_EOF_WHILE_READING)
        throw EIdTLSUnexpectedEOF();
    throw EIdTLSError("TLS connection failed: " + reasonText(err));
}

TIdSSLWait IdSSLHandshakeOutcome(ssl_st* ssl, int ret, int savedErrno, const std::string& serverName) {
    const int kind = SSL_get_error(ssl, ret);
    if (kind == SSL_ERROR_WANT_READ)
        return TIdSSLWait::Read;
    if (kind == SSL_ERROR_WANT_WRITE)
        return TIdSSLWait::Write;
    const long verdict = SSL_get_verify_result(ssl);
    if (verdict != X509_V_OK)
        raiseCertificate(ssl, verdict, serverName);
    const unsigned long err = ERR_get_error();
    ERR_clear_error();
    static constexpr const char* kClosed = "server closed the connection during the TLS handshake";
    if (kind == SSL_ERROR_SYSCALL && err == 0)
        raiseSyscall(savedErrno, kClosed);
    switch (ERR_GET_REASON(err)) {
    case SSL_R_UNEXPECTED_EOF_WHILE_READING:
        throw EIdTLSError(kClosed);
    case SSL_R_UNSUPPORTED_PROTOCOL:
    case SSL_R_TLSV1_ALERT_PROTOCOL_VERSION:
    case SSL_R_NO_PROTOCOLS_AVAILABLE:
        throw EIdTLSError("server does not offer TLS 1.2 or later");
    case SSL_R_WRONG_VERSION_NUMBER:
    case SSL_R_PACKET_LENGTH_TOO_LONG:
        throw EIdTLSError("server does not speak TLS");
    default:
        throw EIdTLSError("TLS handshake failed: " + reasonText(err));
    }
}
