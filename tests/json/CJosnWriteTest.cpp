#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <string>
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

// The text and cursor of a document, compared whole.
using State = std::pair<CString, int>;
using States = std::vector<State>;
State Of(const CJosn& doc) { return {doc.GetValue(), doc.GetPos()}; }

// Runs `write` on `doc` and compares the text and cursor it leaves with `expected`.
void ExpectWrite(const char* label, CJosn doc, const State& expected, void (*write)(CJosn&)) {
    SCOPED_TRACE(label);
    write(doc);
    EXPECT_EQ(expected, Of(doc));
}

COleDateTime WithStatus(COleDateTime date, COleDateTime::DateTimeStatus status) {
    date.SetStatus(status);
    return date;
}

}  // namespace

TEST_F(CJosnWrite, PushesWriteEachValueTypeInItsTextForm) {
    CJosn doc;
    doc.push("Type", 1);
    doc.push("PageNum", 2);
    EXPECT_EQ(State("{Type:1,PageNum:2}", 17), Of(doc));
    doc.empty();
    EXPECT_EQ(State("{}", 1), Of(doc));

    doc.push("i", -7);
    doc.push("l", 1234567890123L);
    doc.push("f", 0.5f);
    doc.push("d", 1e20);
    doc.push("n", -0.25);
    doc.push("WhereCode", CString("a\"b'c\\d"));
    doc.push("", CString());
    doc.push("t", CTime(86400 + 3661));
    doc.push("o", COleDateTime(2021, 3, 4, 5, 6, 7));
    doc.push("invalid", COleDateTime(2021, 2, 30, 0, 0, 0));
    doc.push("null", WithStatus(COleDateTime(), COleDateTime::null));
    doc.push("error", WithStatus(COleDateTime(2021, 3, 4, 5, 6, 7), COleDateTime::error));
    doc.push("noDate", COleDateTime(1e9));
    EXPECT_EQ(
        "{i:-7,l:1234567890123,f:0.500000,d:100000000000000000000.000000,n:-0.250000,"
        "WhereCode:\"a\\\"b\\'c\\d\",\"\",t:\"1970-01-02 01:01:01\",o:\"2021-03-04 05:06:07\","
        "invalid:\"\",null:\"\",error:\"\",noDate:\"Invalid DateTime\"}",
        doc.GetValue());
    EXPECT_EQ(doc.GetValue().GetLength() - 1, doc.GetPos());

    // Zero bytes in a text are written and counted.
    CJosn bytes;
    bytes.push("k", CString(std::string("a\0b", 3)));
    EXPECT_EQ(std::string("{k:\"a\0b\"}", 9), bytes.GetValue().Str());
    EXPECT_EQ(8, bytes.GetPos());
}

TEST_F(CJosnWrite, TimesOutsideTheLocalTimeRangeRaise) {
    CJosn doc;
    EXPECT_THROW(doc.push("t", CTime(-1)), CInvalidArgException);
    EXPECT_THROW(doc.push("t", CTime(40000000000)), CInvalidArgException);
    EXPECT_EQ(State("{}", 1), Of(doc));
}

TEST_F(CJosnWrite, ContainersPutTheCursorInsideAndChildOutStepsBack) {
    ExpectWrite("object_in", CJosn(), {"{Conditions:{}}", 13},
                [](CJosn& d) { d.object_in("Conditions"); });
    ExpectWrite("a write inside", At(13, "{Conditions:{}}"), {"{Conditions:{PageSize:20}}", 24},
                [](CJosn& d) { d.push("PageSize", 20); });
    ExpectWrite("child_out", At(24, "{Conditions:{PageSize:20}}"),
                {"{Conditions:{PageSize:20}}", 25}, [](CJosn& d) { d.child_out(); });
    ExpectWrite("array_in after a member", At(4, "{a:1}"), {"{a:1,rows:[]}", 11},
                [](CJosn& d) { d.array_in("rows"); });
    ExpectWrite("an array element", At(12, "{a:1,rows:[5]}"), {"{a:1,rows:[5,\"x\"]}", 16},
                [](CJosn& d) { d.push("", CString("x")); });
    ExpectWrite("AddJosnToArray stays inside", At(7, "{rows:[]}"), {"{rows:[{a:1}]}", 11},
                [](CJosn& d) { d.AddJosnToArray(CJosn("{a:1}")); });
    ExpectWrite("AddJosnToArray after child_out", At(12, "{rows:[{a:1}]}"),
                {"{rows:[{a:1},{b:2}]}", 17}, [](CJosn& d) { d.AddJosnToArray(CJosn("{b:2}")); });
    ExpectWrite("push of a document", CJosn(), {"{c:{x:1}}", 8},
                [](CJosn& d) { d.push("c", CJosn("{x:1}")); });
}

