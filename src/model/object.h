#pragma once

// Root of the in-house class library. Song elements and the objects kept in the owning
// arrays derive from it; the arrays destroy them through the virtual destructor.
class Object {
public:
    Object() = default;
    virtual ~Object() = default;

    Object(const Object&) = default;
    Object& operator=(const Object&) = default;

    // True when this object sorts at or before the other. Objects with no order say false.
    virtual bool compare(const Object&) const { return false; }
    // Identity in the arrays' find; no object of the library equals another.
    virtual bool isEqual(const Object&) const { return false; }
    // The class's name: "Note", "Event", ...
    virtual const char* nameOf() const = 0;
};
