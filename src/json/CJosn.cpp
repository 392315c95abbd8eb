#include "json/CJosn.h"

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <utility>

#include "json/detail/ItemScanner.h"
#include "platform/COleDateTime.h"
#include "platform/CTime.h"
#include "platform/FrameworkException.h"

namespace {

using josn_detail::ItemEnd;
using josn_detail::MatchBrackets;
using josn_detail::NestedItemEnd;

bool IsOpenBracket(char c) { return c == '{' || c == '['; }
bool IsQuote(char c) { return c == '"' || c == '\''; }
bool IsBlank(const CString& text) { return text.IsEmpty() || text == "{}"; }

bool Equals(const char* p, int n, const char* word) {
    return std::strlen(word) == static_cast<size_t>(n) && std::memcmp(p, word, n) == 0;
}

// Null words read as empty, quotes are stripped from both ends, then true and false read as
// "1" and "0". Whitespace stays.
CString CleanValue(const char* p, int n) {
    if (Equals(p, n, "null") || Equals(p, n, "NULL")) return CString();
    while (n > 0 && IsQuote(*p)) {
        ++p;
        --n;
    }
    while (n > 0 && IsQuote(p[n - 1])) --n;
    if (Equals(p, n, "true")) return CString("1");
    if (Equals(p, n, "false")) return CString("0");
    return CString(std::string(p, static_cast<size_t>(n)));
}

// The name of an item given the index of its first colon (-1 when it has none). A quote just
// before the colon marks a quoted name: the item less its first byte and that quote.
std::pair<const char*, int> ItemName(const char* item, int colon) {
    if (colon <= 0) return {item, 0};
    if (IsQuote(item[colon - 1])) return {item + 1, std::max(colon - 2, 0)};
    return {item, colon};
}

// The first backslash followed by a double quote in p[0, n), or null.
const char* FindEscapedQuote(const char* p, int n) {
    const char* end = p + n;
    while (p < end) {
        p = static_cast<const char*>(std::memchr(p, '\\', static_cast<size_t>(end - p)));
        if (p == nullptr || p + 1 >= end) return nullptr;
        if (p[1] == '"') return p;
        ++p;
    }
    return nullptr;
}

// The cleaned value of an item: what follows its first colon (all of it without a colon).
// Escaped double quotes are unescaped, except in array elements that are containers.
CString ItemValue(const char* item, int length, int colon) {
    const char* v = colon < 0 ? item : item + colon + 1;
    const int n = colon < 0 ? length : length - colon - 1;
    if (IsOpenBracket(item[0])) return CleanValue(v, n);
    const char* escaped = FindEscapedQuote(v, n);
    if (escaped == nullptr) return CleanValue(v, n);
    std::string unescaped(v, static_cast<size_t>(escaped - v));
    for (const char* p = escaped; p < v + n; ++p) {
        if (*p == '\\' && p + 1 < v + n && p[1] == '"') ++p;
        unescaped += *p;
    }
    return CleanValue(unescaped.data(), static_cast<int>(unescaped.size()));
}

bool NameIs(std::pair<const char*, int> name, const CString& key) {
    return name.second == key.GetLength() &&
           std::memcmp(name.first, key.GetString(), static_cast<size_t>(name.second)) == 0;
}

int FirstColon(const char* item, int length) {
    const void* hit = std::memchr(item, ':', static_cast<size_t>(length));
    return hit == nullptr ? -1 : static_cast<int>(static_cast<const char*>(hit) - item);
}

JosnChildValue MakeChild(const char* item, int length) {
    const int colon = FirstColon(item, length);
    const std::pair<const char*, int> name = ItemName(item, colon);
    return JosnChildValue{CString(std::string(item, static_cast<size_t>(length))),
                          CString(std::string(name.first, static_cast<size_t>(name.second))),
                          ItemValue(item, length, colon)};
}

// Searches the container item t[begin, end) as a document of its own, and every container
// among its items, depth first and in text order, for the first item named `key`: the same
// visit as searching the documents that GetChild makes, but over offsets of one text, with
// an explicit stack, so deep nesting costs neither stack nor copies.
bool FindInContainer(const char* t, int begin, int end, const CString& key, CString& result) {
    const int from = begin + 1;
    const int to = end - 1;
    if (to <= from) return false;
    std::vector<int> closing;
    MatchBrackets(t, from, to, closing);
    std::vector<int> colons;
    for (int i = from; i < to;) {
        const void* hit = std::memchr(t + i, ':', static_cast<size_t>(to - i));
        if (hit == nullptr) break;
        i = static_cast<int>(static_cast<const char*>(hit) - t);
        colons.push_back(i++);
    }

    // Ends of the containers being searched, outermost first.
    std::vector<int> ends{end};
    int b = from;
    while (!ends.empty()) {
        const int e = ends.back();
        const int itemEnd = NestedItemEnd(t, b, e - 1, closing, from);
        if (itemEnd == b) {
            // An empty item ends this container; its parent goes on after it.
            ends.pop_back();
            b = e + 1;
            continue;
        }
        auto colon = std::lower_bound(colons.begin(), colons.end(), b);
        const int colonAt = colon != colons.end() && *colon < itemEnd ? *colon - b : -1;
        if (NameIs(ItemName(t + b, colonAt), key)) {
            result = ItemValue(t + b, itemEnd - b, colonAt);
            return true;
        }
        if (IsOpenBracket(t[b])) {
            ends.push_back(itemEnd);
            ++b;
        } else {
            b = itemEnd + 1;
        }
    }
    return false;
}

JosnChildValue EmptyChild() { return JosnChildValue(); }

// The first character of a child's text; an absent child reads as an empty text.
char FirstOf(const JosnChildValue* child) { return child != nullptr ? child->text.GetAt(0) : '\0'; }

// The document GetChild makes of a child: a container as it is, anything else wrapped in
// braces (an absent child gives "{}").
CJosn DocumentOf(const JosnChildValue* child) {
    if (child == nullptr) return CJosn("{}");
    return IsOpenBracket(FirstOf(child)) ? CJosn(child->text) : CJosn("{" + child->text + "}");
}

CString Quoted(const CString& text) {
    std::string out;
    out.reserve(static_cast<size_t>(text.GetLength()) + 2);
    out += '"';
    out += text.Str();
    out += '"';
    return CString(std::move(out));
}

}  // namespace

