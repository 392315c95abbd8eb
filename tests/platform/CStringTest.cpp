#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/CString.h"
#include "platform/FrameworkException.h"
#include "support/CStringPrinter.h"

using Texts = std::vector<CString>;
using Numbers = std::vector<int>;

TEST(CStringBounds, ReadsReachTheZeroWritesStopBeforeItAndEditsAndSearchesClamp) {
    CString s("ab"), w("ab"), d("hello");
    EXPECT_EQ(std::string("ab", 3), std::string({s.GetAt(0), s.GetAt(1), s[2]}));
    for (int bad : {-1, 3}) EXPECT_THROW(s.GetAt(bad), CInvalidArgException) << bad;
    for (int bad : {-1, 2}) EXPECT_THROW(w.SetAt(bad, 'x'), CInvalidArgException) << bad;
    w.SetAt(0, 'x');
    w.SetAt(1, 'y');
    // Zero bytes inside an inserted text count and stay.
    EXPECT_EQ((Numbers{3, 5, 8, 4, 4, 2}),
              (Numbers{s.Insert(10, 'c'), s.Insert(-4, "xy"), s.Insert(1, CString("1\0002", 3)),
                       d.Delete(4, 99), d.Delete(4, 1), d.Delete(-1, 2)}));
    EXPECT_EQ(std::string("x1\0002yabc", 8) + "|ll|xy", s.Str() + "|" + d.Str() + "|" + w.Str());
    const CString h("hello");
    EXPECT_EQ((Texts{"llo", "ell", "", "o", "he", "hello", "", "lo", "hello", ""}),
              (Texts{h.Mid(2), h.Mid(1, 3), h.Mid(5), h.Mid(4, 9), h.Mid(-3, 2), h.Left(5),
                     h.Left(-1), h.Right(2), h.Right(6), h.Right(0)}));
    const CString f("a:b:c");
    EXPECT_EQ((Numbers{1, 3, 3, -1, -1, 5, -1, -1, 3, 1, -1}),
              (Numbers{f.Find(':'), f.Find(':', 2), f.Find(':', 3), f.Find(':', 5), f.Find(':', -1),
                       f.Find("", 5), f.Find("c", 6), f.Find("x", -1), f.ReverseFind(':'),
                       f.FindOneOf(",:"), f.FindOneOf("")}));
}

TEST(CStringEdit, ReplaceTrimFormatAndCompareAtTheirEdges) {
    CString s("aaa"), t(" \t x y \r\n"), q("\"'x'\""), r("--x--"), f;
    // Without overlaps; an empty pattern, or a character replaced by itself, counts nothing.
    EXPECT_EQ((Numbers{1, 0, 1, 0}), (Numbers{s.Replace("aa", "b"), s.Replace("", "x"),
                                              s.Replace('a', 'c'), s.Replace('b', 'b')}));
    EXPECT_EQ((Texts{"bc", "x y", "x", "x--"}),
              (Texts{s, t.Trim(), q.Trim("\"'"), r.TrimLeft('-')}));
    // 256 bytes fill the first buffer; a longer text takes the second path.
    f.Format("[%s]", std::string(254, 'z').c_str());
    f.AppendFormat("%s", std::string(1000, 'y').c_str());
    EXPECT_EQ("[" + std::string(254, 'z') + "]" + std::string(1000, 'y'), f.Str());
    const CString a("Abc");
    EXPECT_TRUE(a == "Abc" && a != "abc" && !(a < a) && "Abb" < a && a < "Abd" && !(a < "Abb"));
    EXPECT_EQ((Numbers{0, 0, 1, 1}), (Numbers{a.CompareNoCase("aBC"), a.Compare("Abc"),
                                              a.Compare("Abd") < 0, a.Compare("Abb") > 0}));
}
