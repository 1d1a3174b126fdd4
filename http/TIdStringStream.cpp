#include "http/TIdStringStream.h"

#include "http/EIdException.h"

#include <algorithm>
#include <cstring>

void TIdStringStream::checkBound(std::size_t end) const {
    if (maxSize_ != 0 && end > maxSize_)
        throw EIdContentTooLarge("Response body exceeds the limit of " + std::to_string(maxSize_) +
                                 " bytes.");
}

void TIdStringStream::ensureCapacity(std::size_t needed) {
    if (needed <= data_.capacity())
        return;
    std::size_t cap = std::max<std::size_t>({needed, data_.capacity() * 2, 65536});
    // The expected size is only believed in proportion to what has arrived: a server that
    // announces much and sends little costs what it sent, times the share at most.
    if (expected_ >= needed && expected_ / kExpectedShare <= data_.size())
        cap = expected_;
    if (maxSize_ != 0)
        cap = std::max(needed, std::min(cap, maxSize_));
    data_.reserve(cap);
}

void TIdStringStream::Write(const char* bytes, std::size_t n) {
    if (n == 0)
        return;
    const std::size_t end = position_ + n;
    checkBound(end);
    ensureCapacity(end);
    if (position_ == data_.size()) {
        data_.append(bytes, n);
    } else {
        // Overwriting, or writing past the end: the gap reads as zero bytes.
        if (end > data_.size())
            data_.resize(end);
        std::memcpy(data_.data() + position_, bytes, n);
    }
    position_ = end;
}

char* TIdStringStream::PrepareDirect(std::size_t want, std::size_t& room) {
    room = 0;
    // Only at the end: bytes received in place extend the content.
    if (want == 0 || position_ != data_.size())
        return nullptr;
    if (maxSize_ != 0) {
        // Full: bytes still to come go through Write, which refuses them only if they do come.
        if (position_ >= maxSize_)
            return nullptr;
        want = std::min(want, maxSize_ - position_);
    }
    ensureCapacity(position_ + want);
    data_.resize(position_ + want);
    room = want;
    return data_.data() + position_;
}

void TIdStringStream::CommitDirect(std::size_t n) {
    position_ += n;
    data_.resize(position_);
}

void TIdStringStream::ExpectSize(std::int64_t size) {
    expected_ = size > 0 ? static_cast<std::size_t>(size) : 0;
}

void TIdStringStream::SetPosition(std::int64_t position) {
    position_ = position < 0 ? 0 : static_cast<std::size_t>(position);
}

void TIdStringStream::SetSize(std::int64_t size) {
    const std::size_t n = size < 0 ? 0 : static_cast<std::size_t>(size);
    if (n > data_.size()) {
        checkBound(n);
        ensureCapacity(n);
    }
    data_.resize(n);
    position_ = std::min(position_, n);
}

std::string TIdStringStream::Take() {
    std::string out = std::move(data_);
    data_ = std::string();
    position_ = 0;
    expected_ = 0;
    return out;
}
