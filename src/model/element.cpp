#include "model/element.h"

bool Element::compare(const Object& other) const {
    return sortsAtOrBefore(static_cast<const Element&>(other));
}
