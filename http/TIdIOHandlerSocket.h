#pragma once
// A connection handler over one TCP socket (its Binding).
#include "http/TIdIOHandler.h"
#include "http/TIdSocketHandle.h"

class TIdIOHandlerSocket : public TIdIOHandler {
public:
    TIdSocketHandle& Binding() { return binding_; }
    const std::string& BoundIP() const { return boundIP_; }
    void SetBoundIP(const std::string& ip) { boundIP_ = ip; }
    int BoundPort() const { return boundPort_; }
    void SetBoundPort(int port) { boundPort_ = port; }
    bool SourceAllocated() const override { return binding_.HandleAllocated(); }

protected:
    bool Readable(int timeoutMs) override { return binding_.Readable(timeoutMs); }
    std::size_t Recv(char* buffer, std::size_t n) override { return binding_.Recv(buffer, n); }
    bool RecvNow(char* buffer, std::size_t n, std::size_t& got) override {
        return binding_.RecvNow(buffer, n, got);
    }
    std::size_t Send(const char* bytes, std::size_t n) override { return binding_.Send(bytes, n); }
    void CloseSource() override { binding_.CloseSocket(); }

private:
    TIdSocketHandle binding_;
    std::string boundIP_;
    int boundPort_ = 0;
};
