#include "http/TIdSSLContext.h"

#include "http/EIdTLS.h"

#include <openssl/err.h>
#include <openssl/pem.h>
#include <openssl/ssl.h>
#include <openssl/x509.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>

namespace {

// Bytes OpenSSL reads from the socket at once: several records per receive instead of a
// header and a body for each.
constexpr std::size_t kReadBufferBytes = 64 * 1024;

[[noreturn]] void refuseCAFile(const std::string& file, const std::string& why) {
    throw EIdTLSError("cannot read the CA file " + file + ": " + why);
}

void loadCAFile(SSL_CTX* ctx, const std::string& file) {
    // The file's own failure first: OpenSSL would only say that it found no certificate.
    std::FILE* f = std::fopen(file.c_str(), "rb");
    if (!f)
        refuseCAFile(file, std::strerror(errno));
    std::fclose(f);
    std::error_code ec;
    if (std::filesystem::is_directory(file, ec))
        refuseCAFile(file, "it is a folder, not a PEM file");
    ERR_clear_error();
    if (SSL_CTX_load_verify_locations(ctx, file.c_str(), nullptr) != 1) {
        // One damaged certificate spoils the whole file, and is said so: none of it is trusted.
        const unsigned long err = ERR_peek_last_error();
        ERR_clear_error();
        if (err == 0 || (ERR_GET_LIB(err) == ERR_LIB_PEM && ERR_GET_REASON(err) == PEM_R_NO_START_LINE) ||
            ERR_GET_REASON(err) == X509_R_NO_CERTIFICATE_OR_CRL_FOUND)
            refuseCAFile(file, "no PEM certificate in it");
        refuseCAFile(file, "a certificate in it is damaged or cut short");
    }
}

} // namespace

TIdSSLContext::TIdSSLContext(const std::string& caFile) : caFile_(caFile) {
    ctx_ = SSL_CTX_new(TLS_client_method());
    if (!ctx_)
        throw EIdTLSError("TLS is not available: " + std::string(ERR_reason_error_string(ERR_get_error())));
    try {
        SSL_CTX_set_min_proto_version(ctx_, TLS1_2_VERSION);
        SSL_CTX_set_options(ctx_, SSL_OP_NO_COMPRESSION | SSL_OP_NO_RENEGOTIATION);
        SSL_CTX_set_verify(ctx_, SSL_VERIFY_PEER, nullptr);
        // The system trust store (ca-certificates); a missing one leaves only the CA file.
        SSL_CTX_set_default_verify_paths(ctx_);
        ERR_clear_error();
        if (!caFile.empty())
            loadCAFile(ctx_, caFile);
        SSL_CTX_set_read_ahead(ctx_, 1);
        SSL_CTX_set_default_read_buffer_len(ctx_, kReadBufferBytes);
    } catch (...) {
        SSL_CTX_free(ctx_);
        throw;
    }
}

TIdSSLContext::~TIdSSLContext() {
    SSL_CTX_free(ctx_);
}
