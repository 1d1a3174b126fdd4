// Read throughput of the connection on loopback against a plain recv loop into a growing buffer
// (the limit on this machine), and the cost of reading one long line that arrives byte by byte.
#include "bench/http/LoopbackServer.h"
#include "http/TIdIOHandlerMemory.h"
#include "http/TIdMemoryStream.h"
#include "http/TIdTCPClient.h"

#include <benchmark/benchmark.h>

#include <cstdlib>

namespace {

constexpr std::size_t kBody = 256u << 20;

int connectTo(int port) {
    int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    a.sin_port = htons(static_cast<uint16_t>(port));
    ::connect(fd, reinterpret_cast<sockaddr*>(&a), sizeof a);
    return fd;
}

// The baseline: recv straight into a buffer that doubles when full.
void BM_PlainRecvLoop(benchmark::State& state) {
    const std::size_t piece = static_cast<std::size_t>(state.range(0));
    for (auto _ : state) {
        LoopbackSender sender("", kBody);
        int fd = connectTo(sender.Port());
        std::size_t cap = 1 << 16, size = 0;
        char* buf = static_cast<char*>(std::malloc(cap));
        for (;;) {
            if (cap - size < piece) {
                cap *= 2;
                buf = static_cast<char*>(std::realloc(buf, cap));
            }
            ssize_t n = ::recv(fd, buf + size, piece, 0);
            if (n <= 0)
                break;
            size += static_cast<std::size_t>(n);
        }
        ::close(fd);
        if (size != kBody)
            state.SkipWithError("short read");
        std::free(buf);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * kBody));
}
BENCHMARK(BM_PlainRecvLoop)->Arg(32768)->Arg(262144)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_ReadUntilClose(benchmark::State& state) {
    for (auto _ : state) {
        LoopbackSender sender("", kBody);
        TIdTCPClient c;
        c.Connect("127.0.0.1", sender.Port());
        TIdMemoryStream s;
        c.IOHandler()->ReadStream(s, -1, true);
        if (static_cast<std::size_t>(s.Size()) != kBody)
            state.SkipWithError("short read");
        c.Disconnect();
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * kBody));
}
BENCHMARK(BM_ReadUntilClose)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_ReadExactCount(benchmark::State& state) {
    for (auto _ : state) {
        LoopbackSender sender("", kBody);
        TIdTCPClient c;
        c.Connect("127.0.0.1", sender.Port());
        TIdMemoryStream s;
        c.IOHandler()->ReadStream(s, static_cast<std::int64_t>(kBody));
        if (static_cast<std::size_t>(s.Size()) != kBody)
            state.SkipWithError("short read");
        c.Disconnect();
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * kBody));
}
BENCHMARK(BM_ReadExactCount)->Unit(benchmark::kMillisecond)->UseRealTime();

// One line of N bytes handed over one byte per receive: the resumed search keeps it linear, so
// 16 KiB should cost about 16 times 1 KiB, not 256 times.
void BM_LongLineBytePerReceive(benchmark::State& state) {
    const std::size_t n = static_cast<std::size_t>(state.range(0));
    std::string input(n - 1, 'a');
    input += '\n';
    for (auto _ : state) {
        TIdIOHandlerMemory mem(input, 1);
        TIdTCPClient c;
        c.SetIOHandler(&mem);
        c.Connect();
        std::string line = mem.ReadLn();
        benchmark::DoNotOptimize(line);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * n));
}
BENCHMARK(BM_LongLineBytePerReceive)->Arg(1024)->Arg(4096)->Arg(16384)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
