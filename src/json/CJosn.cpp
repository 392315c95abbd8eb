#include "json/CJosn.h"

#include <algorithm>
#include <cctype>
#include <cfloat>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>
#include <utility>

#include "json/detail/ItemScanner.h"
#include "platform/COleDateTime.h"
#include "platform/CTime.h"
#include "platform/FrameworkException.h"
#include "platform/detail/Atoi.h"

namespace {

using josn_detail::CutItems;
using josn_detail::MatchBrackets;
using josn_detail::NestedItemEnd;
using std::string_view;

bool IsOpenBracket(char c) { return c == '{' || c == '['; }
bool IsQuote(char c) { return c == '"' || c == '\''; }
bool IsBlank(const CString& text) { return text.IsEmpty() || text == "{}"; }
// The framework's trimming rule. No locale counts a printable ASCII character as a blank, so
// names, which are mostly made of them, are told apart without a library call.
inline bool IsSpace(char c) {
    const unsigned char byte = static_cast<unsigned char>(c);
    return (byte <= ' ' || byte >= 0x7f) && std::isspace(byte) != 0;
}

string_view View(const CString& text) { return text.Str(); }
// A text that fits a string's own buffer is copied in; a longer one is built once and moved in,
// which spares a second allocation step.
inline CString Text(string_view text) {
    if (text.size() < 16) return CString(text.data(), static_cast<int>(text.size()));
    return CString(std::string(text));
}
// The first character; an empty text reads as its terminating zero.
char FirstOf(string_view text) { return text.empty() ? '\0' : text[0]; }

string_view Trimmed(string_view text) {
    while (!text.empty() && IsSpace(text.front())) text.remove_prefix(1);
    while (!text.empty() && IsSpace(text.back())) text.remove_suffix(1);
    return text;
}

// Whether `text` is exactly `word`; a constant length lets the comparison be inlined.
template <size_t N>
bool Is(string_view text, const char (&word)[N]) {
    return text.size() == N - 1 && std::memcmp(text.data(), word, N - 1) == 0;
}

// Null words read as empty, quotes are stripped from both ends, then true and false read as
// "1" and "0". Whitespace stays.
inline CString CleanValue(string_view s) {
    if (Is(s, "null") || Is(s, "NULL")) return CString();
    while (!s.empty() && IsQuote(s.front())) s.remove_prefix(1);
    while (!s.empty() && IsQuote(s.back())) s.remove_suffix(1);
    if (Is(s, "true")) return CString("1");
    if (Is(s, "false")) return CString("0");
    return Text(s);
}

// Names are short: a plain loop finds the colon after one sooner than a call would.
inline int FirstColon(string_view item) {
    const auto at = std::find(item.begin(), item.end(), ':');
    return at == item.end() ? -1 : static_cast<int>(at - item.begin());
}

// The name of an item given the index of its first colon (-1 when it has none). A quote just
// before the colon marks a quoted name: the item less its first byte and that quote.
inline string_view ItemName(string_view item, int colon) {
    if (colon <= 0) return item.substr(0, 0);
    if (IsQuote(item[colon - 1])) return item.substr(1, std::max(colon - 2, 0));
    return item.substr(0, static_cast<size_t>(colon));
}

// A fingerprint of a name. A name of up to seven bytes is its bytes and its length, so equal
// tags mean equal names; a longer one is a hash of its length and its first and last eight
// bytes, with the top bit set, where equal tags leave a full comparison to be made.
inline unsigned long long NameTag(string_view name) {
    const size_t n = name.size();
    const char* p = name.data();
    if (n >= 8) {
        uint64_t head = 0;
        uint64_t tail = 0;
        std::memcpy(&head, p, 8);
        std::memcpy(&tail, p + n - 8, 8);
        return ((head ^ (tail * 0x9E3779B97F4A7C15u)) + n) | uint64_t{1} << 63;
    }
    uint64_t bytes = 0;
    if (n >= 4) {
        // The first four bytes and the last three hold every byte of the name.
        uint32_t head = 0;
        uint32_t tail = 0;
        std::memcpy(&head, p, 4);
        std::memcpy(&tail, p + n - 4, 4);
        bytes = head | uint64_t{tail >> 8} << 32;
    } else {
        for (size_t i = 0; i < n; ++i) bytes = bytes << 8 | static_cast<unsigned char>(p[i]);
    }
    return bytes | uint64_t{n} << 56;
}

// Whether a name whose tag equals the tag of `name` is `name`.
bool TagIsName(string_view name) { return name.size() < 8; }

// The bit of a tag in the filters of NameSpan.
inline unsigned long long FilterBit(unsigned long long tag) {
    return uint64_t{1} << ((tag * 0x9E3779B97F4A7C15u) >> 58);
}

// The cleaned value of an item: what follows its first colon (all of it without a colon).
// Escaped double quotes are unescaped, except in array elements that are containers; a caller
// that knows the item holds no backslash says so in `plain`.
inline CString ItemValue(string_view item, int colon, bool plain) {
    const string_view v = colon < 0 ? item : item.substr(static_cast<size_t>(colon) + 1);
    size_t escaped = plain || IsOpenBracket(FirstOf(item)) ? string_view::npos : v.find('\\');
    while (escaped != string_view::npos && (escaped + 1 == v.size() || v[escaped + 1] != '"')) {
        escaped = v.find('\\', escaped + 1);
    }
    if (escaped == string_view::npos) return CleanValue(v);
    std::string unescaped(v.substr(0, escaped));
    for (size_t i = escaped; i < v.size(); ++i) {
        if (v[i] == '\\' && i + 1 < v.size() && v[i + 1] == '"') ++i;
        unescaped += v[i];
    }
    return CleanValue(unescaped);
}

JosnChildValue MakeChild(string_view item, bool plain) {
    const int colon = FirstColon(item);
    return JosnChildValue{Text(item), Text(ItemName(item, colon)), ItemValue(item, colon, plain)};
}

// Searches the container text t[0, end) as a document of its own, and every container among
// its items, depth first and in text order, for the first item named `key`: the same visit
// as searching the documents that GetChild makes, but over offsets of one text, with an
// explicit stack, so deep nesting costs neither stack nor copies. `plain` as for ItemValue.
bool FindInContainer(string_view container, const CString& key, bool plain, CString& result) {
    const char* t = container.data();
    const int end = static_cast<int>(container.size());
    const int from = 1;
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
        const string_view item(t + b, static_cast<size_t>(itemEnd - b));
        if (ItemName(item, colonAt) == View(key)) {
            result = ItemValue(item, colonAt, plain);
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

CString Quoted(const CString& text) {
    std::string out;
    out.reserve(static_cast<size_t>(text.GetLength()) + 2);
    out += '"';
    out += text.Str();
    out += '"';
    return CString(std::move(out));
}

// A conversion to float rounds to the nearest float: a magnitude above FLT_MAX rounds down to
// it until the midpoint between FLT_MAX and 2^128, from where the conversion overflows.
float NarrowToFloat(double number) {
    const double magnitude = std::fabs(number);
    if (!(magnitude > FLT_MAX)) return static_cast<float>(number);
    const double overflow = 0x1.ffffffp127;
    const float narrowed = magnitude < overflow ? FLT_MAX : HUGE_VALF;
    return number < 0 ? -narrowed : narrowed;
}

// The first "," or "}" in t[from, length), or -1.
int SeparatorFrom(const char* t, int from, int length) {
    for (int i = from; i < length; ++i) {
        if (t[i] == ',' || t[i] == '}') return i;
    }
    return -1;
}

}  // namespace

CJosn::CJosn()
    : pos(1), value("{}"), nextName(0), backslashes(false), recordsLent(false), textChanged(true) {}

CJosn::CJosn(const CString& text)
    : pos(1), value(text), nextName(0), backslashes(false), recordsLent(false), textChanged(true) {}

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

inline void CJosn::ParseChildren() const {
    if (textChanged) Rebuild();
}

void CJosn::Rebuild() const {
    textChanged = false;
    if (parsedValue == value) return;
    CString released(std::move(parsedValue));
    parsedValue.Empty();
    items.clear();
    children.clear();
    made.clear();
    names.clear();
    nextName = 0;
    recordsLent = false;
    // Rows of replies hold tens of members; growing from nothing would copy several times.
    items.reserve(32);
    backslashes = CutItems(value.GetString(), 1, value.GetLength() - 1, items);
}

inline const JosnChildValue* CJosn::MadeChild(unsigned int index) const {
    return !made.empty() && made[index] ? &children[index] : nullptr;
}

JosnChildValue* CJosn::Child(unsigned int index) const {
    if (index >= items.size()) return nullptr;
    if (children.empty()) {
        children.resize(items.size());
        made.assign(items.size(), false);
    }
    if (!made[index]) {
        children[index] = MakeChild(ItemText(index), !backslashes);
        made[index] = true;
    }
    return &children[index];
}

CJosn CJosn::DocumentOf(std::string_view text) {
    std::string made;
    if (IsOpenBracket(FirstOf(text))) {
        made = text;
    } else {
        made.reserve(text.size() + 2);
        made += '{';
        made += text;
        made += '}';
    }
    CJosn document{CString()};
    document.value = CString(std::move(made));
    return document;
}

inline std::string_view CJosn::TextOf(unsigned int index) const {
    if (index >= items.size()) return string_view();
    if (const JosnChildValue* record = MadeChild(index)) return View(record->text);
    return ItemText(index);
}

inline std::string_view CJosn::ItemText(unsigned int index) const {
    const std::pair<int, int>& item = items[index];
    return string_view(value.GetString() + item.first,
                       static_cast<size_t>(item.second - item.first));
}

void CJosn::NameAll() const {
    const char* t = value.GetString();
    names.resize(items.size());
    unsigned long long before = 0;
    // The text's terminating zero may be read too.
    const int readable = value.GetLength() + 1;
    for (size_t i = 0; i < items.size(); ++i) {
        const string_view item = ItemText(static_cast<unsigned int>(i));
        NameSpan& span = names[i];
        const int colon = josn_detail::FindByte(t, items[i].first, items[i].second, readable, ':');
        span.colon = colon < 0 ? -1 : colon - items[i].first;
        const string_view name = ItemName(item, span.colon);
        span.begin = static_cast<int>(name.data() - t);
        span.length = static_cast<int>(name.size());
        span.padded = !name.empty() && (IsSpace(name.front()) || IsSpace(name.back()));
        span.tag = NameTag(name);
        span.before = before;
        before |= span.padded ? ~uint64_t{0} : FilterBit(span.tag);
    }
}

inline std::string_view CJosn::NameOf(unsigned int index) const {
    if (const JosnChildValue* record = MadeChild(index)) return View(record->name);
    if (index < names.size()) {
        return string_view(value.GetString() + names[index].begin,
                           static_cast<size_t>(names[index].length));
    }
    const string_view item = ItemText(index);
    return ItemName(item, FirstColon(item));
}

inline CString CJosn::ValueOf(unsigned int index) const {
    if (index >= items.size()) return CString();
    if (const JosnChildValue* record = MadeChild(index)) return record->value;
    const string_view item = ItemText(index);
    return ItemValue(item, index < names.size() ? names[index].colon : FirstColon(item),
                     !backslashes);
}

JosnChildValue CJosn::RecordOf(unsigned int index) const {
    if (index >= items.size()) return JosnChildValue();
    if (const JosnChildValue* record = MadeChild(index)) return *record;
    return MakeChild(ItemText(index), !backslashes);
}

unsigned int CJosn::IndexOf(const CString& name, bool trim) const {
    ParseChildren();
    const unsigned int count = static_cast<unsigned int>(items.size());
    if (names.size() != count) NameAll();
    const string_view wanted = View(name);
    const unsigned long long tag = NameTag(wanted);
    const bool tagIsName = TagIsName(wanted);
    // Until a record is lent, the names in the text are the names, and tags may rule them out.
    const bool textOnly = !recordsLent;
    const auto matches = [&](unsigned int i) {
        if (textOnly && !names[i].padded) {
            if (names[i].tag != tag) return false;
            if (tagIsName) return true;
        }
        return (trim ? Trimmed(NameOf(i)) : NameOf(i)) == wanted;
    };
    // Applications mostly read a row's members in their order: the item after the last one
    // found goes first, and is the answer when the filter rules out every item before it.
    if (textOnly && nextName < count && (names[nextName].before & FilterBit(tag)) == 0 &&
        matches(nextName)) {
        return nextName++;
    }
    for (unsigned int i = 0; i < count; ++i) {
        if (matches(i)) {
            nextName = i + 1;
            return i;
        }
    }
    return count;
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
    return child != nullptr ? *child : JosnChildValue();
}

JosnChildValue* CJosn::GetChildStructPtr(unsigned int index) {
    ParseChildren();
    JosnChildValue* child = Child(index);
    recordsLent = recordsLent || child != nullptr;
    return child;
}

JosnChildValue CJosn::FindChildStruct(const CString& name) const {
    return RecordOf(IndexOf(name, true));
}

CJosn CJosn::GetChild(unsigned int index) const {
    ParseChildren();
    return DocumentOf(TextOf(index));
}

CJosn CJosn::GetChild(const CString& name) const { return DocumentOf(TextOf(IndexOf(name, true))); }

bool CJosn::IsChildObject(unsigned int index) const {
    ParseChildren();
    return FirstOf(TextOf(index)) == '{';
}

bool CJosn::IsChildObject(const CString& name) const {
    return FirstOf(TextOf(IndexOf(name, true))) == '{';
}

bool CJosn::IsChildArray(unsigned int index) const {
    ParseChildren();
    return FirstOf(TextOf(index)) == '[';
}

bool CJosn::IsChildArray(const CString& name) const {
    return FirstOf(TextOf(IndexOf(name, true))) == '[';
}

bool CJosn::IsChildEntity(unsigned int index) const {
    ParseChildren();
    return IsOpenBracket(FirstOf(TextOf(index)));
}

bool CJosn::IsChildEntity(const CString& name) const {
    return IsOpenBracket(FirstOf(TextOf(IndexOf(name, true))));
}

bool CJosn::IsArray() const {
    ParseChildren();
    return value.GetAt(0) == '[';
}

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

CString CJosn::GetKeyValue(const CString& key) const { return ValueOf(IndexOf(key, false)); }

CString CJosn::FindKeyValueRecursion(const CString& key) const {
    CString result;
    __FindKeyValueRecursion(result, key);
    return result;
}

bool CJosn::__FindKeyValueRecursion(CString& result, const CString& key) const {
    ParseChildren();
    for (unsigned int i = 0; i < items.size(); ++i) {
        if (NameOf(i) == View(key)) {
            result = ValueOf(i);
            return true;
        }
        const string_view text = TextOf(i);
        const bool plain = !backslashes && MadeChild(i) == nullptr;
        if (IsOpenBracket(FirstOf(text)) && FindInContainer(text, key, plain, result)) return true;
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
    const int found = SeparatorFrom(value.GetString(), quote >= 0 ? quote + 1 : colon + 1, length);
    // A quoted value leaves out the character before its separator, the closing quote.
    const int first = quote >= 0 ? colon + 2 : colon + 1;
    const int separator = found >= 0 ? found : (quote >= 0 ? quote : colon);
    const int last = quote >= 0 ? separator - 1 : separator;
    pos = std::min(separator + 1, length);
    if (last <= first) return CleanValue(string_view());
    return CleanValue(string_view(value.Str())
                          .substr(static_cast<size_t>(first), static_cast<size_t>(last - first)));
}

void CJosn::pop(int& out) { out = AtoiText(ReadNext()); }

void CJosn::pop(long& out) { out = AtolText(ReadNext()); }

void CJosn::pop(float& out) { out = NarrowToFloat(std::strtod(ReadNext(), nullptr)); }

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
