#pragma once
// An HTTP proxy on 127.0.0.1 that only tunnels: it reads each CONNECT head, answers it with the
// next of its scripted answers, and after a 2xx answer carries the bytes both ways between the
// client and 127.0.0.1 at the CONNECT's port. After any other answer the connection waits for
// the next CONNECT, unless the answer says "Connection: close". Every head it reads is recorded.
//
// It listens in its constructor; the destructor stops and joins every thread.
#include "tests/support/LoopbackSockets.h"

#include <atomic>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace zeltest {

class TunnelProxy {
public:
    // Answers in the order CONNECTs arrive, over all connections; past the last one, "HTTP/1.1
    // 200 Connection established".
    explicit TunnelProxy(std::vector<std::string> answers = {});
    ~TunnelProxy();
    TunnelProxy(const TunnelProxy&) = delete;
    TunnelProxy& operator=(const TunnelProxy&) = delete;

    int Port() const { return port_; }
    std::vector<std::string> Heads() const;
    int Accepted() const { return accepted_.load(); }
    void Stop();

private:
    void acceptLoop();
    void serve(int fd);
    std::string nextAnswer();

    std::vector<std::string> answers_;
    std::size_t nextAnswer_ = 0;
    int listenFd_ = -1;
    int port_ = 0;
    std::atomic<bool> stop_{false};
    std::atomic<int> accepted_{0};
    mutable std::mutex mutex_;
    std::vector<std::string> heads_;
    ConnectionThreads connections_;
    std::thread thread_;
};

} // namespace zeltest
