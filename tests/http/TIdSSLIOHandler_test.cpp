// The TLS connection handler on its own, under a TCP client: what it accepts, what it refuses
// and why, and that a refusal lets nothing of a request reach the server.
#include "http/EIdTLS.h"
#include "http/TIdSSLIOHandlerSocketOpenSSL.h"
#include "http/TIdTCPClient.h"
#include "tests/support/FileBytes.h"
#include "tests/support/TlsSite.h"

#include <gtest/gtest.h>
#include <openssl/ssl.h>

#include <fstream>

using namespace zeltest;

namespace {

class TlsHandler : public testing::Test {
protected:
    void SetUp() override {
        tls.SetCAFile(pki.CAFile());
        tls.SetPassThrough(false);
        client.SetIOHandler(&tls);
        client.SetReadTimeout(10000);
    }
    void TearDown() override { client.Disconnect(); }

    // Connects, sends one line and returns the server's answer line.
    std::string PingOver(const std::string& host, int port) {
        client.Connect(host, port);
        tls.WriteLn("ping");
        return tls.ReadLn();
    }
    // The failure of a connect, with its class checked.
    template <class E> std::string Refusal(const std::string& host, int port) {
        try {
            client.Connect(host, port);
        } catch (const E& e) {
            return e.Message();
        } catch (const std::exception& e) {
            ADD_FAILURE() << "unexpected failure: " << e.what();
            return e.what();
        }
        ADD_FAILURE() << "the connection was accepted";
        return "";
    }
    static Script Pong() {
        return {Action::ReadBytes(6), Action::Send("pong\r\n"), Action::WaitForPeerClose()};
    }

