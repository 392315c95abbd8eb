#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "geometry/CBox2F.h"
#include "geometry/CFPoint.h"

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

struct Corners {
    double minX, minY, maxX, maxY;
    bool valid;
    bool operator==(const Corners& o) const {
        return minX == o.minX && minY == o.minY && maxX == o.maxX && maxY == o.maxY &&
               valid == o.valid;
    }
};

Corners Of(const CBox2F& box) {
    return {box.minPoint.x, box.minPoint.y, box.maxPoint.x, box.maxPoint.y, box.valid};
}

void PrintTo(const Corners& c, std::ostream* os) {
    *os << "(" << c.minX << ", " << c.minY << ")-(" << c.maxX << ", " << c.maxY << ")"
        << (c.valid ? " valid" : " null");
}

CBox2F Box(double minX, double minY, double maxX, double maxY) {
    CBox2F box;
    box.Insert(CFPoint(minX, minY));
    box.Insert(CFPoint(maxX, maxY));
    return box;
}

bool Same(const CFPoint& p, double x, double y) { return p.x == x && p.y == y; }

}  // namespace

TEST(CBox2FTest, NewBoxIsNullButMeasuresItsMillionExtent) {
    CBox2F box;
    EXPECT_TRUE(box.IsNULL());
    EXPECT_TRUE(Same(box.Width(), 2000000.0, 2000000.0));
    EXPECT_TRUE(Same(box.Center(), 0.0, 0.0));
    EXPECT_TRUE(box.Contains(CFPoint(5, 5), 0));
}

TEST(CBox2FTest, FirstInsertReplacesTheInitialExtent) {
    CBox2F box;
    box.Insert(CFPoint(3, 4));
    EXPECT_EQ((Corners{3, 4, 3, 4, true}), Of(box));
    EXPECT_TRUE(Same(box.Width(), 0, 0));
    box.Insert(CFPoint(1, 6));
    EXPECT_EQ((Corners{1, 4, 3, 6, true}), Of(box));
}

TEST(CBox2FTest, InitBringsBackTheNewState) {
    CBox2F box = Box(1, 2, 3, 4);
    box.Init();
    EXPECT_EQ((Corners{-1e6, -1e6, 1e6, 1e6, false}), Of(box));
}

TEST(CBox2FTest, NaNCoordinatesNeverMoveACorner) {
    CBox2F box = Box(0, 0, 3, 3);
    box.Insert(CFPoint(kNaN, 5));
    EXPECT_EQ((Corners{0, 0, 3, 5, true}), Of(box));
    box.Insert(CFPoint(-1, kNaN));
    EXPECT_EQ((Corners{-1, 0, 3, 5, true}), Of(box));
}

TEST(CBox2FTest, NaNPointIntoNullBoxBecomesBothCorners) {
    CBox2F box;
    box += CFPoint(kNaN, 1);
    EXPECT_FALSE(box.IsNULL());
    EXPECT_TRUE(std::isnan(box.minPoint.x));
    EXPECT_TRUE(std::isnan(box.maxPoint.x));
    EXPECT_EQ(1, box.minPoint.y);
    // NaN corners stay: strict comparisons never replace them.
    box.Insert(CFPoint(-5, 1));
    EXPECT_TRUE(std::isnan(box.minPoint.x));
}

TEST(CBox2FTest, AddingANullBoxChangesNothing) {
    CBox2F box = Box(0, 0, 3, 3);
    CBox2F null;
    box += null;
    EXPECT_EQ((Corners{0, 0, 3, 3, true}), Of(box));
}

TEST(CBox2FTest, AddingIntoANullBoxCopiesTheOther) {
    CBox2F box;
    box += Box(1, 2, 3, 4);
    EXPECT_EQ((Corners{1, 2, 3, 4, true}), Of(box));
}

TEST(CBox2FTest, AddingBoxesTakesLowerFromMinAndUpperFromMax) {
    CBox2F box = Box(0, 0, 3, 3);
    box += Box(-1, 1, 2, 7);
    EXPECT_EQ((Corners{-1, 0, 3, 7, true}), Of(box));
}

TEST(CBox2FTest, AddingACrossedBoxReadsItsCornersAsTheyStand) {
    CBox2F crossed = Box(-5, -5, 5, 5);
    crossed.Scale(-1);
    CBox2F box = Box(0, 0, 1, 1);
    EXPECT_EQ(&box, &(box += crossed));
    EXPECT_EQ((Corners{0, 0, 1, 1, true}), Of(box));
    CBox2F wide = Box(-9, 6, 9, 7);
    wide += crossed;
    EXPECT_EQ((Corners{-9, 5, 9, 7, true}), Of(wide));
    CBox2F null;
    EXPECT_EQ(&null, &(null += CFPoint(1, 2)));
    null += crossed;
    EXPECT_EQ((Corners{1, 2, 1, 2, true}), Of(null));
}

