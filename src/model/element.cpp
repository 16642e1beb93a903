#include "model/element.h"

#include "model/element_pool.h"
#include "model/event.h"
#include "model/note.h"

void* Element::operator new(std::size_t bytes) {
    return ElementPool::allocate(bytes);
}

void Element::operator delete(void* element, std::size_t bytes) {
    ElementPool::release(element, bytes);
}

bool Element::compare(const Object& other) const {
    return sortsAtOrBefore(static_cast<const Element&>(other));
}

std::unique_ptr<Element> Element::copy() const {
    if (isNote()) {
        return std::make_unique<Note>(static_cast<const Note&>(*this));
    }
    return std::make_unique<Event>(static_cast<const Event&>(*this));
}
