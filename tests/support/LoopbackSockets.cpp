#include "tests/support/LoopbackSockets.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <stdexcept>

namespace zeltest {

int ListenLoopback(int& port, bool ipv6) {
    int fd = ::socket(ipv6 ? AF_INET6 : AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    int one = 1;
    ::setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &one, sizeof one);
    sockaddr_storage addr{};
    socklen_t len = ipv6 ? sizeof(sockaddr_in6) : sizeof(sockaddr_in);
    if (ipv6) {
        auto& a6 = reinterpret_cast<sockaddr_in6&>(addr);
        a6.sin6_family = AF_INET6;
        a6.sin6_addr = in6addr_loopback;
    } else {
        auto& a4 = reinterpret_cast<sockaddr_in&>(addr);
        a4.sin_family = AF_INET;
        a4.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    }
    if (fd < 0 || ::bind(fd, reinterpret_cast<sockaddr*>(&addr), len) != 0 || ::listen(fd, 16) != 0 ||
        ::getsockname(fd, reinterpret_cast<sockaddr*>(&addr), &len) != 0) {
        if (fd >= 0)
            ::close(fd);
        throw std::runtime_error("bind/listen failed");
    }
    port = ntohs(ipv6 ? reinterpret_cast<sockaddr_in6&>(addr).sin6_port
                      : reinterpret_cast<sockaddr_in&>(addr).sin_port);
    return fd;
}

int ConnectLoopback(int port) {
    int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    addr.sin_port = htons(static_cast<uint16_t>(port));
    if (::connect(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0) {
        ::close(fd);
        return -1;
    }
    int one = 1;
    ::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
    return fd;
}

bool WaitReady(int fd, short events, const std::atomic<bool>& stop) {
    while (!stop.load()) {
        pollfd p{fd, events, 0};
        int r = ::poll(&p, 1, 10);
        if (r > 0)
            return true;
        if (r < 0 && errno != EINTR)
            return false;
    }
    return false;
}

bool SendAll(int fd, const char* data, std::size_t n) {
    for (std::size_t off = 0; off < n;) {
        ssize_t r = ::send(fd, data + off, n - off, MSG_NOSIGNAL);
        if (r < 0 && errno == EINTR)
            continue;
        if (r <= 0)
            return false;
        off += static_cast<std::size_t>(r);
    }
    return true;
}

void ConnectionThreads::JoinAll() {
    std::vector<std::thread> running;
    {
        std::lock_guard lock(mutex_);
        running.swap(threads_);
    }
    for (std::thread& t : running)
        t.join();
}

} // namespace zeltest
