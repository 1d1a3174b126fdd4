#pragma once
// A stream whose content is a string that the caller takes at the end, so a body read into it
// is never copied again. Like TIdMemoryStream, storage grows with what is written, never from
// a size announced in advance, and an optional bound stops a body that would exhaust memory.
//
// A growing string is copied to each larger block it moves to. When the body's length is known,
// the storage therefore goes to that length in one step once a sixteenth of it has arrived:
// the last move happens while the content is small, and the peak stays near the body itself.
#include "http/TIdStream.h"

#include <string>

class TIdStringStream : public TIdStream {
public:
    // Once this much of an expected size is here, storage may grow to the whole of it.
    static constexpr std::size_t kExpectedShare = 64;

    void Write(const char* bytes, std::size_t n) override;
    std::int64_t Position() const override { return static_cast<std::int64_t>(position_); }
    void SetPosition(std::int64_t position) override;
    std::int64_t Size() const override { return static_cast<std::int64_t>(data_.size()); }
    void SetSize(std::int64_t size) override;
    char* PrepareDirect(std::size_t want, std::size_t& room) override;
    void CommitDirect(std::size_t n) override;
    void ExpectSize(std::int64_t size) override;

    // The most bytes the stream may hold; 0 means no bound. Writing past it raises
    // EIdContentTooLarge and leaves the content as it was.
    std::size_t MaxSize() const { return maxSize_; }
    void SetMaxSize(std::size_t maxSize) { maxSize_ = maxSize; }

    const std::string& Data() const { return data_; }
    // Bytes set aside (for checks that memory follows what arrived, not what was announced).
    std::size_t Capacity() const { return data_.capacity(); }
    // Moves the content out; the stream is empty afterwards.
    std::string Take();

private:
    void checkBound(std::size_t end) const;
    void ensureCapacity(std::size_t needed);
    void populateAhead(std::size_t end);
    void adviseHugePages();

    std::string data_;
    std::size_t position_ = 0;
    std::size_t maxSize_ = 0;
    std::size_t expected_ = 0;
    // How much of the storage at storage_ is known to be resident.
    const char* storage_ = nullptr;
    std::size_t populated_ = 0;
};
