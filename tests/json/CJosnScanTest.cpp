#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "json/CJosn.h"
#include "support/CStringPrinter.h"

namespace {

struct Child {
    CString text, name, value;
    bool operator==(const Child& o) const {
        return text == o.text && name == o.name && value == o.value;
    }
};

void PrintTo(const Child& c, std::ostream* os) {
    *os << "{" << c.text.Str() << " | " << c.name.Str() << " | " << c.value.Str() << "}";
}

std::vector<Child> ChildrenOf(const CString& text) {
    CJosn doc(text);
    std::vector<Child> out;
    for (unsigned int i = 0; i < doc.GetChildCount(); ++i) {
        JosnChildValue c = doc.GetChildStruct(i);
        out.push_back({c.text, c.name, c.value});
    }
    return out;
}

using Children = std::vector<Child>;

}  // namespace

TEST(CJosnScan, EmptyTextsHaveNoChildren) {
    EXPECT_EQ(Children{}, ChildrenOf("{}"));
    EXPECT_EQ(Children{}, ChildrenOf("[]"));
    EXPECT_EQ(Children{}, ChildrenOf(""));
    EXPECT_EQ(Children{}, ChildrenOf("{"));
    EXPECT_TRUE(CJosn("{}").IsEmpty());
    EXPECT_TRUE(CJosn("").IsEmpty());
    EXPECT_FALSE(CJosn("[]").IsEmpty());
    EXPECT_TRUE(CJosn().IsEmpty());
}

TEST(CJosnScan, MembersGiveTextNameAndValue) {
    EXPECT_EQ((Children{{"a:1", "a", "1"}, {"b:2", "b", "2"}}), ChildrenOf("{a:1,b:2}"));
}

TEST(CJosnScan, QuotedNamesLoseTheirQuotes) {
    EXPECT_EQ((Children{{"\"TotalCount\":5", "TotalCount", "5"}, {"'x':y", "x", "y"}}),
              ChildrenOf("{\"TotalCount\":5,'x':y}"));
}

TEST(CJosnScan, SeparatorsInsideQuotesAreIgnored) {
    EXPECT_EQ((Children{{"a:'x,y}'", "a", "x,y}"}, {"b:2", "b", "2"}}),
              ChildrenOf("{a:'x,y}',b:2}"));
    EXPECT_EQ((Children{{"a:\"x,y]\"", "a", "x,y]"}, {"b:2", "b", "2"}}),
              ChildrenOf("{a:\"x,y]\",b:2}"));
    // Inside single quotes a double quote is plain text, and the other way round.
    EXPECT_EQ((Children{{"a:'x\"y,z'", "a", "x\"y,z"}, {"b:\"'\"", "b", ""}}),
              ChildrenOf("{a:'x\"y,z',b:\"'\"}"));
}

TEST(CJosnScan, NestedContainersAreValuesOfTheirMembers) {
    EXPECT_EQ((Children{{"a:{b:1}", "a", "{b:1}"}, {"c:[1,2]", "c", "[1,2]"}}),
              ChildrenOf("{a:{b:1},c:[1,2]}"));
}

TEST(CJosnScan, ArrayElementsThatAreObjectsTakeNameAndValueFromTheirFirstMember) {
    EXPECT_EQ((Children{{"{\"a\":1,\"b\":2}", "\"a", "1,\"b\":2}"}, {"{}", "", "{}"}}),
              ChildrenOf("[{\"a\":1,\"b\":2},{}]"));
}

TEST(CJosnScan, ScalarArrayElementsHaveNoName) {
    EXPECT_EQ((Children{{"1", "", "1"}, {"'a'", "", "a"}, {"null", "", ""}, {"true", "", "1"}}),
              ChildrenOf("[1,'a',null,true]"));
}

TEST(CJosnScan, EmptyItemEndsTheScan) {
    EXPECT_EQ((Children{{"a:1", "a", "1"}}), ChildrenOf("{a:1,,b:2}"));
    EXPECT_EQ((Children{{"a:1", "a", "1"}}), ChildrenOf("{a:1,}"));
    EXPECT_EQ(Children{}, ChildrenOf("{,a:1}"));
}

TEST(CJosnScan, AClosingBracketAtTopLevelSeparatesItems) {
    EXPECT_EQ((Children{{"a:1", "a", "1"}, {"b:2", "b", "2"}}), ChildrenOf("{a:1}b:2}"));
}

TEST(CJosnScan, TheLastCharacterIsNeverExamined) {
    EXPECT_EQ((Children{{"a:1", "a", "1"}, {"b:", "b", ""}}), ChildrenOf("{a:1,b:2"));
    EXPECT_EQ((Children{{"a:1", "a", "1"}}), ChildrenOf("xa:1x"));
}

