#pragma once

#include "model/element_pool.h"

// Runs out of memory for notes and events on demand.
class ElementPoolFailure {
public:
    // The allocation after `successes` more fails; the ones after it succeed again.
    explicit ElementPoolFailure(int successes) {
        ElementPool::allocationsBeforeFailure_ = successes;
    }
    ~ElementPoolFailure() { ElementPool::allocationsBeforeFailure_ = -1; }
    ElementPoolFailure(const ElementPoolFailure&) = delete;
    ElementPoolFailure& operator=(const ElementPoolFailure&) = delete;
};