CJosn::CJosn() : pos(1), value("{}"), textChanged(true) {}

CJosn::CJosn(const CString& text) : pos(1), value(text), textChanged(true) {}

CJosn::CJosn(const CJosn& other) = default;

CJosn& CJosn::operator=(const CJosn& other) = default;

CJosn::~CJosn() = default;

const CString& CJosn::GetValue() const { return value; }

void CJosn::SetValue(const CString& text) {
    if (&text == &value) return;
    if (!textChanged) {
        // Keep the described text; `value` takes over whatever buffer `parsedValue` had.
        std::swap(parsedValue, value);
        textChanged = true;
    }
    value = text;
}

bool CJosn::IsEmpty() const { return IsBlank(value); }

int CJosn::GetPos() const { return pos; }

void CJosn::BeforeChange() {
    if (textChanged) return;
    parsedValue = value;
    textChanged = true;
}

void CJosn::ParseChildren() const {
    if (!textChanged) return;
    textChanged = false;
    if (parsedValue == value) return;
    CString released(std::move(parsedValue));
    parsedValue.Empty();
    items.clear();
    children.clear();
    made.clear();
    const char* t = value.GetString();
    const int bound = value.GetLength() - 1;
    for (int b = 1;;) {
        const int end = ItemEnd(t, b, bound);
        if (end == b) break;
        items.emplace_back(b, end);
        b = end + 1;
    }
}

JosnChildValue* CJosn::Child(unsigned int index) const {
    if (index >= items.size()) return nullptr;
    if (children.empty()) {
        children.resize(items.size());
        made.assign(items.size(), false);
    }
    if (!made[index]) {
        const char* t = value.GetString();
        children[index] =
            MakeChild(t + items[index].first, items[index].second - items[index].first);
        made[index] = true;
    }
    return &children[index];
}

int CJosn::InsertItem(int at, const CString& name, const CString& item) {
    const char before = value.GetAt(at - 1);
    std::string piece;
    piece.reserve(static_cast<size_t>(name.GetLength() + item.GetLength()) + 2);
    if (!IsOpenBracket(before)) piece += ',';
    if (!name.IsEmpty()) {
        piece += name.Str();
        piece += ':';
    }
    piece += item.Str();
    BeforeChange();
    const int oldLength = value.GetLength();
    value.Insert(at, CString(std::move(piece)));
    return value.GetLength() - oldLength;
}

void CJosn::object_in(const CString& name) { pos += InsertItem(pos, name, "{}") - 1; }

void CJosn::array_in(const CString& name) { pos += InsertItem(pos, name, "[]") - 1; }

void CJosn::child_out() { pos += 1; }

void CJosn::Reset() { pos = 1; }

