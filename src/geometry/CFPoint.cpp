#include "geometry/CFPoint.h"

CFPoint::CFPoint(double newX, double newY) : x(newX), y(newY) {}

CFPoint::CFPoint(const CFPoint& other) : x(other.x), y(other.y) {}

void CFPoint::SetValue(CFPoint& other) {
    x = other.x;
    y = other.y;
}

void CFPoint::InitZero() {
    x = 0.0;
    y = 0.0;
}
