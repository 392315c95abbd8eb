#include <gtest/gtest.h>

#include "geometry/CFPoint.h"

TEST(CFPointTest, AssignmentCopiesAndReturnsAValueCopy) {
    CFPoint a(1, 2);
    CFPoint b;
    CFPoint result = (b = a);
    result.x = 9;
    EXPECT_EQ(1, b.x);
    EXPECT_EQ(2, b.y);
    // The returned copy is not the assigned object.
    EXPECT_NE(&b, &result);
}

TEST(CFPointTest, SettersOverwriteBothCoordinates) {
    CFPoint p(5, 6);
    CFPoint source(7, 8);
    p.SetValue(source);
    EXPECT_EQ(7, p.x);
    EXPECT_EQ(8, p.y);
    p.SetValue(-1.5, 2.5);
    EXPECT_EQ(-1.5, p.x);
    EXPECT_EQ(2.5, p.y);
    p.InitZero();
    EXPECT_EQ(0, p.x);
    EXPECT_EQ(0, p.y);
}
