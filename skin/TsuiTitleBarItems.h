#pragma once
// TsuiTitleBarItems: the owned, ordered collection behind the title bar's buttons and its
// sections. Collection is the class derived from it (the items know their collection by that
// type); a collection made without a bar is a free-standing copy.
//
//   class TsuiTitleBarButtons : public TsuiTitleBarItems<TsuiTitleBarButton, TsuiTitleBarButtons>
//
// Every change of the collection repaints the bar.
#include <memory>
#include <vector>

class TsuiTitleBar;

// Repaints bar when there is one.
void InvalidateTitleBar(TsuiTitleBar* bar);

template <class Item, class Collection> class TsuiTitleBarItems {
public:
    explicit TsuiTitleBarItems(TsuiTitleBar* bar) : bar_(bar) {}
    TsuiTitleBarItems(const TsuiTitleBarItems&) = delete;
    TsuiTitleBarItems& operator=(const TsuiTitleBarItems&) = delete;
    ~TsuiTitleBarItems() {
        // Quietly: the bar may be half gone.
        bar_ = nullptr;
        items_.clear();
    }

    Item* Add() {
        items_.push_back(std::make_unique<Item>(static_cast<Collection*>(this)));
        Changed();
        return items_.back().get();
    }
    Item* Items(int index) const { return items_.at(static_cast<std::size_t>(index)).get(); }
    int Count() const { return static_cast<int>(items_.size()); }
    // Position of item, -1 when it is not in this collection.
    int IndexOf(const Item* item) const {
        for (int i = 0; i < Count(); ++i)
            if (Items(i) == item)
                return i;
        return -1;
    }
    void Delete(int index) {
        if (index < 0 || index >= Count())
            return;
        items_.erase(items_.begin() + index);
        Changed();
    }
    void Clear() {
        items_.clear();
        Changed();
    }
    // Replaces the items by copies of the other collection's.
    void Assign(const TsuiTitleBarItems& other) {
        if (&other == this)
            return;
        items_.clear();
        for (const auto& item : other.items_)
            Add()->Assign(*item);
        Changed();
    }
    TsuiTitleBar* TitleBar() const { return bar_; }
    // An item changed: the bar repaints.
    void Changed() { InvalidateTitleBar(bar_); }

private:
    TsuiTitleBar* bar_;
    std::vector<std::unique_ptr<Item>> items_;
};
