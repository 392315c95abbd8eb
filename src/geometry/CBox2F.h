// An axis-aligned box of doubles that grows to enclose points and other boxes.
// A new box is null (encloses nothing) yet carries the corners (-1e6, -1e6) and (1e6, 1e6);
// only Insert, the two operator+= and IsNULL look at the null flag, every measuring member
// uses the stored corners as they stand. Comparisons are strict, so NaN coordinates never
// move a corner. A plain value; one object is used by one thread at a time.
#pragma once

#include "geometry/CFPoint.h"
#include "platform/Export.h"

class XMK_EXPORT CBox2F {
  public:
    CBox2F();
    CBox2F(const CBox2F& other);
    CBox2F& operator=(const CBox2F& other);
    ~CBox2F();

    // Back to the state of a new box.
    void Init();
    bool IsNULL() const;
    // Both corners go to the origin; `valid` says whether the box then counts as non-null.
    void SetEmpty(bool valid);
    // A non-null square of side 2 * halfSide around `center`.
    void SetRect(const CFPoint& center, double halfSide);

    // Grows the box to enclose `point`; a null box becomes exactly that point.
    void Insert(const CFPoint& point);
    CBox2F& operator+=(const CFPoint& point);
    // Grows the box to enclose `other`; a null `other` changes nothing.
    CBox2F& operator+=(const CBox2F& other);
    // This box grown by `other`; this box itself is unchanged.
    CBox2F operator+(const CBox2F& other);

    // Scales about the centre. A negative factor leaves the corners crossed (minPoint above
    // maxPoint); nothing reorders them.
    void Scale(double factor);
    // Moves minPoint down and maxPoint up by `amount` in both axes.
    void Enlarge(double amount);
    // True when `point` lies inside the box widened by `tolerance` on every side.
    bool Contains(const CFPoint& point, double tolerance) const;
    // The extent in both axes, as a point.
    CFPoint Width() const;
    CFPoint Center() const;
    // Corner 0 (min x, min y), 1 (max x, min y), 2 (min x, max y), 3 (max x, max y);
    // any other index gives the origin.
    CFPoint GetPoint(int index);
    CFPoint operator[](int index);

    CFPoint minPoint;
    CFPoint maxPoint;
    bool valid;
};
