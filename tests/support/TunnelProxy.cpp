#include "tests/support/TunnelProxy.h"

#include "tests/support/LoopbackSockets.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <stdexcept>

namespace zeltest {

namespace {

// The port of "CONNECT host:port HTTP/1.1"; 0 when there is none.
int portOf(const std::string& head) {
    const std::size_t sp = head.find(' ', 8);
    const std::size_t colon = head.rfind(':', sp);
    if (head.rfind("CONNECT ", 0) != 0 || sp == std::string::npos || colon == std::string::npos)
        return 0;
    return std::atoi(head.substr(colon + 1, sp - colon - 1).c_str());
}

// Carries bytes both ways until either side closes or the proxy stops.
void pump(int a, int b, const std::atomic<bool>& stop) {
    char buf[65536];
    while (!stop.load()) {
        pollfd p[2] = {{a, POLLIN, 0}, {b, POLLIN, 0}};
        if (::poll(p, 2, 10) <= 0)
            continue;
        for (int i = 0; i < 2; ++i) {
            if (!p[i].revents)
                continue;
            ssize_t n = ::recv(p[i].fd, buf, sizeof buf, 0);
            if (n <= 0 || !SendAll(p[1 - i].fd, buf, static_cast<std::size_t>(n)))
                return;
        }
    }
}

} // namespace

TunnelProxy::TunnelProxy(std::vector<std::string> answers) : answers_(std::move(answers)) {
    listenFd_ = ListenLoopback(port_);
    thread_ = std::thread([this] { acceptLoop(); });
}

TunnelProxy::~TunnelProxy() {
    Stop();
}

void TunnelProxy::Stop() {
    stop_.store(true);
    if (thread_.joinable())
        thread_.join();
    connections_.JoinAll();
    if (listenFd_ >= 0) {
        ::close(listenFd_);
        listenFd_ = -1;
    }
}

std::vector<std::string> TunnelProxy::Heads() const {
    std::lock_guard lock(mutex_);
    return heads_;
}

std::string TunnelProxy::nextAnswer() {
    std::lock_guard lock(mutex_);
    if (nextAnswer_ < answers_.size())
        return answers_[nextAnswer_++];
    return "HTTP/1.1 200 Connection established\r\n\r\n";
}

void TunnelProxy::acceptLoop() {
    while (WaitReady(listenFd_, POLLIN, stop_)) {
        int fd = ::accept4(listenFd_, nullptr, nullptr, SOCK_CLOEXEC);
        if (fd < 0)
            continue;
        accepted_.fetch_add(1);
        connections_.Start([this, fd] { serve(fd); });
    }
}

void TunnelProxy::serve(int fd) {
    std::string received;
    char buf[4096];
    while (WaitReady(fd, POLLIN, stop_)) {
        ssize_t n = ::recv(fd, buf, sizeof buf, 0);
        if (n <= 0)
            break;
        received.append(buf, static_cast<std::size_t>(n));
        const std::size_t end = received.find("\r\n\r\n");
        if (end == std::string::npos)
            continue;
        const std::string head = received.substr(0, end + 4);
        received.erase(0, end + 4);
        {
            std::lock_guard lock(mutex_);
            heads_.push_back(head);
        }
        const std::string answer = nextAnswer();
        if (!SendAll(fd, answer.data(), answer.size()) ||
            answer.find("Connection: close") != std::string::npos)
            break;
        if (answer.rfind("HTTP/1.1 2", 0) == 0) {
            int target = ConnectLoopback(portOf(head));
            if (target >= 0) {
                SendAll(target, received.data(), received.size());
                pump(fd, target, stop_);
                ::close(target);
            }
            break;
        }
    }
    ::close(fd);
}

} // namespace zeltest
