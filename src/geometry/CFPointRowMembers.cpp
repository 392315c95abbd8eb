// The row library's members of CFPoint: construction, destruction, assignment and the
// two-value setter. The rest of the class lives in geometry/CFPoint.cpp.
#include "geometry/CFPoint.h"

CFPoint::CFPoint() : x(0.0), y(0.0) {}

CFPoint::~CFPoint() = default;

CFPoint CFPoint::operator=(const CFPoint& other) {
    x = other.x;
    y = other.y;
    return *this;
}

void CFPoint::SetValue(double newX, double newY) {
    x = newX;
    y = newY;
}
