#include "http/TIdStringStream.h"

#include "http/EIdException.h"

#include <sys/mman.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdint>
#include <cstring>

#ifndef MADV_POPULATE_WRITE
#define MADV_POPULATE_WRITE 23 // Linux 5.14
#endif

namespace {

constexpr std::uintptr_t kPage = 4096;
// Storage from this size on is made resident ahead of the bytes, this much at a time.
constexpr std::size_t kPopulateFrom = 1 << 20;
constexpr std::size_t kPopulateAhead = 4 << 20;
constexpr std::size_t kLargeGrowth = 8;
constexpr std::size_t kHugeFrom = 8 << 20;
// An older kernel does not know the request: it is not asked again.
std::atomic<bool> populateKnown{true};

} // namespace

void TIdStringStream::checkBound(std::size_t end) const {
    if (maxSize_ != 0 && end > maxSize_)
        throw EIdContentTooLarge("Response body exceeds the limit of " + std::to_string(maxSize_) +
                                 " bytes.");
}

void TIdStringStream::ensureCapacity(std::size_t needed) {
    if (needed <= data_.capacity())
        return;
    // A string cannot grow in place: every step copies the content to a new block whose pages
    // are fresh again. Past a MiB it therefore grows eightfold, which copies an eighth as much;
    // capacity not yet written to is address space, not resident memory.
    const std::size_t factor = data_.capacity() >= kPopulateFrom ? kLargeGrowth : 2;
    std::size_t cap = std::max<std::size_t>({needed, data_.capacity() * factor, 65536});
    // The expected size is only believed in proportion to what has arrived: a server that
    // announces much and sends little costs what it sent, times the share at most.
    if (expected_ >= needed && expected_ / kExpectedShare <= data_.size())
        cap = expected_;
    if (maxSize_ != 0)
        cap = std::max(needed, std::min(cap, maxSize_));
    data_.reserve(cap);
    adviseHugePages();
}

// The storage not yet written to is asked for in huge pages, so a big body costs a fault per
// 2 MiB instead of one per 4 KiB. Only whole huge pages inside the block are advised; where the
// kernel has none to give, ordinary pages serve as before.
void TIdStringStream::adviseHugePages() {
    constexpr std::uintptr_t kHuge = std::uintptr_t{2} << 20;
    if (data_.capacity() < kHugeFrom)
        return;
    const auto base = reinterpret_cast<std::uintptr_t>(data_.data());
    const std::uintptr_t from = (base + data_.size() + kHuge - 1) & ~(kHuge - 1);
    const std::uintptr_t to = (base + data_.capacity()) & ~(kHuge - 1);
    if (to > from)
        ::madvise(reinterpret_cast<void*>(from), to - from, MADV_HUGEPAGE);
}

// Each fresh page costs a fault of its own at its first write; where faults are dear (a
// sandboxed kernel) they are a large share of a big body's time. The next few MiB of the storage
// are made resident in one request instead: resident memory still follows what arrived, a few MiB
// ahead at most, and never beyond what was set aside.
void TIdStringStream::populateAhead(std::size_t end) {
    if (data_.capacity() < kPopulateFrom || !populateKnown.load(std::memory_order_relaxed))
        return;
    const char* base = data_.data();
    if (base != storage_) {
        // A move copied the content: that much of the new storage has been written.
        storage_ = base;
        populated_ = data_.size();
    }
    if (end <= populated_)
        return;
    const std::size_t upTo = std::min(data_.capacity(), end + kPopulateAhead);
    const std::uintptr_t from =
        (reinterpret_cast<std::uintptr_t>(base) + populated_ + kPage - 1) & ~(kPage - 1);
    const std::uintptr_t to = (reinterpret_cast<std::uintptr_t>(base) + upTo) & ~(kPage - 1);
    if (to > from && ::madvise(reinterpret_cast<void*>(from), to - from, MADV_POPULATE_WRITE) != 0 &&
        errno == EINVAL)
        populateKnown.store(false, std::memory_order_relaxed);
    populated_ = upTo;
}

void TIdStringStream::Write(const char* bytes, std::size_t n) {
    if (n == 0)
        return;
    const std::size_t end = position_ + n;
    checkBound(end);
    ensureCapacity(end);
    populateAhead(end);
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
    populateAhead(position_ + want);
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
    storage_ = nullptr;
    populated_ = 0;
    return out;
}
