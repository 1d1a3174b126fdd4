#pragma once
// A one-shot loopback sender for the benchmarks: accepts one connection, optionally reads a
// request head, sends a prefix and `bodySize` bytes, and closes.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstring>
#include <string>
#include <thread>
#include <vector>

// Sends all of p, giving up quietly when the peer has gone.
inline void SendAll(int fd, const char* p, std::size_t n) {
    while (n > 0) {
        ssize_t s = ::send(fd, p, n, MSG_NOSIGNAL);
        if (s <= 0)
            return;
        p += s;
        n -= static_cast<std::size_t>(s);
    }
}

// A socket listening on 127.0.0.1 at a port the system picks; the port is read back.
inline int ListenOnLoopback(int backlog, int& port) {
    int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    int one = 1;
    ::setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &one, sizeof one);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t len = sizeof a;
    ::bind(fd, reinterpret_cast<sockaddr*>(&a), sizeof a);
    ::listen(fd, backlog);
    ::getsockname(fd, reinterpret_cast<sockaddr*>(&a), &len);
    port = ntohs(a.sin_port);
    return fd;
}

class LoopbackSender {
public:
    LoopbackSender(std::string prefix, std::size_t bodySize, bool readHead = false, std::string suffix = "")
        : prefix_(std::move(prefix)), suffix_(std::move(suffix)), bodySize_(bodySize), readHead_(readHead) {
        listenFd_ = ListenOnLoopback(4, port_);
        thread_ = std::thread([this] { run(); });
    }
    ~LoopbackSender() {
        thread_.join();
        ::close(listenFd_);
    }
    int Port() const { return port_; }

private:
    void run() {
        int fd = ::accept(listenFd_, nullptr, nullptr);
        if (fd < 0)
            return;
        if (readHead_) {
            std::string got;
            char buf[4096];
            while (got.find("\r\n\r\n") == std::string::npos) {
                ssize_t n = ::recv(fd, buf, sizeof buf, 0);
                if (n <= 0)
                    break;
                got.append(buf, static_cast<std::size_t>(n));
            }
        }
        SendAll(fd, prefix_.data(), prefix_.size());
        std::vector<char> block(1 << 20, 'x');
        std::size_t left = bodySize_;
        while (left > 0) {
            std::size_t n = std::min(left, block.size());
            SendAll(fd, block.data(), n);
            left -= n;
        }
        SendAll(fd, suffix_.data(), suffix_.size());
        ::shutdown(fd, SHUT_WR);
        char drain[256];
        while (::recv(fd, drain, sizeof drain, 0) > 0) {
        }
        ::close(fd);
    }

    std::string prefix_;
    std::string suffix_;
    std::size_t bodySize_;
    bool readHead_;
    int listenFd_ = -1;
    int port_ = 0;
    std::thread thread_;
};
