#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <ctime>
#include <random>
#include <string>
#include <vector>

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

TEST_F(CJosnRead, IntegerReadsStopWhereFloatingReadsGoOn) {
    CJosn doc("{a:0x1A,b:0x1A,c:1e3,d:1e3,e:  -7abc,f:+5,g:0.1,h:-}");
    int a = -1, c = -1, e = -1, h = -1;
    long f = -1;
    double b = 0, d = 0;
    float g = 0;
    doc.pop(a);
    doc.pop(b);
    doc.pop(c);
    doc.pop(d);
    doc.pop(e);
    doc.pop(f);
    doc.pop(g);
    doc.pop(h);
    EXPECT_EQ((std::vector<long>{0, 1, -7, 5, 0}), (std::vector<long>{a, c, e, f, h}));
    EXPECT_EQ((std::vector<double>{26, 1000}), (std::vector<double>{b, d}));
    EXPECT_EQ(0.1f, g);
}

TEST_F(CJosnRead, TimeYearsDecideBetweenZeroFailureAndAValue) {
    CJosn doc(
        "{a:'1900-12-31 23:59:59',b:'1970-01-01 00:00:00',c:'3000-12-31 23:59:59',"
        "d:'2020-01-02t03:04:05',e:'2020-1-2 3:4:5'}");
    std::vector<std::time_t> times;
    for (int i = 0; i < 5; ++i) {
        CTime out(7);
        doc.pop(out);
        times.push_back(out.GetTime());
    }
    EXPECT_EQ((std::vector<std::time_t>{0, 0, 32535215999, 0, 1577934245}), times);

    CTime out(7);
    CJosn first("{a:'1901-01-01'}");
    EXPECT_THROW(first.pop(out), CFrameworkException);
    CJosn last("{a:'1969-12-31 23:59:59'}");
    EXPECT_THROW(last.pop(out), CFrameworkException);
    EXPECT_EQ(CTime(7), out);
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

namespace {

// The sequential read written out step by step with the framework's find and bounds rules.
// Returns false where the steps leave the result open (no colon after the cursor, or no
// closing single quote); throws int where the framework raises.
struct ReferenceRead {
    const std::string& t;

    int Find(char c, int start) const {
        if (start < 0 || start >= static_cast<int>(t.size())) return -1;
        const size_t at = t.find(c, static_cast<size_t>(start));
        return at == std::string::npos ? -1 : static_cast<int>(at);
    }
    int FindSeparator(int start) const {
        if (start < 0 || start >= static_cast<int>(t.size())) return -1;
        const size_t at = t.find_first_of(",}", static_cast<size_t>(start));
        return at == std::string::npos ? -1 : static_cast<int>(at);
    }
    char At(int i) const {
        if (i < 0 || i > static_cast<int>(t.size())) throw 0;
        return t.c_str()[i];
    }
    std::string Mid(int first, int count) const {
        const int length = static_cast<int>(t.size());
        first = std::max(first, 0);
        count = std::max(count, 0);
        if (first > length) return std::string();
        return t.substr(static_cast<size_t>(first),
                        static_cast<size_t>(std::min(count, length - first)));
    }
    static std::string Clean(std::string s) {
        if (s == "null" || s == "NULL") s.clear();
        while (!s.empty() && (s.front() == '"' || s.front() == '\'')) s.erase(0, 1);
        while (!s.empty() && (s.back() == '"' || s.back() == '\'')) s.pop_back();
        if (s == "true") return "1";
        if (s == "false") return "0";
        return s;
    }

    bool Next(int& pos, std::string& out) const {
        const int p = Find(':', pos);
        if (p < 0) return false;
        int q = -1;
        if (At(p + 1) == '\'') {
            q = Find('\'', p + 2);
            if (q < 0) return false;
        } else if (At(p + 2) == '"') {
            q = p + 2;
        }
        if (q >= 0) {
            const int s = FindSeparator(q + 1);
            const int end = s < 0 ? q : s;
            out = Clean(Mid(p + 2, end - 1 - (p + 2)));
            pos = end + 1;
        } else {
            const int s = FindSeparator(p + 1);
            out = Clean(s < 0 ? std::string() : Mid(p + 1, s - p - 1));
            pos = s < 0 ? p + 1 : s + 1;
        }
        return true;
    }
};

}  // namespace

TEST_F(CJosnRead, RandomTextsReadAsTheStepsDefine) {
    const char alphabet[] = "ab:,}]'\" {n";
    std::mt19937 random(2024);
    int compared = 0;
    for (int round = 0; round < 40000; ++round) {
        std::string text;
        const int length = static_cast<int>(random() % 24);
        for (int i = 0; i < length; ++i) text += alphabet[random() % (sizeof(alphabet) - 1)];
        const ReferenceRead reference{text};
        CJosn doc{CString(text)};
        for (int pos = 1;;) {
            std::string expected;
            bool raises = false;
            try {
                if (!reference.Next(pos, expected)) break;
            } catch (int) {
                raises = true;
            }
            if (raises) {
                CString out;
                ASSERT_THROW(doc.pop(out), CInvalidArgException) << text;
                break;
            }
            ASSERT_EQ(expected, PopText(doc).Str()) << text;
            ASSERT_EQ(pos, doc.GetPos()) << text;
            ++compared;
        }
    }
    EXPECT_GT(compared, 20000);
}
