#include "http/TIdSSLIOHandlerSocketOpenSSL.h"

#include "http/EIdTLS.h"
#include "http/TIdSSLContext.h"
#include "http/TIdSSLFailure.h"
#include "http/TIdStack.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <openssl/err.h>
#include <openssl/ssl.h>
#include <openssl/x509v3.h>
#include <poll.h>
#include <sys/socket.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <climits>
#include <cstdint>

namespace {

long long nowMs() {
    return std::chrono::duration_cast<std::chrono::milliseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

// Waits until the socket is ready for the events; false when the time ran out first.
// A negative time-out waits without limit.
bool waitSocket(int fd, short events, long long timeoutMs) {
    const long long end = timeoutMs < 0 ? 0 : nowMs() + timeoutMs;
    for (;;) {
        const int left =
            timeoutMs < 0 ? -1 : static_cast<int>(std::clamp<long long>(end - nowMs(), 0, INT_MAX));
        pollfd p{fd, events, 0};
        const int r = ::poll(&p, 1, left);
        if (r > 0)
            return true;
        if (r == 0)
            return false;
        if (errno != EINTR)
            TIdStack::RaiseLastSocketError();
    }
}

short eventsFor(TIdSSLWait w) {
    return w == TIdSSLWait::Write ? POLLOUT : POLLIN;
}

int clampInt(std::size_t n) {
    return static_cast<int>(std::min<std::size_t>(n, INT_MAX));
}

bool isAddress(const std::string& host) {
    unsigned char buf[16];
    return ::inet_pton(AF_INET, host.c_str(), buf) == 1 || ::inet_pton(AF_INET6, host.c_str(), buf) == 1;
}

// The socket as OpenSSL's transport: send with MSG_NOSIGNAL, so a server that went away makes
// an error of the write rather than a SIGPIPE that ends the program.
int socketOf(BIO* b) {
    return static_cast<int>(reinterpret_cast<std::intptr_t>(BIO_get_data(b)));
}

int bioWrite(BIO* b, const char* data, int len) {
    BIO_clear_retry_flags(b);
    for (;;) {
        const ssize_t r = ::send(socketOf(b), data, static_cast<std::size_t>(len), MSG_NOSIGNAL);
        if (r >= 0)
            return static_cast<int>(r);
        if (errno == EINTR)
            continue;
        if (errno == EAGAIN || errno == EWOULDBLOCK)
            BIO_set_retry_write(b);
        return -1;
    }
}

int bioRead(BIO* b, char* data, int len) {
    BIO_clear_retry_flags(b);
    for (;;) {
        const ssize_t r = ::recv(socketOf(b), data, static_cast<std::size_t>(len), 0);
        if (r >= 0)
            return static_cast<int>(r);
        if (errno == EINTR)
            continue;
        if (errno == EAGAIN || errno == EWOULDBLOCK)
            BIO_set_retry_read(b);
        return -1;
    }
}

long bioCtrl(BIO*, int cmd, long, void*) {
    return cmd == BIO_CTRL_FLUSH ? 1 : 0;
}

int bioCreate(BIO* b) {
    BIO_set_init(b, 1);
    return 1;
}

BIO_METHOD* socketMethod() {
    static BIO_METHOD* method = [] {
        BIO_METHOD* m = BIO_meth_new(BIO_get_new_index() | BIO_TYPE_SOURCE_SINK, "zelmora socket");
        BIO_meth_set_write(m, bioWrite);
        BIO_meth_set_read(m, bioRead);
        BIO_meth_set_ctrl(m, bioCtrl);
        BIO_meth_set_create(m, bioCreate);
        return m;
    }();
    return method;
}

} // namespace

TIdSSLIOHandlerSocketOpenSSL::TIdSSLIOHandlerSocketOpenSSL() = default;

TIdSSLIOHandlerSocketOpenSSL::~TIdSSLIOHandlerSocketOpenSSL() {
    if (ssl_)
        SSL_free(ssl_);
}

void TIdSSLIOHandlerSocketOpenSSL::SetCAFile(const std::string& file) {
    if (file != caFile_)
        context_.reset();
    caFile_ = file;
}

void TIdSSLIOHandlerSocketOpenSSL::Open() {
    TIdIOHandlerStack::Open();
    if (!Binding().HandleAllocated())
        return; // no target: the handler opens without a socket, as a plain one does
    SocketConnected();
    if (!passThrough_)
        StartTLS(Host());
}

void TIdSSLIOHandlerSocketOpenSSL::StartTLS(const std::string& serverName) {
    if (!Binding().HandleAllocated())
        throw EIdNotConnected();
    // Bytes that came before the handshake would later pass for ones TLS had carried.
    if (!InputBuffer().Empty())
        throw EIdTLSError("plain bytes arrived before the TLS handshake");
    const long long start = nowMs();
    if (!context_)
        context_ = std::make_unique<TIdSSLContext>(caFile_);
    if (ssl_)
        SSL_free(ssl_);
    tlsClosed_ = false;
    pendingError_ = nullptr;
    broken_ = false;
    ssl_ = SSL_new(context_->Handle());
    if (!ssl_)
        throw EIdTLSError("TLS is not available");
    const int fd = Binding().Handle();
    BIO* bio = BIO_new(socketMethod());
    BIO_set_data(bio, reinterpret_cast<void*>(static_cast<std::intptr_t>(fd)));
    SSL_set_bio(ssl_, bio, bio);
    // Every wait is our own poll, bounded as the time-outs say.
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL, 0) | O_NONBLOCK);
    serverName_ = serverName;
    if (isAddress(serverName)) {
        X509_VERIFY_PARAM_set1_ip_asc(SSL_get0_param(ssl_), serverName.c_str());
    } else {
        // "example.com." is example.com written in full: neither SNI nor a certificate carries
        // the root's dot.
        std::string name = serverName;
        if (name.size() > 1 && name.back() == '.')
            name.pop_back();
        SSL_set_tlsext_host_name(ssl_, name.c_str());
        // Names are the certificate's alternative names; a common name beside them is no name.
        SSL_set_hostflags(ssl_, X509_CHECK_FLAG_NO_PARTIAL_WILDCARDS | X509_CHECK_FLAG_NEVER_CHECK_SUBJECT);
        SSL_set1_host(ssl_, name.c_str());
    }
    handshake(ConnectTimeout() > 0 ? start + ConnectTimeout() : 0);
}

