// A 256 MiB GET over TLS on loopback with the client, against curl fetching the same URL into
// /dev/null from the same TLS server in the same run; and the client's peak memory for that GET
// beside a plain-http GET of the same body from the same server program (the resident
// high-water mark above what was resident before, as a multiple of the body).
//
// The server is OpenSSL in this process, one thread per port, with a certificate made for the
// run; both clients verify it against the run's CA. For a steady comparison on a busy machine:
//   bench_http_TlsGetThroughput --benchmark_repetitions=5 --benchmark_enable_random_interleaving=true
#include "bench/http/LoopbackServer.h"
#include "bench/support/ResidentMemory.h"
#include "http/TIdHTTP.h"
#include "http/TIdStringStream.h"
#include "tests/support/TestPki.h"

#include <benchmark/benchmark.h>

#include <openssl/err.h>
#include <openssl/ssl.h>

#include <atomic>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

namespace {

constexpr std::size_t kBody = 256u << 20;
constexpr std::size_t kBlock = 1u << 20;

// Serves a kBody answer to every GET, over TLS on one port and plain on another, one connection
// at a time on each, until destroyed.
class BodyServer {
public:
    BodyServer() : block_(kBlock, 'x') {
        zeltest::CertFiles cert = pki_.Issue("bench");
        ctx_ = SSL_CTX_new(TLS_server_method());
        SSL_CTX_use_certificate_chain_file(ctx_, cert.cert.c_str());
        SSL_CTX_use_PrivateKey_file(ctx_, cert.key.c_str(), SSL_FILETYPE_PEM);
        tlsFd_ = ListenOnLoopback(8, tlsPort_);
        plainFd_ = ListenOnLoopback(8, plainPort_);
        tls_ = std::thread([this] { run(tlsFd_, true); });
        plain_ = std::thread([this] { run(plainFd_, false); });
    }
    ~BodyServer() {
        stop_ = true;
        ::shutdown(tlsFd_, SHUT_RDWR);
        ::shutdown(plainFd_, SHUT_RDWR);
        tls_.join();
        plain_.join();
        ::close(tlsFd_);
        ::close(plainFd_);
        SSL_CTX_free(ctx_);
    }
    std::string TlsUrl() const { return "https://127.0.0.1:" + std::to_string(tlsPort_) + "/length"; }
    std::string PlainUrl() const { return "http://127.0.0.1:" + std::to_string(plainPort_) + "/length"; }
    const std::string& CAFile() const { return pki_.CAFile(); }

private:
    void run(int fd, bool tls) {
        while (!stop_) {
            int c = ::accept(fd, nullptr, nullptr);
            if (c < 0)
                return;
            SSL* ssl = nullptr;
            if (tls) {
                ssl = SSL_new(ctx_);
                SSL_set_fd(ssl, c);
                if (SSL_accept(ssl) != 1) {
                    SSL_free(ssl);
                    ::close(c);
                    continue;
                }
            }
            auto recvSome = [&](char* buf, int n) {
                return ssl ? SSL_read(ssl, buf, n)
                           : static_cast<int>(::recv(c, buf, static_cast<std::size_t>(n), 0));
            };
            auto sendAll = [&](const char* p, std::size_t n) {
                if (!ssl)
                    return SendAll(c, p, n);
                while (n > 0) {
                    int w = SSL_write(ssl, p, static_cast<int>(n));
                    if (w <= 0)
                        return;
                    p += w;
                    n -= static_cast<std::size_t>(w);
                }
            };
            std::string head;
            char buf[4096];
            while (head.find("\r\n\r\n") == std::string::npos) {
                int n = recvSome(buf, sizeof buf);
                if (n <= 0)
                    break;
                head.append(buf, static_cast<std::size_t>(n));
            }
            const std::string h =
                "HTTP/1.1 200 OK\r\nContent-Type: application/octet-stream\r\nContent-Length: " +
                std::to_string(kBody) + "\r\n\r\n";
            sendAll(h.data(), h.size());
            for (std::size_t left = kBody; left > 0; left -= kBlock)
                sendAll(block_.data(), kBlock);
            // The client decides when the connection ends.
            while (recvSome(buf, sizeof buf) > 0) {
            }
            if (ssl) {
                SSL_shutdown(ssl);
                SSL_free(ssl);
            }
            ERR_clear_error();
            ::close(c);
        }
    }

    zeltest::TestPki pki_;
    SSL_CTX* ctx_ = nullptr;
    std::vector<char> block_;
    int tlsFd_ = -1, plainFd_ = -1;
    int tlsPort_ = 0, plainPort_ = 0;
    std::atomic<bool> stop_{false};
    std::thread tls_, plain_;
};

BodyServer& server() {
    static BodyServer s;
    return s;
}

void getWithClient(benchmark::State& state, bool tls) {
    const std::string url = tls ? server().TlsUrl() : server().PlainUrl();
    double worstRatio = 0;
    for (auto _ : state) {
        state.PauseTiming();
        ResetPeak();
        const long before = StatusKiB("VmRSS:");
        state.ResumeTiming();
        std::size_t got;
        {
            TIdHTTP http;
            http.SetCAFile(server().CAFile());
            const std::string body = http.Get(url);
            got = body.size();
            const long peak = StatusKiB("VmHWM:");
            worstRatio = std::max(worstRatio, static_cast<double>(peak - before) * 1024.0 / kBody);
        }
        if (got != kBody)
            state.SkipWithError("short body");
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * kBody));
    state.counters["peak_x_body"] = worstRatio;
}

void BM_Tls_Get(benchmark::State& state) {
    getWithClient(state, true);
}

void BM_Tls_Curl(benchmark::State& state) {
    if (std::system("command -v curl >/dev/null") != 0) {
        state.SkipWithError("curl not installed");
        return;
    }
    const std::string cmd = "curl -s -o /dev/null --cacert " + server().CAFile() + " " + server().TlsUrl();
    for (auto _ : state) {
        if (std::system(cmd.c_str()) != 0)
            state.SkipWithError("curl failed");
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * kBody));
}

void BM_Plain_Get(benchmark::State& state) {
    getWithClient(state, false);
}

// The client into a stream whose memory is resident already: the cost of TLS and the client
// alone, without the first touch of 256 MiB of fresh memory that keeping a body costs and curl
// into /dev/null never pays.
void BM_Tls_Get_WarmStream(benchmark::State& state) {
    TIdStringStream stream;
    {
        TIdHTTP warm;
        warm.SetCAFile(server().CAFile());
        warm.Get(server().TlsUrl(), stream);
    }
    for (auto _ : state) {
        stream.SetSize(0);
        TIdHTTP http;
        http.SetCAFile(server().CAFile());
        http.Get(server().TlsUrl(), stream);
        if (static_cast<std::size_t>(stream.Size()) != kBody)
            state.SkipWithError("short body");
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * kBody));
}

BENCHMARK(BM_Tls_Get)->Iterations(3)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_Tls_Curl)->Iterations(3)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_Plain_Get)->Iterations(3)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_Tls_Get_WarmStream)->Iterations(3)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

BENCHMARK_MAIN();
