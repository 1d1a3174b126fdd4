#pragma once
// A growable in-memory stream. Storage grows with what is written, never from a size announced in
// advance, and an optional bound stops a body that would exhaust memory.
#include "http/TIdStream.h"

#include <string>

class TIdMemoryStream : public TIdStream {
public:
    TIdMemoryStream() = default;
    ~TIdMemoryStream() override;
    TIdMemoryStream(const TIdMemoryStream&) = delete;
    TIdMemoryStream& operator=(const TIdMemoryStream&) = delete;

    void Write(const char* bytes, std::size_t n) override;
    std::int64_t Position() const override { return static_cast<std::int64_t>(position_); }
    void SetPosition(std::int64_t position) override;
    std::int64_t Size() const override { return static_cast<std::int64_t>(size_); }
    void SetSize(std::int64_t size) override;
    char* PrepareDirect(std::size_t want, std::size_t& room) override;
    void CommitDirect(std::size_t n) override;

    // The most bytes the stream may hold; 0 means no bound. Writing past it raises
    // EIdContentTooLarge and leaves the content as it was.
    std::size_t MaxSize() const { return maxSize_; }
    void SetMaxSize(std::size_t maxSize) { maxSize_ = maxSize; }

    const char* Data() const { return data_; }
    // Bytes allocated (for checks that memory follows what arrived, not what was announced).
    std::size_t Capacity() const { return capacity_; }
    // The content as one string (a single copy).
    std::string ToString() const;

private:
    void ensureCapacity(std::size_t needed);
    void checkBound(std::size_t end) const;

    char* data_ = nullptr;
    std::size_t size_ = 0;
    std::size_t capacity_ = 0;
    std::size_t position_ = 0;
    std::size_t maxSize_ = 0;
};
