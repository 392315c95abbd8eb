#include "JsonText.h"

#include <cctype>
#include <cstdio>

#include "json/CJosn.h"

namespace {

// Nesting deeper than this is kept as a string rather than followed.
constexpr int kMaxDepth = 64;

std::string Trim(const std::string& s) {
    size_t b = 0;
    size_t e = s.size();
    while (b < e && std::isspace(static_cast<unsigned char>(s[b]))) ++b;
    while (e > b && std::isspace(static_cast<unsigned char>(s[e - 1]))) --e;
    return s.substr(b, e - b);
}

bool IsJsonBlank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }

bool IsStructural(char c) {
    return c == '{' || c == '}' || c == '[' || c == ']' || c == ':' || c == ',';
}

// `text` without the blanks JSON allows around its structural characters, which the
// library's reader would take as part of names and values. Blanks inside quotes, and
// between the words of a bare value, stay.
std::string Compact(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    char quote = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (quote != 0) {
            out += c;
            if (c == '\\' && i + 1 < text.size()) {
                out += text[++i];
            } else if (c == quote) {
                quote = 0;
            }
        } else if (IsJsonBlank(c)) {
            size_t end = i;
            while (end < text.size() && IsJsonBlank(text[end])) ++end;
            const bool edge = out.empty() || IsStructural(out.back()) || end == text.size() ||
                              IsStructural(text[end]);
            if (!edge) out.append(text, i, end - i);
            i = end - 1;
        } else {
            if (c == '"' || c == '\'') quote = c;
            out += c;
        }
    }
    return out;
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// The grammar of a JSON number: -?(0|[1-9][0-9]*)(.[0-9]+)?([eE][+-]?[0-9]+)?
bool IsJsonNumber(const std::string& s) {
    size_t i = 0;
    const size_t n = s.size();
    if (i < n && s[i] == '-') ++i;
    if (i >= n || !IsDigit(s[i])) return false;
    if (s[i] == '0') {
        ++i;
    } else {
        while (i < n && IsDigit(s[i])) ++i;
    }
    if (i < n && s[i] == '.') {
        ++i;
        if (i >= n || !IsDigit(s[i])) return false;
        while (i < n && IsDigit(s[i])) ++i;
    }
    if (i < n && (s[i] == 'e' || s[i] == 'E')) {
        ++i;
        if (i < n && (s[i] == '+' || s[i] == '-')) ++i;
        if (i >= n || !IsDigit(s[i])) return false;
        while (i < n && IsDigit(s[i])) ++i;
    }
    return i == n;
}

// The content of a quoted value: the quotes taken off and the dialect's two escapes, \" and
// \', undone. Other backslashes are kept: the library writes them unchanged.
std::string Unquote(const std::string& v) {
    std::string inner = v.substr(1);
    if (!inner.empty() && inner.back() == v[0]) inner.pop_back();
    std::string out;
    out.reserve(inner.size());
    for (size_t i = 0; i < inner.size(); ++i) {
        if (inner[i] == '\\' && i + 1 < inner.size() &&
            (inner[i + 1] == '"' || inner[i + 1] == '\'')) {
            ++i;
        }
        out += inner[i];
    }
    return out;
}

std::string StandardAt(const std::string& text, int depth);

JsonMember ValueOf(const std::string& raw, int depth) {
    JsonMember m;
    const std::string v = Trim(raw);
    m.raw = v;
    if (v.empty()) {
        m.json = "null";
    } else if ((v[0] == '{' || v[0] == '[') && depth < kMaxDepth) {
        m.json = StandardAt(v, depth + 1);
        m.text = m.json;
    } else if (v[0] == '"' || v[0] == '\'') {
        m.text = Unquote(v);
        m.json = JsonText::Quote(m.text);
        m.isString = true;
    } else if (v == "null" || v == "NULL") {
        m.json = "null";
    } else if (v == "true" || v == "false") {
        m.json = v;
        m.text = v == "true" ? "1" : "0";
    } else if (IsJsonNumber(v)) {
        m.json = v;
        m.text = v;
        m.isNumber = true;
    } else {
        m.text = v;
        m.json = JsonText::Quote(v);
        m.isString = true;
    }
    return m;
}

