#include "tests/support/TestPki.h"

#include <openssl/evp.h>
#include <openssl/pem.h>
#include <openssl/rand.h>
#include <openssl/x509.h>
#include <openssl/x509v3.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <stdexcept>

namespace zeltest {

namespace {

EVP_PKEY* newKey() {
    EVP_PKEY* key = EVP_EC_gen("P-256");
    if (!key)
        throw std::runtime_error("key generation failed");
    return key;
}

void addExtension(X509* cert, X509* issuer, int nid, const std::string& value) {
    X509V3_CTX ctx;
    X509V3_set_ctx_nodb(&ctx);
    X509V3_set_ctx(&ctx, issuer, cert, nullptr, nullptr, 0);
    X509_EXTENSION* ext = X509V3_EXT_nconf_nid(nullptr, &ctx, nid, value.c_str());
    if (!ext)
        throw std::runtime_error("bad extension " + value);
    X509_add_ext(cert, ext, -1);
    X509_EXTENSION_free(ext);
}

X509* newCert(EVP_PKEY* key, const std::string& cn, long notBefore, long notAfter) {
    X509* cert = X509_new();
    X509_set_version(cert, 2);
    unsigned char serial[8];
    RAND_bytes(serial, sizeof serial);
    serial[0] &= 0x7F;
    BIGNUM* bn = BN_bin2bn(serial, sizeof serial, nullptr);
    BN_to_ASN1_INTEGER(bn, X509_get_serialNumber(cert));
    BN_free(bn);
    X509_gmtime_adj(X509_getm_notBefore(cert), notBefore);
    X509_gmtime_adj(X509_getm_notAfter(cert), notAfter);
    X509_set_pubkey(cert, key);
    X509_NAME_add_entry_by_txt(X509_get_subject_name(cert), "CN", MBSTRING_UTF8,
                               reinterpret_cast<const unsigned char*>(cn.c_str()), -1, -1, 0);
    return cert;
}

void writePem(const std::string& path, const std::vector<X509*>& certs, EVP_PKEY* key) {
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f)
        throw std::runtime_error("cannot write " + path);
    for (X509* c : certs)
        PEM_write_X509(f, c);
    if (key)
        PEM_write_PrivateKey(f, key, nullptr, nullptr, 0, nullptr, nullptr);
    std::fclose(f);
}

} // namespace

TestPki::TestPki(const std::string& caName) {
    std::string pattern = (std::filesystem::temp_directory_path() / "zelmora-pki-XXXXXX").string();
    if (!::mkdtemp(pattern.data()))
        throw std::runtime_error("mkdtemp failed");
    dir_ = pattern;
    EVP_PKEY* key = newKey();
    X509* ca = newCert(key, caName, -24L * 3600, 365L * 24 * 3600);
    X509_set_issuer_name(ca, X509_get_subject_name(ca));
    addExtension(ca, ca, NID_basic_constraints, "critical,CA:TRUE");
    addExtension(ca, ca, NID_key_usage, "critical,keyCertSign,cRLSign");
    addExtension(ca, ca, NID_subject_key_identifier, "hash");
    X509_sign(ca, key, EVP_sha256());
    caKey_ = key;
    caCert_ = ca;
    caFile_ = dir_ + "/ca.pem";
    writePem(caFile_, {ca}, nullptr);
}

TestPki::~TestPki() {
    X509_free(static_cast<X509*>(caCert_));
    EVP_PKEY_free(static_cast<EVP_PKEY*>(caKey_));
    std::error_code ec;
    std::filesystem::remove_all(dir_, ec);
}

CertFiles TestPki::Issue(const std::string& name, const CertSpec& spec) {
    auto* ca = static_cast<X509*>(caCert_);
    EVP_PKEY* key = newKey();
    X509* cert = newCert(key, spec.commonName, spec.notBefore, spec.notAfter);
    X509* issuer = spec.selfSigned ? cert : ca;
    X509_set_issuer_name(cert, X509_get_subject_name(issuer));
    addExtension(cert, issuer, NID_basic_constraints, "critical,CA:FALSE");
    addExtension(cert, issuer, NID_ext_key_usage, "serverAuth");
    if (!spec.altNames.empty()) {
        std::string sans;
        for (const std::string& n : spec.altNames)
            sans += (sans.empty() ? "" : ",") + n;
        addExtension(cert, issuer, NID_subject_alt_name, sans);
    }
    X509_sign(cert, spec.selfSigned ? key : static_cast<EVP_PKEY*>(caKey_), EVP_sha256());
    std::vector<X509*> chain{cert};
    for (int i = 0; i < spec.paddingCopies; ++i)
        chain.push_back(ca);
    CertFiles files{dir_ + "/" + name + ".pem", dir_ + "/" + name + ".key"};
    writePem(files.cert, chain, nullptr);
    writePem(files.key, {}, key);
    X509_free(cert);
    EVP_PKEY_free(key);
    return files;
}

} // namespace zeltest
