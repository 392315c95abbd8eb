#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <tuple>
#include <utility>
#include <vector>

#include "geometry/CBox2F.h"
#include "geometry/CFPoint.h"

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

// Both corners and the flag, compared whole.
using Corners = std::tuple<double, double, double, double, bool>;

Corners Of(const CBox2F& box) {
    return {box.minPoint.x, box.minPoint.y, box.maxPoint.x, box.maxPoint.y, box.valid};
}

using XY = std::pair<double, double>;
XY P(const CFPoint& p) { return {p.x, p.y}; }

CBox2F Box(double minX, double minY, double maxX, double maxY) {
    CBox2F box;
    box.Insert(CFPoint(minX, minY));
    box.Insert(CFPoint(maxX, maxY));
    return box;
}

const Corners kNew{-1e6, -1e6, 1e6, 1e6, false};

}  // namespace

TEST(CBox2FTest, NewBoxIsNullButMeasuresItsMillionExtent) {
    CBox2F box;
    EXPECT_EQ(kNew, Of(box));
    EXPECT_EQ(XY(2000000, 2000000), P(box.Width()));
    EXPECT_EQ(XY(0, 0), P(box.Center()));
    EXPECT_TRUE(box.Contains(CFPoint(5, 5), 0));
    box = Box(1, 2, 3, 4);
    box.Init();
    EXPECT_EQ(kNew, Of(box));
}

TEST(CBox2FTest, FirstInsertReplacesTheCornersAndLaterOnesGrowThem) {
    CBox2F box;
    EXPECT_EQ(&box, &(box += CFPoint(3, 4)));
    EXPECT_EQ((Corners{3, 4, 3, 4, true}), Of(box));
    EXPECT_EQ(XY(0, 0), P(box.Width()));
    box.Insert(CFPoint(1, 6));
    EXPECT_EQ((Corners{1, 4, 3, 6, true}), Of(box));

    // SetEmpty(true) makes the origin a corner to grow from; SetEmpty(false) does not.
    box.SetEmpty(true);
    EXPECT_EQ((Corners{0, 0, 0, 0, true}), Of(box));
    box.Insert(CFPoint(2, 2));
    EXPECT_EQ((Corners{0, 0, 2, 2, true}), Of(box));
    box.SetEmpty(false);
    EXPECT_TRUE(box.IsNULL());
    box.Insert(CFPoint(2, 2));
    EXPECT_EQ((Corners{2, 2, 2, 2, true}), Of(box));
}

TEST(CBox2FTest, NaNCoordinatesNeverMoveACorner) {
    CBox2F box = Box(0, 0, 3, 3);
    box.Insert(CFPoint(kNaN, 5));
    box.Insert(CFPoint(-1, kNaN));
    EXPECT_EQ((Corners{-1, 0, 3, 5, true}), Of(box));
    // Into a null box a NaN point becomes both corners, and strict comparisons keep it there.
    CBox2F null;
    null += CFPoint(kNaN, 1);
    null.Insert(CFPoint(-5, 1));
    EXPECT_EQ((Corners{1, 1, 1, 1, true}),
              (Corners{std::isnan(null.minPoint.x), null.minPoint.y, std::isnan(null.maxPoint.x),
                       null.maxPoint.y, null.valid}));
}

TEST(CBox2FTest, AddingBoxesTakesLowerFromMinAndUpperFromMax) {
    CBox2F box = Box(0, 0, 3, 3);
    box += CBox2F();
    EXPECT_EQ((Corners{0, 0, 3, 3, true}), Of(box));
    EXPECT_EQ(&box, &(box += Box(-1, 1, 2, 7)));
    EXPECT_EQ((Corners{-1, 0, 3, 7, true}), Of(box));
    CBox2F null;
    null += Box(1, 2, 3, 4);
    EXPECT_EQ((Corners{1, 2, 3, 4, true}), Of(null));

    // A crossed box's corners are read as they stand.
    CBox2F crossed = Box(-5, -5, 5, 5);
    crossed.Scale(-1);
    CBox2F wide = Box(-9, 6, 9, 7);
    wide += crossed;
    EXPECT_EQ((Corners{-9, 5, 9, 7, true}), Of(wide));
}

