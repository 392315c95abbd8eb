#include <gtest/gtest.h>

#include <algorithm>
#include <cfloat>
#include <climits>
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

// One pop into a value that starts as 7 (or "unset"), so a pop that writes nothing shows.
template <class T>
T Pop(CJosn& doc) {
    T out = T(7);
    doc.pop(out);
    return out;
}

CString PopText(CJosn& doc) {
    CString out = "unset";
    doc.pop(out);
    return out;
}

// `count` text pops, each as value@cursor, joined by " ; ".
CString Reads(const CString& text, int count) {
    CJosn doc(text);
    CString out;
    for (int i = 0; i < count; ++i) {
        const CString value = PopText(doc);
        out.AppendFormat("%s%s@%d", i > 0 ? " ; " : "", value.GetString(), doc.GetPos());
    }
    return out;
}

}  // namespace

TEST_F(CJosnRead, PopsTakeValuesInTextOrderAfterTheNextColon) {
    const struct {
        const char* label;
        CString text;
        int count;
        CString reads;
    } cases[] = {
        {"values in text order", "{ret:1,msg:'ok',data:'x'}", 3, "1@7 ; ok@16 ; x@25"},
        {"a double-quoted value right after the colon is cut at its comma", "{a:\"x,y\",b:1}", 2,
         "x@6 ; 1@13"},
        {"one space before a double quote drops the quotes", "{a: \"xy\",b:1}", 2, "xy@9 ; 1@13"},
        {"single-quoted values keep their separators", "{a:'x,y}',b:'',c:'null',d:'true'}", 4,
         "x,y}@10 ; @15 ; @24 ; 1@33"},
        {"an empty double-quoted value", "{a:\"\",b:2}", 2, "@6 ; 2@10"},
        {"closing brackets do not end a value", "{a:[1,2],b:{c:3}}", 2, "[1@6 ; {c:3@16"},
        {"no separator: one past the colon", "{a:1", 1, "@3"},
        {"a colon before the last character", "{a:}", 1, "@4"},
        {"past the last value: empty, at the end", "{a:1}", 3, "1@5 ; @5 ; @5"},
        {"no value at all", "{}", 1, "@2"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        EXPECT_EQ(c.reads, Reads(c.text, c.count));
    }
}

TEST_F(CJosnRead, TypedPopsConvertAsTheRuntimeDoes) {
    CJosn built;
    built.push("a", 5);
    built.push("b", CString("text"));
    built.push("c", 2.5);
    built.Reset();
    EXPECT_EQ(5, Pop<long>(built));
    EXPECT_EQ("text", PopText(built));
    EXPECT_EQ(2.5, Pop<double>(built));
    // Past the last value numbers and times read as 0.
    EXPECT_EQ(0, Pop<int>(built));
    EXPECT_EQ(CTime(0), Pop<CTime>(built));

    CJosn ints("{a: 12abc,b:abc,c:0x1A,d:1e3,e:  -7abc,f:+5,g:-}");
    EXPECT_EQ((std::vector<int>{12, 0, 0, 1, -7, 5, 0}),
              (std::vector<int>{Pop<int>(ints), Pop<int>(ints), Pop<int>(ints), Pop<int>(ints),
                                Pop<int>(ints), Pop<int>(ints), Pop<int>(ints)}));
    // Reply codes beyond int keep their sign: neither reads as the success code 1.
    CJosn codes("{ret:4294967297,ret:-4294967295}");
    EXPECT_EQ((std::vector<int>{INT_MAX, INT_MIN}),
              (std::vector<int>{Pop<int>(codes), Pop<int>(codes)}));
    CJosn reals("{a:-3.5e1,b:0x1A,c:1e3,d:9999999999,e:1e40,f:0x1p4,g:0.1}");
    EXPECT_EQ((std::vector<double>{-35, 26, 1000}),
              (std::vector<double>{Pop<double>(reals), Pop<double>(reals), Pop<double>(reals)}));
    EXPECT_EQ(9999999999L, Pop<long>(reals));
    EXPECT_EQ(HUGE_VALF, Pop<float>(reals));
    EXPECT_EQ((std::vector<float>{16.0f, 0.1f}),
              (std::vector<float>{Pop<float>(reals), Pop<float>(reals)}));
    // Narrowed as a conversion rounds: FLT_MAX up to the midpoint before 2^128, then infinity.
    CJosn floats(
        "{a:3.4028235E+38,b:-3.4028235E+38,c:0x1.fffffefffffffp127,d:0x1.ffffffp127,"
        "e:-1e39,f:1e-50,g:nan}");
    EXPECT_EQ((std::vector<float>{FLT_MAX, -FLT_MAX, FLT_MAX, HUGE_VALF, -HUGE_VALF, 0.0f}),
              (std::vector<float>{Pop<float>(floats), Pop<float>(floats), Pop<float>(floats),
                                  Pop<float>(floats), Pop<float>(floats), Pop<float>(floats)}));
    EXPECT_TRUE(std::isnan(Pop<float>(floats)));
}

TEST_F(CJosnRead, TimesReadAsLocalTimeOrZeroWhenTheyDoNotParseOrLieBefore1901) {
    CJosn doc(
        "{a:'2020-01-02 03:04:05',b:\"2020-01-02T03:04:05\",c:'2020/01/02',d:'2020-1-2 3:4:5',"
        "e:'3000-12-31 23:59:59',f:'1970-01-01 00:00:00',g:'',h:'soon',i:'1900-12-31 23:59:59',"
        "j:'2020-02-30',k:'12:30',l:'2020-01-02t03:04:05'}");
    std::vector<std::time_t> times;
    for (int i = 0; i < 12; ++i) times.push_back(Pop<CTime>(doc).GetTime());
    EXPECT_EQ((std::vector<std::time_t>{1577934245, 1577934245, 1577923200, 1577934245, 32535215999,
                                        0, 0, 0, 0, 0, 0, 0}),
              times);
}

TEST_F(CJosnRead, FrameworkErrorsReachTheCaller) {
    CJosn empty("");
    EXPECT_THROW(Pop<int>(empty), CInvalidArgException);
    CJosn colonLast("{a:");
    EXPECT_THROW(PopText(colonLast), CInvalidArgException);
    // Times that parse but lie outside the time type; the output is left as it was.
    CJosn times("{a:'1901-01-01',b:'1950-06-01',c:'1969-12-31 23:59:59',d:'3001-01-01'}");
    CTime out(7);
    for (int i = 0; i < 3; ++i) EXPECT_THROW(times.pop(out), CFrameworkException) << i;
    EXPECT_THROW(times.pop(out), CInvalidArgException);
    EXPECT_EQ(CTime(7), out);
}

namespace {

// The sequential read written out step by step with the framework's find and bounds rules.
// Returns false where the steps leave the result open (no colon after the cursor, or no
// closing single quote); throws int where the framework raises.
bool ReferenceNext(const std::string& t, int& pos, std::string& out) {
    const int n = static_cast<int>(t.size());
    const auto find = [&](const char* any, int from) {
        const size_t at = from < 0 || from >= n ? std::string::npos : t.find_first_of(any, from);
        return at == std::string::npos ? -1 : static_cast<int>(at);
    };
    const auto at = [&](int i) {
        if (i < 0 || i > n) throw 0;
        return t.c_str()[i];
    };
    const auto clean = [&](int first, int count) {
        std::string s = first > n ? "" : t.substr(std::max(first, 0), std::max(count, 0));
        if (s == "null" || s == "NULL") s.clear();
        while (!s.empty() && (s.front() == '"' || s.front() == '\'')) s.erase(0, 1);
        while (!s.empty() && (s.back() == '"' || s.back() == '\'')) s.pop_back();
        return s == "true" ? "1" : s == "false" ? "0" : s;
    };
    const int p = find(":", pos);
    if (p < 0) return false;
    const int q = at(p + 1) == '\'' ? find("'", p + 2) : at(p + 2) == '"' ? p + 2 : -2;
    if (q == -1) return false;
    if (q >= 0) {
        const int s = find(",}", q + 1), end = s < 0 ? q : s;
        out = clean(p + 2, end - 1 - (p + 2));
        pos = end + 1;
    } else {
        const int s = find(",}", p + 1);
        out = s < 0 ? "" : clean(p + 1, s - p - 1);
        pos = s < 0 ? p + 1 : s + 1;
    }
    return true;
}

}  // namespace

TEST_F(CJosnRead, RandomTextsReadAsTheStepsDefine) {
    const char alphabet[] = "ab:,}]'\" {n";
    std::mt19937 random(2024);
    int compared = 0;
    for (int round = 0; round < 40000; ++round) {
        std::string text, expected;
        for (int i = random() % 24; i > 0; --i) text += alphabet[random() % (sizeof(alphabet) - 1)];
        CJosn doc{CString(text)};
        for (int pos = 1;; ++compared) {
            try {
                if (!ReferenceNext(text, pos, expected)) break;
            } catch (int) {
                ASSERT_THROW(PopText(doc), CInvalidArgException) << text;
                break;
            }
            ASSERT_EQ(expected, PopText(doc).Str()) << text;
            ASSERT_EQ(pos, doc.GetPos()) << text;
        }
    }
    EXPECT_GT(compared, 20000);
}
