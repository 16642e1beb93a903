#include "model/abstract_array.h"

#include <algorithm>
#include <utility>

AbstractArray::AbstractArray(int upperBound, int lowerBound, unsigned growthStep)
    : slots_(upperBound - lowerBound + 1),
      growthStep_(growthStep),
      lowerBound_(lowerBound),
      upperBound_(upperBound),
      lastElementIndex_(lowerBound - 1) {}

int AbstractArray::find(const Object& object) const {
    for (int i = lowerBound_; i <= upperBound_; ++i) {
        if (at(i) != nullptr && at(i)->isEqual(object)) {
            return i - lowerBound_;
        }
    }
    return -1;
}

int AbstractArray::detachAt(int index) {
    if (slots_[index - lowerBound_]) {
        slots_[index - lowerBound_].reset();
        --count_;
    }
    closeGap(index);
    return lastElementIndex_;
}

std::unique_ptr<Object> AbstractArray::takeAt(int index) {
    std::unique_ptr<Object> taken = std::move(slots_[index - lowerBound_]);
    if (taken) {
        --count_;
    }
    closeGap(index);
    return taken;
}

int AbstractArray::detach(const Object& object) {
    const int offset = find(object);
    if (offset < 0) {
        return -1;
    }
    return detachAt(offset + lowerBound_);
}

std::vector<std::unique_ptr<Object>> AbstractArray::takeEach(const std::vector<int>& indexes) {
    std::vector<std::unique_ptr<Object>> taken;
    taken.reserve(indexes.size());
    const auto slot = [this](int index) { return slots_.begin() + (index - lowerBound_); };
    // Each run of elements between two taken ones moves down in one piece.
    auto write = indexes.empty() ? slot(lastElementIndex_ + 1) : slot(indexes.front());
    for (std::size_t i = 0; i < indexes.size(); ++i) {
        taken.push_back(std::move(*slot(indexes[i])));
        const int runEnd = i + 1 < indexes.size() ? indexes[i + 1] : lastElementIndex_ + 1;
        write = std::move(slot(indexes[i] + 1), slot(runEnd), write);
    }
    lastElementIndex_ -= static_cast<int>(indexes.size());
    count_ -= static_cast<int>(indexes.size());
    return taken;
}

bool AbstractArray::placeEach(std::vector<Placed>& placed) {
    const int added = static_cast<int>(placed.size());
    if (lastElementIndex_ + added > upperBound_) {
        reallocate(lastElementIndex_ + added - lowerBound_ + 1);
        if (lastElementIndex_ + added > upperBound_) {
            return false;
        }
    }
    const auto slot = [this](int index) { return slots_.begin() + (index - lowerBound_); };
    // Fills from the back: each run of elements between two placed ones moves up in one piece.
    int runEnd = lastElementIndex_ + 1;
    for (int next = added - 1; next >= 0; --next) {
        // Elements from placed[next] on stand next + 1 places further up than before.
        const int runStart = placed[next].index - next;
        std::move_backward(slot(runStart), slot(runEnd), slot(runEnd + next + 1));
        *slot(placed[next].index) = std::move(placed[next].object);
        runEnd = runStart;
    }
    lastElementIndex_ += added;
    count_ += added;
    return true;
}

void AbstractArray::rearrange(int first, const std::vector<int>& from) {
    const auto run = slots_.begin() + (first - lowerBound_);
    std::vector<std::unique_ptr<Object>> moved(from.size());
    for (std::size_t i = 0; i < from.size(); ++i) {
        moved[i] = std::move(run[from[i]]);
    }
    std::move(moved.begin(), moved.end(), run);
}

void AbstractArray::flush() {
    for (auto& slot : slots_) {
        slot.reset();
    }
    count_ = 0;
    lastElementIndex_ = lowerBound_ - 1;
}

std::vector<std::unique_ptr<Object>> AbstractArray::takeAll() {
    std::vector<std::unique_ptr<Object>> taken;
    for (auto& slot : slots_) {
        if (slot) {
            taken.push_back(std::move(slot));
        }
    }
    count_ = 0;
    lastElementIndex_ = lowerBound_ - 1;
    return taken;
}

bool AbstractArray::isEqual(const AbstractArray& other) const {
    if (lowerBound_ != other.lowerBound_ || upperBound_ != other.upperBound_) {
        return false;
    }
    for (int i = lowerBound_; i <= upperBound_; ++i) {
        if (at(i) != other.at(i)) {
            return false;
        }
    }
    return true;
}

void AbstractArray::setSlot(int index, std::unique_ptr<Object> object) {
    slots_[index - lowerBound_] = std::move(object);
}

void AbstractArray::openGap(int index) {
    const auto from = slots_.begin() + (index - lowerBound_);
    const auto end = slots_.begin() + (lastElementIndex_ - lowerBound_ + 1);
    std::move_backward(from, end, end + 1);
    ++lastElementIndex_;
}

void AbstractArray::closeGap(int index) {
    if (index < lastElementIndex_) {
        const auto at = slots_.begin() + (index - lowerBound_);
        const auto end = slots_.begin() + (lastElementIndex_ - lowerBound_ + 1);
        std::move(at + 1, end, at);
        (end - 1)->reset();
    } else {
        slots_[index - lowerBound_].reset();
    }
    if (index <= lastElementIndex_) {
        --lastElementIndex_;
    }
}

void AbstractArray::reallocate(int slots) {
    const int size = slotCount();
    if (growthStep_ == 0 || slots <= size) {
        return;
    }
    const int step = static_cast<int>(growthStep_);
    const int growth = (slots - size + step - 1) / step * step;
    slots_.resize(size + growth);
    upperBound_ = lowerBound_ + size + growth - 1;
}
