#pragma once
// A TCP connection: the handler that does its reads and writes, the open-connection test and the
// disconnect with its notifications.
#include "http/TIdComponent.h"
#include "http/TIdIOHandler.h"

#include <memory>

class TIdTCPConnection : public TIdComponent {
public:
    TIdTCPConnection() = default;
    ~TIdTCPConnection() override;
    TIdTCPConnection(const TIdTCPConnection&) = delete;
    TIdTCPConnection& operator=(const TIdTCPConnection&) = delete;

    TIdIOHandler* IOHandler() const { return ioHandler_; }
    // Attaches a handler owned by the caller; a handler the connection created itself is freed.
    void SetIOHandler(TIdIOHandler* handler);
    // True when the connection created its handler (and will free it).
    bool ManagedIOHandler() const { return ownedHandler_ != nullptr; }

    // The open-connection test: a zero-time poll that notices a close by the peer.
    bool Connected();
    // Closes the connection when it is open; never raises for a closed one.
    virtual void Disconnect();
    // Raises EIdConnClosedGracefully when the peer has closed (buffered data ignored) if asked.
    void CheckForGracefulDisconnect(bool raiseIfDisconnected = true);

    TIdNotifyEvent OnConnected;
    TIdNotifyEvent OnDisconnected;

protected:
    // Attaches a handler the connection owns.
    void SetManagedIOHandler(std::unique_ptr<TIdIOHandler> handler);
    void DoOnConnected();

private:
    void hookHandler();
    TIdIOHandler* ioHandler_ = nullptr;
    std::unique_ptr<TIdIOHandler> ownedHandler_;
};
