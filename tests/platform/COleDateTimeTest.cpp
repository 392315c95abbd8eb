#include <gtest/gtest.h>

#include <vector>

#include "platform/COleDateTime.h"
#include "support/CStringPrinter.h"

namespace {

// The parse result and the six fields, compared whole.
std::vector<int> Parse(const char* text) {
    COleDateTime d;
    const bool ok = d.ParseDateTime(text);
    return {ok, d.GetYear(), d.GetMonth(), d.GetDay(), d.GetHour(), d.GetMinute(), d.GetSecond()};
}

}  // namespace

TEST(COleDateTimeParse, AcceptsDatesWithAndWithoutTimeInAnyRepresentableYear) {
    const struct {
        const char* text;
        std::vector<int> fields;
    } cases[] = {{"2020-01-02 03:04:05", {1, 2020, 1, 2, 3, 4, 5}},
                 {"2020-01-02", {1, 2020, 1, 2, 0, 0, 0}},
                 {"2020/12/31 23:59:59", {1, 2020, 12, 31, 23, 59, 59}},
                 {"2020/2/29", {1, 2020, 2, 29, 0, 0, 0}},
                 {"  2020-1-2  3:04 ", {1, 2020, 1, 2, 3, 4, 0}},
                 {"3/4/2020", {1, 2020, 3, 4, 0, 0, 0}},
                 {"12:30", {1, 1899, 12, 30, 12, 30, 0}},
                 {"1900-01-01", {1, 1900, 1, 1, 0, 0, 0}},
                 {"1800-06-15 12:30:45", {1, 1800, 6, 15, 12, 30, 45}},
                 {"0100-01-01", {1, 100, 1, 1, 0, 0, 0}}};
    for (const auto& c : cases) EXPECT_EQ(c.fields, Parse(c.text)) << c.text;
}

TEST(COleDateTimeParse, RejectsWhatNamesNoDateTime) {
    // clang-format off
    const char* bad[] = {"", "  ", "soon", "2020-13-01", "2020-02-30", "2019-02-29",
                         "2020-01-02T03:04:05", "2020-01-02 24:00", "2020-01-02 03:60",
                         "2020-01-02 03:04:60", "2020-01/02", "2020-01-02 x", "20-01-02",
                         "0099-01-01", "12345-01-01", "2020-01-02 03", "2020-01-02 3:04:05:06"};
    // clang-format on
    const std::vector<int> failed{0, -1, -1, -1, -1, -1, -1};
    for (const char* text : bad) EXPECT_EQ(failed, Parse(text)) << text;
    COleDateTime d(2020, 1, 1, 0, 0, 0);
    EXPECT_FALSE(d.ParseDateTime(nullptr));
    EXPECT_EQ(COleDateTime::invalid, d.GetStatus());
    EXPECT_EQ(0.0, d.GetDate());
}

TEST(COleDateTimeValue, FieldsMapToDaysSince1899WithAPositiveTimeOfDay) {
    EXPECT_EQ((std::vector<double>{0.0, 1.5, -1.25, 43831.0}),
              (std::vector<double>{COleDateTime(1899, 12, 30, 0, 0, 0).GetDate(),
                                   COleDateTime(1899, 12, 31, 12, 0, 0).GetDate(),
                                   COleDateTime(1899, 12, 29, 6, 0, 0).GetDate(),
                                   COleDateTime(2020, 1, 1, 0, 0, 0).GetDate()}));
    EXPECT_EQ("1800-06-15 12:30:45",
              COleDateTime(1800, 6, 15, 12, 30, 45).Format("%Y-%m-%d %H:%M:%S"));
    EXPECT_EQ(1, COleDateTime(2020, 1, 5, 0, 0, 0).GetDayOfWeek());
    // Ordering follows the time line, also before day 0 where the fraction counts forward.
    EXPECT_TRUE(COleDateTime(1899, 12, 29, 18, 0, 0) > COleDateTime(1899, 12, 29, 6, 0, 0));
    EXPECT_TRUE(COleDateTime(1899, 12, 29, 6, 0, 0) < COleDateTime());
    EXPECT_EQ(COleDateTime(2020, 1, 1, 0, 0, 0), COleDateTime(43831.0));
}

TEST(COleDateTimeValue, InvalidFieldsAndStatusesShowInFieldsAndFormat) {
    COleDateTime d(2021, 2, 29, 0, 0, 0);
    EXPECT_EQ(COleDateTime::invalid, d.GetStatus());
    EXPECT_EQ(-1, d.GetYear());
    EXPECT_EQ("Invalid DateTime", d.Format("%Y"));
    EXPECT_EQ(1, d.SetDateTime(2020, 1, 1, 0, 0, 60));
    EXPECT_EQ(0, d.SetDate(2020, 1, 1));
    EXPECT_EQ(0, d.SetTime(6, 0, 0));
    EXPECT_EQ(COleDateTime::valid, d.GetStatus());
    EXPECT_EQ(0.25, d.GetDate());
    d.SetStatus(COleDateTime::null);
    EXPECT_EQ("", d.Format("%Y"));
    // A valid status with a value that names no date.
    EXPECT_EQ("Invalid DateTime", COleDateTime(1e9).Format("%Y"));
    EXPECT_EQ(-1, COleDateTime(1e9).GetYear());
}
