#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "json/CJosn.h"
#include "support/CStringPrinter.h"

namespace {

using Texts = std::vector<CString>;

// The search as the documents themselves define it: each container child searched as the
// document GetChild makes of it.
bool SearchByChildDocuments(const CJosn& doc, const CString& key, CString& result) {
    for (unsigned int i = 0; i < doc.GetChildCount(); ++i) {
        JosnChildValue child = doc.GetChildStruct(i);
        if (child.name == key) {
            result = child.value;
            return true;
        }
        if (child.text.GetAt(0) == '{' || child.text.GetAt(0) == '[') {
            if (SearchByChildDocuments(doc.GetChild(i), key, result)) return true;
        }
    }
    return false;
}

// IsChildObject, IsChildArray and IsChildEntity of one child as "o", "a" and "e" (or "-").
template <class Key>
std::string KindsOf(const CJosn& doc, Key key) {
    return {doc.IsChildObject(key) ? 'o' : '-', doc.IsChildArray(key) ? 'a' : '-',
            doc.IsChildEntity(key) ? 'e' : '-'};
}
std::string KindsOf(const CJosn& doc, const char* name) { return KindsOf(doc, CString(name)); }
using Kinds = std::vector<std::string>;

}  // namespace

TEST(CJosnGetChild, ContainerElementsAreTakenAsTheyAreAndOthersWrappedInBraces) {
    CJosn array("[{\"TotalCount\":5},{\"TotalCount\":7},[1],5]");
    EXPECT_EQ((Texts{"{\"TotalCount\":7}", "[1]", "{5}", "{}"}),
              (Texts{array.GetChild(1).GetValue(), array.GetChild(2).GetValue(),
                     array.GetChild(3).GetValue(), array.GetChild(4).GetValue()}));
    EXPECT_EQ("7", array.GetChild(1).GetKeyValue("TotalCount"));
    EXPECT_EQ(1, array.GetChild(1).GetPos());

    CJosn object("{a:{b:1},c:[1,2],d:3}");
    EXPECT_EQ((Texts{"{a:{b:1}}", "{c:[1,2]}", "{d:3}", "{}"}),
              (Texts{object.GetChild("a").GetValue(), object.GetChild(1).GetValue(),
                     object.GetChild("d").GetValue(), object.GetChild("missing").GetValue()}));
}

TEST(CJosnGetChild, KindTestsLookAtTheFirstCharacterOfTheItem) {
    CJosn object("{a:{b:1},c:[1,2]}");
    EXPECT_FALSE(object.IsArray());
    EXPECT_EQ((Kinds{"---", "---", "---"}),
              (Kinds{KindsOf(object, "a"), KindsOf(object, 0u), KindsOf(object, "c")}));
    CJosn array("[{a:1},[2],3]");
    EXPECT_TRUE(array.IsArray());
    EXPECT_EQ((Kinds{"o-e", "-ae", "---", "---"}), (Kinds{KindsOf(array, 0u), KindsOf(array, 1u),
                                                          KindsOf(array, 2u), KindsOf(array, 3u)}));
    // The by-name forms find " {x:1}" by its trimmed name "{x"; it does not begin with "{".
    CJosn named("[ {x:1},{y:2}]");
    EXPECT_EQ(" {x:1}", named.FindChildStruct("{x").text);
    EXPECT_EQ((Kinds{"---", "o-e", "---"}),
              (Kinds{KindsOf(named, "{x"), KindsOf(named, "{y"), KindsOf(named, "nothing")}));
}

TEST(CJosnFind, SearchesArrayElementsDepthFirstButNeverMemberValues) {
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
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        EXPECT_EQ(c.found, CJosn(c.text).FindKeyValueRecursion(c.key));
    }
}

TEST(CJosnFind, ReadsTheCachedRecordsAsEveryQueryDoes) {
    CJosn doc("{a:1,b:2}");
    JosnChildValue* second = doc.GetChildStructPtr(1);
    second->name = "k";
    second->value = "9";
    EXPECT_EQ((Texts{"9", "9", ""}), (Texts{doc.GetKeyValue("k"), doc.FindKeyValueRecursion("k"),
                                            doc.FindKeyValueRecursion("b")}));
    // A record whose text now names a container is searched as the document GetChild makes.
    CJosn array("[1,{k:2}]");
    array.GetChildStructPtr(0)->text = "[{k:5}]";
    EXPECT_EQ("[{k:5}]", array.GetChild(0u).GetValue());
    EXPECT_EQ("5", array.FindKeyValueRecursion("k"));
    // A new text drops the changed records.
    array.GetChildStructPtr(1)->text = "{k:7}";
    array.SetValue("[{k:3}]");
    EXPECT_EQ("3", array.FindKeyValueRecursion("k"));
}

TEST(CJosnFind, SurvivesDeepNesting) {
    const int depth = 100000;
    const std::string open(depth, '['), close(depth, ']');
    EXPECT_EQ("1", CJosn(open + "{k:1}" + close).FindKeyValueRecursion("k"));
    EXPECT_EQ("", CJosn(open + "{a:1}").FindKeyValueRecursion("k"));
    EXPECT_EQ("2", CJosn("[" + open + close + ",{k:2}]").FindKeyValueRecursion("k"));
}

TEST(CJosnFind, AgreesWithSearchingChildDocuments) {
    const char alphabet[] = "{}[],:'\"\\k1 a";
    const CString keys[] = {"k", "", "a", "\"k", " k"};
    std::mt19937 random(12345);
    for (int round = 0; round < 20000; ++round) {
        std::string text = round % 2 == 0 ? "[" : "{";
        for (int i = random() % 40; i > 0; --i) text += alphabet[random() % (sizeof(alphabet) - 1)];
        text += round % 3 == 0 ? "]" : "}";
        const CJosn doc(text);
        for (const CString& key : keys) {
            CString expected;
            SearchByChildDocuments(doc, key, expected);
            ASSERT_EQ(expected, doc.FindKeyValueRecursion(key)) << text << " key " << key.Str();
        }
    }
}
