// A 256 MiB GET on loopback with the client, by Content-Length and chunked, against curl fetching
// the same URL into /dev/null in the same run; and the client's peak memory for the GET (the
// resident high-water mark above what was resident before, as a multiple of the body).
//
// curl into /dev/null never keeps the body, while a GET must. Where first use of fresh memory is
// expensive (a virtual machine whose host hands pages over lazily), writing 256 MiB into new
// memory alone costs more than the transfer, so two more lines show where the time goes: a plain
// recv loop into a fresh growing buffer (the floor for any client that keeps the body), and the
// client writing into a stream whose memory is already in use (the client's own cost).
//
// For a steady comparison on a busy machine, run the lines interleaved:
//   bench_http_GetThroughput --benchmark_filter='RecvLoop|Get_ContentLength'
//       --benchmark_repetitions=5 --benchmark_enable_random_interleaving=true
#include "bench/http/LoopbackServer.h"
#include "bench/support/ResidentMemory.h"
#include "http/TIdHTTP.h"
#include "http/TIdMemoryStream.h"

#include <benchmark/benchmark.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

namespace {

constexpr std::size_t kBody = 256u << 20;
constexpr std::size_t kChunk = 1u << 20;

// Serves /length and /chunked, one connection after another, until destroyed.
class BodyServer {
public:
    BodyServer() : block_(kChunk, 'x') {
        fd_ = ListenOnLoopback(8, port_);
        thread_ = std::thread([this] { run(); });
    }
    ~BodyServer() {
        stop_ = true;
        ::shutdown(fd_, SHUT_RDWR);
        thread_.join();
        ::close(fd_);
    }
    std::string Url(const char* path) const { return "http://127.0.0.1:" + std::to_string(port_) + path; }

private:
    void run() {
        while (!stop_) {
            int c = ::accept(fd_, nullptr, nullptr);
            if (c < 0)
                return;
            std::string head;
            char buf[4096];
            while (head.find("\r\n\r\n") == std::string::npos) {
                ssize_t n = ::recv(c, buf, sizeof buf, 0);
                if (n <= 0)
                    break;
                head.append(buf, static_cast<std::size_t>(n));
            }
            bool chunked = head.find(" /chunked ") != std::string::npos;
            std::string h = "HTTP/1.1 200 OK\r\nContent-Type: application/octet-stream\r\n";
            h += chunked ? "Transfer-Encoding: chunked\r\n\r\n"
                         : "Content-Length: " + std::to_string(kBody) + "\r\n\r\n";
            SendAll(c, h.data(), h.size());
            for (std::size_t left = kBody; left > 0; left -= kChunk) {
                if (chunked) {
                    char size[32];
                    int n = std::snprintf(size, sizeof size, "%zx\r\n", kChunk);
                    SendAll(c, size, static_cast<std::size_t>(n));
                }
                SendAll(c, block_.data(), kChunk);
                if (chunked)
                    SendAll(c, "\r\n", 2);
            }
            if (chunked)
                SendAll(c, "0\r\n\r\n", 5);
            // Wait for the client to hang up, so it decides when the connection ends.
            while (::recv(c, buf, sizeof buf, 0) > 0) {
            }
            ::close(c);
        }
    }
    std::vector<char> block_;
    int fd_ = -1;
    int port_ = 0;
    std::atomic<bool> stop_{false};
    std::thread thread_;
};

BodyServer& server() {
    static BodyServer s;
    return s;
}

// The body as Get returns it, or (copiedOut) read into a memory stream and copied out of it, as
// Get once did: the difference is the second copy of the body.
void getWithClient(benchmark::State& state, const char* path, bool copiedOut = false) {
    const std::string url = server().Url(path);
    double worstRatio = 0;
    for (auto _ : state) {
        state.PauseTiming();
        ResetPeak();
        long before = StatusKiB("VmRSS:");
        state.ResumeTiming();
        std::size_t got;
        {
            TIdHTTP http;
            std::string body;
            if (copiedOut) {
                TIdMemoryStream stream;
                http.Get(url, stream);
                body = stream.ToString();
            } else {
                body = http.Get(url);
            }
            got = body.size();
            long peak = StatusKiB("VmHWM:");
            worstRatio = std::max(worstRatio, static_cast<double>(peak - before) * 1024.0 / kBody);
        }
        if (got != kBody)
            state.SkipWithError("short body");
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * kBody));
    state.counters["peak_x_body"] = worstRatio;
}

void getWithCurl(benchmark::State& state, const char* path) {
    const std::string cmd = "curl -s -o /dev/null " + server().Url(path);
    if (std::system("command -v curl >/dev/null") != 0) {
        state.SkipWithError("curl not installed");
        return;
    }
    for (auto _ : state) {
        if (std::system(cmd.c_str()) != 0)
            state.SkipWithError("curl failed");
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * kBody));
}

// The client into a stream that keeps its memory from one GET to the next.
void getIntoWarmStream(benchmark::State& state, const char* path) {
    const std::string url = server().Url(path);
    TIdMemoryStream stream;
    {
        TIdHTTP warm;          // the server serves one connection at a time: this one ends here
        warm.Get(url, stream); // first use: the stream's memory becomes resident
    }
    for (auto _ : state) {
        stream.SetSize(0);
        TIdHTTP http;
        http.Get(url, stream);
        if (static_cast<std::size_t>(stream.Size()) != kBody)
            state.SkipWithError("short body");
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * kBody));
}

// A plain recv loop into a fresh buffer that doubles when full.
void BM_RecvLoop_FreshMemory(benchmark::State& state) {
    for (auto _ : state) {
        LoopbackSender sender("", kBody);
        int fd = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in a{};
        a.sin_family = AF_INET;
        a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        a.sin_port = htons(static_cast<uint16_t>(sender.Port()));
        ::connect(fd, reinterpret_cast<sockaddr*>(&a), sizeof a);
        std::size_t cap = 1 << 16, size = 0;
        char* buf = static_cast<char*>(std::malloc(cap));
        for (;;) {
            if (cap - size < 32768) {
                cap *= 2;
                buf = static_cast<char*>(std::realloc(buf, cap));
            }
            ssize_t n = ::recv(fd, buf + size, 32768, 0);
            if (n <= 0)
                break;
            size += static_cast<std::size_t>(n);
        }
        ::close(fd);
        std::free(buf);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * kBody));
}
BENCHMARK(BM_RecvLoop_FreshMemory)->Iterations(3)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_Get_ContentLength_WarmStream(benchmark::State& s) {
    getIntoWarmStream(s, "/length");
}
void BM_Get_Chunked_WarmStream(benchmark::State& s) {
    getIntoWarmStream(s, "/chunked");
}
void BM_Get_ContentLength(benchmark::State& s) {
    getWithClient(s, "/length");
}
void BM_Get_ContentLength_CopiedOut(benchmark::State& s) {
    getWithClient(s, "/length", true);
}
void BM_Curl_ContentLength(benchmark::State& s) {
    getWithCurl(s, "/length");
}
void BM_Get_Chunked(benchmark::State& s) {
    getWithClient(s, "/chunked");
}
void BM_Curl_Chunked(benchmark::State& s) {
    getWithCurl(s, "/chunked");
}

BENCHMARK(BM_Get_ContentLength)->Iterations(3)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_Get_ContentLength_CopiedOut)->Iterations(3)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_Curl_ContentLength)->Iterations(3)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_Get_Chunked)->Iterations(3)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_Curl_Chunked)->Iterations(3)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_Get_ContentLength_WarmStream)->Iterations(3)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_Get_Chunked_WarmStream)->Iterations(3)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

BENCHMARK_MAIN();
