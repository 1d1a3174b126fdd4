#pragma once
// The socket handler of a feed fetch: the client's TLS-capable socket handler, whose connection
// another thread may shut down. Abort() shuts the socket down (both ways), which wakes a read or a write
// blocked on it; the fetch then fails like a connection the server dropped. A connect still
// under way is not interrupted: its socket is shut down as soon as the connect returns.
#include "http/TIdSSLIOHandlerSocketOpenSSL.h"

#include <mutex>

class TFeedConnection : public TIdSSLIOHandlerSocketOpenSSL {
public:
    ~TFeedConnection() override;
    void Open() override;
    // From any thread; never waits for the network.
    void Abort();

protected:
    // Published as soon as it is connected, so an abort also ends a TLS handshake.
    void SocketConnected() override;
    void CloseSource() override;

private:
    std::mutex mutex_;
    int socket_ = -1; // the connected socket as Abort() may use it; -1 when none or closed
    bool aborted_ = false;
};