    TestPki pki;
    TIdSSLIOHandlerSocketOpenSSL tls;
    TIdTCPClient client;
};

TEST_F(TlsHandler, AcceptsTheSiteByAddressAndByNameSendingTheNameOnly) {
    TlsSite site(pki, {Pong(), Pong()});
    EXPECT_EQ(PingOver("127.0.0.1", site.Port()), "pong");
    EXPECT_TRUE(tls.TLSActive());
    client.Disconnect();
    EXPECT_FALSE(tls.TLSActive());
    EXPECT_EQ(PingOver("localhost", site.Port()), "pong");
    EXPECT_EQ(tls.ServerName(), "localhost");
    client.Disconnect();
    ASSERT_TRUE(site.Backend().WaitScriptsDone(2));
    // No server name for an address: SNI carries host names only.
    EXPECT_EQ(site.Front().ServerNames(), (std::vector<std::string>{"", "localhost"}));
}

TEST_F(TlsHandler, PassThroughStaysPlain) {
    ScriptedServer plain({Pong()});
    tls.SetPassThrough(true);
    EXPECT_EQ(PingOver("127.0.0.1", plain.Port()), "pong");
    EXPECT_FALSE(tls.TLSActive());
}

TEST_F(TlsHandler, RefusesCertificatesThatDoNotProveTheSite) {
    TestPki stranger("Some Other CA");
    struct Case {
        const char* what;
        CertSpec spec;
        TestPki* issuer;
        std::string message;
    };
    CertSpec expired, early, self, other;
    expired.notBefore = -10L * 24 * 3600;
    expired.notAfter = -24L * 3600;
    early.notBefore = 24L * 3600;
    self.selfSigned = true;
    other.altNames = {"DNS:other.example"};
    other.commonName = "other.example";
    const std::vector<Case> cases = {
        {"expired", expired, &pki, "certificate has expired"},
        {"not yet valid", early, &pki, "certificate is not yet valid"},
        {"self-signed", self, &pki, "self-signed certificate"},
        {"another name", other, &pki, "certificate is for other.example, not 127.0.0.1"},
        {"an untrusted CA", CertSpec(), &stranger, "unable to get local issuer certificate"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TlsSite site(*c.issuer, {Pong()}, Delivery::Whole, c.spec);
        EXPECT_EQ(Refusal<EIdTLSCertificateError>("127.0.0.1", site.Port()), c.message);
        EXPECT_FALSE(client.Connected());
        // The server behind the front never saw a connection: nothing of a request left.
        EXPECT_EQ(site.Backend().Accepted(), 0);
    }
}

TEST_F(TlsHandler, ANameIsCheckedAgainstTheNamesNotTheAddress) {
    CertSpec ipOnly;
    ipOnly.altNames = {"IP:127.0.0.1"};
    ipOnly.commonName = "localhost"; // a common name does not count beside alternative names
    TlsSite site(pki, {Pong()}, Delivery::Whole, ipOnly);
    EXPECT_EQ(Refusal<EIdTLSCertificateError>("localhost", site.Port()),
              "certificate is for 127.0.0.1, not localhost");
}

TEST_F(TlsHandler, ANameWrittenInFullWithItsDotIsTheSameName) {
    TlsSite site(pki, {Pong()});
    EXPECT_EQ(PingOver("localhost.", site.Port()), "pong"); // resolved, checked and sent without the dot
    client.Disconnect();
    ASSERT_TRUE(site.Backend().WaitScriptsDone(1));
    EXPECT_EQ(site.Front().ServerNames(), (std::vector<std::string>{"localhost"}));
}

TEST_F(TlsHandler, AWildcardCoversOneLabelUnderTwo) {
    CertSpec wild;
    wild.altNames = {"DNS:*.zelmora.test", "DNS:*.localhost"};
    wild.commonName = "*.zelmora.test";
    TlsSite site(pki, {Pong(), Pong(), Pong(), Pong(), Pong()}, Delivery::Whole, wild);
    // Connected to the loopback address, the handshake names the host the URL would.
    auto handshakeAs = [&](const std::string& name) -> std::string {
        tls.SetPassThrough(true);
        client.Connect("127.0.0.1", site.Port());
        try {
            tls.StartTLS(name);
        } catch (const EIdTLSCertificateError& e) {
            client.Disconnect();
            return e.Message();
        }
        client.Disconnect();
        return "accepted";
    };
    EXPECT_EQ(handshakeAs("feeds.zelmora.test"), "accepted");
    EXPECT_EQ(handshakeAs("Feeds.Zelmora.Test."), "accepted");
    EXPECT_EQ(handshakeAs("zelmora.test"),
              "certificate is for *.zelmora.test or *.localhost, not zelmora.test");
    EXPECT_EQ(handshakeAs("a.feeds.zelmora.test"),
              "certificate is for *.zelmora.test or *.localhost, not a.feeds.zelmora.test");
    // A wildcard right under a top-level name covers nothing, and the message says why.
    EXPECT_EQ(handshakeAs("feeds.localhost"), "certificate is for *.zelmora.test or *.localhost, not "
                                              "feeds.localhost: a wildcard needs two labels after it, so "
                                              "*.localhost matches no name");
}

TEST_F(TlsHandler, AnAddressWrittenAsADnsNameIsSaidToBeOne) {
    CertSpec dnsAddress;
    dnsAddress.altNames = {"DNS:127.0.0.1"};
    dnsAddress.commonName = "127.0.0.1";
    TlsSite site(pki, {Pong()}, Delivery::Whole, dnsAddress);
    EXPECT_EQ(Refusal<EIdTLSCertificateError>("127.0.0.1", site.Port()),
              "certificate is for 127.0.0.1, not 127.0.0.1: it holds 127.0.0.1 as a DNS name, and an address "
              "matches only an IP address entry");
}

TEST_F(TlsHandler, RefusesAServerOfferingOnlyTls10Or11) {
    TlsFrontOptions old;
    old.minVersion = TLS1_VERSION;
    old.maxVersion = TLS1_1_VERSION;
    TlsSite site(pki, {Pong()}, Delivery::Whole, CertSpec(), old);
    EXPECT_EQ(Refusal<EIdTLSError>("127.0.0.1", site.Port()), "server does not offer TLS 1.2 or later");
    EXPECT_EQ(site.Backend().Accepted(), 0);
}

TEST_F(TlsHandler, AHandshakeThatNeverEndsTimesOut) {
    // Accepts, reads the greeting, answers nothing.
    ScriptedServer silent({{Action::WaitForPeerClose()}, {Action::WaitForPeerClose()}});
    client.SetConnectTimeout(300); // the connect time-out covers the handshake
    EXPECT_EQ(Refusal<EIdTLSHandshakeTimeout>("127.0.0.1", silent.Port()), "handshake timed out");
    client.SetConnectTimeout(0);
    client.SetReadTimeout(300); // and so does the read time-out, per wait
    EXPECT_EQ(Refusal<EIdTLSHandshakeTimeout>("127.0.0.1", silent.Port()), "handshake timed out");
}

TEST_F(TlsHandler, APlainHttpServerFailsAtOnce) {
    // What a plain server answers to bytes that are no request; the time-out is long, so only a
    // wrong wait would end in it.
    ScriptedServer plain(
        {{Action::ReadBytes(5), Action::Send("HTTP/1.1 400 Bad Request\r\nContent-Length: 0\r\n\r\n"),
          Action::Close()},
         {Action::ReadBytes(5), Action::Close()}});
    client.SetReadTimeout(60000);
    EXPECT_EQ(Refusal<EIdTLSError>("127.0.0.1", plain.Port()), "server does not speak TLS");
    EXPECT_EQ(Refusal<EIdTLSError>("127.0.0.1", plain.Port()),
              "server closed the connection during the TLS handshake");
}

TEST_F(TlsHandler, AMegabyteCertificateChainIsRefusedNotRead) {
    CertSpec padded;
    padded.paddingCopies = 2600; // about 1 MB of chain
    TlsSite site(pki, {Pong()}, Delivery::Whole, padded);
    EXPECT_EQ(Refusal<EIdTLSError>("127.0.0.1", site.Port()), "TLS handshake failed: excessive message size");
}

TEST_F(TlsHandler, AnUnreadableCAFileIsNamed) {
    TlsSite site(pki, {Pong()});
    tls.SetCAFile(pki.Dir() + "/missing.pem");
    EXPECT_EQ(Refusal<EIdTLSError>("127.0.0.1", site.Port()),
              "cannot read the CA file " + pki.Dir() + "/missing.pem: No such file or directory");
    std::ofstream(pki.Dir() + "/empty.pem") << "not a certificate\n";
    tls.SetCAFile(pki.Dir() + "/empty.pem");
    EXPECT_EQ(Refusal<EIdTLSError>("127.0.0.1", site.Port()),
              "cannot read the CA file " + pki.Dir() + "/empty.pem: no PEM certificate in it");
    // Never the system store alone in their place: a folder, a good certificate followed by a cut
    // one, a certificate in DER.
    tls.SetCAFile(pki.Dir());
    EXPECT_EQ(Refusal<EIdTLSError>("127.0.0.1", site.Port()),
              "cannot read the CA file " + pki.Dir() + ": it is a folder, not a PEM file");
    const std::string ca = ReadFile(pki.CAFile());
    std::ofstream(pki.Dir() + "/cut.pem") << ca << ca.substr(0, ca.size() / 2);
    tls.SetCAFile(pki.Dir() + "/cut.pem");
    EXPECT_EQ(Refusal<EIdTLSError>("127.0.0.1", site.Port()),
              "cannot read the CA file " + pki.Dir() +
                  "/cut.pem: a certificate in it is damaged or cut short");
    std::ofstream(pki.Dir() + "/bundle.pem") << "a comment before\n" << ca << "and after\n";
    tls.SetCAFile(pki.Dir() + "/bundle.pem");
    EXPECT_EQ(PingOver("127.0.0.1", site.Port()), "pong");
}

} // namespace
