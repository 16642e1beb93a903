#pragma once

#include <memory>
#include <vector>

#include "model/object.h"

// An owning array of Object pointers with explicit bounds and growth in fixed steps.
// Slots may be empty (null). Every element left in the array is destroyed with it.
//
// The logical size (upper - lower + 1 slots) grows by whole growth steps, as callers observe
// it; the storage behind it grows geometrically, so filling a large array stays linear.
class AbstractArray {
public:
    AbstractArray(int upperBound, int lowerBound, unsigned growthStep);
    virtual ~AbstractArray() = default;

    AbstractArray(const AbstractArray&) = delete;
    AbstractArray& operator=(const AbstractArray&) = delete;

    int count() const { return count_; }
    bool empty() const { return count_ == 0; }
    int lowerBound() const { return lowerBound_; }
    int upperBound() const { return upperBound_; }
    int slotCount() const { return upperBound_ - lowerBound_ + 1; }
    int lastElementIndex() const { return lastElementIndex_; }
    unsigned growthStep() const { return growthStep_; }

    // The element in a slot, or null for an empty slot. index must be a slot index.
    Object* at(int index) const { return slots_[index - lowerBound_].get(); }

    // Offset of the first element isEqual to the object, or -1.
    virtual int find(const Object& object) const;
    // Destroys the element at index (when there is one) and closes the gap.
    // Returns the last element index afterwards.
    int detachAt(int index);
    // Unlinks the element at index without destroying it, closes the gap, hands it back.
    std::unique_ptr<Object> takeAt(int index);
    // Destroys the first element equal to the object. Returns the last element index
    // afterwards, or -1 when there is none.
    virtual int detach(const Object& object);
    // Makes room in storage for count slots without changing the bounds, so that filling
    // the array up to them moves no slot; room never used is never touched.
    void reserveStorage(int count) { slots_.reserve(static_cast<std::size_t>(count)); }
    // Destroys every element and empties every slot.
    void flush();
    // Empties every slot and hands the elements back, in slot order, without destroying them.
    std::vector<std::unique_ptr<Object>> takeAll();
    // Takes the elements at the given indexes (ascending, each holding an element) out in one
    // pass and closes the gaps; hands them back in that order.
    std::vector<std::unique_ptr<Object>> takeEach(const std::vector<int>& indexes);
    // Puts elements back in one pass so that each ends up at its index (ascending, counted in
    // the array afterwards); the elements between keep their order. Grows as needed. False when
    // the array may not grow (growth step 0): then nothing changes.
    struct Placed {
        int index;
        std::unique_ptr<Object> object;
    };
    bool placeEach(std::vector<Placed>& placed);
    // Reorders the run of elements from index first: afterwards slot first + i holds what slot
    // first + from[i] held. from is a permutation of 0 .. from.size() - 1 within the elements.
    void rearrange(int first, const std::vector<int>& from);
    // Same bounds and the same element in every slot.
    bool isEqual(const AbstractArray& other) const;

protected:
    void setSlot(int index, std::unique_ptr<Object> object);
    // Moves the elements from index up one slot; the last element index follows.
    void openGap(int index);
    void closeGap(int index);
    // Grows to n slots, rounded up to whole growth steps. Never shrinks; step 0 never grows.
    void reallocate(int slots);
    bool full() const { return lastElementIndex_ == upperBound_; }

    std::vector<std::unique_ptr<Object>> slots_;
    unsigned growthStep_;
    int lowerBound_;
    int upperBound_;
    int lastElementIndex_;
    int count_ = 0;
};
