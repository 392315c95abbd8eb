#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <utility>
#include <vector>

#include "json/CJosn.h"
#include "platform/COleDateTime.h"
#include "platform/CTime.h"
#include "platform/FrameworkException.h"
#include "support/CStringPrinter.h"

namespace {

class CJosnWrite : public ::testing::Test {
  protected:
    void SetUp() override {
        setenv("TZ", "UTC", 1);
        tzset();
    }
};

// A document with text `text` and the cursor at `pos`, made by writes only.
CJosn At(int pos, const CString& text) {
    CJosn doc;
    doc.SetValue(text);
    for (int i = 1; i < pos; ++i) doc.child_out();
    return doc;
}

}  // namespace

TEST_F(CJosnWrite, PushesAppendMembersAndLeaveTheCursorAtTheClosingBrace) {
    CJosn doc;
    doc.push("Type", 1);
    doc.push("PageNum", 2);
    EXPECT_EQ("{Type:1,PageNum:2}", doc.GetValue());
    EXPECT_EQ(17, doc.GetPos());
}

TEST_F(CJosnWrite, NumberForms) {
    CJosn doc;
    doc.push("i", -7);
    doc.push("l", 1234567890123L);
    doc.push("f", 0.5f);
    doc.push("d", 1e20);
    doc.push("n", -0.25);
    EXPECT_EQ("{i:-7,l:1234567890123,f:0.500000,d:100000000000000000000.000000,n:-0.250000}",
              doc.GetValue());
}

TEST_F(CJosnWrite, TextsAreQuotedWithQuotesEscaped) {
    CJosn doc;
    doc.push("WhereCode", CString("a\"b'c\\d"));
    doc.push("", CString());
    EXPECT_EQ("{WhereCode:\"a\\\"b\\'c\\d\",\"\"}", doc.GetValue());
}

TEST_F(CJosnWrite, TimesAreWrittenAsLocalTimeText) {
    CJosn doc;
    doc.push("t", CTime(86400 + 3661));
    doc.push("o", COleDateTime(2021, 3, 4, 5, 6, 7));
    EXPECT_EQ("{t:\"1970-01-02 01:01:01\",o:\"2021-03-04 05:06:07\"}", doc.GetValue());
}

TEST_F(CJosnWrite, DateTimesThatAreNotValidWriteAnEmptyText) {
    CJosn doc;
    COleDateTime invalid(2021, 2, 30, 0, 0, 0);
    COleDateTime null;
    null.SetStatus(COleDateTime::null);
    doc.push("a", invalid);
    doc.push("b", null);
    doc.push("c", COleDateTime(1e9));
    COleDateTime error(2021, 3, 4, 5, 6, 7);
    error.SetStatus(COleDateTime::error);
    doc.push("d", error);
    EXPECT_EQ("{a:\"\",b:\"\",c:\"Invalid DateTime\",d:\"\"}", doc.GetValue());
}

TEST_F(CJosnWrite, TimesOutsideTheLocalTimeRangeRaise) {
    CJosn doc;
    EXPECT_THROW(doc.push("t", CTime(-1)), CInvalidArgException);
    EXPECT_THROW(doc.push("t", CTime(40000000000)), CInvalidArgException);
    EXPECT_EQ("{}", doc.GetValue());
    EXPECT_EQ(1, doc.GetPos());
}

TEST_F(CJosnWrite, PushOfADocumentLeavesTheCursorAfterIt) {
    CJosn doc;
    doc.push("c", CJosn("{x:1}"));
    EXPECT_EQ("{c:{x:1}}", doc.GetValue());
    EXPECT_EQ(8, doc.GetPos());
    doc.push("d", 2);
    EXPECT_EQ("{c:{x:1},d:2}", doc.GetValue());
}

TEST_F(CJosnWrite, ObjectInPutsTheCursorInsideAndChildOutStepsBack) {
    CJosn doc;
    doc.object_in("Conditions");
    EXPECT_EQ("{Conditions:{}}", doc.GetValue());
    EXPECT_EQ(13, doc.GetPos());
    doc.push("PageSize", 20);
    EXPECT_EQ("{Conditions:{PageSize:20}}", doc.GetValue());
    doc.child_out();
    EXPECT_EQ(25, doc.GetPos());
    doc.push("x", 1);
    EXPECT_EQ("{Conditions:{PageSize:20},x:1}", doc.GetValue());
}

