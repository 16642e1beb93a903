#pragma once

#include <memory>

#include "model/abstract_array.h"

// An owning array that keeps its elements in arrival order.
class Array : public AbstractArray {
public:
    using AbstractArray::AbstractArray;

    // Stores the element in the first free slot after the last element, growing when needed.
    // Returns its index, or -1 when the array is full and may not grow (growth step 0); the
    // element is then destroyed.
    int add(std::unique_ptr<Object> element);
};
