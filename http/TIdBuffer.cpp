#include "http/TIdBuffer.h"

#include "http/EIdException.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <new>

TIdBuffer::~TIdBuffer() {
    std::free(data_);
}

// Sets the logical array length. Storage grows geometrically so repeated appends stay linear, and
// is given back only when it is far larger than needed.
void TIdBuffer::setLength(std::size_t n) {
    if (n > capacity_ || (capacity_ > 65536 && n < capacity_ / 4)) {
        std::size_t cap = n;
        if (n > capacity_)
            cap = std::max(n, capacity_ + capacity_ / 2);
        if (cap == 0) {
            std::free(data_);
            data_ = nullptr;
        } else {
            char* p = static_cast<char*>(std::realloc(data_, cap));
            if (!p)
                throw std::bad_alloc();
            data_ = p;
        }
        capacity_ = cap;
    }
    length_ = n;
}

void TIdBuffer::compactToStart() {
    if (head_ > 0) {
        if (size_ > 0)
            std::memmove(data_, data_ + head_, static_cast<std::size_t>(size_));
        head_ = 0;
    }
}

char* TIdBuffer::PrepareWrite(std::size_t n) {
    if (n > static_cast<std::size_t>(kMaxSize - size_))
        throw EIdTooMuchDataInBuffer();
    if (size_ == 0) {
        head_ = 0;
        if (length_ < n)
            setLength(n);
    } else {
        compactToStart();
        if (length_ - static_cast<std::size_t>(size_) < n)
            setLength(static_cast<std::size_t>(size_) + n + kSlack);
    }
    return data_ + head_ + size_;
}

void TIdBuffer::CommitWrite(std::size_t n) {
    size_ += static_cast<int>(n);
}

void TIdBuffer::Write(const char* bytes, std::size_t n) {
    if (n == 0)
        return;
    char* dst = PrepareWrite(n);
    std::memcpy(dst, bytes, n);
    CommitWrite(n);
}

void TIdBuffer::checkTake(int n) const {
    if (n < 0 || n > size_)
        throw EIdNotEnoughDataInBuffer("Not enough data in buffer. (" + std::to_string(n) + "/" +
                                       std::to_string(size_) + ")");
}

void TIdBuffer::Remove(int n) {
    checkTake(n);
    if (n == 0)
        return;
    if (n < size_) {
        head_ += n;
        size_ -= n;
        if (head_ > kSlack) {
            compactToStart();
            std::size_t want = static_cast<std::size_t>(size_) + kSlack;
            if (length_ > want)
                setLength(want);
        }
    } else {
        Clear();
    }
}

void TIdBuffer::ExtractToBytes(std::string& out, int n) {
    checkTake(n);
    out.append(Data(), static_cast<std::size_t>(n));
    Remove(n);
}

std::string TIdBuffer::Extract(int n) {
    std::string out;
    ExtractToBytes(out, n);
    return out;
}

int TIdBuffer::ExtractTo(char* dst, int n) {
    int take = std::min(std::max(n, 0), size_);
    if (take > 0) {
        std::memcpy(dst, Data(), static_cast<std::size_t>(take));
        Remove(take);
    }
    return take;
}

void TIdBuffer::Clear() {
    head_ = 0;
    size_ = 0;
    setLength(0);
}

int TIdBuffer::IndexOf(std::string_view bytes, int start) const {
    if (bytes.empty())
        throw EIdException("Buffer terminator must be specified.");
    if (start < 0 || start > size_)
        throw EIdException("Buffer start position is invalid.");
    std::string_view content(Data(), static_cast<std::size_t>(size_));
    std::size_t at = content.find(bytes, static_cast<std::size_t>(start));
    return at == std::string_view::npos ? -1 : static_cast<int>(at);
}
