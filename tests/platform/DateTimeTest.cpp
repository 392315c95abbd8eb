#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <string>
#include <utility>
#include <vector>

#include "platform/COleDateTime.h"
#include "platform/CTime.h"
#include "platform/FrameworkException.h"
#include "support/CStringPrinter.h"

namespace {

void Zone(const char* tz) {
    setenv("TZ", tz, 1);
    tzset();
}

// 3000-12-31 23:59:59 UTC, the last time the local-time conversions accept.
constexpr std::time_t kLast = 32535215999;

std::vector<int> Fields(const COleDateTime& d, bool ok = true) {
    return {ok, d.GetYear(), d.GetMonth(), d.GetDay(), d.GetHour(), d.GetMinute(), d.GetSecond()};
}
std::vector<int> Parse(const char* text) {
    COleDateTime d;
    const bool ok = d.ParseDateTime(text);
    return Fields(d, ok);
}
const std::vector<int> kFailed{0, -1, -1, -1, -1, -1, -1};

}  // namespace

TEST(CTimeTest, FieldsAreLocalTimeAndEachIsAcceptedUpToItsLimitsAndRefusedOnePast) {
    Zone("UTC");
    const CTime t(2020, 1, 2, 3, 4, 5);
    EXPECT_EQ(
        (std::vector<long>{1577934245, 2020, 2, 5, 5}),
        (std::vector<long>{t.GetTime(), t.GetYear(), t.GetDay(), t.GetSecond(), t.GetDayOfWeek()}));
    // Central European summer time is two hours ahead of UTC; the runtime decides on it.
    Zone("CET-1CEST,M3.5.0,M10.5.0/3");
    const CTime summer(2020, 7, 1, 12, 0, 0);
    EXPECT_EQ(1593597600, summer.GetTime());
    EXPECT_EQ("2020-07-01 12:00:00", summer.Format("%Y-%m-%d %H:%M:%S"));
    // Local midnight of 1970-01-01 lies before the epoch here.
    EXPECT_THROW(CTime(1970, 1, 1, 0, 0, 0), CInvalidArgException);
    Zone("UTC");
    // Each field one past its limit, the others valid.
    const int bad[][2] = {{0, 1969}, {1, 0},  {1, 13}, {2, 0},  {2, 32}, {3, -1},
                          {3, 24},   {4, -1}, {4, 60}, {5, -1}, {5, 60}};
    for (const auto& [field, value] : bad) {
        int f[6] = {2020, 1, 1, 0, 0, 0};
        f[field] = value;
        EXPECT_THROW(CTime(f[0], f[1], f[2], f[3], f[4], f[5]), CFrameworkException) << field;
    }
    // Valid fields of a time the runtime cannot convert raise the invalid-argument error.
    EXPECT_THROW(CTime(3001, 1, 1, 0, 0, 0), CInvalidArgException);
    // Times run from the epoch to kLast; outside, fields read 0. A text must fit in 128 bytes.
    EXPECT_EQ(
        (std::vector<long>{0, kLast, 0, 1970, 3000, 0}),
        (std::vector<long>{CTime(1970, 1, 1, 0, 0, 0).GetTime(),
                           CTime(3000, 12, 31, 23, 59, 59).GetTime(), CTime(-1).GetYear(),
                           CTime(0).GetYear(), CTime(kLast).GetYear(), CTime(kLast + 1).GetDay()}));
    EXPECT_EQ((std::vector<CString>{std::string(127, 'x'), "", ""}),
              (std::vector<CString>{CTime(0).Format(std::string(127, 'x').c_str()),
                                    CTime(0).Format(std::string(128, 'x').c_str()),
                                    CTime(0).Format(nullptr)}));
    const CTime a(10), b(20);
    EXPECT_TRUE(a < b && !(b < a) && !(a < a) && b > a && !(a > b) && a <= a && !(b <= a) &&
                a >= a && !(a >= b) && a != b && !(a != a));
}

