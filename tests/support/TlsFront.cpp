#include "tests/support/TlsFront.h"

#include "tests/support/LoopbackSockets.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <openssl/err.h>
#include <openssl/ssl.h>
#include <poll.h>
#include <pthread.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <stdexcept>

namespace zeltest {

namespace {

// Runs a non-blocking TLS call to its end; false on failure or stop.
template <class F> bool complete(SSL* ssl, int fd, const std::atomic<bool>& stop, F call, int& result) {
    for (;;) {
        result = call();
        if (result > 0)
            return true;
        int e = SSL_get_error(ssl, result);
        if (e == SSL_ERROR_WANT_READ && WaitReady(fd, POLLIN, stop))
            continue;
        if (e == SSL_ERROR_WANT_WRITE && WaitReady(fd, POLLOUT, stop))
            continue;
        return false;
    }
}

bool writeAll(SSL* ssl, int fd, const std::atomic<bool>& stop, const char* data, std::size_t n,
              std::size_t piece) {
    for (std::size_t off = 0; off < n;) {
        int want = static_cast<int>(std::min(piece, n - off));
        int r = 0;
        if (!complete(
                ssl, fd, stop, [&] { return SSL_write(ssl, data + off, want); }, r))
            return false;
        off += static_cast<std::size_t>(r);
    }
    return true;
}

void resetClose(int fd) {
    linger l{1, 0};
    ::setsockopt(fd, SOL_SOCKET, SO_LINGER, &l, sizeof l);
    ::close(fd);
}

} // namespace

TlsFront::TlsFront(int backendPort, TlsFrontOptions options)
    : options_(std::move(options)), backendPort_(backendPort) {
    SSL_CTX* ctx = SSL_CTX_new(TLS_server_method());
    if (options_.minVersion != 0 && options_.minVersion < TLS1_2_VERSION) {
        // Old versions need the oldest ciphers and signatures.
        SSL_CTX_set_security_level(ctx, 0);
        SSL_CTX_set_cipher_list(ctx, "DEFAULT:@SECLEVEL=0");
    }
    if (options_.minVersion)
        SSL_CTX_set_min_proto_version(ctx, options_.minVersion);
    if (options_.maxVersion)
        SSL_CTX_set_max_proto_version(ctx, options_.maxVersion);
    if (SSL_CTX_use_certificate_chain_file(ctx, options_.certFile.c_str()) != 1 ||
        SSL_CTX_use_PrivateKey_file(ctx, options_.keyFile.c_str(), SSL_FILETYPE_PEM) != 1) {
        SSL_CTX_free(ctx);
        throw std::runtime_error("cannot load " + options_.certFile);
    }
    ctx_ = ctx;
    listenFd_ = ListenLoopback(port_, options_.ipv6);
    thread_ = std::thread([this] { acceptLoop(); });
}

TlsFront::~TlsFront() {
    Stop();
    SSL_CTX_free(static_cast<SSL_CTX*>(ctx_));
}

void TlsFront::Stop() {
    stop_.store(true);
    if (thread_.joinable())
        thread_.join();
    connections_.JoinAll();
    if (listenFd_ >= 0) {
        ::close(listenFd_);
        listenFd_ = -1;
    }
}

std::vector<std::string> TlsFront::ServerNames() const {
    std::lock_guard lock(mutex_);
    return serverNames_;
}

int TlsFront::Handshakes() const {
    std::lock_guard lock(mutex_);
    return static_cast<int>(serverNames_.size());
}

void TlsFront::acceptLoop() {
    while (WaitReady(listenFd_, POLLIN, stop_)) {
        int fd = ::accept4(listenFd_, nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK);
        if (fd < 0)
            continue;
        connections_.Start([this, fd] { serve(fd); });
    }
}

void TlsFront::serve(int fd) {
    // A client that hangs up makes OpenSSL's writes fail here, not end the test program.
    sigset_t pipe;
    sigemptyset(&pipe);
    sigaddset(&pipe, SIGPIPE);
    pthread_sigmask(SIG_BLOCK, &pipe, nullptr);
    int one = 1;
    ::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
    SSL* ssl = SSL_new(static_cast<SSL_CTX*>(ctx_));
    SSL_set_fd(ssl, fd);
    int r = 0;
    if (!complete(
            ssl, fd, stop_, [&] { return SSL_accept(ssl); }, r)) {
        failed_.fetch_add(1);
        SSL_free(ssl);
        ::close(fd);
        return;
    }
    const char* sni = SSL_get_servername(ssl, TLSEXT_NAMETYPE_host_name);
    {
        std::lock_guard lock(mutex_);
        serverNames_.push_back(sni ? sni : "");
    }
    int back = ConnectLoopback(backendPort_);
    bool notify = !options_.closeWithoutNotify;
    const std::size_t piece = options_.oneBytePerRecord ? 1 : 16384;
    char buf[65536];
    while (back >= 0 && !stop_.load()) {
        if (SSL_pending(ssl) == 0) {
            pollfd p[2] = {{fd, POLLIN, 0}, {back, POLLIN, 0}};
            if (::poll(p, 2, 10) <= 0)
                continue;
            if (p[1].revents) {
                ssize_t n = ::recv(back, buf, sizeof buf, 0);
                if (n < 0 && errno == EINTR)
                    continue;
                if (n < 0) { // a reset behind: a reset in front
                    SSL_free(ssl);
                    resetClose(fd);
                    ::close(back);
                    return;
                }
                if (n == 0 || !writeAll(ssl, fd, stop_, buf, static_cast<std::size_t>(n), piece))
                    break;
                continue;
            }
        }
        r = SSL_read(ssl, buf, sizeof buf);
        if (r > 0) {
            SendAll(back, buf, static_cast<std::size_t>(r));
            continue;
        }
        int e = SSL_get_error(ssl, r);
        if (e == SSL_ERROR_WANT_READ || e == SSL_ERROR_WANT_WRITE)
            continue;
        notify = e == SSL_ERROR_ZERO_RETURN;
        break; // the client went away
    }
    if (notify)
        SSL_shutdown(ssl);
    ERR_clear_error();
    SSL_free(ssl);
    ::shutdown(fd, SHUT_WR);
    ::close(fd);
    if (back >= 0)
        ::close(back);
}

} // namespace zeltest
