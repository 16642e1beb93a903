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
    const Object& added = *element;
    return addNear(std::move(element), hint,
                   [&added](const Object& placed) { return placed.compare(added); });
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
