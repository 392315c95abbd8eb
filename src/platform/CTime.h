// CTime: a point in time as whole seconds since 1970-01-01 00:00:00 UTC, read and built as
// local calendar fields through the C runtime (the process's time zone and daylight saving).
// As on the framework's runtime, the local-time conversions accept only times from
// 1970-01-01 00:00:00 UTC to 3000-12-31 23:59:59 UTC; outside that range they fail.
// A CTime is a plain value; the conversions are thread-safe.
#pragma once

#include <ctime>

#include "platform/CString.h"
#include "platform/Export.h"

class XMK_EXPORT CTime {
  public:
    static CTime GetCurrentTime();

    // The time value 0.
    CTime() = default;
    CTime(std::time_t time) : time_(time) {}  // NOLINT: implicit, as in the framework
    // The given fields taken as local time; `dst` < 0 lets the runtime decide daylight saving.
    // Raises CFrameworkException when a field is outside the type's range (year before 1970,
    // month outside 1..12, day outside 1..31, hour above 23, minute or second above 59), and
    // CInvalidArgException when the runtime cannot convert the fields to a time.
    CTime(int year, int month, int day, int hour, int minute, int second, int dst = -1);

    std::time_t GetTime() const { return time_; }

    // Fills `out` with the local calendar fields and returns it; null when the time is outside
    // the local-time range (or `out` is null).
    struct tm* GetLocalTm(struct tm* out) const;
    // The same in UTC.
    struct tm* GetGmtTm(struct tm* out) const;

    // Local calendar fields; 0 when the time is outside the local-time range.
    int GetYear() const;
    int GetMonth() const;
    int GetDay() const;
    int GetHour() const;
    int GetMinute() const;
    int GetSecond() const;
    int GetDayOfWeek() const;  // 1 = Sunday

    // strftime of the local calendar fields into a buffer of 128 bytes (empty when the result
    // does not fit). Raises CInvalidArgException when the time is outside the local-time range.
    CString Format(const char* format) const;

    friend bool operator==(CTime a, CTime b) { return a.time_ == b.time_; }
    friend bool operator!=(CTime a, CTime b) { return a.time_ != b.time_; }
    friend bool operator<(CTime a, CTime b) { return a.time_ < b.time_; }
    friend bool operator>(CTime a, CTime b) { return a.time_ > b.time_; }
    friend bool operator<=(CTime a, CTime b) { return a.time_ <= b.time_; }
    friend bool operator>=(CTime a, CTime b) { return a.time_ >= b.time_; }

  private:
    std::time_t time_ = 0;
};