TEST(CBox2FTest, CopiesAndPlusLeaveTheirSourcesUnchanged) {
    CBox2F left = Box(0, 0, 1, 1);
    const CBox2F right = Box(5, 5, 6, 6);
    CBox2F copy(left);
    CBox2F assigned;
    assigned = left;
    EXPECT_EQ((Corners{0, 0, 6, 6, true}), Of(left + right));
    left.Enlarge(1);
    EXPECT_EQ((std::vector<Corners>{{0, 0, 1, 1, true}, {0, 0, 1, 1, true}, {5, 5, 6, 6, true}}),
              (std::vector<Corners>{Of(copy), Of(assigned), Of(right)}));
    EXPECT_EQ(kNew, Of(CBox2F() + CBox2F()));
}

TEST(CBox2FTest, SetRectScaleAndEnlargeUseTheCornersAsTheyStand) {
    CBox2F box;
    box.SetRect(CFPoint(1, 1), 2);
    EXPECT_EQ((Corners{-1, -1, 3, 3, true}), Of(box));
    box.Scale(2);
    EXPECT_EQ((Corners{-3, -3, 5, 5, true}), Of(box));
    box.Enlarge(1);
    EXPECT_EQ((Corners{-4, -4, 6, 6, true}), Of(box));
    CBox2F null;
    null.Scale(0.5);
    null.Enlarge(1);
    EXPECT_EQ((Corners{-500001, -500001, 500001, 500001, false}), Of(null));

    // A negative factor leaves the corners crossed, and a crossed box contains nothing.
    box = Box(0, 0, 4, 2);
    box.Scale(-1);
    EXPECT_EQ((Corners{4, 2, 0, 0, true}), Of(box));
    EXPECT_EQ(XY(-4, -2), P(box.Width()));
    EXPECT_FALSE(box.Contains(CFPoint(2, 1), 0));
}

TEST(CBox2FTest, ContainsAppliesTheToleranceOnEverySide) {
    const struct {
        double x, y, tolerance;
        bool inside;
    } cases[] = {{3.05, 0, 0.1, true}, {3.05, 0, 0.01, false}, {-0.05, 3.05, 0.1, true},
                 {3, 3, 0, true},      {1, -0.5, 0.1, false},  {kNaN, 1, 0, false},
                 {1, kNaN, 0, false},  {1, 1, kNaN, false}};
    const CBox2F box = Box(0, 0, 3, 3);
    for (const auto& c : cases) {
        EXPECT_EQ(c.inside, box.Contains(CFPoint(c.x, c.y), c.tolerance))
            << c.x << "," << c.y << " ~" << c.tolerance;
    }
}

TEST(CBox2FTest, CornersAreNumberedXFirst) {
    CBox2F box = Box(0, 0, 3, 3);
    EXPECT_EQ((std::vector<XY>{{0, 0}, {3, 0}, {0, 3}, {3, 3}, {0, 0}, {0, 0}}),
              (std::vector<XY>{P(box.GetPoint(0)), P(box.GetPoint(1)), P(box.GetPoint(2)),
                               P(box[3]), P(box.GetPoint(4)), P(box[-1])}));
}

TEST(CFPointTest, SettersAndAssignmentOverwriteBothCoordinates) {
    CFPoint p(5, 6);
    CFPoint source(7, 8);
    p.SetValue(source);
    EXPECT_EQ(XY(7, 8), P(p));
    p.SetValue(-1.5, 2.5);
    EXPECT_EQ(XY(-1.5, 2.5), P(p));
    p.InitZero();
    EXPECT_EQ(XY(0, 0), P(p));
    // Assignment hands back a copy, not the assigned object.
    CFPoint result = (p = CFPoint(1, 2));
    result.x = 9;
    EXPECT_EQ(XY(1, 2), P(p));
}
