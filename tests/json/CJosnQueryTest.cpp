#include <gtest/gtest.h>

#include <random>
#include <string>

#include "json/CJosn.h"
#include "support/CStringPrinter.h"

namespace {

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

}  // namespace

TEST(CJosnGetChild, ContainerElementsAreTakenAsTheyAre) {
    CJosn doc("[{\"TotalCount\":5},{\"TotalCount\":7},[1],5]");
    EXPECT_EQ(4u, doc.GetChildCount());
    EXPECT_EQ("{\"TotalCount\":7}", doc.GetChild(1).GetValue());
    EXPECT_EQ("7", doc.GetChild(1).GetKeyValue("TotalCount"));
    EXPECT_EQ("[1]", doc.GetChild(2).GetValue());
    EXPECT_EQ("{5}", doc.GetChild(3).GetValue());
    EXPECT_EQ("{}", doc.GetChild(4).GetValue());
    EXPECT_EQ(1, doc.GetChild(1).GetPos());
}

TEST(CJosnGetChild, MembersAreWrappedInBraces) {
    CJosn doc("{a:{b:1},c:[1,2],d:3}");
    EXPECT_EQ("{a:{b:1}}", doc.GetChild("a").GetValue());
    EXPECT_EQ("{c:[1,2]}", doc.GetChild(1).GetValue());
    EXPECT_EQ("{d:3}", doc.GetChild("d").GetValue());
    EXPECT_EQ("{}", doc.GetChild("missing").GetValue());
}

TEST(CJosnGetChild, KindTestsLookAtTheFirstCharacterOfTheItem) {
    CJosn doc("{a:{b:1},c:[1,2]}");
    EXPECT_FALSE(doc.IsChildObject("a"));
    EXPECT_FALSE(doc.IsChildEntity(0u));
    EXPECT_FALSE(doc.IsChildArray("c"));
    EXPECT_FALSE(doc.IsArray());

    CJosn array("[{a:1},[2],3]");
    EXPECT_TRUE(array.IsArray());
    EXPECT_TRUE(array.IsChildObject(0u));
    EXPECT_FALSE(array.IsChildArray(0u));
    EXPECT_TRUE(array.IsChildEntity(0u));
    EXPECT_TRUE(array.IsChildArray(1u));
    EXPECT_FALSE(array.IsChildObject(1u));
    EXPECT_TRUE(array.IsChildEntity(1u));
    EXPECT_FALSE(array.IsChildEntity(2u));
    EXPECT_FALSE(array.IsChildEntity(3u));
    // The by-name forms find " {x:1}" by its trimmed name "{x"; it does not begin with "{".
    CJosn named("[ {x:1},{y:2}]");
    EXPECT_EQ(" {x:1}", named.FindChildStruct("{x").text);
    EXPECT_FALSE(named.IsChildObject("{x"));
    EXPECT_FALSE(named.IsChildEntity("{x"));
    EXPECT_TRUE(named.IsChildObject("{y"));
    EXPECT_FALSE(named.IsChildObject("nothing"));
}

TEST(CJosnFind, FindsTheFirstMatchInArrayElements) {
    CJosn doc("[{\"TotalCount\":5},{\"TotalCount\":7}]");
    EXPECT_EQ("5", doc.FindKeyValueRecursion("TotalCount"));
    EXPECT_EQ("", doc.FindKeyValueRecursion("Missing"));
}

TEST(CJosnFind, DoesNotEnterMemberValues) {
    EXPECT_EQ("", CJosn("{list:[{k:1}]}").FindKeyValueRecursion("k"));
    EXPECT_EQ("2", CJosn("[{x:{k:1}},{k:2}]").FindKeyValueRecursion("k"));
}

TEST(CJosnFind, SearchesDepthFirstInTextOrder) {
    EXPECT_EQ("1", CJosn("[[{k:1}],{k:2}]").FindKeyValueRecursion("k"));
    EXPECT_EQ("5", CJosn("{k:5,x:[{k:1}]}").FindKeyValueRecursion("k"));
    EXPECT_EQ("1", CJosn("[{k:1},k:5]").FindKeyValueRecursion("k"));
    EXPECT_EQ("3", CJosn("[[[[{a:1}],[{k:3}]]],{k:4}]").FindKeyValueRecursion("k"));
    EXPECT_EQ("x\"y", CJosn("[[{k:\"x\\\"y\"}]]").FindKeyValueRecursion("k"));
    EXPECT_EQ("v", CJosn("[[{'k':'v'}]]").FindKeyValueRecursion("k"));
}

TEST(CJosnFind, AnElementsOwnNameIsTestedBeforeItIsEntered) {
    // The element's name and value are fragments of its first member.
    EXPECT_EQ("1,b:2}", CJosn("[{k:1,b:2}]").FindKeyValueRecursion("{k"));
    EXPECT_EQ("1}", CJosn("[{'k':1}]").FindKeyValueRecursion("'k"));
    EXPECT_EQ("1", CJosn("[{'k':1}]").FindKeyValueRecursion("k"));
    EXPECT_EQ("5", CJosn("['k':5,{k:6}]").FindKeyValueRecursion("k"));
}

TEST(CJosnFind, QuotesHideBracketsAndSeparators) {
    EXPECT_EQ("2", CJosn("[{a:'],[{k:1}'},{k:2}]").FindKeyValueRecursion("k"));
    EXPECT_EQ("", CJosn("[{a:\"[{k:1}]\"}]").FindKeyValueRecursion("k"));
}

TEST(CJosnFind, AnEmptyKeyMatchesAnItemWithoutName) {
    EXPECT_EQ("2", CJosn("[{a:1},2]").FindKeyValueRecursion(""));
    EXPECT_EQ("", CJosn("{}").FindKeyValueRecursion(""));
}

TEST(CJosnFind, ReadsTheCachedRecordsAsEveryQueryDoes) {
    CJosn doc("{a:1,b:2}");
    JosnChildValue* second = doc.GetChildStructPtr(1);
    second->name = "k";
    second->value = "9";
    EXPECT_EQ("9", doc.GetKeyValue("k"));
    EXPECT_EQ("9", doc.FindKeyValueRecursion("k"));
    EXPECT_EQ("", doc.FindKeyValueRecursion("b"));

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
    std::string text(depth, '[');
    text += "{k:1}";
    text.append(depth, ']');
    EXPECT_EQ("1", CJosn(text).FindKeyValueRecursion("k"));

    std::string unbalanced(depth, '[');
    unbalanced += "{a:1}";
    EXPECT_EQ("", CJosn(unbalanced).FindKeyValueRecursion("k"));

    std::string after = "[" + std::string(depth, '[') + std::string(depth, ']') + ",{k:2}]";
    EXPECT_EQ("2", CJosn(after).FindKeyValueRecursion("k"));
}

TEST(CJosnFind, AgreesWithSearchingChildDocuments) {
    const char alphabet[] = "{}[],:'\"\\k1 a";
    const CString keys[] = {"k", "", "a", "\"k", " k"};
    std::mt19937 random(12345);
    for (int round = 0; round < 20000; ++round) {
        std::string text = round % 2 == 0 ? "[" : "{";
        const int length = static_cast<int>(random() % 40);
        for (int i = 0; i < length; ++i) text += alphabet[random() % (sizeof(alphabet) - 1)];
        text += round % 3 == 0 ? "]" : "}";
        const CJosn doc(text);
        for (const CString& key : keys) {
            CString expected;
            SearchByChildDocuments(doc, key, expected);
            ASSERT_EQ(expected, doc.FindKeyValueRecursion(key)) << text << " key " << key.Str();
        }
    }
}
