#include "platform/COleDateTime.h"

#include <cmath>
#include <ctime>

namespace {

// Day number of 1899-12-30, the DATE epoch, counted from 1970-01-01.
constexpr long kDateEpoch = -25569;
// DATE values of 100-01-01 00:00:00 and of the day after 9999-12-31.
constexpr double kMinDate = -657434.0;
constexpr double kMaxDate = 2958466.0;
constexpr long kSecondsPerDay = 86400;

struct Fields {
    int year, month, day, hour, minute, second;
};

bool IsLeap(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

int DaysInMonth(int year, int month) {
    constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && IsLeap(year) ? 29 : kDays[month - 1];
}

// Days from 1970-01-01 to the given date of the proleptic Gregorian calendar.
long DaysFromCivil(long year, int month, int day) {
    year -= month <= 2;
    const long era = (year >= 0 ? year : year - 399) / 400;
    const long yoe = year - era * 400;
    const long doy = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    const long doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

void CivilFromDays(long days, Fields& out) {
    days += 719468;
    const long era = (days >= 0 ? days : days - 146096) / 146097;
    const long doe = days - era * 146097;
    const long yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const long doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const long mp = (5 * doy + 2) / 153;
    out.day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    out.month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    out.year = static_cast<int>(yoe + era * 400 + (out.month <= 2));
}

bool FieldsValid(const Fields& f) {
    return f.year >= 100 && f.year <= 9999 && f.month >= 1 && f.month <= 12 && f.day >= 1 &&
           f.day <= DaysInMonth(f.year, f.month) && f.hour >= 0 && f.hour <= 23 && f.minute >= 0 &&
           f.minute <= 59 && f.second >= 0 && f.second <= 59;
}

// REQUIRES: FieldsValid(f).
double DateFromFields(const Fields& f) {
    const long dayNumber = DaysFromCivil(f.year, f.month, f.day) - kDateEpoch;
    const double time = (f.hour * 3600 + f.minute * 60 + f.second) / double(kSecondsPerDay);
    return dayNumber >= 0 ? dayNumber + time : dayNumber - time;
}

// The calendar fields of a DATE value, rounded to the second; false outside the range.
bool FieldsFromDate(double date, Fields& out) {
    if (!(date > kMinDate - 1.0 && date < kMaxDate)) return false;
    double dayPart = std::trunc(date);
    long seconds = std::lround(std::fabs(date - dayPart) * kSecondsPerDay);
    long dayNumber = static_cast<long>(dayPart);
    if (seconds >= kSecondsPerDay) {
        seconds -= kSecondsPerDay;
        ++dayNumber;
    }
    CivilFromDays(dayNumber + kDateEpoch, out);
    out.hour = static_cast<int>(seconds / 3600);
    out.minute = static_cast<int>(seconds / 60 % 60);
    out.second = static_cast<int>(seconds % 60);
    return out.year >= 100 && out.year <= 9999;
}

// 0 = Sunday; 1970-01-01 was a Thursday.
int WeekDay(const Fields& f) {
    const long days = DaysFromCivil(f.year, f.month, f.day);
    return static_cast<int>(((days + 4) % 7 + 7) % 7);
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

void SkipBlanks(const char*& p) {
    while (*p == ' ' || *p == '\t') ++p;
}

// Reads 1 to 4 digits.
bool ReadNumber(const char*& p, int& value, int& digits) {
    value = 0;
    digits = 0;
    while (IsDigit(*p)) {
        if (++digits > 4) return false;
        value = value * 10 + (*p++ - '0');
    }
    return digits > 0;
}

// Reads ":MM" and an optional ":SS" after the hour.
bool ReadMinutesSeconds(const char*& p, Fields& f) {
    int digits = 0;
    if (*p != ':') return false;
    ++p;
    if (!ReadNumber(p, f.minute, digits) || digits > 2) return false;
    if (*p != ':') return true;
    ++p;
    return ReadNumber(p, f.second, digits) && digits <= 2;
}

bool ParseFields(const char* p, Fields& f) {
    f = Fields{1899, 12, 30, 0, 0, 0};
    SkipBlanks(p);
    int first = 0, firstDigits = 0;
    if (!ReadNumber(p, first, firstDigits)) return false;
    if (*p == ':') {
        if (firstDigits > 2) return false;
        f.hour = first;
        if (!ReadMinutesSeconds(p, f)) return false;
    } else {
        const char sep = *p;
        if (sep != '-' && sep != '/' && sep != '.') return false;
        ++p;
        int second = 0, secondDigits = 0, third = 0, thirdDigits = 0;
        if (!ReadNumber(p, second, secondDigits) || secondDigits > 2 || *p != sep) return false;
        ++p;
        if (!ReadNumber(p, third, thirdDigits)) return false;
        if (firstDigits == 4 && thirdDigits <= 2) {
            f.year = first;
            f.month = second;
            f.day = third;
        } else if (sep == '/' && firstDigits <= 2 && thirdDigits == 4) {
            f.month = first;
            f.day = second;
            f.year = third;
        } else {
            return false;
        }
        const char* time = p;
        SkipBlanks(time);
        if (time != p && IsDigit(*time)) {
            p = time;
            int hourDigits = 0;
            if (!ReadNumber(p, f.hour, hourDigits) || hourDigits > 2) return false;
            if (!ReadMinutesSeconds(p, f)) return false;
        }
    }
    SkipBlanks(p);
    return *p == '\0';
}

}  // namespace

COleDateTime COleDateTime::GetCurrentTime() {
    std::time_t now = std::time(nullptr);
    struct tm local;
    if (localtime_r(&now, &local) == nullptr) return COleDateTime();
    return COleDateTime(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour,
                        local.tm_min, local.tm_sec > 59 ? 59 : local.tm_sec);
}

COleDateTime::COleDateTime(int year, int month, int day, int hour, int minute, int second) {
    SetDateTime(year, month, day, hour, minute, second);
}

int COleDateTime::SetDateTime(int year, int month, int day, int hour, int minute, int second) {
    const Fields f{year, month, day, hour, minute, second};
    if (!FieldsValid(f)) {
        date_ = 0.0;
        status_ = invalid;
        return 1;
    }
    date_ = DateFromFields(f);
    status_ = valid;
    return 0;
}

int COleDateTime::SetDate(int year, int month, int day) {
    return SetDateTime(year, month, day, 0, 0, 0);
}

int COleDateTime::SetTime(int hour, int minute, int second) {
    return SetDateTime(1899, 12, 30, hour, minute, second);
}

int COleDateTime::GetYear() const {
    Fields f;
    return status_ == valid && FieldsFromDate(date_, f) ? f.year : -1;
}

int COleDateTime::GetMonth() const {
    Fields f;
    return status_ == valid && FieldsFromDate(date_, f) ? f.month : -1;
}

int COleDateTime::GetDay() const {
    Fields f;
    return status_ == valid && FieldsFromDate(date_, f) ? f.day : -1;
}

int COleDateTime::GetHour() const {
    Fields f;
    return status_ == valid && FieldsFromDate(date_, f) ? f.hour : -1;
}

int COleDateTime::GetMinute() const {
    Fields f;
    return status_ == valid && FieldsFromDate(date_, f) ? f.minute : -1;
}

int COleDateTime::GetSecond() const {
    Fields f;
    return status_ == valid && FieldsFromDate(date_, f) ? f.second : -1;
}

int COleDateTime::GetDayOfWeek() const {
    Fields f;
    return status_ == valid && FieldsFromDate(date_, f) ? WeekDay(f) + 1 : -1;
}

bool COleDateTime::ParseDateTime(const char* text, unsigned long, unsigned long) {
    Fields f;
    if (text == nullptr || !ParseFields(text, f) || !FieldsValid(f)) {
        date_ = 0.0;
        status_ = invalid;
        return false;
    }
    date_ = DateFromFields(f);
    status_ = valid;
    return true;
}

CString COleDateTime::Format(const char* format) const {
    if (status_ == null) return CString();
    Fields f;
    if (status_ == invalid || !FieldsFromDate(date_, f)) return CString("Invalid DateTime");
    if (format == nullptr) return CString();
    struct tm fields = {};
    fields.tm_year = f.year - 1900;
    fields.tm_mon = f.month - 1;
    fields.tm_mday = f.day;
    fields.tm_hour = f.hour;
    fields.tm_min = f.minute;
    fields.tm_sec = f.second;
    fields.tm_wday = WeekDay(f);
    fields.tm_yday =
        static_cast<int>(DaysFromCivil(f.year, f.month, f.day) - DaysFromCivil(f.year, 1, 1));
    char buffer[256];
    size_t length = std::strftime(buffer, sizeof(buffer), format, &fields);
    return CString(buffer, static_cast<int>(length));
}

double COleDateTime::SortKey() const {
    double dayPart = std::trunc(date_);
    return dayPart + std::fabs(date_ - dayPart);
}
