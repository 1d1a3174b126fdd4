#pragma once
// Certificates made by the test, with OpenSSL's API, in a temporary folder that goes with the
// object: a CA of its own and the server certificates it issues (good, expired, not yet valid,
// for another name, self-signed, or with a chain padded to any size).
#include <string>
#include <vector>

namespace zeltest {

struct CertSpec {
    // Subject alternative names, as OpenSSL writes them: "IP:127.0.0.1", "DNS:localhost".
    std::vector<std::string> altNames = {"IP:127.0.0.1", "DNS:localhost"};
    std::string commonName = "localhost";
    // Validity, in seconds from now.
    long notBefore = -3600;
    long notAfter = 30L * 24 * 3600;
    // Signed with its own key instead of the CA's.
    bool selfSigned = false;
    // Copies of the CA certificate appended to the chain the server sends.
    int paddingCopies = 0;
};

struct CertFiles {
    std::string cert; // PEM: the certificate, then the chain sent with it
    std::string key;  // PEM private key
};

class TestPki {
public:
    explicit TestPki(const std::string& caName = "Zelmora Test CA");
    ~TestPki();
    TestPki(const TestPki&) = delete;
    TestPki& operator=(const TestPki&) = delete;

    // The CA certificate (PEM), for the client's CA file.
    const std::string& CAFile() const { return caFile_; }
    const std::string& Dir() const { return dir_; }
    // Issues a server certificate and its key into files named after name.
    CertFiles Issue(const std::string& name, const CertSpec& spec = CertSpec());

private:
    std::string dir_;
    std::string caFile_;
    void* caKey_ = nullptr;  // EVP_PKEY*
    void* caCert_ = nullptr; // X509*
};

} // namespace zeltest