TEST(COleDateTimeTest, ParsesDatesWithAndWithoutTimeInAnyRepresentableYear) {
    // clang-format off
    const struct { const char* text; std::vector<int> fields; } cases[] = {
        {"2020-01-02 03:04:05", {1, 2020, 1, 2, 3, 4, 5}}, {"2000/2/29", {1, 2000, 2, 29, 0, 0, 0}},
        {"  2020-1-2  3:04 ", {1, 2020, 1, 2, 3, 4, 0}},  {"3/4/2020", {1, 2020, 3, 4, 0, 0, 0}},
        {"12:30", {1, 1899, 12, 30, 12, 30, 0}},          {"0100-01-01", {1, 100, 1, 1, 0, 0, 0}},
        {"1800.06.15 12:30:45", {1, 1800, 6, 15, 12, 30, 45}},
        {"9999/12/31 23:59:59", {1, 9999, 12, 31, 23, 59, 59}}};
    const char* bad[] = {"", "  ", "soon", "2020-00-01", "2020-13-01", "2020-01-00", "2020-02-30",
        "2019-02-29", "1900-02-29", "2020-001-02", "2020-01-02T03:04:05", "2020-01-02 24:00",
        "2020-01-02 03:60", "2020-01/02", "2020-01-02 03:04:60", "2020-01-02 x", "20-01-02",
        "0099-12-31", "12345-01-01", "2020-01-02 03", "2020-01-02 3:04:05:06", "3-4-2020"};
    // clang-format on
    for (const auto& c : cases) EXPECT_EQ(c.fields, Parse(c.text)) << c.text;
    for (const char* text : bad) EXPECT_EQ(kFailed, Parse(text)) << text;
    COleDateTime d(2020, 1, 1, 0, 0, 0);
    EXPECT_EQ(kFailed, Fields(d, d.ParseDateTime(nullptr)));
}

TEST(COleDateTimeTest, ValuesCountDaysSince1899AndOnlyYears100To9999NameADate) {
    COleDateTime d;
    EXPECT_EQ((std::vector<int>{1, 0, 0, 1, 1, 0}),
              (std::vector<int>{d.SetDate(99, 12, 31), d.SetDate(100, 1, 1),
                                d.SetDateTime(9999, 12, 31, 23, 59, 59), d.SetDate(10000, 1, 1),
                                d.SetTime(6, 0, 60), d.SetTime(6, 0, 0)}));
    EXPECT_EQ(0.25, d.GetDate());
    // Outside those years a value names no date; a time rounding to midnight is the next day.
    EXPECT_EQ(
        (std::vector<int>{-1, 100, 9999, -1, 31, 1}),
        (std::vector<int>{COleDateTime(-657435.0).GetYear(), COleDateTime(-657434.5).GetYear(),
                          COleDateTime(2958465.5).GetYear(), COleDateTime(2958466.0).GetYear(),
                          COleDateTime(0.9999999).GetDay(),
                          COleDateTime(2020, 1, 5, 0, 0, 0).GetDayOfWeek()}));
    EXPECT_EQ("Invalid DateTime", COleDateTime(2958466.0).Format("%Y"));
    COleDateTime invalid(2021, 2, 29, 0, 0, 0), null;
    null.SetStatus(COleDateTime::null);
    EXPECT_EQ(kFailed, Fields(invalid, false));
    EXPECT_EQ("Invalid DateTime|", invalid.Format("%Y") + "|" + null.Format("%Y"));
    // Days count from 1899-12-30; the time of day adds forward, also before that day.
    const COleDateTime early(1899, 12, 29, 6, 0, 0), late(1899, 12, 29, 18, 0, 0);
    EXPECT_EQ((std::vector<double>{0.0, 1.5, -1.25, 43831.0}),
              (std::vector<double>{COleDateTime(1899, 12, 30, 0, 0, 0).GetDate(),
                                   COleDateTime(1899, 12, 31, 12, 0, 0).GetDate(), early.GetDate(),
                                   COleDateTime(2020, 1, 1, 0, 0, 0).GetDate()}));
    EXPECT_TRUE(early < late && !(late < early) && late > early && !(early > late) &&
                early != late && early <= early && !(late <= early) && late >= early &&
                early < COleDateTime());
}
