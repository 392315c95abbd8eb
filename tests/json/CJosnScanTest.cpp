#include <gtest/gtest.h>

#include <random>
#include <string>
#include <tuple>
#include <vector>

#include "json/CJosn.h"
#include "support/CStringPrinter.h"

namespace {

// Text, name and value of one child, compared whole.
using Child = std::tuple<CString, CString, CString>;
using Children = std::vector<Child>;

Child Of(const JosnChildValue& c) { return {c.text, c.name, c.value}; }

Children ChildrenOf(const CString& text) {
    CJosn doc(text);
    Children out;
    for (unsigned int i = 0; i < doc.GetChildCount(); ++i) out.push_back(Of(doc.GetChildStruct(i)));
    return out;
}

// Every child as text|name|value, the children joined by " ; ".
CString Scan(const CString& text) {
    CString out;
    for (const Child& c : ChildrenOf(text)) {
        out += (out.IsEmpty() ? "" : " ; ") + std::get<0>(c) + "|" + std::get<1>(c) + "|" +
               std::get<2>(c);
    }
    return out;
}

}  // namespace

TEST(CJosnScan, ItemsAreCutAtTopLevelSeparatorsAndNamedByTheirFirstColon) {
    const struct {
        const char* label;
        CString text, children;
    } cases[] = {
        {"empty braces", "{}", ""},
        {"empty brackets", "[]", ""},
        {"empty text", "", ""},
        {"lone brace", "{", ""},
        {"members", "{a:1,b:2}", "a:1|a|1 ; b:2|b|2"},
        {"single quotes hide separators", "{a:'x,y}',b:2}", "a:'x,y}'|a|x,y} ; b:2|b|2"},
        {"double quotes hide separators", "{a:\"x,y]\",b:2}", "a:\"x,y]\"|a|x,y] ; b:2|b|2"},
        {"an escaped backslash is not seen", "{a:\"x\\\\\",b:2}", "a:\"x\\\\\",b:2|a|x\\\",b:2"},
        {"nested containers are values", "{a:{b:1},c:[1,2]}", "a:{b:1}|a|{b:1} ; c:[1,2]|c|[1,2]"},
        {"object elements give first-member fragments", "[{\"a\":1,\"b\":2},{}]",
         "{\"a\":1,\"b\":2}|\"a|1,\"b\":2} ; {}||{}"},
        {"scalar elements have no name", "[1,'a',null,true]", "1||1 ; 'a'||a ; null|| ; true||1"},
        {"an empty item ends the scan", "{a:1,,b:2}", "a:1|a|1"},
        {"a trailing comma", "{a:1,}", "a:1|a|1"},
        {"a top-level closing bracket separates", "{a:1}b:2}", "a:1|a|1 ; b:2|b|2"},
        {"the last character is never examined", "{a:1,b:2", "a:1|a|1 ; b:|b|"},
        {"quoted names lose their quotes", "{\"TotalCount\":5,'x':y}",
         "\"TotalCount\":5|TotalCount|5 ; 'x':y|x|y"},
        {"a quote before the colon drops the first character", "{x\"y\":1}", "x\"y\":1|\"y|1"},
        {"nulls and booleans after stripping quotes", "{a:null,b:'null',c:true,d:'true',e:false}",
         "a:null|a| ; b:'null'|b|null ; c:true|c|1 ; d:'true'|d|1 ; e:false|e|0"},
        {"only exact words and both quote kinds", "{f:'x',g:NULL,h:Null,i:'\"\"x\"',j: x }",
         "f:'x'|f|x ; g:NULL|g| ; h:Null|h|Null ; i:'\"\"x\"'|i|x ; j: x |j| x "},
        {"escaped double quotes are unescaped in member values",
         "{a:\"x\\\"y\",b:'x\\'y',c:\"x\\\"\"}",
         "a:\"x\\\"y\"|a|x\"y ; b:'x\\'y'|b|x\\'y ; c:\"x\\\"\"|c|x"},
        {"but not in container elements", "[{a:\"x\\\"y\"}]", "{a:\"x\\\"y\"}|{a|x\\\"y\"}"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        EXPECT_EQ(c.children, Scan(c.text));
    }
    EXPECT_TRUE(CJosn("{}").IsEmpty() && CJosn("").IsEmpty() && CJosn().IsEmpty());
    EXPECT_FALSE(CJosn("[]").IsEmpty());
}

TEST(CJosnScan, OnlyFindChildStructTrimsTheNames) {
    CJosn doc("{ a :1,a:2,b:3, c:4, \"d\":5}");
    EXPECT_EQ(" c", doc.GetChildName(3));
    EXPECT_EQ((std::vector<CString>{"2", "", "", ""}),
              (std::vector<CString>{doc.GetKeyValue("a"), doc.GetKeyValue("c"),
                                    doc.GetKeyValue("d"), doc.GetKeyValue("x")}));
    EXPECT_EQ((std::vector<CString>{"1", "4", "", ""}),
              (std::vector<CString>{doc.FindChildStruct("a").value, doc.FindChildStruct("c").value,
                                    doc.FindChildStruct("d").text, doc.FindChildStruct("x").name}));
}

TEST(CJosnScan, OutOfRangeIndexesGiveEmptyResults) {
    CJosn doc("{a:1}");
    EXPECT_EQ((Child{"", "", ""}), Of(doc.GetChildStruct(1)));
    EXPECT_EQ((std::vector<CString>{"", ""}),
              (std::vector<CString>{doc.GetChildName(1), doc.GetChildValue(1)}));
    EXPECT_EQ(nullptr, doc.GetChildStructPtr(1));
    CString name = "n", value = "v";
    EXPECT_FALSE(doc.GetChildValue(1, name, value));
    EXPECT_EQ((Child{"", "n", "v"}), (Child{"", name, value}));
    EXPECT_TRUE(doc.GetChildValue(0, name, value));
    EXPECT_EQ((Child{"", "a", "1"}), (Child{"", name, value}));
}

TEST(CJosnCache, RecordsStayInPlaceWhileTheTextIsUnchanged) {
    const CString text = "[{a:1},{b:2},{c:3}]";
    CJosn doc(text);
    JosnChildValue* second = doc.GetChildStructPtr(1);
    JosnChildValue* first = doc.GetChildStructPtr(0);
    EXPECT_EQ("2}", doc.FindChildStruct("{b").value);
    EXPECT_EQ("c", doc.GetChild(2).GetChildName(0));
    doc.SetValue(CString("[{a:1},{b:2},{c:3}]"));
    EXPECT_EQ(second, doc.GetChildStructPtr(1));
    // Another text in between, then the same text again: the records are still the cached ones.
    doc.SetValue("{x:9}");
    doc.SetValue(text);
    EXPECT_EQ(first, doc.GetChildStructPtr(0));
    EXPECT_EQ((Children{{"{a:1}", "{a", "1}"}, {"{b:2}", "{b", "2}"}}),
              (Children{Of(*first), Of(*second)}));
}

TEST(CJosnCache, EveryQueryDropsRecordsOfATextItSawReplaced) {
    // A record changed through its pointer lasts until a query sees another text.
    CJosn doc("[1,2]");
    doc.GetChildStructPtr(0)->value = "x";
    doc.SetValue("[3]");
    EXPECT_TRUE(doc.IsArray());
    doc.SetValue("[1,2]");
    EXPECT_EQ("1", doc.GetChildValue(0));
}

TEST(CJosnCache, ChangedTextIsScannedAgainAndCopiesCarryIt) {
    CJosn doc("{a:1}");
    EXPECT_EQ(1u, doc.GetChildCount());
    doc.SetValue("{a:1,b:2}");
    const CJosn copy(doc);
    CJosn assigned;
    assigned = doc;
    EXPECT_EQ(2u, copy.GetChildCount());
    EXPECT_EQ("2", assigned.GetKeyValue("b"));
    doc.empty();
    EXPECT_EQ(0u, doc.GetChildCount());
    doc.push("a", 1);
    doc.push("c", 3);
    EXPECT_EQ(std::make_pair(2u, CString("3")),
              std::make_pair(doc.GetChildCount(), doc.GetKeyValue("c")));
    // Text and cursor are independent.
    doc.SetValue("{x:1,y:2}");
    EXPECT_EQ(8, doc.GetPos());
    doc.Reset();
    EXPECT_EQ(std::make_pair(CString("{x:1,y:2}"), 1),
              std::make_pair(doc.GetValue(), doc.GetPos()));
}

namespace {

// The item scanner written out step by step, as a reference for long random texts.
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
        if (c == '{' || c == '[') {
            ++depth;
        } else if (c == '}' || c == ']') {
            --depth;
        }
    }
    return t.size() > b + 1 ? t.substr(b, t.size() - b - 1) : std::string();
}

