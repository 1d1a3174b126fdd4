#include "http/TIdSocketHandle.h"

#include "http/EIdException.h"
#include "http/TIdStack.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>

namespace {

// Fills a socket address for the version; false when the text is not an address of it.
bool makeAddress(TIdIPVersion version, const std::string& ip, int port, sockaddr_storage& addr,
                 socklen_t& len) {
    std::memset(&addr, 0, sizeof addr);
    if (version == Id_IPv6) {
        auto* a = reinterpret_cast<sockaddr_in6*>(&addr);
        a->sin6_family = AF_INET6;
        a->sin6_port = htons(static_cast<uint16_t>(port));
        if (ip.empty())
            a->sin6_addr = in6addr_any;
        else if (::inet_pton(AF_INET6, ip.c_str(), &a->sin6_addr) != 1)
            return false;
        len = sizeof(sockaddr_in6);
    } else {
        auto* a = reinterpret_cast<sockaddr_in*>(&addr);
        a->sin_family = AF_INET;
        a->sin_port = htons(static_cast<uint16_t>(port));
        if (ip.empty())
            a->sin_addr.s_addr = htonl(INADDR_ANY);
        else if (::inet_pton(AF_INET, ip.c_str(), &a->sin_addr) != 1)
            return false;
        len = sizeof(sockaddr_in);
    }
    return true;
}

int pollOnce(int fd, short events, int timeoutMs) {
    pollfd p{fd, events, 0};
    int r;
    do {
        r = ::poll(&p, 1, timeoutMs);
    } while (r < 0 && errno == EINTR && timeoutMs < 0);
    return r;
}

} // namespace

TIdSocketHandle::~TIdSocketHandle() {
    CloseSocket();
}

void TIdSocketHandle::AllocateSocket(TIdIPVersion version) {
    CloseSocket();
    ipVersion_ = version;
    fd_ = ::socket(version == Id_IPv6 ? AF_INET6 : AF_INET, SOCK_STREAM | SOCK_CLOEXEC, IPPROTO_TCP);
    if (fd_ < 0) {
        if (version == Id_IPv6 && errno == EAFNOSUPPORT)
            throw EIdIPv6Unavailable();
        TIdStack::RaiseLastSocketError();
    }
}

bool TIdSocketHandle::tryBind(const std::string& ip, int port) {
    sockaddr_storage addr;
    socklen_t len = 0;
    if (!makeAddress(ipVersion_, ip, port, addr, len))
        TIdStack::RaiseSocketError(kWSAEADDRNOTAVAIL);
    return ::bind(fd_, reinterpret_cast<sockaddr*>(&addr), len) == 0;
}

void TIdSocketHandle::Bind() {
    if (ip_.empty() && port_ == 0 && clientPortMin_ == 0 && clientPortMax_ == 0)
        return; // the connect picks an address and port
    if (port_ == 0 && (clientPortMin_ != 0 || clientPortMax_ != 0)) {
        if (clientPortMin_ > clientPortMax_ || clientPortMin_ < 0 || clientPortMax_ > 65535)
            throw EIdInvalidPortRange("Invalid Port Range (" + std::to_string(clientPortMin_) + " - " +
                                      std::to_string(clientPortMax_) + ")");
        for (int p = clientPortMax_; p >= clientPortMin_; --p) {
            if (tryBind(ip_, p))
                return;
        }
        throw EIdCanNotBindPortInRange("Can not bind in port range (" + std::to_string(clientPortMin_) +
                                       " - " + std::to_string(clientPortMax_) + ")");
    }
    if (!tryBind(ip_, port_))
        throw EIdCouldNotBindSocket();
}

void TIdSocketHandle::SetNagle(bool useNagle) {
    int flag = useNagle ? 0 : 1;
    ::setsockopt(fd_, IPPROTO_TCP, TCP_NODELAY, &flag, sizeof flag);
}

