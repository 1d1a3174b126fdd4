#include "reader/THeadlineStore.h"

#include <limits>
#include <stdexcept>

const THeadlineItem& THeadlineStore::Item(std::int32_t index) const {
    if (index < 0 || index >= count_)
        throw std::out_of_range("headline index " + std::to_string(index) + " out of range");
    return items_[static_cast<std::size_t>(index)];
}

void THeadlineStore::Append(THeadlineItem item) {
    // A signed 32-bit count cannot go further; stopping is better than wrapping to a negative one.
    if (count_ == std::numeric_limits<std::int32_t>::max())
        throw std::length_error("too many headlines");
    items_.resize(static_cast<std::size_t>(count_));
    items_.push_back(std::move(item));
    ++count_;
}

void THeadlineStore::Clear() {
    std::vector<THeadlineItem>().swap(items_);
    count_ = 0;
}

THeadlineStore& Headlines() {
    static THeadlineStore store;
    return store;
}
