#pragma once
// A TLS server on 127.0.0.1 (or ::1) in front of a plain loopback server (a ScriptedServer, usually): it
// shakes hands with each client, then carries the bytes both ways, so every script of the plain
// tests runs over TLS unchanged. When the server behind closes, it sends its close notice (or,
// when told, drops the TCP connection without one); a reset behind is a reset in front.
//
// Like ScriptedServer it listens in its constructor (port 0, read back) and its destructor stops
// and joins every thread.
#include "tests/support/LoopbackSockets.h"

#include <atomic>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace zeltest {

struct TlsFrontOptions {
    std::string certFile; // PEM: certificate and chain
    std::string keyFile;
    // Protocol versions offered, as OpenSSL numbers (TLS1_VERSION = 0x301 ...); 0 for OpenSSL's
    // own bound.
    int minVersion = 0;
    int maxVersion = 0;
    // Every byte from behind leaves in a TLS record of its own.
    bool oneBytePerRecord = false;
    // A close behind ends the TCP connection without the TLS close notice.
    bool closeWithoutNotify = false;
    // Listens on ::1 instead (the constructor throws where the machine has no IPv6 loopback).
    bool ipv6 = false;
};

class TlsFront {
public:
    TlsFront(int backendPort, TlsFrontOptions options);
    ~TlsFront();
    TlsFront(const TlsFront&) = delete;
    TlsFront& operator=(const TlsFront&) = delete;

    int Port() const { return port_; }
    // The server name (SNI) each finished handshake carried, "" when none, in order.
    std::vector<std::string> ServerNames() const;
    int Handshakes() const;
    // Connections whose handshake failed.
    int FailedHandshakes() const { return failed_.load(); }
    void Stop();

private:
    void acceptLoop();
    void serve(int fd);

    TlsFrontOptions options_;
    int backendPort_;
    void* ctx_ = nullptr; // SSL_CTX*
    int listenFd_ = -1;
    int port_ = 0;
    std::atomic<bool> stop_{false};
    std::atomic<int> failed_{0};
    mutable std::mutex mutex_;
    std::vector<std::string> serverNames_;
    ConnectionThreads connections_;
    std::thread thread_;
};

} // namespace zeltest
