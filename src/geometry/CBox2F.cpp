#include "geometry/CBox2F.h"

namespace {

constexpr double kInitialExtent = 1000000.0;

// Corner numbering of GetPoint: x varies first, so 1 and 2 are not neighbours on the
// outline.
struct Corner {
    bool upperX;
    bool upperY;
};
constexpr Corner kCorners[] = {{false, false}, {true, false}, {false, true}, {true, true}};

// Lowers `low` and raises `high` to take in [lowCandidate, highCandidate]. The order of the
// four tests is fixed: x before y, lower corner before upper.
void Stretch(CFPoint& low, CFPoint& high, const CFPoint& lowCandidate,
             const CFPoint& highCandidate) {
    if (low.x > lowCandidate.x) low.x = lowCandidate.x;
    if (low.y > lowCandidate.y) low.y = lowCandidate.y;
    if (highCandidate.x > high.x) high.x = highCandidate.x;
    if (highCandidate.y > high.y) high.y = highCandidate.y;
}

}  // namespace

CBox2F::CBox2F()
    : minPoint(-kInitialExtent, -kInitialExtent),
      maxPoint(kInitialExtent, kInitialExtent),
      valid(false) {}

CBox2F::CBox2F(const CBox2F& other)
    : minPoint(other.minPoint), maxPoint(other.maxPoint), valid(other.valid) {}

CBox2F& CBox2F::operator=(const CBox2F& other) {
    minPoint = other.minPoint;
    maxPoint = other.maxPoint;
    valid = other.valid;
    return *this;
}

CBox2F::~CBox2F() = default;

void CBox2F::Init() {
    minPoint.SetValue(-kInitialExtent, -kInitialExtent);
    maxPoint.SetValue(kInitialExtent, kInitialExtent);
    valid = false;
}

bool CBox2F::IsNULL() const { return !valid; }

void CBox2F::SetEmpty(bool newValid) {
    minPoint.SetValue(0.0, 0.0);
    maxPoint.SetValue(0.0, 0.0);
    valid = newValid;
}

void CBox2F::SetRect(const CFPoint& center, double halfSide) {
    minPoint.SetValue(center.x - halfSide, center.y - halfSide);
    maxPoint.SetValue(center.x + halfSide, center.y + halfSide);
    valid = true;
}

void CBox2F::Insert(const CFPoint& point) {
    if (!valid) {
        minPoint = point;
        maxPoint = point;
        valid = true;
        return;
    }
    Stretch(minPoint, maxPoint, point, point);
}

CBox2F& CBox2F::operator+=(const CFPoint& point) {
    Insert(point);
    return *this;
}

CBox2F& CBox2F::operator+=(const CBox2F& other) {
    if (!other.valid) return *this;
    if (!valid) {
        minPoint = other.minPoint;
        maxPoint = other.maxPoint;
        valid = other.valid;
        return *this;
    }
    Stretch(minPoint, maxPoint, other.minPoint, other.maxPoint);
    return *this;
}

CBox2F CBox2F::operator+(const CBox2F& other) {
    CBox2F sum(*this);
    sum += other;
    return sum;
}

void CBox2F::Scale(double factor) {
    const double cx = (minPoint.x + maxPoint.x) * 0.5;
    const double cy = (minPoint.y + maxPoint.y) * 0.5;
    minPoint.SetValue((minPoint.x - cx) * factor + cx, (minPoint.y - cy) * factor + cy);
    maxPoint.SetValue((maxPoint.x - cx) * factor + cx, (maxPoint.y - cy) * factor + cy);
}

void CBox2F::Enlarge(double amount) {
    minPoint.SetValue(minPoint.x - amount, minPoint.y - amount);
    maxPoint.SetValue(maxPoint.x + amount, maxPoint.y + amount);
}

bool CBox2F::Contains(const CFPoint& point, double tolerance) const {
    if (!(point.x + tolerance >= minPoint.x)) return false;
    if (!(maxPoint.x + tolerance >= point.x)) return false;
    if (!(point.y + tolerance >= minPoint.y)) return false;
    return maxPoint.y + tolerance >= point.y;
}

CFPoint CBox2F::Width() const { return CFPoint(maxPoint.x - minPoint.x, maxPoint.y - minPoint.y); }

CFPoint CBox2F::Center() const {
    return CFPoint((maxPoint.x + minPoint.x) * 0.5, (maxPoint.y + minPoint.y) * 0.5);
}

CFPoint CBox2F::GetPoint(int index) {
    if (index < 0 || index >= static_cast<int>(sizeof(kCorners) / sizeof(kCorners[0]))) {
        return CFPoint(0.0, 0.0);
    }
    const Corner& corner = kCorners[index];
    return CFPoint(corner.upperX ? maxPoint.x : minPoint.x,
                   corner.upperY ? maxPoint.y : minPoint.y);
}

CFPoint CBox2F::operator[](int index) { return GetPoint(index); }
