#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <ctime>

#include "json/CJosn.h"
#include "platform/CTime.h"
#include "platform/FrameworkException.h"
#include "support/CStringPrinter.h"

namespace {

class CJosnRead : public ::testing::Test {
  protected:
    void SetUp() override {
        setenv("TZ", "UTC", 1);
        tzset();
    }
};

CString PopText(CJosn& doc) {
    CString out = "unset";
    doc.pop(out);
    return out;
}

}  // namespace

TEST_F(CJosnRead, PopsTakeValuesInTextOrder) {
    CJosn doc("{ret:1,msg:'ok',data:'x'}");
    int ret = -1;
    doc.pop(ret);
    EXPECT_EQ(1, ret);
    EXPECT_EQ(7, doc.GetPos());
    EXPECT_EQ("ok", PopText(doc));
    EXPECT_EQ(16, doc.GetPos());
    EXPECT_EQ("x", PopText(doc));
    EXPECT_EQ(25, doc.GetPos());
}

TEST_F(CJosnRead, ABuiltDocumentIsReadAfterReset) {
    CJosn doc;
    doc.push("a", 5);
    doc.push("b", CString("text"));
    doc.push("c", 2.5);
    doc.Reset();
    long a = 0;
    double c = 0;
    doc.pop(a);
    EXPECT_EQ(5, a);
    EXPECT_EQ("text", PopText(doc));
    doc.pop(c);
    EXPECT_EQ(2.5, c);
}

TEST_F(CJosnRead, DoubleQuotedValueRightAfterTheColonIsCutAtItsComma) {
    CJosn doc("{a:\"x,y\",b:1}");
    EXPECT_EQ("x", PopText(doc));
    EXPECT_EQ(6, doc.GetPos());
    EXPECT_EQ("1", PopText(doc));
}

TEST_F(CJosnRead, DoubleQuotedValueAfterOneSpaceLosesItsQuotes) {
    CJosn doc("{a: \"xy\",b:1}");
    EXPECT_EQ("xy", PopText(doc));
    EXPECT_EQ(9, doc.GetPos());
    EXPECT_EQ("1", PopText(doc));
    // The quote found is the opening one, so a comma still cuts the value.
    CJosn comma("{a: \"x,y\",b:1}");
    EXPECT_EQ("", PopText(comma));
    EXPECT_EQ(7, comma.GetPos());
    EXPECT_EQ("1", PopText(comma));
}

TEST_F(CJosnRead, SingleQuotedValuesKeepTheirSeparators) {
    CJosn doc("{a:'x,y}',b:'',c:'null',d:'true'}");
    EXPECT_EQ("x,y}", PopText(doc));
    EXPECT_EQ("", PopText(doc));
    EXPECT_EQ("", PopText(doc));
    EXPECT_EQ("1", PopText(doc));
}

TEST_F(CJosnRead, EmptyDoubleQuotedValue) {
    CJosn doc("{a:\"\",b:2}");
    EXPECT_EQ("", PopText(doc));
    EXPECT_EQ(6, doc.GetPos());
    EXPECT_EQ("2", PopText(doc));
}

TEST_F(CJosnRead, ClosingBracketsDoNotEndAValue) {
    CJosn doc("{a:[1,2],b:{c:3}}");
    EXPECT_EQ("[1", PopText(doc));
    EXPECT_EQ("{c:3", PopText(doc));
}

TEST_F(CJosnRead, WithoutASeparatorTheCursorMovesPastTheColonOrQuote) {
    CJosn plain("{a:1");
    EXPECT_EQ("", PopText(plain));
    EXPECT_EQ(3, plain.GetPos());

    CJosn single("{a:'xy'");
    EXPECT_EQ("x", PopText(single));
    EXPECT_EQ(7, single.GetPos());

    CJosn dbl("{a: \"xy");
    EXPECT_EQ("", PopText(dbl));
    EXPECT_EQ(5, dbl.GetPos());
}

TEST_F(CJosnRead, AnUnclosedSingleQuoteRunsToTheEnd) {
    CJosn doc("{a:'xyz}");
    EXPECT_EQ("xyz", PopText(doc));
    EXPECT_EQ(8, doc.GetPos());
}

TEST_F(CJosnRead, ReadingPastTheLastValueGivesEmptyAndStaysAtTheEnd) {
    CJosn doc("{a:1}");
    int a = 0;
    doc.pop(a);
    EXPECT_EQ(1, a);
    int past = 7;
    doc.pop(past);
    EXPECT_EQ(0, past);
    EXPECT_EQ(5, doc.GetPos());
    EXPECT_EQ("", PopText(doc));
    CTime time(100);
    doc.pop(time);
    EXPECT_EQ(CTime(0), time);
    EXPECT_EQ(5, doc.GetPos());
    CJosn braces("{}");
    EXPECT_EQ("", PopText(braces));
    EXPECT_EQ(2, braces.GetPos());
}

TEST_F(CJosnRead, FrameworkErrorsOnEmptyTextAndOnAColonAtTheEnd) {
    CJosn empty("");
    int value = 0;
    EXPECT_THROW(empty.pop(value), CInvalidArgException);
    CJosn colonLast("{a:");
    CString text;
    EXPECT_THROW(colonLast.pop(text), CInvalidArgException);
    CJosn colonBeforeLast("{a:}");
    EXPECT_EQ("", PopText(colonBeforeLast));
}

TEST_F(CJosnRead, NumbersConvertAsTheRuntimeDoes) {
    CJosn doc("{a: 12abc,b:abc,c:-3.5e1,d:9999999999,e:1e40,f:0x1p4}");
    int a = -1, b = -1;
    double c = 0;
    long d = 0;
    float e = 0, f = 0;
    doc.pop(a);
    doc.pop(b);
    doc.pop(c);
    doc.pop(d);
    doc.pop(e);
    doc.pop(f);
    EXPECT_EQ(12, a);
    EXPECT_EQ(0, b);
    EXPECT_EQ(-35.0, c);
    EXPECT_EQ(9999999999L, d);
    EXPECT_TRUE(std::isinf(e));
    EXPECT_EQ(16.0f, f);
}

TEST_F(CJosnRead, TimesAcceptASpaceOrTBetweenDateAndTime) {
    const CTime expected(2020, 1, 2, 3, 4, 5);
    CJosn doc("{a:'2020-01-02 03:04:05',b:\"2020-01-02T03:04:05\",c:'2020/01/02'}");
    CTime a, b, c;
    doc.pop(a);
    doc.pop(b);
    doc.pop(c);
    EXPECT_EQ(expected, a);
    EXPECT_EQ(expected, b);
    EXPECT_EQ(CTime(2020, 1, 2, 0, 0, 0), c);
    EXPECT_EQ(1577934245, a.GetTime());
}

TEST_F(CJosnRead, TimesThatDoNotParseOrLieBefore1901GiveZero) {
    CJosn doc("{a:'',b:'soon',c:'1900-01-01',d:'2020-02-30',e:'12:30'}");
    for (int i = 0; i < 5; ++i) {
        CTime out(5);
        doc.pop(out);
        EXPECT_EQ(CTime(0), out) << i;
    }
}

TEST_F(CJosnRead, TimesOutsideTheTimeTypeRaiseFrameworkErrors) {
    CJosn early("{a:'1950-06-01'}");
    CTime out;
    EXPECT_THROW(early.pop(out), CFrameworkException);
    CJosn late("{a:'3001-01-01'}");
    EXPECT_THROW(late.pop(out), CInvalidArgException);
}