unsigned int CJosn::GetChildCount() const {
    ParseChildren();
    return static_cast<unsigned int>(items.size());
}

JosnChildValue CJosn::GetChildStruct(unsigned int index) const {
    ParseChildren();
    const JosnChildValue* child = Child(index);
    return child != nullptr ? *child : EmptyChild();
}

JosnChildValue* CJosn::GetChildStructPtr(unsigned int index) {
    ParseChildren();
    return Child(index);
}

const JosnChildValue* CJosn::FindChild(const CString& name) const {
    ParseChildren();
    for (unsigned int i = 0; i < items.size(); ++i) {
        const JosnChildValue* child = Child(i);
        CString trimmed = child->name;
        if (trimmed.Trim() == name) return child;
    }
    return nullptr;
}

JosnChildValue CJosn::FindChildStruct(const CString& name) const {
    const JosnChildValue* child = FindChild(name);
    return child != nullptr ? *child : EmptyChild();
}

CJosn CJosn::GetChild(unsigned int index) const {
    ParseChildren();
    return DocumentOf(Child(index));
}

CJosn CJosn::GetChild(const CString& name) const { return DocumentOf(FindChild(name)); }

bool CJosn::IsChildObject(unsigned int index) const {
    ParseChildren();
    return FirstOf(Child(index)) == '{';
}

bool CJosn::IsChildObject(const CString& name) const { return FirstOf(FindChild(name)) == '{'; }

bool CJosn::IsChildArray(unsigned int index) const {
    ParseChildren();
    return FirstOf(Child(index)) == '[';
}

bool CJosn::IsChildArray(const CString& name) const { return FirstOf(FindChild(name)) == '['; }

bool CJosn::IsChildEntity(unsigned int index) const {
    ParseChildren();
    return IsOpenBracket(FirstOf(Child(index)));
}

bool CJosn::IsChildEntity(const CString& name) const {
    return IsOpenBracket(FirstOf(FindChild(name)));
}

bool CJosn::IsArray() const { return value.GetAt(0) == '['; }

CString CJosn::GetChildName(unsigned int index) const {
    ParseChildren();
    const JosnChildValue* child = Child(index);
    return child != nullptr ? child->name : CString();
}

CString CJosn::GetChildValue(unsigned int index) const {
    ParseChildren();
    const JosnChildValue* child = Child(index);
    return child != nullptr ? child->value : CString();
}

bool CJosn::GetChildValue(unsigned int index, CString& name, CString& value) {
    ParseChildren();
    const JosnChildValue* child = Child(index);
    if (child == nullptr) return false;
    name = child->name;
    value = child->value;
    return true;
}

CString CJosn::GetKeyValue(const CString& key) const {
    ParseChildren();
    for (unsigned int i = 0; i < items.size(); ++i) {
        const JosnChildValue* child = Child(i);
        if (child->name == key) return child->value;
    }
    return CString();
}

CString CJosn::FindKeyValueRecursion(const CString& key) const {
    CString result;
    __FindKeyValueRecursion(result, key);
    return result;
}

bool CJosn::__FindKeyValueRecursion(CString& result, const CString& key) const {
    ParseChildren();
    const char* t = value.GetString();
    for (unsigned int i = 0; i < items.size(); ++i) {
        if (!made.empty() && made[i]) {
            // A record already handed out may have been changed through GetChildStructPtr;
            // the search reads the record, as every other query does.
            const JosnChildValue& child = children[i];
            if (child.name == key) {
                result = child.value;
                return true;
            }
            if (IsOpenBracket(FirstOf(&child)) &&
                FindInContainer(child.text.GetString(), 0, child.text.GetLength(), key, result)) {
                return true;
            }
            continue;
        }
        const std::pair<int, int>& item = items[i];
        const int length = item.second - item.first;
        const int colon = FirstColon(t + item.first, length);
        if (NameIs(ItemName(t + item.first, colon), key)) {
            result = ItemValue(t + item.first, length, colon);
            return true;
        }
        if (IsOpenBracket(t[item.first]) &&
            FindInContainer(t, item.first, item.second, key, result)) {
            return true;
        }
    }
    return false;
}

void CJosn::push(const CString& name, int value) {
    char text[16];
    std::snprintf(text, sizeof(text), "%d", value);
    pos += InsertItem(pos, name, text);
}

void CJosn::push(const CString& name, long value) {
    char text[32];
    std::snprintf(text, sizeof(text), "%ld", value);
    pos += InsertItem(pos, name, text);
}

void CJosn::push(const CString& name, float value) { push(name, static_cast<double>(value)); }

