#include "model/array.h"

#include <utility>

int Array::add(std::unique_ptr<Object> element) {
    int index = lastElementIndex_ + 1;
    while (index <= upperBound_ && at(index) != nullptr) {
        ++index;
    }
    if (index > upperBound_) {
        reallocate(index - lowerBound_ + 1);
        if (index > upperBound_) {
            return -1;
        }
    }
    setSlot(index, std::move(element));
    lastElementIndex_ = index;
    ++count_;
    return index;
}
