#include <gtest/gtest.h>

#include <cfloat>
#include <climits>
#include <cmath>
#include <cstdlib>
#include <ctime>
#include <string>
#include <vector>

#include "json/CJosn.h"
#include "platform/COleDateTime.h"
#include "platform/CTime.h"
#include "platform/FrameworkException.h"
#include "support/CStringPrinter.h"

namespace {

class CJosnValues : public ::testing::Test {
  protected:
    void SetUp() override {
        setenv("TZ", "UTC", 1);
        tzset();
    }
};

// The text and cursor of a document, as text@cursor.
std::string Spelled(const CJosn& doc) {
    return doc.GetValue().Str() + "@" + std::to_string(doc.pos);
}

// A document of `text`, its cursor at `pos` ("{a:1}@4"); without a cursor, a new document's.
CJosn Doc(const std::string& spelled) {
    const size_t at = spelled.rfind('@');
    CJosn doc(spelled.substr(0, at));
    if (at != std::string::npos) doc.pos = std::stoi(spelled.substr(at + 1));
    return doc;
}

// Runs one write spelled as its member and argument: "push NAME=VALUE" (a value in double
// quotes is a text, one in brackets a document, else an int), "+= DOC", "connect DOC",
// "AddJosnToArray DOC", "object_in NAME", "array_in NAME", "child_out", "empty".
void Write(CJosn& doc, const std::string& write) {
    const std::string member = write.substr(0, write.find(' ')),
                      argument = write.substr(write.find(' ') + 1);
    const std::string name = argument.substr(0, argument.find('=')),
                      value = argument.substr(argument.find('=') + 1);
    const bool push = member == "push";
    if (push && value[0] == '"') return doc.push(name, CString(&value[1], value.size() - 2));
    if (push && (value[0] == '{' || value[0] == '[')) return doc.push(name, Doc(value));
    if (push) return doc.push(name, std::stoi(value));
    if (member == "+=") doc += Doc(argument);
    if (member == "connect") doc.connect(Doc(argument));
    if (member == "AddJosnToArray") doc.AddJosnToArray(Doc(argument));
    if (member == "object_in") doc.object_in(argument);
    if (member == "array_in") doc.array_in(argument);
    if (member == "child_out") doc.child_out();
    if (member == "empty") doc.empty();
}

// `count` pops from a new document of `text`, into values that start as 7 to show unwritten ones.
template <class T>
std::vector<T> Pops(const CString& text, int count) {
    CJosn doc(text);
    std::vector<T> out(count, T(7));
    for (T& value : out) doc.pop(value);
    return out;
}

// `count` text pops, each as value@cursor, joined by " ; ".
CString Reads(const CString& text, int count) {
    CJosn doc(text);
    CString out;
    for (int i = 0; i < count; ++i) {
        CString value = "unset";
        doc.pop(value);
        out.AppendFormat("%s%s@%d", i > 0 ? " ; " : "", value.GetString(), doc.GetPos());
    }
    return out;
}

}  // namespace

TEST_F(CJosnValues, PushesWriteEachValueTypeInItsTextForm) {
    CJosn doc;
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
    COleDateTime null, error(2021, 3, 4, 5, 6, 7);
    null.SetStatus(COleDateTime::null);
    error.SetStatus(COleDateTime::error);
    doc.push("null", null);
    doc.push("error", error);
    doc.push("noDate", COleDateTime(1e9));
    doc.push("z", CString(std::string("a\0b", 3)));
    const char written[] =
        "{i:-7,l:1234567890123,f:0.500000,d:100000000000000000000.000000,n:-0.250000,"
        "WhereCode:\"a\\\"b\\'c\\d\",\"\",t:\"1970-01-02 01:01:01\",o:\"2021-03-04 05:06:07\","
        "invalid:\"\",null:\"\",error:\"\",noDate:\"Invalid DateTime\",z:\"a\0b\"}";
    EXPECT_EQ(std::string(written, sizeof(written) - 1) + "@" + std::to_string(sizeof(written) - 2),
              Spelled(doc));
}

