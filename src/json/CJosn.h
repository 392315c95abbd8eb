// CJosn: a JSON document held as text with a cursor. Writes insert text at the cursor;
// reads scan the text. The top-level items are cached and rebuilt only when the text
// differs from the text they were built from; on an unchanged text a lookup by name compares
// names in place and first tries the member after the last one found, so reading a row's
// members in their order costs about one comparison each. The dialect is lenient: bare or
// quoted names, either quote character, no whitespace skipped between tokens.
// A document is used by one thread at a time: even the const queries update the cache.
#pragma once

#include <string_view>
#include <utility>
#include <vector>

#include "platform/CString.h"
#include "platform/Export.h"

class CTime;
class COleDateTime;

// One top-level item of a document.
struct XMK_EXPORT JosnChildValue {
    CString text;   // the item as written between its separators, quotes included
    CString name;   // the member name; empty for an item without a colon
    CString value;  // the item's value, cleaned (quotes stripped, null empty, true "1")
};

class XMK_EXPORT CJosn {
  public:
    CJosn();
    CJosn(const CString& text);  // NOLINT: implicit, documents are made from reply texts
    CJosn(const CJosn& other);
    CJosn& operator=(const CJosn& other);
    ~CJosn();

    const CString& GetValue() const;
    // Replaces the text only; the cursor stays. The cache is rebuilt by the next query
    // only if the text differs.
    void SetValue(const CString& text);
    // True when the text is empty or exactly "{}".
    bool IsEmpty() const;
    // The cursor: an index into the text where the next write inserts.
    int GetPos() const;

    // Opens a container named `name` at the cursor and moves the cursor inside it.
    void object_in(const CString& name);
    void array_in(const CString& name);
    // Steps over the closing bracket of the container just filled.
    void child_out();
    // Cursor back to 1, ready for sequential reads.
    void Reset();

    unsigned int GetChildCount() const;
    // Out of range: a record of three empty texts.
    JosnChildValue GetChildStruct(unsigned int index) const;
    // The cached record, owned by the document; valid until the text changes and is queried,
    // or the document is destroyed. Out of range: null.
    JosnChildValue* GetChildStructPtr(unsigned int index);
    // First child whose trimmed name equals `name`; none: three empty texts.
    JosnChildValue FindChildStruct(const CString& name) const;
    CJosn GetChild(unsigned int index) const;
    CJosn GetChild(const CString& name) const;
    bool IsChildObject(unsigned int index) const;
    bool IsChildObject(const CString& name) const;
    bool IsChildArray(unsigned int index) const;
    bool IsChildArray(const CString& name) const;
    bool IsChildEntity(unsigned int index) const;
    bool IsChildEntity(const CString& name) const;
    bool IsArray() const;
    CString GetChildName(unsigned int index) const;
    CString GetChildValue(unsigned int index) const;
    // Out of range: false, outputs untouched.
    bool GetChildValue(unsigned int index, CString& name, CString& value);
    // Value of the first child whose name equals `key` exactly; none: empty.
    CString GetKeyValue(const CString& key) const;
    // Depth-first search through containers that are array elements; first match wins.
    CString FindKeyValueRecursion(const CString& key) const;

    // Writes insert name:value at the cursor (a bare value when the name is empty) and move
    // the cursor past it. REQUIRES: the cursor is at most the text length + 1, else
    // CInvalidArgException. push of a CTime raises CInvalidArgException for a time outside
    // the local-time range.
    void push(const CString& name, int value);
    void push(const CString& name, long value);
    void push(const CString& name, float value);
    void push(const CString& name, double value);
    void push(const CString& name, const CString& value);
    void push(const CString& name, const CTime& value);
    void push(const CString& name, const COleDateTime& value);
    void push(const CString& name, const CJosn& value);

    // Splices the other document's members in at the cursor.
    CJosn& operator+=(const CJosn& other);
    // Appends the other document as a sibling after the current container.
    CJosn& connect(const CJosn& other);
    // Adds the other document as an array element; the cursor is left inside it.
    void AddJosnToArray(const CJosn& other);
    // Back to the state of a new document.
    void empty();

