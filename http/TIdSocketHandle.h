#pragma once
// One TCP socket: allocation, bind, connect (blocking, or bounded by a time-out), receive, send,
// the readability wait and close. Errors raise the stack's socket errors.
#include "http/IdGlobal.h"

#include <cstddef>
#include <string>

class TIdSocketHandle {
public:
    TIdSocketHandle() = default;
    ~TIdSocketHandle();
    TIdSocketHandle(const TIdSocketHandle&) = delete;
    TIdSocketHandle& operator=(const TIdSocketHandle&) = delete;

    void AllocateSocket(TIdIPVersion version);
    // Binds to BoundIP/BoundPort, or to the first free port of the client port range counted down
    // from its maximum, or (all of them empty) leaves the choice to the connect.
    void Bind();
    void SetNagle(bool useNagle);
    // Connects to PeerIP:PeerPort; with a positive time-out the connect gives up after that many
    // milliseconds with EIdConnectTimeout.
    void Connect(int timeoutMs);
    // Waits until a receive would not block; timeoutMs < 0 waits without limit.
    bool Readable(int timeoutMs) const;
    // One receive; 0 means the peer closed its side.
    std::size_t Recv(char* buffer, std::size_t n);
    // One receive that does not wait; false when nothing has arrived yet.
    bool RecvNow(char* buffer, std::size_t n, std::size_t& got);
    // One send; the number of bytes that went out.
    std::size_t Send(const char* bytes, std::size_t n);
    void CloseSocket();

    bool HandleAllocated() const { return fd_ >= 0; }
    int Handle() const { return fd_; }
    TIdIPVersion IPVersion() const { return ipVersion_; }
    void SetIPVersion(TIdIPVersion v) { ipVersion_ = v; }
    const std::string& PeerIP() const { return peerIP_; }
    void SetPeerIP(const std::string& ip) { peerIP_ = ip; }
    int PeerPort() const { return peerPort_; }
    void SetPeerPort(int port) { peerPort_ = port; }
    const std::string& IP() const { return ip_; }
    void SetIP(const std::string& ip) { ip_ = ip; }
    int Port() const { return port_; }
    void SetPort(int port) { port_ = port; }
    int ClientPortMin() const { return clientPortMin_; }
    void SetClientPortMin(int p) { clientPortMin_ = p; }
    int ClientPortMax() const { return clientPortMax_; }
    void SetClientPortMax(int p) { clientPortMax_ = p; }

private:
    bool tryBind(const std::string& ip, int port);
    int fd_ = -1;
    TIdIPVersion ipVersion_ = Id_IPv4;
    std::string peerIP_;
    int peerPort_ = 0;
    std::string ip_;
    int port_ = 0;
    int clientPortMin_ = 0;
    int clientPortMax_ = 0;
};
