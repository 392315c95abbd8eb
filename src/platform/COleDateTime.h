// COleDateTime: a calendar date and time of day with a status, held as the framework's DATE
// value (days since 1899-12-30 00:00:00; the fraction is the time of day, taken as positive
// also for dates before that day). No time zone: fields are kept and read back as given.
// Dates from 100-01-01 to 9999-12-31 are representable. A plain value, one thread at a time.
#pragma once

#include "platform/CString.h"
#include "platform/Export.h"

class XMK_EXPORT COleDateTime {
  public:
    enum DateTimeStatus { error = -1, valid = 0, invalid = 1, null = 2 };

    // The current local date and time.
    static COleDateTime GetCurrentTime();

    // Valid, 1899-12-30 00:00:00.
    COleDateTime() = default;
    // Valid, holding the DATE value `date`.
    explicit COleDateTime(double date) : date_(date) {}
    // As SetDateTime.
    COleDateTime(int year, int month, int day, int hour, int minute, int second);

    DateTimeStatus GetStatus() const { return status_; }
    void SetStatus(DateTimeStatus status) { status_ = status; }
    double GetDate() const { return date_; }

    // Sets the fields and the status valid and returns 0; fields that name no date-time
    // (year outside 100..9999, a day the month does not have, hour above 23, minute or second
    // above 59) set the value 0 and the status invalid and return 1.
    int SetDateTime(int year, int month, int day, int hour, int minute, int second);
    int SetDate(int year, int month, int day);
    int SetTime(int hour, int minute, int second);

    // Calendar fields; -1 when the status is not valid or the value names no date.
    int GetYear() const;
    int GetMonth() const;
    int GetDay() const;
    int GetHour() const;
    int GetMinute() const;
    int GetSecond() const;
    int GetDayOfWeek() const;  // 1 = Sunday

    // Reads a date and time, a date alone (midnight) or a time alone (on 1899-12-30).
    // Dates: YYYY-M-D, YYYY/M/D, YYYY.M.D or M/D/YYYY; times: H:MM or H:MM:SS; blanks around
    // and between them. On success the status is valid and the result true; otherwise the
    // value is 0, the status invalid and the result false. `flags` and `locale` are accepted
    // for the framework's signature and ignored.
    bool ParseDateTime(const char* text, unsigned long flags = 0, unsigned long locale = 0);

    // strftime of the fields into a buffer of 256 bytes. Null status: empty; invalid status
    // or a value that names no date: "Invalid DateTime".
    CString Format(const char* format) const;

    friend bool operator==(const COleDateTime& a, const COleDateTime& b) {
        return a.status_ == b.status_ && a.date_ == b.date_;
    }
    friend bool operator!=(const COleDateTime& a, const COleDateTime& b) { return !(a == b); }
    friend bool operator<(const COleDateTime& a, const COleDateTime& b) {
        return a.SortKey() < b.SortKey();
    }
    friend bool operator>(const COleDateTime& a, const COleDateTime& b) { return b < a; }
    friend bool operator<=(const COleDateTime& a, const COleDateTime& b) { return !(b < a); }
    friend bool operator>=(const COleDateTime& a, const COleDateTime& b) { return !(a < b); }

  private:
    // The DATE value on a continuous scale (negative dates keep a positive time of day).
    double SortKey() const;

    double date_ = 0.0;
    DateTimeStatus status_ = valid;
};
