#include "http/TIdMemoryStream.h"

#include "http/EIdException.h"

#include <sys/mman.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <new>

namespace {

// The copy of a large body fills memory that was never touched. Asking for huge pages there turns
// hundreds of thousands of page faults into a few hundred, which is most of the cost of the copy
// where fresh memory is expensive (virtual machines). Only whole 2 MiB spans inside the block are
// advised; failure just leaves ordinary pages. (The growing buffer is not advised: remapping huge
// pages as it grows costs more than it saves.)
void adviseHugePages(char* p, std::size_t n) {
    constexpr std::uintptr_t kHuge = std::uintptr_t{2} << 20;
    if (n < 2 * kHuge)
        return;
    std::uintptr_t begin = (reinterpret_cast<std::uintptr_t>(p) + kHuge - 1) & ~(kHuge - 1);
    std::uintptr_t end = (reinterpret_cast<std::uintptr_t>(p) + n) & ~(kHuge - 1);
    if (end > begin)
        ::madvise(reinterpret_cast<void*>(begin), end - begin, MADV_HUGEPAGE);
}

} // namespace

std::string TIdMemoryStream::ToString() const {
    std::string out;
    if (size_ == 0)
        return out;
    out.reserve(size_);
    adviseHugePages(out.data(), size_);
    out.assign(data_, size_);
    return out;
}

TIdMemoryStream::~TIdMemoryStream() {
    std::free(data_);
}

void TIdMemoryStream::checkBound(std::size_t end) const {
    if (maxSize_ != 0 && end > maxSize_)
        throw EIdContentTooLarge("Response body exceeds the limit of " + std::to_string(maxSize_) +
                                 " bytes.");
}

// Doubling keeps appends linear. realloc lets large blocks grow in place (remapped pages rather
// than a copy), and untouched capacity costs no resident memory.
void TIdMemoryStream::ensureCapacity(std::size_t needed) {
    if (needed <= capacity_)
        return;
    std::size_t cap = std::max<std::size_t>({needed, capacity_ * 2, 4096});
    if (maxSize_ != 0)
        cap = std::max(needed, std::min(cap, maxSize_));
    char* p = static_cast<char*>(std::realloc(data_, cap));
    if (!p)
        throw std::bad_alloc();
    data_ = p;
    capacity_ = cap;
}

void TIdMemoryStream::Write(const char* bytes, std::size_t n) {
    if (n == 0)
        return;
    std::size_t end = position_ + n;
    checkBound(end);
    ensureCapacity(end);
    if (position_ > size_)
        std::memset(data_ + size_, 0, position_ - size_);
    std::memcpy(data_ + position_, bytes, n);
    position_ = end;
    size_ = std::max(size_, end);
}

char* TIdMemoryStream::PrepareDirect(std::size_t want, std::size_t& room) {
    if (want == 0) {
        room = 0;
        return nullptr;
    }
    if (maxSize_ != 0 && position_ >= maxSize_) {
        // Full: bytes still to come go through Write, which refuses them only if they do come.
        room = 0;
        return nullptr;
    }
    if (maxSize_ != 0)
        want = std::min(want, maxSize_ - position_);
    if (position_ > size_) {
        ensureCapacity(position_);
        std::memset(data_ + size_, 0, position_ - size_);
        size_ = position_;
    }
    if (capacity_ - std::min(capacity_, position_) < want)
        ensureCapacity(position_ + want);
    room = std::min(want, capacity_ - position_);
    return data_ + position_;
}

void TIdMemoryStream::CommitDirect(std::size_t n) {
    position_ += n;
    size_ = std::max(size_, position_);
}

void TIdMemoryStream::SetPosition(std::int64_t position) {
    position_ = position < 0 ? 0 : static_cast<std::size_t>(position);
}

void TIdMemoryStream::SetSize(std::int64_t size) {
    std::size_t n = size < 0 ? 0 : static_cast<std::size_t>(size);
    if (n > size_) {
        checkBound(n);
        ensureCapacity(n);
        std::memset(data_ + size_, 0, n - size_);
    }
    size_ = n;
    position_ = std::min(position_, size_);
}