void CJosn::push(const CString& name, double value) {
    CString text;
    text.Format("%f", value);
    pos += InsertItem(pos, name, text);
}

void CJosn::push(const CString& name, const CString& value) {
    std::string text;
    text.reserve(static_cast<size_t>(value.GetLength()) + 2);
    text += '"';
    for (char c : value.Str()) {
        if (IsQuote(c)) text += '\\';
        text += c;
    }
    text += '"';
    pos += InsertItem(pos, name, CString(std::move(text)));
}

void CJosn::push(const CString& name, const CTime& value) {
    pos += InsertItem(pos, name, Quoted(value.Format("%Y-%m-%d %H:%M:%S")));
}

void CJosn::push(const CString& name, const COleDateTime& value) {
    if (value.GetStatus() != COleDateTime::valid) {
        push(name, CString());
        return;
    }
    pos += InsertItem(pos, name, Quoted(value.Format("%Y-%m-%d %H:%M:%S")));
}

void CJosn::push(const CString& name, const CJosn& value) {
    pos += InsertItem(pos, name, value.value);
}

CJosn& CJosn::operator+=(const CJosn& other) {
    if (IsBlank(other.value)) return *this;
    if (IsBlank(value)) return *this = other;
    const CString inner = other.value.Mid(1, other.value.GetLength() - 2);
    if (inner.IsEmpty()) return *this;
    pos += InsertItem(pos, CString(), inner);
    return *this;
}

CJosn& CJosn::connect(const CJosn& other) {
    if (IsBlank(other.value)) return *this;
    if (IsBlank(value)) return *this = other;
    const CString piece = "," + other.value;
    BeforeChange();
    value.Insert(pos + 1, piece);
    pos += piece.GetLength();
    return *this;
}

void CJosn::AddJosnToArray(const CJosn& other) {
    pos += InsertItem(pos, CString(), other.value) - 1;
}

void CJosn::empty() {
    BeforeChange();
    pos = 1;
    value = "{}";
}

CString CJosn::ReadNext() {
    const std::string& t = value.Str();
    const int length = value.GetLength();
    if (length == 0) throw CInvalidArgException("read from an empty JSON text");
    const int colon = value.Find(':', pos);
    if (colon < 0) {
        pos = length;
        return CString();
    }
    // The framework's bounds rule applies to both looks: a colon as the last character
    // makes the second one raise.
    int quote = -1;
    if (value.GetAt(colon + 1) == '\'') {
        quote = value.Find('\'', colon + 2);
        if (quote < 0) quote = length;
    } else if (value.GetAt(colon + 2) == '"') {
        quote = colon + 2;
    }
    const size_t from = static_cast<size_t>(quote >= 0 ? quote + 1 : colon + 1);
    const size_t found = from < t.size() ? t.find_first_of(",}", from) : std::string::npos;
    CString raw;
    int separator;
    if (quote >= 0) {
        separator = found == std::string::npos ? quote : static_cast<int>(found);
        raw = value.Mid(colon + 2, separator - 1 - (colon + 2));
    } else {
        separator = found == std::string::npos ? colon : static_cast<int>(found);
        raw = value.Mid(colon + 1, separator - (colon + 1));
    }
    pos = std::min(separator + 1, length);
    return CleanValue(raw.GetString(), raw.GetLength());
}

void CJosn::pop(int& out) { out = static_cast<int>(std::strtol(ReadNext(), nullptr, 10)); }

void CJosn::pop(long& out) { out = std::strtol(ReadNext(), nullptr, 10); }

void CJosn::pop(float& out) {
    const double number = std::strtod(ReadNext(), nullptr);
    if (std::isfinite(number) && std::fabs(number) > FLT_MAX) {
        out = number > 0 ? HUGE_VALF : -HUGE_VALF;
    } else {
        out = static_cast<float>(number);
    }
}

void CJosn::pop(double& out) { out = std::strtod(ReadNext(), nullptr); }

void CJosn::pop(CString& out) { out = ReadNext(); }

void CJosn::pop(CTime& out) {
    CString text = ReadNext();
    if (text.IsEmpty()) {
        out = CTime(0);
        return;
    }
    text.Replace('T', ' ');
    COleDateTime parsed;
    if (!parsed.ParseDateTime(text) || parsed.GetYear() < 1901) {
        out = CTime(0);
        return;
    }
    out = CTime(parsed.GetYear(), parsed.GetMonth(), parsed.GetDay(), parsed.GetHour(),
                parsed.GetMinute(), parsed.GetSecond());
}
