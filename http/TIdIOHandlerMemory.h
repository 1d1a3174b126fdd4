#pragma once
// A connection handler over bytes in memory: what the "server" sends is given up front, what the
// client writes is collected. Each receive hands out at most PieceSize bytes (1 cuts the stream at
// every point), and the end of the input reads as the peer closing. Tests and fuzzers put it under
// the client in place of a socket.
#include "http/TIdIOHandler.h"

#include <string>
#include <vector>

class TIdIOHandlerMemory : public TIdIOHandler {
public:
    explicit TIdIOHandlerMemory(std::string input = std::string(), std::size_t pieceSize = 0)
        : input_(std::move(input)), pieceSize_(pieceSize) {}

    void SetInput(std::string input) {
        input_ = std::move(input);
        inputPos_ = 0;
    }
    // The most bytes one receive returns; 0 means RecvBufferSize.
    void SetPieceSize(std::size_t n) { pieceSize_ = n; }
    const std::string& Output() const { return output_; }
    // How many times the handler was opened (connections made).
    int Opens() const { return opens_; }
    bool SourceAllocated() const override { return allocated_; }

    // Lets the client ask for TLS: StartTLS then only notes the server's name and where in the
    // output it came (the bytes stay plain), so the steps around a handshake run in memory.
    void SetFakeTLS(bool v) { fakeTLS_ = v; }
    bool TLSCapable() const override { return fakeTLS_; }
    void StartTLS(const std::string& serverName) override {
        if (!fakeTLS_)
            TIdIOHandler::StartTLS(serverName);
        tlsStarts_.push_back({serverName, output_.size()});
        tlsActive_ = true;
    }
    bool TLSActive() const override { return tlsActive_; }
    // Each StartTLS: the server's name and the output's length at that moment.
    const std::vector<std::pair<std::string, std::size_t>>& TLSStarts() const { return tlsStarts_; }

    void Open() override {
        TIdIOHandler::Open();
        allocated_ = true;
        ++opens_;
    }

protected:
    bool Readable(int) override { return true; }
    std::size_t Recv(char* buffer, std::size_t n) override {
        if (pieceSize_ > 0 && n > pieceSize_)
            n = pieceSize_;
        std::size_t take = std::min(n, input_.size() - inputPos_);
        input_.copy(buffer, take, inputPos_);
        inputPos_ += take;
        return take;
    }
    std::size_t Send(const char* bytes, std::size_t n) override {
        output_.append(bytes, n);
        return n;
    }
    void CloseSource() override {
        allocated_ = false;
        tlsActive_ = false;
    }

private:
    std::string input_;
    std::size_t inputPos_ = 0;
    std::size_t pieceSize_;
    std::string output_;
    bool allocated_ = false;
    int opens_ = 0;
    bool fakeTLS_ = false;
    bool tlsActive_ = false;
    std::vector<std::pair<std::string, std::size_t>> tlsStarts_;
};
