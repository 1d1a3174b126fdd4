#include "http/TIdTCPConnection.h"

#include "http/EIdException.h"

TIdTCPConnection::~TIdTCPConnection() {
    try {
        Disconnect();
    } catch (...) {
    }
}

void TIdTCPConnection::hookHandler() {
    if (!ioHandler_)
        return;
    // The handler's notices reach the connection's listeners with the connection as sender.
    ioHandler_->OnStatus = [this](TIdComponent*, TIdStatus status, const std::string& text) {
        DoStatus(status, text);
    };
    ioHandler_->OnWorkBegin = [this](TIdComponent*, TWorkMode mode, std::int64_t n) { BeginWork(mode, n); };
    ioHandler_->OnWork = [this](TIdComponent*, TWorkMode mode, std::int64_t n) { DoWork(mode, n); };
    ioHandler_->OnWorkEnd = [this](TIdComponent*, TWorkMode mode) { EndWork(mode); };
}

void TIdTCPConnection::SetIOHandler(TIdIOHandler* handler) {
    if (handler == ioHandler_)
        return;
    if (ioHandler_ && !ownedHandler_) {
        ioHandler_->OnStatus = nullptr;
        ioHandler_->OnWorkBegin = nullptr;
        ioHandler_->OnWork = nullptr;
        ioHandler_->OnWorkEnd = nullptr;
    }
    ioHandler_ = handler;
    ownedHandler_.reset();
    hookHandler();
}

void TIdTCPConnection::SetManagedIOHandler(std::unique_ptr<TIdIOHandler> handler) {
    SetIOHandler(nullptr);
    ownedHandler_ = std::move(handler);
    ioHandler_ = ownedHandler_.get();
    hookHandler();
}

bool TIdTCPConnection::Connected() {
    return ioHandler_ && ioHandler_->Connected();
}

void TIdTCPConnection::Disconnect() {
    if (!ioHandler_ || !ioHandler_->Opened())
        return;
    DoStatus(hsDisconnecting, "Disconnecting.");
    ioHandler_->Close();
    if (OnDisconnected)
        OnDisconnected(this);
    DoStatus(hsDisconnected, "Disconnected.");
}

void TIdTCPConnection::CheckForGracefulDisconnect(bool raiseIfDisconnected) {
    if (ioHandler_)
        ioHandler_->CheckForDisconnect(raiseIfDisconnected, true);
    else if (raiseIfDisconnected)
        throw EIdNotConnected();
}

void TIdTCPConnection::DoOnConnected() {
    if (OnConnected)
        OnConnected(this);
}
