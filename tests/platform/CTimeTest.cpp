#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <string>
#include <vector>

#include "platform/CTime.h"
#include "platform/FrameworkException.h"
#include "support/CStringPrinter.h"

namespace {

class CTimeTest : public ::testing::Test {
  protected:
    void SetUp() override { Zone("UTC"); }
    static void Zone(const char* tz) {
        setenv("TZ", tz, 1);
        tzset();
    }
};

}  // namespace

TEST_F(CTimeTest, FieldsAreTakenAsLocalTime) {
    const CTime t(2020, 1, 2, 3, 4, 5);
    EXPECT_EQ(1577934245, t.GetTime());
    EXPECT_EQ((std::vector<int>{2020, 1, 2, 3, 4, 5, 5}),
              (std::vector<int>{t.GetYear(), t.GetMonth(), t.GetDay(), t.GetHour(), t.GetMinute(),
                                t.GetSecond(), t.GetDayOfWeek()}));
    EXPECT_EQ("2020-01-02 03:04:05", t.Format("%Y-%m-%d %H:%M:%S"));
    // Days past the end of a month roll over.
    EXPECT_EQ(CTime(2021, 3, 3, 0, 0, 0), CTime(2021, 2, 31, 0, 0, 0));

    Zone("CST-8");
    const CTime east(2020, 1, 2, 3, 4, 5);
    EXPECT_EQ(1577934245 - 8 * 3600, east.GetTime());
    EXPECT_EQ("2020-01-02 03:04:05", east.Format("%Y-%m-%d %H:%M:%S"));
    // Local midnight of 1970-01-01 lies before the epoch here.
    EXPECT_THROW(CTime(1970, 1, 1, 0, 0, 0), CInvalidArgException);
}

TEST_F(CTimeTest, FieldsOutsideTheTypeRaiseTheFrameworkFailure) {
    const int bad[][6] = {{1969, 12, 31, 0, 0, 0}, {1901, 1, 1, 0, 0, 0},  {2020, 0, 1, 0, 0, 0},
                          {2020, 13, 1, 0, 0, 0},  {2020, 1, 32, 0, 0, 0}, {2020, 1, 1, 24, 0, 0},
                          {2020, 1, 1, 0, 60, 0},  {2020, 1, 1, 0, 0, 60}, {2020, 1, 1, -1, 0, 0}};
    for (const auto& f : bad) {
        EXPECT_THROW(CTime(f[0], f[1], f[2], f[3], f[4], f[5]), CFrameworkException)
            << f[0] << "-" << f[1] << "-" << f[2] << " " << f[3] << ":" << f[4] << ":" << f[5];
    }
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

TEST_F(CTimeTest, FormatUsesABufferOf128BytesAndTimesCompareByValue) {
    EXPECT_EQ("1970", CTime(0).Format("%Y"));
    EXPECT_EQ("", CTime(0).Format(std::string(130, 'x').c_str()));
    EXPECT_EQ("", CTime(0).Format(nullptr));
    EXPECT_TRUE(CTime(10) < CTime(20) && CTime(20) > CTime(10) && CTime() == CTime(0));
}