TEST(CJosnScan, SpacesAreKeptInNames) {
    CJosn doc("{a:1, b:2}");
    EXPECT_EQ(" b", doc.GetChildName(1));
    EXPECT_EQ("", doc.GetKeyValue("b"));
    EXPECT_EQ("2", doc.FindChildStruct("b").value);
    CJosn quoted("{a:1, \"b\":2}");
    EXPECT_EQ("\"b", quoted.GetChildName(1));
    EXPECT_EQ("", quoted.GetKeyValue("b"));
    EXPECT_EQ("", quoted.FindChildStruct("b").text);
}

TEST(CJosnScan, ColonPositionsDecideTheName) {
    EXPECT_EQ((Children{{":5", "", "5"}}), ChildrenOf("{:5}"));
    EXPECT_EQ((Children{{"':5", "", "5"}}), ChildrenOf("{':5}"));
    EXPECT_EQ((Children{{"a:b:c", "a", "b:c"}}), ChildrenOf("{a:b:c}"));
    EXPECT_EQ((Children{{"x\"y\":1", "\"y", "1"}}), ChildrenOf("{x\"y\":1}"));
}

TEST(CJosnScan, CleanValueTurnsNullsAndBooleansAfterStrippingQuotes) {
    EXPECT_EQ((Children{{"a:null", "a", ""},
                        {"b:'null'", "b", "null"},
                        {"c:true", "c", "1"},
                        {"d:'true'", "d", "1"},
                        {"e:false", "e", "0"},
                        {"f:'x'", "f", "x"},
                        {"g:NULL", "g", ""},
                        {"h:Null", "h", "Null"},
                        {"i:'\"\"x\"'", "i", "x"},
                        {"j: x ", "j", " x "}}),
              ChildrenOf("{a:null,b:'null',c:true,d:'true',e:false,f:'x',g:NULL,h:Null,"
                         "i:'\"\"x\"',j: x }"));
}

TEST(CJosnScan, EscapedDoubleQuotesAreUnescapedInMemberValues) {
    EXPECT_EQ("x\"y", CJosn("{a:\"x\\\"y\"}").GetKeyValue("a"));
    EXPECT_EQ("x\\'y", CJosn("{a:'x\\'y'}").GetKeyValue("a"));
    EXPECT_EQ("x", CJosn("{a:\"x\\\"\"}").GetKeyValue("a"));
    // In an array element that is a container the escape stays.
    EXPECT_EQ("x\\\"y\"}", CJosn("[{a:\"x\\\"y\"}]").GetChildValue(0));
}

TEST(CJosnScan, AnEscapedBackslashBeforeAQuoteIsNotRecognised) {
    EXPECT_EQ((Children{{"a:\"x\\\\\",b:2", "a", "x\\\",b:2"}}), ChildrenOf("{a:\"x\\\\\",b:2}"));
}

TEST(CJosnScan, OutOfRangeIndexesGiveEmptyResults) {
    CJosn doc("{a:1}");
    JosnChildValue c = doc.GetChildStruct(1);
    EXPECT_EQ((Child{"", "", ""}), (Child{c.text, c.name, c.value}));
    EXPECT_EQ("", doc.GetChildName(1));
    EXPECT_EQ("", doc.GetChildValue(1));
    CString name = "n", value = "v";
    EXPECT_FALSE(doc.GetChildValue(1, name, value));
    EXPECT_EQ("n", name);
    EXPECT_EQ("v", value);
    EXPECT_TRUE(doc.GetChildValue(0, name, value));
    EXPECT_EQ("a", name);
    EXPECT_EQ("1", value);
    EXPECT_EQ(nullptr, doc.GetChildStructPtr(1));
    ASSERT_NE(nullptr, doc.GetChildStructPtr(0));
    EXPECT_EQ("a:1", doc.GetChildStructPtr(0)->text);
}

TEST(CJosnScan, LookupsByName) {
    CJosn doc("{ a :1,a:2,b:3}");
    EXPECT_EQ("2", doc.GetKeyValue("a"));
    EXPECT_EQ("1", doc.FindChildStruct("a").value);
    EXPECT_EQ("", doc.GetKeyValue("c"));
    EXPECT_EQ("", doc.FindChildStruct("c").name);
}

TEST(CJosnCache, SetValueWithTheSameTextKeepsTheCachedRecords) {
    const CString text = "{a:1,b:2}";
    CJosn doc(text);
    JosnChildValue* first = doc.GetChildStructPtr(0);
    doc.SetValue(CString("{a:1,b:2}"));
    EXPECT_EQ(first, doc.GetChildStructPtr(0));
    doc.SetValue("{x:9}");
    doc.SetValue(text);
    EXPECT_EQ(first, doc.GetChildStructPtr(0));
    EXPECT_EQ("a:1", first->text);
}

