#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "json/CJosn.h"
#include "support/CStringPrinter.h"

namespace {

using Texts = std::vector<CString>;

// Every child as text|name|value, joined by " ; ". A lookup by each name reads the records on
// one document (a record lent) and the text in place on another, which must agree; the index
// equal to the count gives empty results, and leaves the outputs of GetChildValue untouched.
CString Scan(const CString& text) {
    CJosn records(text), inPlace(text);
    CString out, name = "n", value = "v";
    records.GetChildStructPtr(0);
    const unsigned int count = records.GetChildCount();
    for (unsigned int i = 0; i < count; ++i) {
        const JosnChildValue c = records.GetChildStruct(i);
        EXPECT_EQ(records.GetKeyValue(c.name), inPlace.GetKeyValue(c.name));
        out += (i > 0 ? " ; " : "") + c.text + "|" + c.name + "|" + c.value;
    }
    const JosnChildValue past = records.GetChildStruct(count);
    EXPECT_TRUE(!inPlace.GetChildValue(count, name, value) && !records.GetChildStructPtr(count));
    EXPECT_EQ("||||||{}|n|v", past.text + "|" + past.name + "|" + past.value + "|" +
                                  inPlace.GetChildName(count) + "|" + inPlace.GetChildValue(count) +
                                  "|" + records.GetChildValue(count) + "|" +
                                  inPlace.GetChild(count).GetValue() + "|" + name + "|" + value);
    return out;
}

// The document GetChild makes of a child, then IsChildObject, IsChildArray and IsChildEntity
// as "o", "a" and "e" (or "-").
template <class Key>
CString ChildOf(const CJosn& doc, Key key) {
    return doc.GetChild(key).GetValue() + " " + (doc.IsChildObject(key) ? "o" : "-") +
           (doc.IsChildArray(key) ? "a" : "-") + (doc.IsChildEntity(key) ? "e" : "-");
}

// For each key, the value FindChildStruct finds and the one GetKeyValue gives: "trimmed/exact".
Texts Lookups(const CJosn& doc, std::initializer_list<const char*> keys) {
    Texts out;
    for (const char* key : keys) {
        const CString trimmed = doc.FindChildStruct(key).value;
        out.push_back(trimmed + "/" + doc.GetKeyValue(key));
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
        {"object elements give first-member fragments", "[{},{\"a\":1,\"b\":2}]",
         "{}||{} ; {\"a\":1,\"b\":2}|\"a|1,\"b\":2}"},
        {"scalar elements have no name", "[1,'a',null,true]", "1||1 ; 'a'||a ; null|| ; true||1"},
        {"an empty item ends the scan", "{a:1,,b:2}", "a:1|a|1"},
        {"a trailing comma", "{a:1,}", "a:1|a|1"},
        {"a top-level closing bracket separates", "{a:1}b:2}", "a:1|a|1 ; b:2|b|2"},
        {"the last character is never examined", "{a:1,b:2", "a:1|a|1 ; b:|b|"},
        {"quoted names lose their quotes", "{\"TotalCount\":5,'x':y}",
         "\"TotalCount\":5|TotalCount|5 ; 'x':y|x|y"},
        {"a quote before the colon drops the first character", "{x\"y\":1}", "x\"y\":1|\"y|1"},
        {"a colon first gives no name", "{:1,\":2}", ":1||1 ; \":2||2"},
        {"nulls and booleans after stripping quotes", "{a:null,b:'null',c:true,d:'true',e:false}",
         "a:null|a| ; b:'null'|b|null ; c:true|c|1 ; d:'true'|d|1 ; e:false|e|0"},
        {"only exact words and both quote kinds", "{f:'x',g:NULL,h:Null,i:'\"\"x\"',j: x }",
         "f:'x'|f|x ; g:NULL|g| ; h:Null|h|Null ; i:'\"\"x\"'|i|x ; j: x |j| x "},
        {"escaped double quotes are unescaped in member values",
         "{a:\"x\\\"y\",b:'x\\'y',c:\"x\\\"\",d:x\\}",
         "a:\"x\\\"y\"|a|x\"y ; b:'x\\'y'|b|x\\'y ; c:\"x\\\"\"|c|x ; d:x\\|d|x\\"},
        {"but not in container elements", "[{a:\"x\\\"y\"}]", "{a:\"x\\\"y\"}|{a|x\\\"y\"}"},
        {"an unclosed string runs to the end", "{a:'x," + CString(std::string(70, ',')) + "}",
         "a:'x," + CString(std::string(70, ',')) + "|a|x," + CString(std::string(70, ','))},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        EXPECT_EQ(c.children, Scan(c.text));
    }
    EXPECT_TRUE(CJosn("{}").IsEmpty() && CJosn("").IsEmpty() && CJosn().IsEmpty());
    EXPECT_FALSE(CJosn("[]").IsEmpty());
}

TEST(CJosnScan, StringsEscapesAndBracketsCarryAcrossTheScannersBlocks) {
    // Each item is moved through every offset of the 64-byte blocks the scanner reads.
    for (int pad = 0; pad < 70; ++pad) {
        const std::string x(pad, 'x');
        const Texts items = {"a:'" + x + ",\"}'",  "b:\"" + x + "\\\",'\"", "[" + x + ",{']'}]",
                             "\"" + x + "\\\"y\"", "c:{" + x + ",[\"]\"]}", "'" + x + "\\'y'"};
        std::string text;
        for (const CString& item : items) text += "," + item.Str();
        const CJosn doc("{" + text.substr(1) + "}");
        Texts scanned;
        for (unsigned int i = 0; i < doc.GetChildCount(); ++i)
            scanned.push_back(doc.GetChildStruct(i).text);
        ASSERT_EQ(items, scanned) << text;
    }
}

TEST(CJosnScan, LookupsByNameFindTheFirstChildSoNamedInAnyOrder) {
    // Duplicates after the last child found, and names that differ in one byte or in length.
    CJosn doc(
        "{a:1,b:2,a:3,Longer_name:4,Longer_namf:5,b:6,abcdefg:7,abcdxfg:8,abcd:9,abcdbcd:10,xy:11,"
        "yx:12,x:{y:13}}");
    EXPECT_EQ((Texts{"1/1", "2/2", "1/1", "5/5", "2/2", "4/4", "8/8", "10/10", "12/12", "/", "/"}),
              Lookups(doc, {"a", "b", "a", "Longer_namf", "b", "Longer_name", "abcdxfg", "abcdbcd",
                            "yx", "zz", ""}));
    // Records changed through their pointers are what every query reads, the search included.
    *doc.GetChildStructPtr(0) = JosnChildValue{"a:1", "q", "Q"};
    doc.GetChildStructPtr(1)->name = "a";
    doc.GetChildStructPtr(12)->text = "[{k:5}]";
    EXPECT_EQ((Texts{"2/2", "6/6", "Q/Q"}), Lookups(doc, {"a", "b", "q"}));
    EXPECT_EQ((Texts{"Q", "6", "[{k:5}]", "5"}),
              (Texts{doc.FindKeyValueRecursion("q"), doc.FindKeyValueRecursion("b"),
                     doc.GetChild("x").GetValue(), doc.FindKeyValueRecursion("k")}));
    // Only FindChildStruct and the by-name forms built on it trim the names; a quote after a
    // blank is part of the name. " {x:1}" is found by "{x", but does not begin with "{".
    const CJosn padded("{ a :1, c :{},a:2,\"d\":4, \"e\":5, {x:1},[y:2]}");
    EXPECT_EQ((Texts{"{}/", "1/2", "4/4", "/"}), Lookups(padded, {"c", "a", "d", "e"}));
    EXPECT_EQ((Texts{"\"e", "{ c :{}} ---", "{ {x:1}} ---", "[y:2] -ae"}),
              (Texts{padded.GetChildName(4), ChildOf<CString>(padded, "c"),
                     ChildOf<CString>(padded, "{x"), ChildOf<CString>(padded, "[y")}));
}

TEST(CJosnGetChild, ContainersAreTakenAsTheyAreOthersWrappedInBracesAndKindsReadTheFirstByte) {
    const CJosn array("[{\"TotalCount\":5},{\"TotalCount\":7},[1],5]");
    const CJosn object("{a:{b:1},c:[1,2],d:3}");
    EXPECT_EQ((Texts{"{\"TotalCount\":5} o-e", "[1] -ae", "{5} ---", "{} ---", "7"}),
              (Texts{ChildOf(array, 0u), ChildOf(array, 2u), ChildOf(array, 3u), ChildOf(array, 4u),
                     array.GetChild(1).GetKeyValue("TotalCount")}));
    EXPECT_TRUE(array.IsArray() && !object.IsArray() && array.GetChild(1).GetPos() == 1);
    EXPECT_EQ((Texts{"{a:{b:1}} ---", "{c:[1,2]} ---", "{d:3} ---", "{} ---"}),
              (Texts{ChildOf<CString>(object, "a"), ChildOf(object, 1u),
                     ChildOf<CString>(object, "d"), ChildOf<CString>(object, "missing")}));
}

TEST(CJosnFind, SearchesArrayElementsDepthFirstButNeverMemberValues) {
    const std::string open(100000, '['), close(100000, ']');
    const struct {
        const char* label;
        CString text, key, found;
    } cases[] = {
        {"first match in array elements", "[{\"TotalCount\":5},{\"TotalCount\":7}]", "TotalCount",
         "5"},
        {"member values are not entered", "{list:[{k:1}]}", "k", ""},
        {"an object member is skipped", "[{x:{k:1}},{k:2}]", "k", "2"},
        {"nested arrays come first", "[[{k:1}],{k:2}]", "k", "1"},
        {"deep pre-order", "[[[[{a:1}],[{k:3}]]],{k:4}]", "k", "3"},
        {"an element's own name is tested first", "[{k:1,b:2}]", "{k", "1,b:2}"},
        {"its content is searched after", "[{'k':1}]", "k", "1"},
        {"single quotes hide brackets", "[{a:'],[{k:1}'},{k:2}]", "k", "2"},
        {"double quotes hide brackets", "[{a:\"[{k:1}]\"}]", "k", ""},
        {"an empty key matches an item without name", "[{a:1},2]", "", "2"},
        {"an empty item ends only its own container", "[[{a:1},,{k:1}],{k:2}]", "k", "2"},
        {"an unclosed bracket in an element", "[[{a:{1},{k:5}],{k:6}]", "k", "5"},
        {"escaped quotes are unescaped inside elements", "[{k:\"x\\\"y\"}]", "k", "x\"y"},
        {"an escaped quote does not end a string", "[{a:'x\\',k:1'},{k:2}]", "k", "2"},
        {"an element cut before its last byte keeps no colon past it", "[{[\\:]}", "", "\\"},
        {"deep nesting", open + "{k:1}" + close, "k", "1"},
        {"deep nesting left open", open + "{a:1}", "k", ""},
        {"after deep nesting", "[" + open + close + ",{k:2}]", "k", "2"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        EXPECT_EQ(c.found, CJosn(c.text).FindKeyValueRecursion(c.key));
    }
}

TEST(CJosnCache, RecordsStayInPlaceUntilAQuerySeesAnotherText) {
    const CString text = "[{a:1},{b:2},{c:3}]";
    CJosn doc(text);
    JosnChildValue* second = doc.GetChildStructPtr(1);
    JosnChildValue* first = doc.GetChildStructPtr(0);
    first->value = "x";
    // Another text set and replaced by the same one before any query keeps the records.
    doc.SetValue("{x:9}");
    doc.SetValue(text);
    EXPECT_TRUE(first == doc.GetChildStructPtr(0) && second == doc.GetChildStructPtr(1));
    EXPECT_EQ((Texts{"{a:1}", "{a", "x", "{b:2}", "{b", "2}", "x", "2}"}),
              (Texts{first->text, first->name, first->value, second->text, second->name,
                     second->value, doc.GetChildValue(0), doc.FindChildStruct("{b").value}));
    doc.SetValue("[3]");
    EXPECT_TRUE(doc.IsArray());
    doc.SetValue(text);
    EXPECT_EQ("1}", doc.GetChildValue(0));
    // Copies carry a text not scanned yet; writes and empty() change what is scanned.
    doc.SetValue("{a:1,b:2}");
    const CJosn copy(doc);
    CJosn assigned;
    assigned = doc;
    EXPECT_EQ("2", doc.GetKeyValue("b"));
    doc.empty();
    EXPECT_EQ(0u, doc.GetChildCount());
    doc.push("c", 3);
    EXPECT_EQ((Texts{"2", "2", "3"}), (Texts{CString(std::to_string(copy.GetChildCount())),
                                             assigned.GetKeyValue("b"), doc.GetKeyValue("c")}));
    // Text and cursor are independent.
    doc.SetValue("{x:1,y:2}");
    EXPECT_EQ(4, doc.GetPos());
    doc.Reset();
    EXPECT_EQ("{x:1,y:2}@1", doc.GetValue() + "@" + CString(std::to_string(doc.GetPos())));
}
