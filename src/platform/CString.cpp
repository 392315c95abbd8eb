#include "platform/CString.h"

#include <algorithm>
#include <cctype>
#include <cstdarg>
#include <cstdio>
#include <cstring>

#include "platform/FrameworkException.h"

namespace {

bool IsSpace(char c) { return std::isspace(static_cast<unsigned char>(c)) != 0; }

bool InSet(char c, const char* set) { return c != '\0' && std::strchr(set, c) != nullptr; }

void AppendVFormat(std::string& out, const char* format, va_list args) {
    char buffer[256];
    va_list copy;
    va_copy(copy, args);
    int needed = std::vsnprintf(buffer, sizeof(buffer), format, copy);
    va_end(copy);
    if (needed < 0) return;
    if (static_cast<size_t>(needed) < sizeof(buffer)) {
        out.append(buffer, static_cast<size_t>(needed));
        return;
    }
    size_t old = out.size();
    out.resize(old + static_cast<size_t>(needed) + 1);
    std::vsnprintf(&out[old], static_cast<size_t>(needed) + 1, format, args);
    out.resize(old + static_cast<size_t>(needed));
}

}  // namespace

CString::CString(const char* text) {
    if (text != nullptr) data_ = text;
}

CString::CString(const char* text, int length) {
    if (text != nullptr && length > 0) data_.assign(text, static_cast<size_t>(length));
}

CString::CString(char ch, int repeat) {
    if (repeat > 0) data_.assign(static_cast<size_t>(repeat), ch);
}

char CString::GetAt(int index) const {
    if (index < 0 || index > GetLength()) throw CInvalidArgException("CString index out of range");
    return data_.c_str()[index];
}

void CString::SetAt(int index, char ch) {
    if (index < 0 || index >= GetLength()) throw CInvalidArgException("CString index out of range");
    data_[static_cast<size_t>(index)] = ch;
}

int CString::Find(char ch, int start) const {
    if (start < 0 || start >= GetLength()) return -1;
    size_t at = data_.find(ch, static_cast<size_t>(start));
    return at == std::string::npos ? -1 : static_cast<int>(at);
}

int CString::Find(const char* sub, int start) const {
    if (sub == nullptr || start < 0 || start > GetLength()) return -1;
    size_t at = data_.find(sub, static_cast<size_t>(start));
    return at == std::string::npos ? -1 : static_cast<int>(at);
}

int CString::ReverseFind(char ch) const {
    size_t at = data_.rfind(ch);
    return at == std::string::npos ? -1 : static_cast<int>(at);
}

int CString::FindOneOf(const char* chars) const {
    if (chars == nullptr || *chars == '\0') return -1;
    size_t at = data_.find_first_of(chars);
    return at == std::string::npos ? -1 : static_cast<int>(at);
}

CString CString::Mid(int first) const { return Mid(first, GetLength() - first); }

CString CString::Mid(int first, int count) const {
    const int length = GetLength();
    if (first < 0) first = 0;
    if (count < 0) count = 0;
    if (first > length) return CString();
    if (count > length - first) count = length - first;
    return CString(data_.substr(static_cast<size_t>(first), static_cast<size_t>(count)));
}

CString CString::Left(int count) const {
    if (count <= 0) return CString();
    if (count >= GetLength()) return *this;
    return CString(data_.substr(0, static_cast<size_t>(count)));
}

CString CString::Right(int count) const {
    if (count <= 0) return CString();
    if (count >= GetLength()) return *this;
    return CString(data_.substr(data_.size() - static_cast<size_t>(count)));
}

CString& CString::TrimLeft() {
    size_t i = 0;
    while (i < data_.size() && IsSpace(data_[i])) ++i;
    data_.erase(0, i);
    return *this;
}

CString& CString::TrimLeft(char target) {
    size_t i = 0;
    while (i < data_.size() && data_[i] == target) ++i;
    data_.erase(0, i);
    return *this;
}

CString& CString::TrimLeft(const char* targets) {
    if (targets == nullptr) return *this;
    size_t i = 0;
    while (i < data_.size() && InSet(data_[i], targets)) ++i;
    data_.erase(0, i);
    return *this;
}

CString& CString::TrimRight() {
    size_t n = data_.size();
    while (n > 0 && IsSpace(data_[n - 1])) --n;
    data_.resize(n);
    return *this;
}

CString& CString::TrimRight(char target) {
    size_t n = data_.size();
    while (n > 0 && data_[n - 1] == target) --n;
    data_.resize(n);
    return *this;
}

CString& CString::TrimRight(const char* targets) {
    if (targets == nullptr) return *this;
    size_t n = data_.size();
    while (n > 0 && InSet(data_[n - 1], targets)) --n;
    data_.resize(n);
    return *this;
}