    // Sequential reads: each consumes the value after the next colon, whatever its name, and
    // moves the cursor past it. Numbers convert as atoi/atol/atof do (0 when nothing converts);
    // a whole number beyond the range of int (or long) reads as the nearer limit, keeping its
    // sign; a float is the double narrowed as a conversion rounds, to the nearest float: a
    // text just above FLT_MAX (3.4028235E+38) reads FLT_MAX, and from the midpoint between
    // FLT_MAX and 2^128 up, where the conversion overflows, it reads infinity with its sign;
    // a time is read as local date and time text ("T" between date and time allowed), and
    // gives the time 0 when it is empty, does not parse or lies before 1901.
    // Past the last value (no colon at or after the cursor) a read gives the empty text (0,
    // the time 0) and leaves the cursor at the end of the text; reads and writes stay safe.
    // A quoted value without its closing quote runs to the character before the last.
    // Raise CInvalidArgException: a read on an empty text, or one whose next colon is the
    // last character. pop(CTime&) also raises CFrameworkException for a date from 1901 to
    // 1969, and CInvalidArgException for one the local-time conversion rejects.
    void pop(int& out);
    void pop(long& out);
    void pop(float& out);
    void pop(double& out);
    void pop(CString& out);
    void pop(CTime& out);

    // The cursor: the index into the text where the next write inserts and the next
    // sequential read searches from. Callers may move it; a write with the cursor beyond the
    // text length + 1 raises CInvalidArgException.
    int pos;

  private:
    // Where the name of a top-level item lies in `value`, kept for lookups by name.
    struct NameSpan {
        int colon;  // the item's first colon, counted from the item's start; -1 when none
        int begin;  // the name is value[begin, begin + length)
        int length;
        bool padded;             // blanks at an end: lookups that trim compare it in full
        unsigned long long tag;  // a fingerprint: equal names have equal tags
        // A filter of the names before this one: a bit per tag (all bits after a padded
        // name); a tag whose bit is clear names none of them.
        unsigned long long before;
    };

    bool __FindKeyValueRecursion(CString& result, const CString& key) const;
    // Brings the item list up to date with `value`.
    void ParseChildren() const;
    // The work of ParseChildren once the text may have changed.
    void Rebuild() const;
    // The members below that take an index treat one not less than the count as an absent
    // child. REQUIRES: ParseChildren() has run since `value` last changed.
    // The record of item `index`, made on first use; null out of range.
    JosnChildValue* Child(unsigned int index) const;
    // The record of item `index` when it is made, else null: then the text is the truth.
    const JosnChildValue* MadeChild(unsigned int index) const;
    // Finds the names of all items, for lookups by name.
    void NameAll() const;
    // Item `index` as written in the text. REQUIRES: index < the count.
    std::string_view ItemText(unsigned int index) const;
    // What the by-name queries read of a child: its record where made, else the text in place.
    std::string_view TextOf(unsigned int index) const;
    // REQUIRES: index < the count.
    std::string_view NameOf(unsigned int index) const;
    CString ValueOf(unsigned int index) const;
    JosnChildValue RecordOf(unsigned int index) const;
    // The document GetChild makes of a child's text: a container as it is, anything else
    // wrapped in braces (an absent child, the empty text, gives "{}").
    static CJosn DocumentOf(std::string_view text);
    // Runs ParseChildren, then gives the index of the first child whose name (trimmed when
    // `trim`) equals `name`, or the count when there is none.
    unsigned int IndexOf(const CString& name, bool trim) const;
    // Must run before `value` changes: keeps the text the cache was built from.
    void BeforeChange();
    // Inserts name:item (or the bare item) at `at`, with a leading comma unless `at` follows an
    // opening bracket; returns the number of characters inserted. The cursor is not moved.
    // Raises CInvalidArgException when `at` - 1 is outside [0, length].
    int InsertItem(int at, const CString& name, const CString& item);
    // The cleaned text of the next value; see pop.
    CString ReadNext();

    CString value;
    // While `textChanged` is false, the cache describes `value` and `parsedValue` is unused;
    // once `value` changes, `parsedValue` keeps the text the cache was built from, so that a
    // query compares whole texts only after a change.
    mutable CString parsedValue;
    // The cache: the records of the items, made on first use (`made[i]` tells whether
    // children[i] is); where each top-level item lies (first index, end); the names of the
    // items, found by the first lookup by name; the item a lookup by name tries first.
    mutable std::vector<JosnChildValue> children;
    mutable std::vector<std::pair<int, int>> items;
    mutable std::vector<bool> made;
    mutable std::vector<NameSpan> names;
    mutable unsigned int nextName;
    // False when no item of the text holds a backslash, so no value needs unescaping.
    mutable bool backslashes;
    // Whether GetChildStructPtr has handed out a record since the cache was built. Until then
    // every made record says what the text says, and lookups by name may read the text alone.
    mutable bool recordsLent;
    mutable bool textChanged;
};
