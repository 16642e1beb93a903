#include "model/element.h"

#include "model/element_pool.h"

void* Element::operator new(std::size_t bytes) {
    return ElementPool::allocate(bytes);
}

void Element::operator delete(void* element, std::size_t bytes) {
    ElementPool::release(element, bytes);
}

bool Element::compare(const Object& other) const {
    return sortsAtOrBefore(static_cast<const Element&>(other));
}
