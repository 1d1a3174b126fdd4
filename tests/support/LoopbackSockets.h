#pragma once
// The socket chores the loopback servers of the tests share: listening at a port the system
// picks, connecting, sending whole, waiting in slices that notice a stop, and the threads that
// serve accepted connections.
#include <atomic>
#include <cstddef>
#include <mutex>
#include <thread>
#include <vector>

namespace zeltest {

// A listening socket on 127.0.0.1 (or ::1) at a port the system picks, written to port; throws
// when it cannot listen.
int ListenLoopback(int& port, bool ipv6 = false);

// A connection to 127.0.0.1:port without Nagle's delay, or -1.
int ConnectLoopback(int port);

// Waits for the events in short slices so a stop is noticed; false on a stop or a poll failure.
bool WaitReady(int fd, short events, const std::atomic<bool>& stop);

// Sends every byte (a peer that went away raises no SIGPIPE); false when it could not.
bool SendAll(int fd, const char* data, std::size_t n);

// The threads serving accepted connections, joined all at once when the server stops.
class ConnectionThreads {
public:
    template <class F> void Start(F serve) {
        std::lock_guard lock(mutex_);
        threads_.emplace_back(std::move(serve));
    }
    void JoinAll();

private:
    std::mutex mutex_;
    std::vector<std::thread> threads_;
};

} // namespace zeltest
