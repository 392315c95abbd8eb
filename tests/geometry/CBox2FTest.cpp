#include <gtest/gtest.h>

#include <cstdio>
#include <limits>
#include <string>
#include <vector>

#include "geometry/CBox2F.h"

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

std::string Of(const CFPoint& p) {
    char text[64];
    std::snprintf(text, sizeof text, "%g %g", p.x, p.y);
    return text;
}
// Both corners and the flag ("+" valid, "-" null), compared whole.
std::string Of(const CBox2F& b) {
    return Of(b.minPoint) + " " + Of(b.maxPoint) + (b.valid ? " +" : " -");
}
const std::string kNew = "-1e+06 -1e+06 1e+06 1e+06 -";

CBox2F Box(double minX, double minY, double maxX, double maxY) {
    CBox2F box;
    box.Insert(CFPoint(minX, minY));
    box.Insert(CFPoint(maxX, maxY));
    return box;
}

}  // namespace

TEST(CBox2FTest, NewBoxIsNullButMeasuresItsMillionExtentAndCornersAreNumberedXFirst) {
    CBox2F box = Box(1, 2, 3, 4);
    std::string corners;
    for (int i = -1; i <= 4; ++i) corners += Of(box.GetPoint(i)) + ", ";
    EXPECT_EQ("0 0, 1 2, 3 2, 1 4, 3 4, 0 0, 3 4 0 0", corners + Of(box[3]) + " " + Of(box[-1]));
    box.Init();
    EXPECT_EQ(kNew + " 2e+06 2e+06 0 0", Of(box) + " " + Of(box.Width()) + " " + Of(box.Center()));
    EXPECT_TRUE(box.Contains(CFPoint(5, 5), 0) && box.IsNULL());
}

TEST(CBox2FTest, APointMovesOnlyTheCornersItLiesBeyondAndANullBoxBecomesIt) {
    const CBox2F box = Box(0, 0, 3, 3);
    // clang-format off
    const struct { CBox2F box; double x, y; const char* grown; } cases[] = {
        {box, -1, 1, "-1 0 3 3 +"}, {box, 1, -1, "0 -1 3 3 +"}, {box, 4, 1, "0 0 4 3 +"},
        {box, 1, 4, "0 0 3 4 +"},   {box, 0, 3, "0 0 3 3 +"},   {box, kNaN, 5, "0 0 3 5 +"},
        {box, -1, kNaN, "-1 0 3 3 +"}, {CBox2F(), 3, 4, "3 4 3 4 +"}};
    // clang-format on
    for (const auto& c : cases) {
        CBox2F grown(c.box);
        EXPECT_EQ(&grown, &(grown += CFPoint(c.x, c.y)));
        EXPECT_EQ(c.grown, Of(grown)) << c.x << "," << c.y;
    }
}

TEST(CBox2FTest, ABoxAddsItsMinAsLowerAndItsMaxAsUpperValues) {
    const CBox2F box = Box(0, 0, 3, 3);
    CBox2F crossed = Box(-5, -5, 5, 5);
    crossed.Scale(-1);
    // clang-format off
    const struct { CBox2F box, other; std::string sum; } cases[] = {
        {box, CBox2F(), "0 0 3 3 +"}, {box, Box(-1, 1, 2, 7), "-1 0 3 7 +"},
        {box, Box(1, -1, 4, 2), "0 -1 4 3 +"}, {box, Box(3, 0, 5, 3), "0 0 5 3 +"},
        {CBox2F(), box, "0 0 3 3 +"}, {CBox2F(), CBox2F(), kNew},
        {Box(-9, 6, 9, 7), crossed, "-9 5 9 7 +"}};
    // clang-format on
    for (auto c : cases) {
        CBox2F sum = Box(7, 7, 8, 8);
        EXPECT_EQ(&sum, &(sum = c.box));
        EXPECT_EQ(c.sum + Of(sum), Of(c.box + c.other) + Of(c.box));
        EXPECT_EQ(&sum, &(sum += c.other));
        EXPECT_EQ(c.sum, Of(sum));
    }
}

TEST(CBox2FTest, SettersScaleAndEnlargeUseTheCornersAsTheyStand) {
    CBox2F box, null;
    box.SetRect(CFPoint(1, 1), 2);
    const std::string square = Of(box);
    box.Scale(2);
    box.Enlarge(1);
    null.Scale(0.5);
    null.Enlarge(1);
    EXPECT_EQ("-1 -1 3 3 +, -4 -4 6 6 +, -500001 -500001 500001 500001 -",
              square + ", " + Of(box) + ", " + Of(null));
    // SetEmpty(true) makes the origin a corner to grow from; SetEmpty(false) does not.
    box.SetEmpty(true);
    null.SetEmpty(false);
    EXPECT_EQ("0 0 2 2 + 2 2 2 2 +", Of(box += CFPoint(2, 2)) + " " + Of(null += CFPoint(2, 2)));
    // A negative factor leaves the corners crossed, and a crossed box contains nothing.
    box = Box(0, 0, 4, 2);
    box.Scale(-1);
    EXPECT_EQ("4 2 0 0 + -4 -2", Of(box) + " " + Of(box.Width()));
    EXPECT_FALSE(box.Contains(CFPoint(2, 1), 0));
    CFPoint p(5, 6), source(7, 8);
    p.SetValue(source);
    source.InitZero();
    EXPECT_EQ("7 8 0 0", Of(p) + " " + Of(source));
}

TEST(CBox2FTest, ContainsIncludesEveryEdgeWidenedByTheTolerance) {
    // On each edge, half a unit beyond it, and as far beyond with a tolerance of half a unit.
    // clang-format off
    const double cases[][3] = {
        {0, 1.5, 0},      {3, 1.5, 0},      {1.5, 0, 0},      {1.5, 3, 0},
        {-0.5, 1.5, 0},   {3.5, 1.5, 0},    {1.5, -0.5, 0},   {1.5, 3.5, 0},
        {-0.5, 1.5, 0.5}, {3.5, 1.5, 0.5},  {1.5, -0.5, 0.5}, {1.5, 3.5, 0.5},
        {3.05, 0, 0.1},   {3.05, 0, 0.01},  {kNaN, 1, 0},     {1, kNaN, 0},    {1, 1, kNaN}};
    // clang-format on
    const CBox2F box = Box(0, 0, 3, 3);
    std::string inside;
    for (const auto& c : cases) inside += box.Contains(CFPoint(c[0], c[1]), c[2]) ? '+' : '-';
    EXPECT_EQ("++++----+++++----", inside);
}
