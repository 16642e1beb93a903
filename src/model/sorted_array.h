#pragma once

#include <algorithm>
#include <memory>

#include "model/abstract_array.h"

// An owning array kept in the order of its elements' compare: a new element lands after
// every element that sorts at or before it, so equal keys keep their insertion order.
class SortedArray : public AbstractArray {
public:
    using AbstractArray::AbstractArray;

    // Sorted insertion: gallops through the first part when the array is large, then walks.
    // Cheap when elements arrive in order. Returns the index of the new element, or -1 when the
    // array is full and may not grow (the element is then destroyed).
    int add(std::unique_ptr<Object> element);
    // Sorted insertion that searches from hint outward, for elements that arrive in nearly
    // sorted order: each costs a few comparisons. hint becomes the insertion index. Returns
    // it, or -1 as add.
    int addWithHint(std::unique_ptr<Object> element, int& hint);
    // Binary search for an element isEqual to the key.
    int find(const Object& key) const override;

protected:
    // addWithHint, with sortsAtOrBefore(placed) telling whether an element already in the array
    // sorts at or before the new one: an array that knows its elements' type passes a comparison
    // the compiler can inline, where compare is a call through the vtable.
    template <class SortsAtOrBefore>
    int addNear(std::unique_ptr<Object> element, int& hint, SortsAtOrBefore sortsAtOrBefore);

private:
    // Walks forward from index while the element there sorts at or before the new one.
    int walkPast(int index, const Object& element) const;
    template <class SortsAtOrBefore>
    int insertionPointNear(int near, SortsAtOrBefore sortsAtOrBefore) const;
    int insertAt(int index, std::unique_ptr<Object> element);
};

template <class SortsAtOrBefore>
int SortedArray::addNear(std::unique_ptr<Object> element, int& hint,
                         SortsAtOrBefore sortsAtOrBefore) {
    if (full()) {
        reallocate(slotCount() + 1);
        if (full()) {
            return -1;
        }
    }
    hint =
        insertionPointNear(std::clamp(hint, lowerBound_, lastElementIndex_ + 1), sortsAtOrBefore);
    return insertAt(hint, std::move(element));
}

// The first index whose element sorts after the new one, searched outward from `near`: steps
// of 1, 2, 4, ... bracket it, then bisection finds it. The cost grows with the log of the
// distance from the hint, and equal keys at the hint cost nothing, so a run of thousands of
// events at one tick stays linear to build.
template <class SortsAtOrBefore>
int SortedArray::insertionPointNear(int near, SortsAtOrBefore sortsAtOrBefore) const {
    int lo = near;
    int hi = near;
    if (near > lowerBound_ && !sortsAtOrBefore(*at(near - 1))) {
        // The place lies before near - 1.
        hi = near - 1;
        int step = 1;
        while (hi - step >= lowerBound_ && !sortsAtOrBefore(*at(hi - step))) {
            hi -= step;
            step *= 2;
        }
        lo = std::max(hi - step + 1, lowerBound_);
    } else {
        // The place lies at near or after it.
        int step = 1;
        while (hi <= lastElementIndex_ && sortsAtOrBefore(*at(hi))) {
            lo = hi + 1;
            hi = std::min(hi + step, lastElementIndex_ + 1);
            step *= 2;
        }
    }
    const auto slot = [this](int index) { return slots_.begin() + (index - lowerBound_); };
    return static_cast<int>(std::partition_point(slot(lo), slot(hi),
                                                 [&sortsAtOrBefore](const auto& placed) {
                                                     return sortsAtOrBefore(*placed);
                                                 }) -
                            slots_.begin()) +
           lowerBound_;
}
