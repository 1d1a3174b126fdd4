#pragma once
// The socket handler of a feed fetch: an ordinary stack handler whose connection another thread
// may shut down. Abort() shuts the socket down (both ways), which wakes a read or a write
// blocked on it; the fetch then fails like a connection the server dropped. A connect still
// under way is not interrupted: its socket is shut down as soon as the connect returns.
#include "http/TIdIOHandlerStack.h"

#include <mutex>

class TFeedConnection : public TIdIOHandlerStack {
public:
    ~TFeedConnection() override;
    void Open() override;
    // From any thread; never waits for the network.
    void Abort();

protected:
    void CloseSource() override;

private:
    std::mutex mutex_;
    int socket_ = -1; // the connected socket as Abort() may use it; -1 when none or closed
    bool aborted_ = false;
};