TEST(CBox2FTest, PlusLeavesItsOperandsUnchanged) {
    CBox2F left = Box(0, 0, 1, 1);
    const CBox2F right = Box(5, 5, 6, 6);
    CBox2F sum = left + right;
    EXPECT_EQ((Corners{0, 0, 6, 6, true}), Of(sum));
    EXPECT_EQ((Corners{0, 0, 1, 1, true}), Of(left));
    EXPECT_EQ((Corners{5, 5, 6, 6, true}), Of(right));
}

TEST(CBox2FTest, PlusOnANullBoxKeepsTheNullFlagWhenTheOtherIsNull) {
    CBox2F left;
    CBox2F sum = left + CBox2F();
    EXPECT_EQ((Corners{-1e6, -1e6, 1e6, 1e6, false}), Of(sum));
}

TEST(CBox2FTest, SetRectScaleAndEnlarge) {
    CBox2F box;
    box.SetRect(CFPoint(1, 1), 2);
    EXPECT_EQ((Corners{-1, -1, 3, 3, true}), Of(box));
    box.Scale(2);
    EXPECT_EQ((Corners{-3, -3, 5, 5, true}), Of(box));
    box.Enlarge(1);
    EXPECT_EQ((Corners{-4, -4, 6, 6, true}), Of(box));
}

TEST(CBox2FTest, NegativeScaleLeavesCornersCrossed) {
    CBox2F box = Box(0, 0, 4, 2);
    box.Scale(-1);
    EXPECT_EQ((Corners{4, 2, 0, 0, true}), Of(box));
    EXPECT_TRUE(Same(box.Width(), -4, -2));
    // A crossed box contains nothing without enough tolerance.
    EXPECT_FALSE(box.Contains(CFPoint(2, 1), 0));
}

TEST(CBox2FTest, ScaleAndEnlargeIgnoreTheNullFlag) {
    CBox2F box;
    box.Scale(0.5);
    box.Enlarge(1);
    EXPECT_EQ((Corners{-500001, -500001, 500001, 500001, false}), Of(box));
}

TEST(CBox2FTest, ContainsAppliesTheToleranceOnEverySide) {
    CBox2F box = Box(0, 0, 3, 3);
    EXPECT_TRUE(box.Contains(CFPoint(3.05, 0), 0.1));
    EXPECT_FALSE(box.Contains(CFPoint(3.05, 0), 0.01));
    EXPECT_TRUE(box.Contains(CFPoint(-0.05, 3.05), 0.1));
    EXPECT_TRUE(box.Contains(CFPoint(3, 3), 0));
    EXPECT_FALSE(box.Contains(CFPoint(1, -0.5), 0.1));
}

TEST(CBox2FTest, ContainsIsFalseForNaN) {
    CBox2F box = Box(0, 0, 3, 3);
    EXPECT_FALSE(box.Contains(CFPoint(kNaN, 1), 0));
    EXPECT_FALSE(box.Contains(CFPoint(1, kNaN), 0));
    EXPECT_FALSE(box.Contains(CFPoint(1, 1), kNaN));
}

TEST(CBox2FTest, CornersAreNumberedXFirst) {
    CBox2F box = Box(0, 0, 3, 3);
    EXPECT_TRUE(Same(box.GetPoint(0), 0, 0));
    EXPECT_TRUE(Same(box.GetPoint(1), 3, 0));
    EXPECT_TRUE(Same(box.GetPoint(2), 0, 3));
    EXPECT_TRUE(Same(box[3], 3, 3));
    EXPECT_TRUE(Same(box.GetPoint(4), 0, 0));
    EXPECT_TRUE(Same(box[-1], 0, 0));
}

TEST(CBox2FTest, SetEmptyTrueGivesAPointBoxAtTheOrigin) {
    CBox2F box;
    box.SetEmpty(true);
    EXPECT_EQ((Corners{0, 0, 0, 0, true}), Of(box));
    box.Insert(CFPoint(2, 2));
    EXPECT_EQ((Corners{0, 0, 2, 2, true}), Of(box));
}

TEST(CBox2FTest, SetEmptyFalseLetsTheNextInsertReplaceTheCorners) {
    CBox2F box;
    box.SetEmpty(false);
    EXPECT_TRUE(box.IsNULL());
    box.Insert(CFPoint(2, 2));
    EXPECT_EQ((Corners{2, 2, 2, 2, true}), Of(box));
}

TEST(CBox2FTest, CopiesAreIndependent) {
    CBox2F box = Box(0, 0, 1, 1);
    CBox2F copy(box);
    CBox2F assigned;
    assigned = box;
    box.Enlarge(1);
    EXPECT_EQ((Corners{0, 0, 1, 1, true}), Of(copy));
    EXPECT_EQ((Corners{0, 0, 1, 1, true}), Of(assigned));
}
