#pragma once
// The headline array and its item count. The count doubles as the "a list is loaded" flag, and
// only the first Count() entries mean anything: Reset() leaves the array as long as it was,
// and the next Append() cuts it back, so appending the k-th item leaves exactly k entries.
#include "reader/THeadlineItem.h"

#include <cstdint>
#include <vector>

class THeadlineStore {
public:
    std::int32_t Count() const { return count_; }
    // Item i for 0 <= i < Count(); throws std::out_of_range otherwise.
    const THeadlineItem& Item(std::int32_t index) const;
    // The entries beyond Count() are kept until the next Append(); this is their number.
    std::size_t ArrayLength() const { return items_.size(); }

    void Reset() { count_ = 0; }
    void Append(THeadlineItem item);

    // Releases the array's memory as well (program exit, tests).
    void Clear();

private:
    std::vector<THeadlineItem> items_;
    std::int32_t count_ = 0;
};

// The program's one headline store: the feed command, the list events and the list-file
// commands all work on it.
THeadlineStore& Headlines();