void TIdSSLIOHandlerSocketOpenSSL::handshake(long long deadlineMs) {
    for (;;) {
        ERR_clear_error();
        errno = 0;
        const int r = SSL_connect(ssl_);
        const int savedErrno = errno;
        if (r == 1)
            return;
        TIdSSLWait w;
        try {
            w = IdSSLHandshakeOutcome(ssl_, r, savedErrno, serverName_);
        } catch (...) {
            broken_ = true;
            throw;
        }
        long long wait = ReadTimeout() > 0 ? ReadTimeout() : -1;
        if (deadlineMs != 0) {
            const long long left = deadlineMs - nowMs();
            wait = wait < 0 ? std::max(left, 0LL) : std::clamp(left, 0LL, wait);
        }
        // The request's overall time limit bounds the handshake too, and is named when it ends it.
        bool overall = false;
        if (HasDeadline()) {
            const long long left = DeadlineLeft();
            overall = wait < 0 || left < wait;
            wait = overall ? left : wait;
        }
        if (wait == 0 || !waitSocket(Binding().Handle(), eventsFor(w), wait)) {
            broken_ = true;
            if (overall)
                CheckDeadline();
            throw EIdTLSHandshakeTimeout();
        }
    }
}

bool TIdSSLIOHandlerSocketOpenSSL::waitAfter(int ret, int savedErrno, int timeoutMs) {
    TIdSSLWait w;
    try {
        w = IdSSLTransferOutcome(ssl_, ret, savedErrno);
    } catch (...) {
        broken_ = true;
        throw;
    }
    if (w == TIdSSLWait::Closed) {
        tlsClosed_ = true;
        return false;
    }
    return waitSocket(Binding().Handle(), eventsFor(w), timeoutMs);
}

bool TIdSSLIOHandlerSocketOpenSSL::Readable(int timeoutMs) {
    if (!ssl_)
        return TIdIOHandlerStack::Readable(timeoutMs);
    if (pendingError_ || tlsClosed_ || SSL_pending(ssl_) > 0)
        return true;
    // The socket being readable says little: the bytes may be part of a record, or no data at
    // all. Peeking processes what came and tells whether the next receive has something.
    const long long end = timeoutMs < 0 ? 0 : nowMs() + timeoutMs;
    for (;;) {
        char c;
        ERR_clear_error();
        errno = 0;
        const int r = SSL_peek(ssl_, &c, 1);
        const int savedErrno = errno;
        if (r > 0)
            return true;
        const int left =
            timeoutMs < 0 ? -1 : static_cast<int>(std::clamp<long long>(end - nowMs(), 0, INT_MAX));
        try {
            if (!waitAfter(r, savedErrno, left))
                return tlsClosed_;
        } catch (...) {
            // Reported by the receive that follows, as a plain socket reports its errors.
            pendingError_ = std::current_exception();
            return true;
        }
    }
}

bool TIdSSLIOHandlerSocketOpenSSL::RecvNow(char* buffer, std::size_t n, std::size_t& got) {
    if (!ssl_)
        return TIdIOHandlerStack::RecvNow(buffer, n, got);
    // Only decrypted bytes already at hand are sure not to wait; raw socket bytes may be part of
    // a record.
    if (pendingError_ || tlsClosed_ || SSL_pending(ssl_) <= 0)
        return false;
    got = Recv(buffer, n);
    return true;
}

std::size_t TIdSSLIOHandlerSocketOpenSSL::Recv(char* buffer, std::size_t n) {
    if (!ssl_)
        return TIdIOHandlerStack::Recv(buffer, n);
    if (pendingError_)
        std::rethrow_exception(pendingError_);
    while (!tlsClosed_) {
        ERR_clear_error();
        errno = 0;
        const int r = SSL_read(ssl_, buffer, clampInt(n));
        const int savedErrno = errno;
        if (r > 0)
            return static_cast<std::size_t>(r);
        waitAfter(r, savedErrno, -1);
    }
    return 0;
}

std::size_t TIdSSLIOHandlerSocketOpenSSL::Send(const char* bytes, std::size_t n) {
    if (!ssl_)
        return TIdIOHandlerStack::Send(bytes, n);
    if (pendingError_)
        std::rethrow_exception(pendingError_);
    while (!tlsClosed_) {
        ERR_clear_error();
        errno = 0;
        const int r = SSL_write(ssl_, bytes, clampInt(n));
        const int savedErrno = errno;
        if (r > 0)
            return static_cast<std::size_t>(r);
        waitAfter(r, savedErrno, -1);
    }
    return 0;
}

void TIdSSLIOHandlerSocketOpenSSL::CloseSource() {
    if (ssl_) {
        // The close notice tells the server that nothing was cut off; it is not waited for.
        if (!broken_)
            SSL_shutdown(ssl_);
        ERR_clear_error();
        SSL_free(ssl_);
        ssl_ = nullptr;
    }
    tlsClosed_ = false;
    pendingError_ = nullptr;
    broken_ = false;
    TIdIOHandlerStack::CloseSource();
}