TEST_F(CJosnWrite, PlusEqualsSplicesMembersAtTheCursorAndConnectAppendsASibling) {
    ExpectWrite("splice", At(7, "{Type:1}"), {"{Type:1,x:1,y:2}", 15},
                [](CJosn& d) { d += CJosn("{x:1,y:2}"); });
    ExpectWrite("empty braces", At(7, "{Type:1}"), {"{Type:1}", 7},
                [](CJosn& d) { d += CJosn("{}"); });
    ExpectWrite("empty text", At(7, "{Type:1}"), {"{Type:1}", 7}, [](CJosn& d) { d += CJosn(""); });
    ExpectWrite("empty inner text", At(7, "{Type:1}"), {"{Type:1}", 7},
                [](CJosn& d) { d += CJosn("[]"); });
    ExpectWrite("two characters", At(4, "{a:1}"), {"{a:1}", 4}, [](CJosn& d) { d += CJosn("ab"); });
    ExpectWrite("after object_in: no comma", At(11, "{Type:1,C:{}}"), {"{Type:1,C:{x:1}}", 14},
                [](CJosn& d) { d += CJosn("{x:1}"); });
    ExpectWrite("a new document copies", CJosn(), {"{a:1}", 4},
                [](CJosn& d) { d += At(4, "{a:1}"); });
    ExpectWrite("an empty text copies", CJosn(""), {"{a:1}", 4},
                [](CJosn& d) { d += At(4, "{a:1}"); });
    ExpectWrite("into brackets", CJosn("[]"), {"[x:1]", 4}, [](CJosn& d) { d += CJosn("{x:1}"); });
    ExpectWrite("brackets are copied", CJosn(), {"[]", 2}, [](CJosn& d) { d += At(2, "[]"); });
    ExpectWrite("an array's elements", At(4, "{a:1}"), {"{a:1,1,2}", 8},
                [](CJosn& d) { d += CJosn("[1,2]"); });
    ExpectWrite("connect", At(4, "{a:1}"), {"{a:1},{b:2}", 10},
                [](CJosn& d) { d.connect(CJosn("{b:2}")); });
    ExpectWrite("writes go into the sibling", At(10, "{a:1},{b:2}"), {"{a:1},{b:2,c:3}", 14},
                [](CJosn& d) { d.push("c", 3); });
    ExpectWrite("connect of empty braces", At(4, "{a:1}"), {"{a:1}", 4},
                [](CJosn& d) { d.connect(CJosn("{}")); });
    ExpectWrite("connect onto a new document", CJosn(), {"{z:0}", 3},
                [](CJosn& d) { d.connect(At(3, "{z:0}")); });
    ExpectWrite("connect onto brackets", CJosn("[]"), {"[],{b:2}", 7},
                [](CJosn& d) { d.connect(CJosn("{b:2}")); });
    ExpectWrite("connect of brackets", At(4, "{a:1}"), {"{a:1},[]", 7},
                [](CJosn& d) { d.connect(CJosn("[]")); });
}

TEST_F(CJosnWrite, CursorArithmeticOnDocumentsNotBuiltFromBraces) {
    ExpectWrite("object_in into an array", CJosn("[]"), {"[a:{}]", 4},
                [](CJosn& d) { d.object_in("a"); });
    ExpectWrite("an element after it", At(8, "[a:{b:1}]"), {"[a:{b:1},2]", 10},
                [](CJosn& d) { d.push("", 2); });
    // Without a bracket before the cursor an item takes a comma; an empty text puts it at 0.
    ExpectWrite("empty text", CJosn(""), {",a:{}", 5}, [](CJosn& d) { d.object_in("a"); });
    ExpectWrite("no brackets", CJosn("xyz"), {"x,a:1yz", 5}, [](CJosn& d) { d.push("a", 1); });
    ExpectWrite("a nested array", At(2, "[[]]"), {"[[{k:1}]]", 6},
                [](CJosn& d) { d.AddJosnToArray(CJosn("{k:1}")); });
    // Adding an empty text right after a bracket moves the cursor back before it.
    CJosn back;
    back.AddJosnToArray(CJosn(""));
    EXPECT_EQ(State("{}", 0), Of(back));
    EXPECT_THROW(back.push("a", 1), CInvalidArgException);
}

TEST_F(CJosnWrite, WritesFollowTheFrameworkBoundsRule) {
    // The cursor at length + 1 reads the terminating zero: the item lands at the end.
    CJosn end = At(3, "{}");
    end.push("x", 1);
    EXPECT_EQ(State("{},x:1", 7), Of(end));

    CJosn past = At(7, "{a:1}");
    EXPECT_THROW(past.push("x", 1), CInvalidArgException);
    EXPECT_THROW(past.object_in("o"), CInvalidArgException);
    EXPECT_THROW(past += CJosn("{b:1}"), CInvalidArgException);
    EXPECT_THROW(past.AddJosnToArray(CJosn("{b:1}")), CInvalidArgException);
    EXPECT_EQ(State("{a:1}", 7), Of(past));
    // connect inserts with a clamped index and no character test.
    past.connect(CJosn("{b:1}"));
    EXPECT_EQ("{a:1},{b:1}", past.GetValue());
}

TEST(CJosnCursor, AMovedCursorIsWhereTheNextWriteLands) {
    CJosn doc("{a:1,b:2}");
    doc.pos = 4;
    doc.push("x", 9);
    EXPECT_EQ(CString("{a:1,x:9,b:2}"), doc.GetValue());
    EXPECT_EQ(8, doc.pos);
    doc.pos = 99;
    EXPECT_THROW(doc.push("y", 1), CInvalidArgException);
}
