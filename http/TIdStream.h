#pragma once
// Where a connection writes what it reads: a seekable byte sink.
#include <cstddef>
#include <cstdint>

class TIdStream {
public:
    virtual ~TIdStream() = default;
    virtual void Write(const char* bytes, std::size_t n) = 0;
    virtual std::int64_t Position() const = 0;
    virtual void SetPosition(std::int64_t position) = 0;
    virtual std::int64_t Size() const = 0;
    virtual void SetSize(std::int64_t size) = 0;

    // Streams kept in memory may let a receive fill them in place: room for up to `want` bytes at
    // the position (less is fine, at least one byte), or nullptr when the stream does not offer it.
    // CommitDirect then says how many bytes were filled.
    virtual char* PrepareDirect(std::size_t want, std::size_t& room) {
        (void)want;
        room = 0;
        return nullptr;
    }
    virtual void CommitDirect(std::size_t n) { (void)n; }
    // The size the stream will likely reach (a body's announced length): a hint for streams that
    // can use it to grow in fewer steps. Nothing may be set aside on its word alone.
    virtual void ExpectSize(std::int64_t size) { (void)size; }
};
