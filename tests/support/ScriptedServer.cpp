#include "tests/support/ScriptedServer.h"

#include "tests/support/LoopbackSockets.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <stdexcept>

namespace zeltest {

// --- actions -------------------------------------------------------------------------------------

Action Action::ReadHead() {
    return {[](ScriptedConnection& c) { return c.ReadHead(); }};
}
Action Action::ReadBytes(std::size_t n) {
    return {[n](ScriptedConnection& c) { return c.ReadBytes(n); }};
}
Action Action::Send(std::string bytes) {
    return {[bytes = std::move(bytes)](ScriptedConnection& c) { return c.Send(bytes, c.DefaultDelivery()); }};
}
Action Action::Send(std::string bytes, Delivery delivery) {
    return {[bytes = std::move(bytes), delivery](ScriptedConnection& c) { return c.Send(bytes, delivery); }};
}
Action Action::SendForever(std::string pattern) {
    return {[pattern = std::move(pattern)](ScriptedConnection& c) { return c.SendForever(pattern); }};
}
Action Action::Sleep(int ms) {
    return {[ms](ScriptedConnection&) {
        std::this_thread::sleep_for(std::chrono::milliseconds(ms));
        return true;
    }};
}
Action Action::Close() {
    return {[](ScriptedConnection& c) {
        c.Close();
        return false;
    }};
}
Action Action::Reset() {
    return {[](ScriptedConnection& c) {
        c.Reset();
        return false;
    }};
}
Action Action::WaitForPeerClose() {
    return {[](ScriptedConnection& c) {
        c.WaitForPeerClose();
        return true;
    }};
}

// --- one connection ------------------------------------------------------------------------------

ScriptedConnection::ScriptedConnection(int fd, Delivery delivery, const std::atomic<bool>& stop)
    : fd_(fd), delivery_(delivery), stop_(stop) {}

ScriptedConnection::~ScriptedConnection() {
    if (fd_ >= 0)
        ::close(fd_);
}

bool ScriptedConnection::fill() {
    if (fd_ < 0 || peerClosed_ || !WaitReady(fd_, POLLIN, stop_))
        return false;
    char buf[65536];
    ssize_t n;
    do {
        n = ::recv(fd_, buf, sizeof buf, 0);
    } while (n < 0 && errno == EINTR);
    if (n <= 0) {
        peerClosed_ = true;
        return false;
    }
    received_.append(buf, static_cast<std::size_t>(n));
    return true;
}

bool ScriptedConnection::ReadHead() {
    for (;;) {
        std::size_t end = received_.find("\r\n\r\n", consumed_);
        if (end != std::string::npos) {
            heads_.push_back(received_.substr(consumed_, end + 4 - consumed_));
            consumed_ = end + 4;
            return true;
        }
        if (!fill())
            return false;
    }
}

bool ScriptedConnection::ReadBytes(std::size_t n) {
    while (received_.size() - consumed_ < n) {
        if (!fill())
            return false;
    }
    consumed_ += n;
    return true;
}

bool ScriptedConnection::Send(const std::string& bytes, Delivery delivery) {
    if (fd_ < 0)
        return false;
    int one = 1;
    ::setsockopt(fd_, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
    std::size_t piece = delivery == Delivery::OneBytePerSend ? 1 : bytes.size();
    std::size_t off = 0;
    while (off < bytes.size()) {
        if (!WaitReady(fd_, POLLOUT, stop_))
            return false;
        std::size_t want = std::min(piece, bytes.size() - off);
        ssize_t n = ::send(fd_, bytes.data() + off, want, MSG_NOSIGNAL);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        off += static_cast<std::size_t>(n);
    }
    return true;
}

bool ScriptedConnection::SendForever(const std::string& pattern) {
    std::string block;
    while (block.size() < 65536)
        block += pattern;
    while (Send(block, Delivery::Whole)) {
    }
    return false;
}

void ScriptedConnection::Close() {
    if (fd_ >= 0) {
        ::shutdown(fd_, SHUT_WR);
        ::close(fd_);
        fd_ = -1;
    }
}

void ScriptedConnection::Reset() {
    if (fd_ >= 0) {
        linger l{1, 0};
        ::setsockopt(fd_, SOL_SOCKET, SO_LINGER, &l, sizeof l);
        ::close(fd_);
        fd_ = -1;
    }
}

void ScriptedConnection::WaitForPeerClose() {
    while (fill()) {
    }
}

// --- the server ----------------------------------------------------------------------------------

ScriptedServer::ScriptedServer(std::vector<Script> scripts, Delivery delivery)
    : scripts_(std::move(scripts)), delivery_(delivery) {
    listenFd_ = ListenLoopback(port_);
    // Listening already: the thread only accepts, so no readiness handshake is needed.
    thread_ = std::thread([this] { run(); });
}

ScriptedServer::~ScriptedServer() {
    Stop();
}

void ScriptedServer::Stop() {
    stop_.store(true);
    if (thread_.joinable())
        thread_.join();
    if (listenFd_ >= 0) {
        ::close(listenFd_);
        listenFd_ = -1;
    }
}

void ScriptedServer::run() {
    std::size_t next = 0;
    while (!stop_.load()) {
        if (!WaitReady(listenFd_, POLLIN, stop_))
            break;
        int fd = ::accept4(listenFd_, nullptr, nullptr, SOCK_CLOEXEC);
        if (fd < 0)
            continue;
        accepted_.fetch_add(1);
        if (next >= scripts_.size()) {
            ::close(fd);
            continue;
        }
        ScriptedConnection conn(fd, delivery_, stop_);
        std::size_t index;
        {
            std::lock_guard<std::mutex> lock(mutex_);
            index = received_.size();
            received_.emplace_back();
        }
        std::size_t headsSeen = 0;
        auto publish = [&] {
            std::lock_guard<std::mutex> lock(mutex_);
            received_[index] = conn.Received();
            for (; headsSeen < conn.Heads().size(); ++headsSeen)
                requests_.push_back(conn.Heads()[headsSeen]);
        };
        for (Action& a : scripts_[next]) {
            bool goOn = a.run(conn);
            publish();
            if (!goOn || stop_.load())
                break;
        }
        ++next;
        {
            std::lock_guard<std::mutex> lock(mutex_);
            ++scriptsDone_;
        }
        done_.notify_all();
    }
}

std::vector<std::string> ScriptedServer::Requests() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return requests_;
}

std::vector<std::string> ScriptedServer::Received() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return received_;
}

bool ScriptedServer::WaitScriptsDone(int n, std::chrono::milliseconds timeout) const {
    std::unique_lock<std::mutex> lock(mutex_);
    return done_.wait_for(lock, timeout, [&] { return scriptsDone_ >= n; });
}

std::string HttpResponse(const std::string& statusLine, const std::vector<std::string>& headers,
                         const std::string& body) {
    std::string r = statusLine + "\r\n";
    for (const std::string& h : headers)
        r += h + "\r\n";
    r += "\r\n";
    r += body;
    return r;
}

} // namespace zeltest
