#include <gtest/gtest.h>

#include "platform/CString.h"
#include "platform/FrameworkException.h"
#include "support/CStringPrinter.h"

TEST(CStringBounds, IndexAtLengthReadsTheTerminatingZero) {
    CString s("ab");
    EXPECT_EQ('b', s.GetAt(1));
    EXPECT_EQ('\0', s.GetAt(2));
    EXPECT_THROW(s.GetAt(3), CInvalidArgException);
    EXPECT_THROW(s.GetAt(-1), CInvalidArgException);
    EXPECT_THROW(s.SetAt(2, 'x'), CInvalidArgException);
}

TEST(CStringBounds, InsertClampsItsIndex) {
    CString s("ab");
    EXPECT_EQ(3, s.Insert(10, 'c'));
    EXPECT_EQ(5, s.Insert(-4, "xy"));
    EXPECT_EQ("xyabc", s);
}

TEST(CStringBounds, MidLeftRightAndDeleteClamp) {
    CString s("hello");
    EXPECT_EQ("llo", s.Mid(2));
    EXPECT_EQ("ell", s.Mid(1, 3));
    EXPECT_EQ("", s.Mid(9, 2));
    EXPECT_EQ("he", s.Mid(-3, 2));
    EXPECT_EQ("hello", s.Left(99));
    EXPECT_EQ("", s.Left(-1));
    EXPECT_EQ("lo", s.Right(2));
    EXPECT_EQ(2, s.Delete(2, 99));
    EXPECT_EQ("he", s);
    EXPECT_EQ(2, s.Delete(5, 1));
}

TEST(CStringSearch, FindFollowsTheFrameworkStartRules) {
    CString s("a:b:c");
    EXPECT_EQ(1, s.Find(':'));
    EXPECT_EQ(3, s.Find(':', 2));
    EXPECT_EQ(-1, s.Find(':', 5));
    EXPECT_EQ(-1, s.Find(':', -1));
    EXPECT_EQ(5, s.Find("", 5));
    EXPECT_EQ(-1, s.Find("c", 6));
    EXPECT_EQ(3, s.ReverseFind(':'));
    EXPECT_EQ(1, s.FindOneOf(":,"));
}

TEST(CStringEdit, ReplaceCountsAndHandlesOverlaps) {
    CString s("aaa");
    EXPECT_EQ(1, s.Replace("aa", "b"));
    EXPECT_EQ("ba", s);
    EXPECT_EQ(0, s.Replace("", "x"));
    EXPECT_EQ(1, s.Replace('a', 'c'));
    // Replacing a character by itself changes nothing and counts nothing.
    EXPECT_EQ(0, s.Replace('b', 'b'));
    EXPECT_EQ("bc", s);
    CString q("a\"b'c");
    q.Replace("\"", "\\\"");
    q.Replace("'", "\\'");
    EXPECT_EQ("a\\\"b\\'c", q);
}

TEST(CStringEdit, TrimVariants) {
    CString s(" \t x y \r\n");
    EXPECT_EQ("x y", s.Trim());
    CString q("\"'x'\"");
    EXPECT_EQ("x", q.Trim("\"'"));
    CString r("--x--");
    EXPECT_EQ("x--", r.TrimLeft('-'));
}

TEST(CStringFormat, FormatsShortAndLongTexts) {
    CString s;
    s.Format("%d:%s", -5, "x");
    EXPECT_EQ("-5:x", s);
    CString big(std::string(1000, 'z'));
    s.Format("[%s]", big.GetString());
    EXPECT_EQ(1002, s.GetLength());
    s.AppendFormat("%.2f", 1.5);
    EXPECT_EQ("1.50", s.Right(4));
}

TEST(CStringCompare, ExactAndCaseInsensitive) {
    CString a("Abc");
    EXPECT_TRUE(a == "Abc");
    EXPECT_TRUE(a != "abc");
    EXPECT_EQ(0, a.CompareNoCase("aBC"));
    EXPECT_LT(a.Compare("Abd"), 0);
    EXPECT_TRUE(CString("a") < CString("b"));
    EXPECT_EQ("xAbc!", "x" + a + '!');
}

TEST(CStringEdit, InsertOfACStringKeepsZeroBytes) {
    CString s("ab");
    CString piece(std::string("x\0y", 3));
    EXPECT_EQ(5, s.Insert(1, piece));
    EXPECT_EQ(std::string("ax\0yb", 5), s.Str());
}