TEST_F(CJosnWrite, ArrayInAfterAMember) {
    CJosn doc = At(4, "{a:1}");
    doc.array_in("rows");
    EXPECT_EQ("{a:1,rows:[]}", doc.GetValue());
    EXPECT_EQ(11, doc.GetPos());
    doc.push("", 5);
    doc.push("", CString("x"));
    EXPECT_EQ("{a:1,rows:[5,\"x\"]}", doc.GetValue());
}

TEST_F(CJosnWrite, AddJosnToArrayLeavesTheCursorInsideTheAddedDocument) {
    CJosn doc;
    doc.array_in("rows");
    doc.AddJosnToArray(CJosn("{a:1}"));
    EXPECT_EQ("{rows:[{a:1}]}", doc.GetValue());
    EXPECT_EQ(11, doc.GetPos());
    doc.child_out();
    doc.AddJosnToArray(CJosn("{b:2}"));
    EXPECT_EQ("{rows:[{a:1},{b:2}]}", doc.GetValue());
    doc.push("c", 3);
    EXPECT_EQ("{rows:[{a:1},{b:2,c:3}]}", doc.GetValue());
}

TEST_F(CJosnWrite, PlusEqualsSplicesMembersAtTheCursor) {
    CJosn doc;
    doc.push("Type", 1);
    EXPECT_EQ(7, doc.GetPos());
    doc += CJosn("{x:1,y:2}");
    EXPECT_EQ("{Type:1,x:1,y:2}", doc.GetValue());
    EXPECT_EQ(15, doc.GetPos());
    doc += CJosn("{}");
    doc += CJosn("");
    doc += CJosn("[]");
    doc += CJosn("x");
    EXPECT_EQ("{Type:1,x:1,y:2}", doc.GetValue());
    EXPECT_EQ(15, doc.GetPos());
}

TEST_F(CJosnWrite, PlusEqualsIntoABlankDocumentCopiesTheOther) {
    CJosn other;
    other.push("a", 1);
    CJosn doc;
    doc += other;
    EXPECT_EQ("{a:1}", doc.GetValue());
    EXPECT_EQ(4, doc.GetPos());
    CJosn blank("");
    blank += other;
    EXPECT_EQ("{a:1}", blank.GetValue());
    EXPECT_EQ(4, blank.GetPos());
}

TEST_F(CJosnWrite, PlusEqualsRightAfterObjectInHasNoLeadingComma) {
    CJosn doc;
    doc.push("Type", 1);
    doc.object_in("C");
    doc += CJosn("{x:1}");
    EXPECT_EQ("{Type:1,C:{x:1}}", doc.GetValue());
    EXPECT_EQ(14, doc.GetPos());
}

TEST_F(CJosnWrite, ConnectAppendsASiblingAndWritesGoIntoIt) {
    CJosn doc = At(4, "{a:1}");
    doc.connect(CJosn("{b:2}"));
    EXPECT_EQ("{a:1},{b:2}", doc.GetValue());
    EXPECT_EQ(10, doc.GetPos());
    doc.push("c", 3);
    EXPECT_EQ("{a:1},{b:2,c:3}", doc.GetValue());
    doc.connect(CJosn("{}"));
    EXPECT_EQ("{a:1},{b:2,c:3}", doc.GetValue());

    CJosn blank;
    blank.connect(At(3, "{z:0}"));
    EXPECT_EQ("{z:0}", blank.GetValue());
    EXPECT_EQ(3, blank.GetPos());
}

namespace {

// The text and cursor of a document, compared whole.
std::pair<CString, int> State(const CJosn& doc) { return {doc.GetValue(), doc.GetPos()}; }

using States = std::vector<std::pair<CString, int>>;

}  // namespace

