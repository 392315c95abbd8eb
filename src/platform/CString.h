// Stands in for the framework's 8-bit string: a byte string (UTF-8 on Linux) with the
// framework's member names and bounds rules. Comparisons are exact, byte by byte.
// Indexes and lengths are `int`, as in the framework; an index past the end raises
// CInvalidArgException where the framework raises its invalid-argument error.
// A CString is a value: copies are independent; one object is used by one thread at a time.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <utility>

#include "platform/Export.h"

class XMK_EXPORT CString {
  public:
    CString() = default;
    CString(const char* text);  // NOLINT: implicit, as in the framework; null gives empty
    CString(const char* text, int length);
    explicit CString(char ch, int repeat = 1);
    CString(const std::string& text) : data_(text) {}        // NOLINT: implicit
    CString(std::string&& text) : data_(std::move(text)) {}  // NOLINT: implicit

    int GetLength() const { return static_cast<int>(data_.size()); }
    bool IsEmpty() const { return data_.empty(); }
    void Empty() { data_.clear(); }
    const char* GetString() const { return data_.c_str(); }
    operator const char*() const { return data_.c_str(); }  // NOLINT: implicit, as in the framework
    // The bytes as a standard string, for code that wants to avoid copies.
    const std::string& Str() const { return data_; }

    // Index equal to the length reads the terminating zero; beyond it raises.
    char GetAt(int index) const;
    char operator[](int index) const { return GetAt(index); }
    // REQUIRES: 0 <= index < GetLength(), else raises.
    void SetAt(int index, char ch);

    // Index of the first match at or after `start`, or -1.
    int Find(char ch, int start = 0) const;
    int Find(const char* sub, int start = 0) const;
    int ReverseFind(char ch) const;
    // Index of the first byte that is one of `chars`, or -1.
    int FindOneOf(const char* chars) const;

    CString Mid(int first) const;
    CString Mid(int first, int count) const;
    CString Left(int count) const;
    CString Right(int count) const;

    // Without an argument whitespace is removed; otherwise every byte of the set.
    CString& Trim();
    CString& Trim(char target);
    CString& Trim(const char* targets);
    CString& TrimLeft();
    CString& TrimLeft(char target);
    CString& TrimLeft(const char* targets);
    CString& TrimRight();
    CString& TrimRight(char target);
    CString& TrimRight(const char* targets);

    // Each returns the number of replacements; an empty `oldText`, or a character replaced by
    // itself, replaces nothing.
    int Replace(char oldChar, char newChar);
    int Replace(const char* oldText, const char* newText);
    int Remove(char ch);
    // The index is clamped to [0, GetLength()]; returns the new length.
    int Insert(int index, char ch);
    int Insert(int index, const char* text);
    // Inserts every byte of `text`, zero bytes included.
    int Insert(int index, const CString& text);
    // Removes up to `count` bytes from `index`; returns the new length.
    int Delete(int index, int count = 1);

    CString& MakeUpper();
    CString& MakeLower();
    CString& MakeReverse();

    // <0, 0 or >0 as strcmp; embedded zero bytes take part.
    int Compare(const char* other) const;
    int Compare(const CString& other) const;
    int CompareNoCase(const char* other) const;

    void Format(const char* format, ...) __attribute__((format(printf, 2, 3)));
    void AppendFormat(const char* format, ...) __attribute__((format(printf, 2, 3)));
    void Append(const char* text, int length);

    CString& operator=(const char* text);
    CString& operator+=(const CString& other);
    CString& operator+=(const char* text);
    CString& operator+=(char ch);

    friend bool operator==(const CString& a, const CString& b) { return a.data_ == b.data_; }
    friend bool operator==(const CString& a, const char* b) { return a.Compare(b) == 0; }
    friend bool operator==(const char* a, const CString& b) { return b.Compare(a) == 0; }
    friend bool operator!=(const CString& a, const CString& b) { return !(a == b); }
    friend bool operator!=(const CString& a, const char* b) { return !(a == b); }
    friend bool operator!=(const char* a, const CString& b) { return !(a == b); }
    friend bool operator<(const CString& a, const CString& b) { return a.data_ < b.data_; }
    friend bool operator<(const CString& a, const char* b) { return a.Compare(b) < 0; }
    friend bool operator<(const char* a, const CString& b) { return b.Compare(a) > 0; }
    friend bool operator>(const CString& a, const CString& b) { return b < a; }

  private:
    std::string data_;
};

XMK_EXPORT CString operator+(const CString& a, const CString& b);
XMK_EXPORT CString operator+(const CString& a, const char* b);
XMK_EXPORT CString operator+(const char* a, const CString& b);
XMK_EXPORT CString operator+(const CString& a, char b);
XMK_EXPORT CString operator+(char a, const CString& b);

namespace std {
template <>
struct hash<CString> {
    size_t operator()(const CString& s) const noexcept { return hash<string>()(s.Str()); }
};
}  // namespace std
