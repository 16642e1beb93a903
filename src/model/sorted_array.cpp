#include "model/sorted_array.h"

#include <algorithm>
#include <utility>

int SortedArray::add(std::unique_ptr<Object> element) {
    if (full()) {
        reallocate(slotCount() + static_cast<int>(growthStep_));
        if (full()) {
            return -1;
        }
    }
    const int n = count_;
    int p = lowerBound_;
    if (n / 2 > 5) {
        int jump = n / 2;
        int probe = n / 2;
        while (jump > 5) {
            if (!at(lowerBound_ + probe)->compare(*element)) {
                break;
            }
            p = lowerBound_ + probe;
            jump /= 2;
            probe += jump;
        }
    }
    p = walkPast(p, *element);
    return insertAt(p, std::move(element));
}

int SortedArray::addWithHint(std::unique_ptr<Object> element, int& hint) {
    if (full()) {
        reallocate(slotCount() + 1);
        if (full()) {
            return -1;
        }
    }
    const int p =
        insertionPointNear(std::clamp(hint, lowerBound_, lastElementIndex_ + 1), *element);
    hint = p;
    return insertAt(p, std::move(element));
}

// The first index whose element sorts after the new one, searched outward from `near`: steps
// of 1, 2, 4, ... bracket it, then bisection finds it. The cost grows with the log of the
// distance from the hint, and equal keys at the hint cost nothing, so a run of thousands of
// events at one tick stays linear to build.
int SortedArray::insertionPointNear(int near, const Object& element) const {
    const auto sortsAtOrBefore = [&element](const std::unique_ptr<Object>& slot) {
        return slot->compare(element);
    };
    const auto slot = [this](int index) { return slots_.begin() + (index - lowerBound_); };
    int lo = near;
    int hi = near;
    if (near > lowerBound_ && !at(near - 1)->compare(element)) {
        // The place lies before near - 1.
        hi = near - 1;
        int step = 1;
        while (hi - step >= lowerBound_ && !at(hi - step)->compare(element)) {
            hi -= step;
            step *= 2;
        }
        lo = std::max(hi - step + 1, lowerBound_);
    } else {
        // The place lies at near or after it.
        int step = 1;
        while (hi <= lastElementIndex_ && at(hi)->compare(element)) {
            lo = hi + 1;
            hi = std::min(hi + step, lastElementIndex_ + 1);
            step *= 2;
        }
    }
    return static_cast<int>(std::partition_point(slot(lo), slot(hi), sortsAtOrBefore) -
                            slots_.begin()) +
           lowerBound_;
}

int SortedArray::find(const Object& key) const {
    if (empty()) {
        return -1;
    }
    int lo = 0;
    int hi = count_;
    int mid = count_ / 2;
    for (;;) {
        const Object* candidate = at(lowerBound_ + mid);
        if (candidate->isEqual(key)) {
            return mid;
        }
        if (!candidate->compare(key)) {
            hi = mid;
            if (lo == hi) {
                return -1;
            }
        } else {
            lo = mid;
            if (hi - lo == 1) {
                return -1;
            }
        }
        mid = (lo + hi) / 2;
    }
}

int SortedArray::walkPast(int index, const Object& element) const {
    while (index <= lastElementIndex_ && at(index)->compare(element)) {
        ++index;
    }
    return index;
}

int SortedArray::insertAt(int index, std::unique_ptr<Object> element) {
    openGap(index);
    setSlot(index, std::move(element));
    ++count_;
    return index;
}
