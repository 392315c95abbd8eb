// A point of two doubles, shared by the applications, the row library and the boxes of
// CBox2F. A plain value: copy it freely; one object is used by one thread at a time.
#pragma once

#include "platform/Export.h"

class XMK_EXPORT CFPoint {
  public:
    // A new point is at the origin.
    CFPoint();
    CFPoint(double x, double y);
    CFPoint(const CFPoint& other);
    virtual ~CFPoint();

    // Copies both coordinates. Returns a copy of this point rather than a reference, which
    // callers usually discard; chained assignment still works.
    CFPoint operator=(const CFPoint& other);

    void SetValue(CFPoint& other);
    void SetValue(double x, double y);
    void InitZero();

    double x;
    double y;
};