// Splits a member item into its trimmed name and its raw value; false when the item has no
// name.
bool SplitMember(const JosnChildValue& child, std::string* name, std::string* raw) {
    const std::string& text = child.text.Str();
    const size_t colon = text.find(':');
    if (colon == std::string::npos) return false;
    *name = Trim(child.name.Str());
    if (name->empty()) return false;
    *raw = text.substr(colon + 1);
    return true;
}

std::vector<JsonMember> MembersAt(const std::string& text, int depth) {
    std::vector<JsonMember> members;
    if (!JsonText::IsObject(text)) return members;
    CJosn doc{CString(Compact(text))};
    const unsigned int count = doc.GetChildCount();
    for (unsigned int i = 0; i < count; ++i) {
        const JosnChildValue* child = doc.GetChildStructPtr(i);
        std::string name;
        std::string raw;
        if (!child || !SplitMember(*child, &name, &raw)) continue;
        JsonMember m = ValueOf(raw, depth);
        m.name = name;
        members.push_back(std::move(m));
    }
    return members;
}

std::string StandardAt(const std::string& text, int depth) {
    const std::string v = Compact(text);
    if (v.empty() || (v[0] != '{' && v[0] != '[')) return ValueOf(v, depth).json;
    if (v[0] == '{') return JsonText::ObjectOf(MembersAt(v, depth));
    CJosn doc{CString(v)};
    std::string out = "[";
    const unsigned int count = doc.GetChildCount();
    for (unsigned int i = 0; i < count; ++i) {
        const JosnChildValue* child = doc.GetChildStructPtr(i);
        if (!child) continue;
        if (out.size() > 1) out += ',';
        out += ValueOf(child->text.Str(), depth).json;
    }
    return out + "]";
}

}  // namespace

std::string JsonText::Quote(const std::string& text) {
    std::string out = "\"";
    for (char c : text) {
        switch (c) {
            case '"':
                out += "\\\"";
                break;
            case '\\':
                out += "\\\\";
                break;
            case '\n':
                out += "\\n";
                break;
            case '\r':
                out += "\\r";
                break;
            case '\t':
                out += "\\t";
                break;
            default:
                if (static_cast<unsigned char>(c) < 0x20) {
                    char buf[8];
                    std::snprintf(buf, sizeof buf, "\\u%04x", static_cast<unsigned>(c));
                    out += buf;
                } else {
                    out += c;
                }
        }
    }
    return out + "\"";
}

bool JsonText::IsObject(const std::string& text) {
    const std::string v = Trim(text);
    return v.size() >= 2 && v.front() == '{' && v.back() == '}';
}

std::vector<JsonMember> JsonText::Members(const std::string& text) { return MembersAt(text, 0); }

JsonMember JsonText::Member(const std::string& text, const std::string& name, bool* found) {
    if (found) *found = false;
    if (!IsObject(text)) return JsonMember();
    CJosn doc{CString(Compact(text))};
    const JosnChildValue child = doc.FindChildStruct(CString(name));
    std::string childName;
    std::string raw;
    if (!SplitMember(child, &childName, &raw)) return JsonMember();
    if (found) *found = true;
    JsonMember m = ValueOf(raw, 0);
    m.name = childName;
    return m;
}

std::string JsonText::ToStandard(const std::string& text) { return StandardAt(text, 0); }

std::string JsonText::ObjectOf(const std::vector<JsonMember>& members) {
    std::string out = "{";
    for (const JsonMember& m : members) {
        if (out.size() > 1) out += ',';
        out += Quote(m.name) + ":" + m.json;
    }
    return out + "}";
}

std::vector<std::string> JsonText::ArrayTexts(const std::string& text) {
    std::vector<std::string> out;
    const std::string v = Compact(text);
    if (v.empty() || v[0] != '[') {
        out.push_back(ValueOf(v, 0).text);
        return out;
    }
    CJosn doc{CString(v)};
    const unsigned int count = doc.GetChildCount();
    for (unsigned int i = 0; i < count; ++i) {
        const JosnChildValue* child = doc.GetChildStructPtr(i);
        if (child) out.push_back(ValueOf(child->text.Str(), 0).text);
    }
    return out;
}
