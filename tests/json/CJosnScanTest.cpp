#include <gtest/gtest.h>

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