TEST(CJosnCache, RecordPointersStayValidWhileTheTextIsUnchanged) {
    CJosn doc("[{a:1},{b:2},{c:3}]");
    JosnChildValue* second = doc.GetChildStructPtr(1);
    JosnChildValue* first = doc.GetChildStructPtr(0);
    EXPECT_EQ("2}", doc.FindChildStruct("{b").value);
    EXPECT_EQ("c", doc.GetChild(2).GetChildName(0));
    EXPECT_EQ(second, doc.GetChildStructPtr(1));
    EXPECT_EQ(first, doc.GetChildStructPtr(0));
    EXPECT_EQ("{b:2}", second->text);
    EXPECT_EQ("{a:1}", first->text);
}

TEST(CJosnCache, ChangedTextIsScannedAgain) {
    CJosn doc("{a:1}");
    EXPECT_EQ(1u, doc.GetChildCount());
    doc.SetValue("{a:1,b:2}");
    EXPECT_EQ(2u, doc.GetChildCount());
    doc.empty();
    EXPECT_EQ(0u, doc.GetChildCount());
    doc.push("a", 1);
    EXPECT_EQ(1u, doc.GetChildCount());
    doc.push("c", 3);
    EXPECT_EQ(2u, doc.GetChildCount());
    EXPECT_EQ("3", doc.GetKeyValue("c"));
}

TEST(CJosnCache, CopiesCarryTextCursorAndCache) {
    CJosn doc("{a:1}");
    EXPECT_EQ(1u, doc.GetChildCount());
    doc.SetValue("{a:1,b:2}");
    CJosn copy(doc);
    EXPECT_EQ(2u, copy.GetChildCount());
    CJosn assigned;
    assigned = doc;
    EXPECT_EQ("{a:1,b:2}", assigned.GetValue());
    EXPECT_EQ("2", assigned.GetKeyValue("b"));
    EXPECT_EQ(2u, doc.GetChildCount());
}

TEST(CJosnCache, SetValueKeepsTheCursorAndResetKeepsTheText) {
    CJosn doc;
    doc.push("abc", 1);
    EXPECT_EQ(6, doc.GetPos());
    doc.SetValue("{x:1,y:2}");
    EXPECT_EQ(6, doc.GetPos());
    doc.Reset();
    EXPECT_EQ(1, doc.GetPos());
    EXPECT_EQ("{x:1,y:2}", doc.GetValue());
}

namespace {

// The item scanner written out step by step, as a reference for long random texts.
std::string ReferenceScanItem(const std::string& t, size_t b) {
    bool single = false, dbl = false;
    int depth = 0;
    const size_t L = t.size();
    for (size_t i = b; i + 1 < L; ++i) {
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
    return L > b + 1 ? t.substr(b, L - b - 1) : std::string();
}

std::string ReferenceClean(std::string s) {
    if (s == "null" || s == "NULL") s.clear();
    while (!s.empty() && (s.front() == '"' || s.front() == '\'')) s.erase(0, 1);
    while (!s.empty() && (s.back() == '"' || s.back() == '\'')) s.pop_back();
    if (s == "true") return "1";
    if (s == "false") return "0";
    return s;
}

Children ReferenceChildren(const std::string& t) {
    Children out;
    size_t b = 1;
    for (std::string item = ReferenceScanItem(t, b); !item.empty();
         item = ReferenceScanItem(t, b)) {
        b += item.size() + 1;
        std::string value;
        if (item[0] == '{' || item[0] == '[') {
            const size_t colon = item.find(':');
            value = colon == std::string::npos ? item : item.substr(colon + 1);
        } else {
            std::string copy;
            for (size_t i = 0; i < item.size(); ++i) {
                if (item[i] == '\\' && i + 1 < item.size() && item[i + 1] == '"') continue;
                copy += item[i];
            }
            const size_t colon = copy.find(':');
            value = colon == std::string::npos ? copy : copy.substr(colon + 1);
        }
        std::string name;
        const size_t colon = item.find(':');
        if (colon != std::string::npos && colon > 0) {
            if (item[colon - 1] == '"' || item[colon - 1] == '\'') {
                name = colon >= 2 ? item.substr(1, colon - 2) : std::string();
            } else {
                name = item.substr(0, colon);
            }
        }
        out.push_back({item, name, ReferenceClean(value)});
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
        const size_t length = random() % 400;
        std::string text = round % 2 == 0 ? "[" : "{";
        for (size_t i = 0; i < length; ++i) text += alphabet[random() % alphabet.size()];
        text += '}';
        ASSERT_EQ(ReferenceChildren(text), ChildrenOf(text)) << text;
    }
}
