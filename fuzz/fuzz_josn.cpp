// Feeds arbitrary text to every JSON document query, sequential read, write and merge, and
// checks the scan and the sequential reads against their steps written out, and the lookups
// by name against the records they must agree with.
// Input: the document text, optionally followed by a 0x01 byte, a byte of cursor moves and a
// second document text used for the merges. Only the framework's errors may escape.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "json/CJosn.h"
#include "platform/COleDateTime.h"
#include "platform/CTime.h"
#include "platform/FrameworkException.h"

namespace {

void Check(bool condition) {
    if (!condition) std::abort();
}

bool StartsContainer(const CString& text) { return text.GetAt(0) == '{' || text.GetAt(0) == '['; }

// The search through child documents, as a second opinion on FindKeyValueRecursion.
// False in `complete` when it gave up at the depth limit.
bool SearchByChildDocuments(const CJosn& doc, const CString& key, CString& result, int depth,
                            bool& complete) {
    if (depth > 200) {
        complete = false;
        return false;
    }
    for (unsigned int i = 0; i < doc.GetChildCount(); ++i) {
        JosnChildValue child = doc.GetChildStruct(i);
        if (child.name == key) {
            result = child.value;
            return true;
        }
        if (StartsContainer(child.text) &&
            SearchByChildDocuments(doc.GetChild(i), key, result, depth + 1, complete)) {
            return true;
        }
    }
    return false;
}

// The cache must always describe the current text.
void CheckCache(CJosn& doc) {
    const CJosn fresh(doc.GetValue());
    const unsigned int count = doc.GetChildCount();
    Check(count == fresh.GetChildCount());
    for (unsigned int i = 0; i < count; ++i) {
        const JosnChildValue* mine = doc.GetChildStructPtr(i);
        const JosnChildValue theirs = fresh.GetChildStruct(i);
        Check(mine != nullptr && mine->text == theirs.text && mine->name == theirs.name &&
              mine->value == theirs.value);
    }
    Check(doc.GetChildStructPtr(count) == nullptr);
}

// The item scanner written out step by step: the item that starts at `b`.
std::string ReferenceScanItem(const std::string& t, size_t b) {
    bool single = false, dbl = false;
    int depth = 0;
    for (size_t i = b; i + 1 < t.size(); ++i) {
        const char c = t[i];
        if (!dbl && c == '\'' && i > 0 && t[i - 1] != '\\') single = !single;
        if (single) continue;
        if (c == '"' && i > 0 && t[i - 1] != '\\') dbl = !dbl;
        if (dbl) continue;
        if (depth == 0 && (c == ',' || c == '}' || c == ']')) return t.substr(b, i - b);
        depth += c == '{' || c == '[' ? 1 : c == '}' || c == ']' ? -1 : 0;
    }
    return t.size() > b + 1 ? t.substr(b, t.size() - b - 1) : std::string();
}

// The children's texts are the items the steps cut.
void CheckScan(const std::string& t) {
    const CJosn doc{CString(t)};
    unsigned int i = 0;
    size_t b = 1;
    for (std::string item; !(item = ReferenceScanItem(t, b)).empty(); b += item.size() + 1, ++i) {
        Check(i < doc.GetChildCount() && doc.GetChildStruct(i).text.Str() == item);
    }
    Check(i == doc.GetChildCount());
}

// The sequential read written out step by step with the framework's find and bounds rules.
// Returns false where the steps leave the result open (no colon after the cursor, or no
// closing single quote); throws int where the framework raises.
bool ReferenceNext(const std::string& t, int& pos, std::string& out) {
    const int n = static_cast<int>(t.size());
    const auto find = [&](const char* any, int from) {
        const size_t at = from < 0 || from >= n ? std::string::npos : t.find_first_of(any, from);
        return at == std::string::npos ? -1 : static_cast<int>(at);
    };
    const auto at = [&](int i) {
        if (i < 0 || i > n) throw 0;
        return t.c_str()[i];
    };
    const auto clean = [&](int first, int count) {
        std::string s = first > n ? "" : t.substr(std::max(first, 0), std::max(count, 0));
        if (s == "null" || s == "NULL") s.clear();
        while (!s.empty() && (s.front() == '"' || s.front() == '\'')) s.erase(0, 1);
        while (!s.empty() && (s.back() == '"' || s.back() == '\'')) s.pop_back();
        return s == "true" ? "1" : s == "false" ? "0" : s;
    };
    const int p = find(":", pos);
    if (p < 0) return false;
    const int q = at(p + 1) == '\'' ? find("'", p + 2) : at(p + 2) == '"' ? p + 2 : -2;
    if (q == -1) return false;
    if (q >= 0) {
        const int s = find(",}", q + 1), end = s < 0 ? q : s;
        out = clean(p + 2, end - 1 - (p + 2));
        pos = end + 1;
    } else {
        const int s = find(",}", p + 1);
        out = s < 0 ? "" : clean(p + 1, s - p - 1);
        pos = s < 0 ? p + 1 : s + 1;
    }
    return true;
}

// Sequential reads give what the steps give, value and cursor, while the steps decide them.
void CheckReads(const std::string& t) {
    CJosn doc{CString(t)};
    std::string expected;
    for (int pos = 1, i = 0; i < 64; ++i) {
        CString read;
        try {
            if (!ReferenceNext(t, pos, expected)) return;
        } catch (int) {
            bool raised = false;
            try {
                doc.pop(read);
            } catch (const CInvalidArgException&) {
                raised = true;
            }
            Check(raised);
            return;
        }
        doc.pop(read);
        Check(read.Str() == expected && doc.GetPos() == pos);
    }
}

// The first record whose name (trimmed when `trim`) is `key`, by index; the count when none.
unsigned int FirstNamed(const std::vector<JosnChildValue>& records, const CString& key, bool trim) {
    for (unsigned int i = 0; i < records.size(); ++i) {
        CString name = records[i].name;
        if (trim) name.Trim();
        if (name == key) return i;
    }
    return static_cast<unsigned int>(records.size());
}

// Every lookup by name of `doc` agrees with its records: the first child so named.
void CheckLookupsAgree(const CJosn& doc, const std::vector<JosnChildValue>& records,
                       const CString& key) {
    const unsigned int exact = FirstNamed(records, key, false);
    Check(doc.GetKeyValue(key) == (exact < records.size() ? records[exact].value : CString()));
    const unsigned int found = FirstNamed(records, key, true);
    const JosnChildValue record = found < records.size() ? records[found] : JosnChildValue();
    const JosnChildValue s = doc.FindChildStruct(key);
    Check(s.text == record.text && s.name == record.name && s.value == record.value);
    const char first = record.text.GetAt(0);
    Check(doc.IsChildObject(key) == (first == '{') && doc.IsChildArray(key) == (first == '[') &&
          doc.IsChildEntity(key) == (first == '{' || first == '['));
    const CString child = doc.GetChild(key).GetValue();
    Check(child == (StartsContainer(record.text) ? record.text : "{" + record.text + "}"));
}

// Lookups by name on a document whose records are not made, then with one renamed through
// its pointer; keys in text order (the order lookups favour), backwards, and missing.
void Lookups(const CString& text) {
    CJosn doc(text);
    const CJosn reference(text);
    const unsigned int count = reference.GetChildCount();
    if (count > 64) return;
    std::vector<JosnChildValue> records;
    for (unsigned int i = 0; i < count; ++i) records.push_back(reference.GetChildStruct(i));
    for (int pass = 0; pass < 3; ++pass) {
        for (unsigned int k = 0; k < count; ++k) {
            CString key = records[pass == 1 ? count - 1 - k : k].name;
            if (pass == 2) key.Trim();
            CheckLookupsAgree(doc, records, key);
        }
    }
    CheckLookupsAgree(doc, records, "\x02");
    if (count == 0) return;
    JosnChildValue* renamed = doc.GetChildStructPtr(count - 1);
    renamed->name = "\x02";
    records.back().name = "\x02";
    for (unsigned int k = 0; k < count; ++k) CheckLookupsAgree(doc, records, records[k].name);
}

void Queries(CJosn& doc) {
    const unsigned int count = doc.GetChildCount();
    for (unsigned int i = 0; i <= count && i < 64; ++i) {
        const JosnChildValue child = doc.GetChildStruct(i);
        (void)doc.GetChildStructPtr(i);
        (void)doc.GetChildName(i);
        (void)doc.GetChildValue(i);
        CString name, value;
        Check(doc.GetChildValue(i, name, value) == (i < count));
        (void)doc.GetChild(i).GetChildCount();
        (void)doc.IsChildObject(i);
        (void)doc.IsChildArray(i);
        (void)doc.IsChildEntity(i);
        CString trimmed = child.name;
        trimmed.Trim();
        (void)doc.FindChildStruct(trimmed);
        (void)doc.GetChild(trimmed);
        (void)doc.IsChildObject(trimmed);
        (void)doc.IsChildArray(trimmed);
        (void)doc.IsChildEntity(trimmed);
        (void)doc.GetKeyValue(child.name);
    }
    (void)doc.IsArray();
    (void)doc.IsEmpty();
    const CString keys[] = {"k", "", "a", "TotalCount"};
    for (const CString& key : keys) {
        const CString found = doc.FindKeyValueRecursion(key);
        CString expected;
        bool complete = true;
        SearchByChildDocuments(doc, key, expected, 0, complete);
        if (complete) Check(found == expected);
    }
}

void Pops(CJosn doc) {
    doc.Reset();
    for (int i = 0; i < 40; ++i) {
        const int before = doc.GetPos();
        try {
            switch (i % 6) {
                case 0: {
                    CString s;
                    doc.pop(s);
                    break;
                }
                case 1: {
                    int v;
                    doc.pop(v);
                    break;
                }
                case 2: {
                    long v;
                    doc.pop(v);
                    break;
                }
                case 3: {
                    float v;
                    doc.pop(v);
                    break;
                }
                case 4: {
                    double v;
                    doc.pop(v);
                    break;
                }
                case 5: {
                    CTime v;
                    doc.pop(v);
                    break;
                }
            }
        } catch (const CInvalidArgException&) {
        } catch (const CFrameworkException&) {
        }
        Check(doc.GetPos() >= 0 && doc.GetPos() <= doc.GetValue().GetLength() + 1);
        if (doc.GetPos() == before && before >= doc.GetValue().GetLength()) break;
    }
}

template <typename Write>
void Guarded(CJosn& doc, Write write) {
    try {
        write();
    } catch (const CInvalidArgException&) {
    }
    CheckCache(doc);
}

void Writes(CJosn doc, const CJosn& other, int moves) {
    for (int i = 0; i < moves; ++i) doc.child_out();
    CheckCache(doc);
    Guarded(doc, [&] { doc.push("k", 1); });
    Guarded(doc, [&] { doc.object_in("o"); });
    Guarded(doc, [&] { doc.push("s", other.GetValue()); });
    Guarded(doc, [&] { doc.push("", 2.5); });
    Guarded(doc, [&] { doc.child_out(); });
    Guarded(doc, [&] { doc += other; });
    Guarded(doc, [&] { doc.AddJosnToArray(other); });
    Guarded(doc, [&] { doc.array_in("a"); });
    Guarded(doc, [&] { doc.push("j", other); });
    Guarded(doc, [&] { doc.push("d", COleDateTime(2020, 1, 2, 3, 4, 5)); });
    Guarded(doc, [&] { doc.push("t", CTime(0)); });
    Guarded(doc, [&] { doc.connect(other); });
    Guarded(doc, [&] { doc += doc; });
    Guarded(doc, [&] { doc.SetValue(other.GetValue()); });
    Queries(doc);
    Guarded(doc, [&] { doc.empty(); });
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string input(reinterpret_cast<const char*>(data), size);
    const size_t split = input.find('\x01');
    CJosn doc(CString(input.substr(0, split)));
    CJosn other;
    int moves = 0;
    if (split != std::string::npos && split + 1 < input.size()) {
        moves = static_cast<unsigned char>(input[split + 1]) % 16;
        other = CJosn(CString(input.substr(split + 2)));
    }
    CheckScan(input.substr(0, split));
    CheckReads(input.substr(0, split));
    Lookups(doc.GetValue());
    Queries(doc);
    CheckCache(doc);
    Pops(doc);
    Writes(doc, other, moves);
    return 0;
}
