#pragma once
// A server in memory that answers requests: each receive hands out the rest of the next answer,
// and a poll that does not wait never finds one early, so kept connections, reconnects and
// tunnels behave as on a socket. TLS is faked (StartTLS notes the name; the bytes stay plain).
#include "http/TIdIOHandlerMemory.h"

#include <algorithm>
#include <deque>
#include <string>

namespace zeltest {

class AnsweringMemory : public TIdIOHandlerMemory {
public:
    explicit AnsweringMemory(std::deque<std::string> answers) : answers_(std::move(answers)) {
        SetFakeTLS(true);
    }

protected:
    bool Readable(int timeoutMs) override { return timeoutMs != 0; }
    std::size_t Recv(char* buffer, std::size_t n) override {
        if (answers_.empty())
            return 0;
        std::string& next = answers_.front();
        const std::size_t take = std::min(n, next.size());
        next.copy(buffer, take);
        next.erase(0, take);
        if (next.empty())
            answers_.pop_front();
        return take;
    }

private:
    std::deque<std::string> answers_;
};

} // namespace zeltest
