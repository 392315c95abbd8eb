#include <gtest/gtest.h>

#include "platform/COleDateTime.h"
#include "support/CStringPrinter.h"

namespace {

struct Parsed {
    bool ok;
    int year, month, day, hour, minute, second;
    bool operator==(const Parsed& o) const {
        return ok == o.ok && year == o.year && month == o.month && day == o.day && hour == o.hour &&
               minute == o.minute && second == o.second;
    }
};

void PrintTo(const Parsed& p, std::ostream* os) {
    *os << p.ok << " " << p.year << "-" << p.month << "-" << p.day << " " << p.hour << ":"
        << p.minute << ":" << p.second;
}

Parsed Parse(const char* text) {
    COleDateTime d;
    bool ok = d.ParseDateTime(text);
    return {ok, d.GetYear(), d.GetMonth(), d.GetDay(), d.GetHour(), d.GetMinute(), d.GetSecond()};
}

constexpr Parsed kFailed{false, -1, -1, -1, -1, -1, -1};

}  // namespace

TEST(COleDateTimeParse, AcceptsDatesWithAndWithoutTime) {
    EXPECT_EQ((Parsed{true, 2020, 1, 2, 3, 4, 5}), Parse("2020-01-02 03:04:05"));
    EXPECT_EQ((Parsed{true, 2020, 1, 2, 0, 0, 0}), Parse("2020-01-02"));
    EXPECT_EQ((Parsed{true, 2020, 12, 31, 23, 59, 59}), Parse("2020/12/31 23:59:59"));
    EXPECT_EQ((Parsed{true, 2020, 2, 29, 0, 0, 0}), Parse("2020/2/29"));
    EXPECT_EQ((Parsed{true, 2020, 1, 2, 3, 4, 0}), Parse("  2020-1-2  3:04 "));
    EXPECT_EQ((Parsed{true, 2020, 3, 4, 0, 0, 0}), Parse("3/4/2020"));
    EXPECT_EQ((Parsed{true, 1899, 12, 30, 12, 30, 0}), Parse("12:30"));
}

TEST(COleDateTimeParse, YearsBefore1901Parse) {
    EXPECT_EQ((Parsed{true, 1900, 1, 1, 0, 0, 0}), Parse("1900-01-01"));
    EXPECT_EQ((Parsed{true, 1800, 6, 15, 12, 30, 45}), Parse("1800-06-15 12:30:45"));
    EXPECT_EQ((Parsed{true, 100, 1, 1, 0, 0, 0}), Parse("0100-01-01"));
}

TEST(COleDateTimeParse, RejectsWhatNamesNoDateTime) {
    const char* bad[] = {"",
                         "  ",
                         "soon",
                         "2020-13-01",
                         "2020-02-30",
                         "2019-02-29",
                         "2020-01-02T03:04:05",
                         "2020-01-02 24:00",
                         "2020-01-02 03:60",
                         "2020-01-02 03:04:60",
                         "2020-01/02",
                         "2020-01-02 x",
                         "20-01-02",
                         "0099-01-01",
                         "12345-01-01",
                         "2020-01-02 03",
                         "2020-01-02 3:04:05:06"};
    for (const char* text : bad) EXPECT_EQ(kFailed, Parse(text)) << text;
    COleDateTime d(2020, 1, 1, 0, 0, 0);
    EXPECT_FALSE(d.ParseDateTime(nullptr));
    EXPECT_EQ(COleDateTime::invalid, d.GetStatus());
    EXPECT_EQ(0.0, d.GetDate());
}

TEST(COleDateTimeValue, FieldsRoundTripThroughTheDateValue) {
    EXPECT_EQ(0.0, COleDateTime(1899, 12, 30, 0, 0, 0).GetDate());
    EXPECT_EQ(1.5, COleDateTime(1899, 12, 31, 12, 0, 0).GetDate());
    EXPECT_EQ(-1.25, COleDateTime(1899, 12, 29, 6, 0, 0).GetDate());
    EXPECT_EQ(43831.0, COleDateTime(2020, 1, 1, 0, 0, 0).GetDate());
    COleDateTime old(1800, 6, 15, 12, 30, 45);
    EXPECT_EQ("1800-06-15 12:30:45", old.Format("%Y-%m-%d %H:%M:%S"));
    EXPECT_EQ(1, COleDateTime(2020, 1, 5, 0, 0, 0).GetDayOfWeek());
}

TEST(COleDateTimeValue, InvalidFieldsGiveInvalidStatus) {
    COleDateTime d(2021, 2, 29, 0, 0, 0);
    EXPECT_EQ(COleDateTime::invalid, d.GetStatus());
    EXPECT_EQ(-1, d.GetYear());
    EXPECT_EQ(1, d.SetDateTime(2020, 1, 1, 0, 0, 60));
    EXPECT_EQ(0, d.SetDate(2020, 1, 1));
    EXPECT_EQ(COleDateTime::valid, d.GetStatus());
    EXPECT_EQ(0, d.SetTime(6, 0, 0));
    EXPECT_EQ(0.25, d.GetDate());
}

TEST(COleDateTimeValue, FormatByStatus) {
    COleDateTime d(2021, 3, 4, 5, 6, 7);
    EXPECT_EQ("2021-03-04 05:06:07", d.Format("%Y-%m-%d %H:%M:%S"));
    d.SetStatus(COleDateTime::null);
    EXPECT_EQ("", d.Format("%Y"));
    d.SetStatus(COleDateTime::invalid);
    EXPECT_EQ("Invalid DateTime", d.Format("%Y"));
    EXPECT_EQ("Invalid DateTime", COleDateTime(1e9).Format("%Y"));
    EXPECT_EQ(-1, COleDateTime(1e9).GetYear());
}

TEST(COleDateTimeValue, ComparesOnTheTimeLine) {
    COleDateTime before(1899, 12, 29, 18, 0, 0);  // -1.75
    COleDateTime after(1899, 12, 29, 6, 0, 0);    // -1.25
    EXPECT_TRUE(after < COleDateTime(1899, 12, 30, 0, 0, 0));
    EXPECT_TRUE(before > after);
    EXPECT_EQ(COleDateTime(2020, 1, 1, 0, 0, 0), COleDateTime(43831.0));
    EXPECT_NE(COleDateTime::GetCurrentTime().GetYear(), -1);
}
