#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/CString.h"
#include "platform/FrameworkException.h"
#include "support/CStringPrinter.h"

using Texts = std::vector<CString>;

TEST(CStringBounds, IndexAtLengthReadsTheTerminatingZero) {
    CString s("ab");
    EXPECT_EQ('b', s.GetAt(1));
    EXPECT_EQ('\0', s.GetAt(2));
    EXPECT_THROW(s.GetAt(3), CInvalidArgException);
    EXPECT_THROW(s.GetAt(-1), CInvalidArgException);
    EXPECT_THROW(s.SetAt(2, 'x'), CInvalidArgException);
}

TEST(CStringBounds, EditsAndSubstringsClampTheirIndexes) {
    CString s("ab");
    EXPECT_EQ(3, s.Insert(10, 'c'));
    EXPECT_EQ(5, s.Insert(-4, "xy"));
    EXPECT_EQ("xyabc", s);
    // Zero bytes inside an inserted text count and stay.
    EXPECT_EQ(8, s.Insert(1, CString(std::string("1\0002", 3))));
    EXPECT_EQ(std::string("x1\0002yabc", 8), s.Str());

    CString h("hello");
    EXPECT_EQ((Texts{"llo", "ell", "", "he", "hello", "", "lo"}),
              (Texts{h.Mid(2), h.Mid(1, 3), h.Mid(9, 2), h.Mid(-3, 2), h.Left(99), h.Left(-1),
                     h.Right(2)}));
    EXPECT_EQ(2, h.Delete(2, 99));
    EXPECT_EQ(2, h.Delete(5, 1));
    EXPECT_EQ("he", h);
}

TEST(CStringSearch, FindFollowsTheFrameworkStartRules) {
    CString s("a:b:c");
    EXPECT_EQ(
        (std::vector<int>{1, 3, -1, -1, 5, -1, 3, 1}),
        (std::vector<int>{s.Find(':'), s.Find(':', 2), s.Find(':', 5), s.Find(':', -1),
                          s.Find("", 5), s.Find("c", 6), s.ReverseFind(':'), s.FindOneOf(":,")}));
}

TEST(CStringEdit, ReplaceCountsWhatItChangesWithoutOverlaps) {
    CString s("aaa");
    EXPECT_EQ(1, s.Replace("aa", "b"));
    EXPECT_EQ(0, s.Replace("", "x"));
    EXPECT_EQ(1, s.Replace('a', 'c'));
    // Replacing a character by itself changes nothing and counts nothing.
    EXPECT_EQ(0, s.Replace('b', 'b'));
    EXPECT_EQ("bc", s);
}

TEST(CStringEdit, TrimFormatAndCompare) {
    CString s(" \t x y \r\n"), q("\"'x'\""), r("--x--");
    EXPECT_EQ((Texts{"x y", "x", "x--"}), (Texts{s.Trim(), q.Trim("\"'"), r.TrimLeft('-')}));

    CString f;
    f.Format("[%s]", std::string(1000, 'z').c_str());
    EXPECT_EQ(1002, f.GetLength());
    f.AppendFormat("%d:%.2f", -5, 1.5);
    EXPECT_EQ("z]-5:1.50", f.Right(9));

    const CString a("Abc");
    EXPECT_TRUE(a == "Abc" && a != "abc" && CString("a") < CString("b"));
    EXPECT_EQ(0, a.CompareNoCase("aBC"));
    EXPECT_LT(a.Compare("Abd"), 0);
    EXPECT_EQ("xAbc!", "x" + a + '!');
}
