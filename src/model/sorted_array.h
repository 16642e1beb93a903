#pragma once

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

private:
    // Walks forward from index while the element there sorts at or before the new one.
    int walkPast(int index, const Object& element) const;
    int insertionPointNear(int near, const Object& element) const;
    int insertAt(int index, std::unique_ptr<Object> element);
};