std::string ReferenceClean(std::string s) {
    if (s == "null" || s == "NULL") s.clear();
    while (!s.empty() && (s.front() == '"' || s.front() == '\'')) s.erase(0, 1);
    while (!s.empty() && (s.back() == '"' || s.back() == '\'')) s.pop_back();
    return s == "true" ? "1" : s == "false" ? "0" : s;
}

std::string After(const std::string& s, char c) {
    const size_t at = s.find(c);
    return at == std::string::npos ? s : s.substr(at + 1);
}

Children ReferenceChildren(const std::string& t) {
    Children out;
    size_t b = 1;
    for (std::string item = ReferenceScanItem(t, b); !item.empty();
         item = ReferenceScanItem(t, b)) {
        b += item.size() + 1;
        std::string value = item;
        if (item[0] != '{' && item[0] != '[') {
            value.clear();
            for (size_t i = 0; i < item.size(); ++i) {
                if (item[i] != '\\' || i + 1 == item.size() || item[i + 1] != '"') value += item[i];
            }
        }
        std::string name;
        const size_t colon = item.find(':');
        if (colon != std::string::npos && colon > 0) {
            const bool quoted = item[colon - 1] == '"' || item[colon - 1] == '\'';
            name = !quoted ? item.substr(0, colon) : colon >= 2 ? item.substr(1, colon - 2) : "";
        }
        out.emplace_back(item, name, ReferenceClean(After(value, ':')));
    }
    return out;
}

}  // namespace

TEST(CJosnScan, LongRandomTextsScanAsTheStepsDefine) {
    const char* alphabets[] = {"abcdefgh:,", "ab:,{}[]\"", "a:,{}[]\"'\\", "ab \"'\\,:}",
                               "xxxxxxxxxxxxxx\",:{}"};
    std::mt19937 random(777);
    for (int round = 0; round < 3000; ++round) {
        const std::string alphabet = alphabets[round % 5];
        std::string text = round % 2 == 0 ? "[" : "{";
        for (size_t i = random() % 400; i > 0; --i) text += alphabet[random() % alphabet.size()];
        text += '}';
        ASSERT_EQ(ReferenceChildren(text), ChildrenOf(text)) << text;
    }
}
