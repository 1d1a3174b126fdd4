#pragma once
// A stream that counts what it is given and keeps nothing, up to a bound: where a body that
// nobody reads goes, so the connection is left at the next response.
#include "http/EIdException.h"
#include "http/TIdStream.h"

class TIdDiscardStream : public TIdStream {
public:
    // Past bound bytes (0: no bound) a write raises EIdContentTooLarge.
    explicit TIdDiscardStream(std::size_t bound) : bound_(bound) {}
    void Write(const char*, std::size_t n) override {
        size_ += n;
        if (bound_ != 0 && size_ > bound_)
            throw EIdContentTooLarge();
    }
    std::int64_t Position() const override { return static_cast<std::int64_t>(size_); }
    void SetPosition(std::int64_t) override {}
    std::int64_t Size() const override { return static_cast<std::int64_t>(size_); }
    void SetSize(std::int64_t) override {}

private:
    std::size_t bound_;
    std::size_t size_ = 0;
};