TEST_F(CJosnWrite, CursorArithmeticOnDocumentsNotBuiltFromBraces) {
    States got;
    CJosn array("[]");
    array.object_in("a");
    got.push_back(State(array));
    array.push("b", 1);
    array.child_out();
    array.push("", 2);
    got.push_back(State(array));
    // An empty text has no bracket before the cursor: the item takes a comma and lands at 0.
    CJosn blank("");
    blank.object_in("a");
    got.push_back(State(blank));
    CJosn text("xyz");
    text.push("a", 1);
    got.push_back(State(text));
    CJosn nested("[]");
    nested.array_in("");
    nested.AddJosnToArray(CJosn("{k:1}"));
    got.push_back(State(nested));
    EXPECT_EQ(
        (States{
            {"[a:{}]", 4}, {"[a:{b:1},2]", 10}, {",a:{}", 5}, {"x,a:1yz", 5}, {"[[{k:1}]]", 6}}),
        got);
}

TEST_F(CJosnWrite, SquareBracketsAreNotBlankWhenMerging) {
    States got;
    CJosn array("[]");
    array += CJosn("{x:1}");
    got.push_back(State(array));
    CJosn fresh;
    fresh += At(2, "[]");
    got.push_back(State(fresh));
    CJosn spliced = At(4, "{a:1}");
    spliced += CJosn("[1,2]");
    got.push_back(State(spliced));
    CJosn innerEmpty = At(4, "{a:1}");
    innerEmpty += CJosn("ab");
    got.push_back(State(innerEmpty));
    CJosn connected("[]");
    connected.connect(CJosn("{b:2}"));
    got.push_back(State(connected));
    CJosn sibling = At(4, "{a:1}");
    sibling.connect(CJosn("[]"));
    sibling.push("", 5);
    got.push_back(State(sibling));
    EXPECT_EQ((States{{"[x:1]", 4},
                      {"[]", 2},
                      {"{a:1,1,2}", 8},
                      {"{a:1}", 4},
                      {"[],{b:2}", 7},
                      {"{a:1},[5]", 8}}),
              got);
}

TEST_F(CJosnWrite, EmptyRestoresANewDocument) {
    CJosn doc;
    doc.push("a", 1);
    doc.empty();
    EXPECT_EQ("{}", doc.GetValue());
    EXPECT_EQ(1, doc.GetPos());
    doc.push("b", 2);
    EXPECT_EQ("{b:2}", doc.GetValue());
}

TEST_F(CJosnWrite, WritesFollowTheFrameworkBoundsRule) {
    // The cursor at length + 1 reads the terminating zero: the item lands at the end.
    CJosn end = At(3, "{}");
    end.push("x", 1);
    EXPECT_EQ("{},x:1", end.GetValue());
    EXPECT_EQ(7, end.GetPos());

    CJosn past = At(7, "{a:1}");
    EXPECT_THROW(past.push("x", 1), CInvalidArgException);
    EXPECT_THROW(past.object_in("o"), CInvalidArgException);
    EXPECT_THROW(past += CJosn("{b:1}"), CInvalidArgException);
    EXPECT_THROW(past.AddJosnToArray(CJosn("{b:1}")), CInvalidArgException);
    EXPECT_EQ("{a:1}", past.GetValue());
    EXPECT_EQ(7, past.GetPos());
    // connect inserts with a clamped index and no character test.
    past.connect(CJosn("{b:1}"));
    EXPECT_EQ("{a:1},{b:1}", past.GetValue());
}

TEST_F(CJosnWrite, AddingAnEmptyTextAfterABracketMovesTheCursorBack) {
    CJosn doc;
    doc.AddJosnToArray(CJosn(""));
    EXPECT_EQ("{}", doc.GetValue());
    EXPECT_EQ(0, doc.GetPos());
    EXPECT_THROW(doc.push("a", 1), CInvalidArgException);
}

TEST(CJosnWriteBytes, PushKeepsZeroBytesAndMovesTheCursorByAllOfThem) {
    CJosn doc;
    doc.push("k", CString(std::string("a\0b", 3)));
    EXPECT_EQ(std::string("{k:\"a\0b\"}", 9), doc.GetValue().Str());
    EXPECT_EQ(8, doc.GetPos());
}