void TIdSocketHandle::Connect(int timeoutMs) {
    sockaddr_storage addr;
    socklen_t len = 0;
    if (!makeAddress(ipVersion_, peerIP_, peerPort_, addr, len))
        TIdStack::RaiseSocketError(kWSAHOST_NOT_FOUND);
    if (timeoutMs <= 0) {
        int r;
        do {
            r = ::connect(fd_, reinterpret_cast<sockaddr*>(&addr), len);
        } while (r != 0 && errno == EINTR);
        if (r != 0)
            TIdStack::RaiseLastSocketError();
        return;
    }
    // Bounded connect: start it without blocking, wait for the outcome, then go back to blocking.
    int flags = ::fcntl(fd_, F_GETFL, 0);
    ::fcntl(fd_, F_SETFL, flags | O_NONBLOCK);
    if (::connect(fd_, reinterpret_cast<sockaddr*>(&addr), len) != 0) {
        if (errno != EINPROGRESS && errno != EINTR)
            TIdStack::RaiseLastSocketError();
        auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
        for (;;) {
            auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                deadline - std::chrono::steady_clock::now());
            if (left.count() <= 0) {
                CloseSocket();
                throw EIdConnectTimeout();
            }
            int r = pollOnce(fd_, POLLOUT, static_cast<int>(left.count()));
            if (r > 0)
                break;
            if (r < 0 && errno != EINTR)
                TIdStack::RaiseLastSocketError();
        }
        int err = 0;
        socklen_t errLen = sizeof err;
        ::getsockopt(fd_, SOL_SOCKET, SO_ERROR, &err, &errLen);
        if (err != 0)
            TIdStack::RaiseSocketError(TIdStack::TranslateError(err));
    }
    ::fcntl(fd_, F_SETFL, flags);
}

bool TIdSocketHandle::Readable(int timeoutMs) const {
    if (fd_ < 0)
        return false;
    if (timeoutMs < 0) {
        for (;;) {
            int r = pollOnce(fd_, POLLIN, -1);
            if (r > 0)
                return true;
            if (r < 0 && errno != EINTR)
                TIdStack::RaiseLastSocketError();
        }
    }
    // A bounded wait keeps its deadline across interruptions.
    auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    for (;;) {
        auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline -
                                                                          std::chrono::steady_clock::now());
        int r = pollOnce(fd_, POLLIN, static_cast<int>(std::max<long long>(left.count(), 0)));
        if (r > 0)
            return true;
        if (r == 0)
            return false;
        if (errno != EINTR)
            TIdStack::RaiseLastSocketError();
    }
}

std::size_t TIdSocketHandle::Recv(char* buffer, std::size_t n) {
    for (;;) {
        ssize_t r = ::recv(fd_, buffer, n, 0);
        if (r >= 0)
            return static_cast<std::size_t>(r);
        if (errno != EINTR)
            TIdStack::RaiseLastSocketError();
    }
}

bool TIdSocketHandle::RecvNow(char* buffer, std::size_t n, std::size_t& got) {
    for (;;) {
        ssize_t r = ::recv(fd_, buffer, n, MSG_DONTWAIT);
        if (r >= 0) {
            got = static_cast<std::size_t>(r);
            return true;
        }
        if (errno == EAGAIN || errno == EWOULDBLOCK)
            return false;
        if (errno != EINTR)
            TIdStack::RaiseLastSocketError();
    }
}

std::size_t TIdSocketHandle::Send(const char* bytes, std::size_t n) {
    for (;;) {
        ssize_t r = ::send(fd_, bytes, n, MSG_NOSIGNAL);
        if (r >= 0)
            return static_cast<std::size_t>(r);
        if (errno != EINTR)
            TIdStack::RaiseLastSocketError();
    }
}

void TIdSocketHandle::CloseSocket() {
    if (fd_ >= 0) {
        ::close(fd_);
        fd_ = -1;
    }
}