CString& CString::Trim() { return TrimRight().TrimLeft(); }
CString& CString::Trim(char target) { return TrimRight(target).TrimLeft(target); }
CString& CString::Trim(const char* targets) { return TrimRight(targets).TrimLeft(targets); }

int CString::Replace(char oldChar, char newChar) {
    if (oldChar == newChar) return 0;
    int count = 0;
    for (char& c : data_) {
        if (c == oldChar) {
            c = newChar;
            ++count;
        }
    }
    return count;
}

int CString::Replace(const char* oldText, const char* newText) {
    if (oldText == nullptr || *oldText == '\0') return 0;
    const size_t oldLength = std::strlen(oldText);
    size_t at = data_.find(oldText);
    if (at == std::string::npos) return 0;
    const char* replacement = newText == nullptr ? "" : newText;
    std::string out;
    out.reserve(data_.size());
    size_t from = 0;
    int count = 0;
    while (at != std::string::npos) {
        out.append(data_, from, at - from);
        out.append(replacement);
        from = at + oldLength;
        ++count;
        at = data_.find(oldText, from);
    }
    out.append(data_, from, std::string::npos);
    data_.swap(out);
    return count;
}

int CString::Remove(char ch) {
    size_t before = data_.size();
    data_.erase(std::remove(data_.begin(), data_.end(), ch), data_.end());
    return static_cast<int>(before - data_.size());
}

int CString::Insert(int index, char ch) {
    index = std::clamp(index, 0, GetLength());
    data_.insert(static_cast<size_t>(index), 1, ch);
    return GetLength();
}

int CString::Insert(int index, const char* text) {
    index = std::clamp(index, 0, GetLength());
    if (text != nullptr) data_.insert(static_cast<size_t>(index), text);
    return GetLength();
}

int CString::Insert(int index, const CString& text) {
    index = std::clamp(index, 0, GetLength());
    data_.insert(static_cast<size_t>(index), text.data_);
    return GetLength();
}

int CString::Delete(int index, int count) {
    const int length = GetLength();
    if (index < 0) index = 0;
    if (count > 0 && index < length) {
        if (count > length - index) count = length - index;
        data_.erase(static_cast<size_t>(index), static_cast<size_t>(count));
    }
    return GetLength();
}

CString& CString::MakeUpper() {
    for (char& c : data_) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return *this;
}

CString& CString::MakeLower() {
    for (char& c : data_) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return *this;
}

CString& CString::MakeReverse() {
    std::reverse(data_.begin(), data_.end());
    return *this;
}

int CString::Compare(const char* other) const {
    if (other == nullptr) return data_.empty() ? 0 : 1;
    return data_.compare(other);
}

int CString::Compare(const CString& other) const { return data_.compare(other.data_); }

int CString::CompareNoCase(const char* other) const {
    if (other == nullptr) other = "";
    const size_t otherLength = std::strlen(other);
    const size_t n = std::min(data_.size(), otherLength);
    for (size_t i = 0; i < n; ++i) {
        int a = std::tolower(static_cast<unsigned char>(data_[i]));
        int b = std::tolower(static_cast<unsigned char>(other[i]));
        if (a != b) return a < b ? -1 : 1;
    }
    if (data_.size() == otherLength) return 0;
    return data_.size() < otherLength ? -1 : 1;
}

void CString::Format(const char* format, ...) {
    std::string out;
    va_list args;
    va_start(args, format);
    AppendVFormat(out, format, args);
    va_end(args);
    data_.swap(out);
}

void CString::AppendFormat(const char* format, ...) {
    va_list args;
    va_start(args, format);
    AppendVFormat(data_, format, args);
    va_end(args);
}

void CString::Append(const char* text, int length) {
    if (text != nullptr && length > 0) data_.append(text, static_cast<size_t>(length));
}

CString& CString::operator=(const char* text) {
    if (text == nullptr) {
        data_.clear();
    } else {
        data_ = text;
    }
    return *this;
}

CString& CString::operator+=(const CString& other) {
    data_ += other.data_;
    return *this;
}

CString& CString::operator+=(const char* text) {
    if (text != nullptr) data_ += text;
    return *this;
}

CString& CString::operator+=(char ch) {
    data_ += ch;
    return *this;
}

CString operator+(const CString& a, const CString& b) {
    std::string out;
    out.reserve(a.Str().size() + b.Str().size());
    out.append(a.Str()).append(b.Str());
    return CString(std::move(out));
}

CString operator+(const CString& a, const char* b) { return a + CString(b); }
CString operator+(const char* a, const CString& b) { return CString(a) + b; }
CString operator+(const CString& a, char b) { return a + CString(b); }
CString operator+(char a, const CString& b) { return CString(a) + b; }
