#include "geometry/CFPoint.h"

CFPoint::CFPoint() : x(0.0), y(0.0) {}

CFPoint::CFPoint(double newX, double newY) : x(newX), y(newY) {}

CFPoint::CFPoint(const CFPoint& other) : x(other.x), y(other.y) {}

CFPoint::~CFPoint() = default;

CFPoint CFPoint::operator=(const CFPoint& other) {
    x = other.x;
    y = other.y;
    return *this;
}

void CFPoint::SetValue(CFPoint& other) {
    x = other.x;
    y = other.y;
}

void CFPoint::SetValue(double newX, double newY) {
    x = newX;
    y = newY;
}

void CFPoint::InitZero() {
    x = 0.0;
    y = 0.0;
}
