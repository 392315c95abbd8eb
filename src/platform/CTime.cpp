#include "platform/CTime.h"

#include "platform/FrameworkException.h"

namespace {

// 3000-12-31 23:59:59 UTC: the last time the framework's runtime converts.
constexpr std::time_t kMaxTime = 32535215999;

bool InRange(std::time_t time) { return time >= 0 && time <= kMaxTime; }

struct FieldRange {
    int low;
    int high;
};

}  // namespace

CTime CTime::GetCurrentTime() { return CTime(std::time(nullptr)); }

CTime::CTime(int year, int month, int day, int hour, int minute, int second, int dst) {
    const int fields[] = {month, day, hour, minute, second};
    constexpr FieldRange kRanges[] = {{1, 12}, {1, 31}, {0, 23}, {0, 59}, {0, 59}};
    bool ok = year >= 1970;
    for (int i = 0; i < 5; ++i) {
        ok = ok && fields[i] >= kRanges[i].low && fields[i] <= kRanges[i].high;
    }
    if (!ok) throw CFrameworkException("CTime fields out of range");

    struct tm fieldsTm = {};
    fieldsTm.tm_year = year - 1900;
    fieldsTm.tm_mon = month - 1;
    fieldsTm.tm_mday = day;
    fieldsTm.tm_hour = hour;
    fieldsTm.tm_min = minute;
    fieldsTm.tm_sec = second;
    fieldsTm.tm_isdst = dst;
    std::time_t time = mktime(&fieldsTm);
    if (time == static_cast<std::time_t>(-1) || !InRange(time)) {
        throw CInvalidArgException("CTime cannot represent the local time");
    }
    time_ = time;
}

struct tm* CTime::GetLocalTm(struct tm* out) const {
    if (out == nullptr || !InRange(time_)) return nullptr;
    return localtime_r(&time_, out);
}

struct tm* CTime::GetGmtTm(struct tm* out) const {
    if (out == nullptr || !InRange(time_)) return nullptr;
    return gmtime_r(&time_, out);
}

int CTime::GetYear() const {
    struct tm fields;
    return GetLocalTm(&fields) != nullptr ? fields.tm_year + 1900 : 0;
}

int CTime::GetMonth() const {
    struct tm fields;
    return GetLocalTm(&fields) != nullptr ? fields.tm_mon + 1 : 0;
}

int CTime::GetDay() const {
    struct tm fields;
    return GetLocalTm(&fields) != nullptr ? fields.tm_mday : 0;
}

int CTime::GetHour() const {
    struct tm fields;
    return GetLocalTm(&fields) != nullptr ? fields.tm_hour : 0;
}

int CTime::GetMinute() const {
    struct tm fields;
    return GetLocalTm(&fields) != nullptr ? fields.tm_min : 0;
}

int CTime::GetSecond() const {
    struct tm fields;
    return GetLocalTm(&fields) != nullptr ? fields.tm_sec : 0;
}

int CTime::GetDayOfWeek() const {
    struct tm fields;
    return GetLocalTm(&fields) != nullptr ? fields.tm_wday + 1 : 0;
}

CString CTime::Format(const char* format) const {
    if (format == nullptr) return CString();
    struct tm fields;
    if (GetLocalTm(&fields) == nullptr) {
        throw CInvalidArgException("CTime outside the local-time range");
    }
    char buffer[128];
    size_t length = std::strftime(buffer, sizeof(buffer), format, &fields);
    return CString(buffer, static_cast<int>(length));
}
