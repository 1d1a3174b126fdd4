#pragma once
// The client end of a TCP connection: its target and settings, and the connect.
#include "http/TIdTCPConnection.h"

#include <chrono>
#include <string>

class TIdTCPClient : public TIdTCPConnection {
public:
    const std::string& Host() const { return host_; }
    void SetHost(const std::string& h) { host_ = h; }
    int Port() const { return port_; }
    void SetPort(int p) { port_ = p; }
    int ConnectTimeout() const { return connectTimeout_; }
    void SetConnectTimeout(int ms) { connectTimeout_ = ms; }
    int ReadTimeout() const { return readTimeout_; }
    void SetReadTimeout(int ms);
    const std::string& BoundIP() const { return boundIP_; }
    void SetBoundIP(const std::string& ip) { boundIP_ = ip; }
    int BoundPort() const { return boundPort_; }
    void SetBoundPort(int p) { boundPort_ = p; }
    TIdIPVersion IPVersion() const { return ipVersion_; }
    void SetIPVersion(TIdIPVersion v) { ipVersion_ = v; }

    // An overall deadline for the connection's waits from now on (see TIdIOHandler::SetDeadline),
    // handed to the handler now and at every connect.
    void SetDeadline(std::chrono::steady_clock::time_point at, int budgetMs);
    void ClearDeadline();

    // Opens the connection to Host:Port, creating a socket handler when none is attached. Raises
    // EIdAlreadyConnected when connected; on failure the handler is closed, and one the client
    // created is freed so the next connect starts afresh.
    void Connect();
    void Connect(const std::string& host, int port) {
        host_ = host;
        port_ = port;
        Connect();
    }

private:
    std::string host_;
    int port_ = 0;
    int connectTimeout_ = 0;
    int readTimeout_ = 0;
    std::string boundIP_;
    int boundPort_ = 0;
    TIdIPVersion ipVersion_ = Id_IPv4;
    bool hasDeadline_ = false;
    std::chrono::steady_clock::time_point deadline_;
    int deadlineBudgetMs_ = 0;
};
