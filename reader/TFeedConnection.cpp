#include "reader/TFeedConnection.h"

#include "http/EIdException.h"

#include <sys/socket.h>

TFeedConnection::~TFeedConnection() {
    std::lock_guard lock(mutex_);
    socket_ = -1;
}

void TFeedConnection::Open() {
    {
        std::lock_guard lock(mutex_);
        if (aborted_)
            throw EIdNotConnected();
    }
    TIdSSLIOHandlerSocketOpenSSL::Open();
}

void TFeedConnection::SocketConnected() {
    std::lock_guard lock(mutex_);
    socket_ = Binding().Handle();
    if (aborted_ && socket_ >= 0)
        ::shutdown(socket_, SHUT_RDWR);
}

void TFeedConnection::Abort() {
    std::lock_guard lock(mutex_);
    aborted_ = true;
    // Only a socket still published here is open: CloseSource withdraws it before closing, so
    // this never reaches a descriptor number the process has reused.
    if (socket_ >= 0)
        ::shutdown(socket_, SHUT_RDWR);
}

void TFeedConnection::CloseSource() {
    {
        std::lock_guard lock(mutex_);
        socket_ = -1;
    }
    TIdSSLIOHandlerSocketOpenSSL::CloseSource();
}