TEST_F(CJosnValues, WritesInsertAtTheCursorAndMoveIt) {
    const struct {
        const char *label, *before, *write, *after;
    } cases[] = {
        {"a first member", "{}", "push Type=1", "{Type:1}@7"},
        {"a second member", "{Type:1}@7", "push PageNum=2", "{Type:1,PageNum:2}@17"},
        {"empty", "{Type:1,PageNum:2}@17", "empty", "{}@1"},
        {"object_in goes inside", "{}", "object_in Conditions", "{Conditions:{}}@13"},
        {"a write inside", "{Conditions:{}}@13", "push PageSize=20",
         "{Conditions:{PageSize:20}}@24"},
        {"child_out steps over", "{Conditions:{PageSize:20}}@24", "child_out",
         "{Conditions:{PageSize:20}}@25"},
        {"array_in after a member", "{a:1}@4", "array_in rows", "{a:1,rows:[]}@11"},
        {"an array element", "{a:1,rows:[5]}@12", "push =\"x\"", "{a:1,rows:[5,\"x\"]}@16"},
        {"AddJosnToArray stays inside", "{rows:[]}@7", "AddJosnToArray {a:1}", "{rows:[{a:1}]}@11"},
        {"AddJosnToArray after child_out", "{rows:[{a:1}]}@12", "AddJosnToArray {b:2}",
         "{rows:[{a:1},{b:2}]}@17"},
        {"push of a document", "{}", "push c={x:1}", "{c:{x:1}}@8"},
        {"splice", "{Type:1}@7", "+= {x:1,y:2}", "{Type:1,x:1,y:2}@15"},
        {"splice of empty brackets", "{Type:1}@7", "+= []", "{Type:1}@7"},
        {"splice of two characters", "{a:1}@4", "+= ab", "{a:1}@4"},
        {"splice after object_in: no comma", "{Type:1,C:{}}@11", "+= {x:1}", "{Type:1,C:{x:1}}@14"},
        {"splice into a new document copies", "{}", "+= {a:1}@4", "{a:1}@4"},
        {"splice into an empty text copies", "", "+= {a:1}@4", "{a:1}@4"},
        {"splice into brackets", "[]", "+= {x:1}", "[x:1]@4"},
        {"splice copies brackets", "{}", "+= []@2", "[]@2"},
        {"splice of an array's elements", "{a:1}@4", "+= [1,2]", "{a:1,1,2}@8"},
        {"connect", "{a:1}@4", "connect {b:2}", "{a:1},{b:2}@10"},
        {"writes go into the sibling", "{a:1},{b:2}@10", "push c=3", "{a:1},{b:2,c:3}@14"},
        {"connect of empty braces", "{a:1}@4", "connect {}", "{a:1}@4"},
        {"connect onto a new document", "{}", "connect {z:0}@3", "{z:0}@3"},
        {"connect onto brackets", "[]", "connect {b:2}", "[],{b:2}@7"},
        {"connect of brackets", "{a:1}@4", "connect []", "{a:1},[]@7"},
        {"connect past the end clamps", "{a:1}@7", "connect {b:1}", "{a:1},{b:1}@13"},
        {"object_in into an array", "[]", "object_in a", "[a:{}]@4"},
        {"an element after it", "[a:{b:1}]@8", "push =2", "[a:{b:1},2]@10"},
        {"no bracket before: a comma", "xyz", "push a=1", "x,a:1yz@5"},
        {"an empty text: at 0", "", "object_in a", ",a:{}@5"},
        {"a nested array", "[[]]@2", "AddJosnToArray {k:1}", "[[{k:1}]]@6"},
        {"an empty element after a bracket steps back", "{}", "AddJosnToArray ", "{}@0"},
        {"the cursor at length + 1 reads the end", "{}@3", "push x=1", "{},x:1@7"},
        {"a moved cursor", "{a:1,b:2}@4", "push x=9", "{a:1,x:9,b:2}@8"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        CJosn doc = Doc(c.before);
        Write(doc, c.write);
        EXPECT_EQ(c.after, Spelled(doc));
    }
}

TEST_F(CJosnValues, PopsTakeValuesInTextOrderAfterTheNextColon) {
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
        {"no closing single quote: up to the last character", "{a:'xy", 1, "x@6"},
        {"no separator after the closing quote", "{a:'x'", 1, "@6"},
        {"no separator after a double quote", "{a: \"xy", 1, "@5"},
        {"a colon before the last character", "{a:}", 1, "@4"},
        {"past the last value: empty, at the end", "{a:1}", 3, "1@5 ; @5 ; @5"},
        {"no value at all", "{}", 1, "@2"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        EXPECT_EQ(c.reads, Reads(c.text, c.count));
    }
}

TEST_F(CJosnValues, NumbersConvertAsTheRuntimeDoes) {
    // Past the last value a number reads 0.
    EXPECT_EQ(
        (std::vector<int>{12, 0, 0, 1, -7, 5, 0, INT_MAX, INT_MIN, 0}),
        Pops<int>("{a: 12abc,b:abc,c:0x1A,d:1e3,e:  -7abc,f:+5,g:-,h:4294967297,i:-4294967295}",
                  10));
    EXPECT_EQ((std::vector<long>{9999999999L, LONG_MAX, LONG_MIN}),
              Pops<long>("{a:9999999999,b:9223372036854775808,c:-9223372036854775809}", 3));
    EXPECT_EQ((std::vector<double>{-35, 26, 1000, 1e40}),
              Pops<double>("{a:-3.5e1,b:0x1A,c:1e3,d:1e40}", 4));
    // Narrowed as a conversion rounds: FLT_MAX up to the midpoint before 2^128, then infinity.
    EXPECT_EQ((std::vector<float>{FLT_MAX, -FLT_MAX, FLT_MAX, HUGE_VALF, -HUGE_VALF, 0, 16, 0.1f}),
              Pops<float>("{a:3.4028235E+38,b:-3.4028235E+38,c:0x1.fffffefffffffp127,"
                          "d:0x1.ffffffp127,e:-1e39,f:1e-50,g:0x1p4,h:0.1}",
                          8));
    EXPECT_TRUE(std::isnan(Pops<float>("{a:nan}", 1)[0]));
}

// The last pop is past the last value.
TEST_F(CJosnValues, TimesReadAsLocalTimeOrZeroWhenTheyDoNotParseOrLieBefore1901) {
    const CTime when(1577934245), zero(0);
    EXPECT_EQ((std::vector<CTime>{when, when, CTime(1577923200), when, CTime(32535215999), zero,
                                  zero, zero, zero, zero, zero, zero, zero}),
              Pops<CTime>("{a:'2020-01-02 03:04:05',b:\"2020-01-02T03:04:05\",c:'2020/01/02',"
                          "d:'2020-1-2 3:4:5',e:'3000-12-31 23:59:59',f:'1970-01-01 00:00:00',g:'',"
                          "h:'soon',i:'1900-12-31 23:59:59',j:'2020-02-30',k:'12:30',"
                          "l:'2020-01-02t03:04:05'}",
                          13));
}

TEST_F(CJosnValues, FrameworkErrorsReachTheCallerAndChangeNothing) {
    EXPECT_THROW(Pops<int>("", 1), CInvalidArgException);
    EXPECT_THROW(Pops<CString>("{a:", 1), CInvalidArgException);
    // Times that parse but lie outside the time type; the output is left as it was.
    CJosn times("{a:'1901-01-01',b:'1950-06-01',c:'1969-12-31 23:59:59',d:'3001-01-01'}");
    CTime out(7);
    for (int i = 0; i < 3; ++i) EXPECT_THROW(times.pop(out), CFrameworkException) << i;
    EXPECT_THROW(times.pop(out), CInvalidArgException);
    EXPECT_EQ(CTime(7), out);
    // Times outside the local-time range are not written.
    CJosn written;
    EXPECT_THROW(written.push("t", CTime(-1)), CInvalidArgException);
    EXPECT_THROW(written.push("t", CTime(40000000000)), CInvalidArgException);
    EXPECT_EQ("{}@1", Spelled(written));
    // Beyond length + 1, or before 0, the framework raises; nothing changes.
    for (const char* before : {"{a:1}@7", "{a:1}@0", "{a:1}@99"}) {
        for (const char* write : {"push x=1", "object_in o", "+= {b:1}", "AddJosnToArray {b:1}"}) {
            CJosn doc = Doc(before);
            EXPECT_THROW(Write(doc, write), CInvalidArgException) << before << " " << write;
            EXPECT_EQ(before, Spelled(doc));
        }
    }
}
