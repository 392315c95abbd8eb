#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>

#include "platform/CTime.h"
#include "platform/FrameworkException.h"
#include "support/CStringPrinter.h"

namespace {

class CTimeTest : public ::testing::Test {
  protected:
    void SetUp() override {
        setenv("TZ", "UTC", 1);
        tzset();
    }
};

}  // namespace

TEST_F(CTimeTest, FieldsAreTakenAsLocalTime) {
    CTime t(2020, 1, 2, 3, 4, 5);
    EXPECT_EQ(1577934245, t.GetTime());
    EXPECT_EQ(2020, t.GetYear());
    EXPECT_EQ(1, t.GetMonth());
    EXPECT_EQ(2, t.GetDay());
    EXPECT_EQ(3, t.GetHour());
    EXPECT_EQ(4, t.GetMinute());
    EXPECT_EQ(5, t.GetSecond());
    EXPECT_EQ(5, t.GetDayOfWeek());
    EXPECT_EQ("2020-01-02 03:04:05", t.Format("%Y-%m-%d %H:%M:%S"));
}

TEST_F(CTimeTest, OtherTimeZonesShiftTheValue) {
    setenv("TZ", "CST-8", 1);
    tzset();
    CTime t(2020, 1, 2, 3, 4, 5);
    EXPECT_EQ(1577934245 - 8 * 3600, t.GetTime());
    EXPECT_EQ("2020-01-02 03:04:05", t.Format("%Y-%m-%d %H:%M:%S"));
    // Local midnight of 1970-01-01 lies before the epoch here.
    EXPECT_THROW(CTime(1970, 1, 1, 0, 0, 0), CInvalidArgException);
}

TEST_F(CTimeTest, FieldsOutsideTheTypeRaiseTheFrameworkFailure) {
    EXPECT_THROW(CTime(1969, 12, 31, 0, 0, 0), CFrameworkException);
    EXPECT_THROW(CTime(1901, 1, 1, 0, 0, 0), CFrameworkException);
    EXPECT_THROW(CTime(2020, 0, 1, 0, 0, 0), CFrameworkException);
    EXPECT_THROW(CTime(2020, 13, 1, 0, 0, 0), CFrameworkException);
    EXPECT_THROW(CTime(2020, 1, 32, 0, 0, 0), CFrameworkException);
    EXPECT_THROW(CTime(2020, 1, 1, 24, 0, 0), CFrameworkException);
    EXPECT_THROW(CTime(2020, 1, 1, 0, 60, 0), CFrameworkException);
    EXPECT_THROW(CTime(2020, 1, 1, 0, 0, 60), CFrameworkException);
    EXPECT_THROW(CTime(2020, 1, 1, -1, 0, 0), CFrameworkException);
}

TEST_F(CTimeTest, TimesTheRuntimeCannotConvertRaiseInvalidArgument) {
    EXPECT_THROW(CTime(3001, 1, 1, 0, 0, 0), CInvalidArgException);
    EXPECT_EQ(32535215999, CTime(3000, 12, 31, 23, 59, 59).GetTime());
    struct tm fields;
    EXPECT_EQ(nullptr, CTime(-1).GetLocalTm(&fields));
    EXPECT_EQ(nullptr, CTime(32535216000).GetLocalTm(&fields));
    EXPECT_EQ(&fields, CTime(0).GetLocalTm(&fields));
    EXPECT_THROW(CTime(-1).Format("%Y"), CInvalidArgException);
    EXPECT_EQ(0, CTime(-1).GetYear());
}

TEST_F(CTimeTest, DaysPastTheEndOfAMonthRollOver) {
    EXPECT_EQ(CTime(2021, 3, 3, 0, 0, 0), CTime(2021, 2, 31, 0, 0, 0));
}

TEST_F(CTimeTest, FormatUsesABufferOf128Bytes) {
    CTime t(0);
    EXPECT_EQ("1970", t.Format("%Y"));
    EXPECT_EQ("", t.Format(std::string(130, 'x').c_str()));
    EXPECT_EQ("", t.Format(nullptr));
}

TEST_F(CTimeTest, ComparesByValue) {
    CTime a(10), b(20);
    EXPECT_TRUE(a < b);
    EXPECT_TRUE(b > a);
    EXPECT_TRUE(a <= a);
    EXPECT_TRUE(a != b);
    EXPECT_EQ(CTime(), CTime(0));
    EXPECT_GT(CTime::GetCurrentTime().GetTime(), 1600000000);
}
