#pragma once
// An https site on 127.0.0.1 for tests: scripted connections (ScriptedServer) behind a TLS front
// that presents a certificate issued by the test's own CA. One byte per send behind becomes one
// byte per TLS record in front, so the framing tests cut the stream at every point over TLS too.
#include "tests/support/ScriptedServer.h"
#include "tests/support/TestPki.h"
#include "tests/support/TlsFront.h"

#include <string>
#include <vector>

namespace zeltest {

class TlsSite {
public:
    TlsSite(TestPki& pki, std::vector<Script> scripts, Delivery delivery = Delivery::Whole,
            const CertSpec& cert = CertSpec(), TlsFrontOptions options = TlsFrontOptions())
        : backend_(std::move(scripts), delivery),
          front_(backend_.Port(), frontOptions(pki, delivery, cert, options)) {}

    int Port() const { return front_.Port(); }
    std::string HostPort(const std::string& host = "127.0.0.1") const {
        return host + ":" + std::to_string(Port());
    }
    std::string Url(const std::string& path, const std::string& host = "127.0.0.1") const {
        return "https://" + HostPort(host) + path;
    }
    ScriptedServer& Backend() { return backend_; }
    TlsFront& Front() { return front_; }

private:
    static TlsFrontOptions frontOptions(TestPki& pki, Delivery delivery, const CertSpec& cert,
                                        TlsFrontOptions options) {
        if (options.certFile.empty()) {
            CertFiles files = pki.Issue("site" + std::to_string(counter()++), cert);
            options.certFile = files.cert;
            options.keyFile = files.key;
        }
        options.oneBytePerRecord = options.oneBytePerRecord || delivery == Delivery::OneBytePerSend;
        return options;
    }
    static int& counter() {
        static int n = 0;
        return n;
    }

    ScriptedServer backend_;
    TlsFront front_;
};

} // namespace zeltest
