#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <utility>
#include <vector>

#include "gridcore/CIniFile.h"
#include "support/CStringPrinter.h"
#include "support/TempDir.h"

namespace {

using Lookups = std::vector<std::pair<std::string, std::string>>;

class IniFileTest : public ::testing::Test {
  protected:
    // Loads `content`; every look-up is "section/key" and the result holds what each gives.
    Lookups LoadAndLook(const std::string& content, const std::vector<std::string>& queries) {
        CIniFile ini(dir_.WriteFile("test.ini", content).c_str());
        EXPECT_TRUE(ini.ReadFile());
        return Look(ini, queries);
    }

    static Lookups Look(const CIniFile& ini, const std::vector<std::string>& queries) {
        Lookups result;
        for (const std::string& query : queries) {
            size_t slash = query.find('/');
            CString value =
                ini.GetValue(query.substr(0, slash).c_str(), query.substr(slash + 1).c_str());
            result.emplace_back(query, value.Str());
        }
        return result;
    }

    TempDir dir_;
};

TEST_F(IniFileTest, ReadsValuesBySectionAndKey) {
    EXPECT_EQ(
        LoadAndLook("[A]\nx=1\ny=two words\n[B]\nx=3\n", {"A/x", "A/y", "B/x", "B/y", "C/x"}),
        (Lookups{{"A/x", "1"}, {"A/y", "two words"}, {"B/x", "3"}, {"B/y", ""}, {"C/x", ""}}));
}

TEST_F(IniFileTest, SectionAndKeyNamesMatchWithoutRegardToCase) {
    EXPECT_EQ(
        LoadAndLook("[Area_Default]\nURL2=Http://X\n", {"area_default/url2", "AREA_DEFAULT/URL2"}),
        (Lookups{{"area_default/url2", "Http://X"}, {"AREA_DEFAULT/URL2", "Http://X"}}));
}

TEST_F(IniFileTest, CaseFoldingLeavesNonAsciiBytesAlone) {
    EXPECT_EQ(LoadAndLook("[\xC3\x84]\nk=\xE4\xBD\xA0\n", {"\xC3\x84/K", "\xC3\xA4/k"}),
              (Lookups{{"\xC3\x84/K", "\xE4\xBD\xA0"}, {"\xC3\xA4/k", ""}}));
}

TEST_F(IniFileTest, BlanksAroundNamesAndValuesAreTrimmed) {
    EXPECT_EQ(LoadAndLook("  [ S 1 ]  \n\t key one \t=  a  b \t\n", {"S 1/key one"}),
              (Lookups{{"S 1/key one", "a  b"}}));
}

TEST_F(IniFileTest, EnclosingDoubleQuotesAreRemoved) {
    EXPECT_EQ(LoadAndLook("[S]\na=\" padded \"\nb=\"\nc=say \"hi\"\nd=\"\"\ne=\"x\"y\"\n",
                          {"S/a", "S/b", "S/c", "S/d", "S/e"}),
              (Lookups{{"S/a", " padded "},
                       {"S/b", "\""},
                       {"S/c", "say \"hi\""},
                       {"S/d", ""},
                       {"S/e", "x\"y"}}));
}

TEST_F(IniFileTest, CommentLinesAreIgnoredButNotTrailingComments) {
    EXPECT_EQ(
        LoadAndLook("; [S]\n[S]\n;a=1\n  # b=2\nc=3 ; not a comment\n", {"S/a", "S/b", "S/c"}),
        (Lookups{{"S/a", ""}, {"S/b", ""}, {"S/c", "3 ; not a comment"}}));
}

TEST_F(IniFileTest, FirstOfDuplicateKeysWins) {
    EXPECT_EQ(LoadAndLook("[S]\nk=first\nK=second\n[T]\n[s]\nk=third\nj=new\n", {"S/k", "S/j"}),
              (Lookups{{"S/k", "first"}, {"S/j", "new"}}));
}

TEST_F(IniFileTest, ByteOrderMarkAndCarriageReturnsAreIgnored) {
    EXPECT_EQ(LoadAndLook("\xEF\xBB\xBF[S]\r\na=1\r\nb=2\r\rc=3\r", {"S/a", "S/b", "S/c"}),
              (Lookups{{"S/a", "1"}, {"S/b", "2"}, {"S/c", "3"}}));
}

TEST_F(IniFileTest, LinesWithoutAKeyAreIgnored) {
    EXPECT_EQ(
        LoadAndLook("top=before any section\n[S]\nno equals sign\n=no key\na=b=c\n[T\nt=1\n",
                    {"/top", "S/no equals sign", "S/", "S/a", "T/t"}),
        (Lookups{
            {"/top", ""}, {"S/no equals sign", ""}, {"S/", ""}, {"S/a", "b=c"}, {"T/t", "1"}}));
}

TEST_F(IniFileTest, EmptyFileLoadsWithNoValues) {
    EXPECT_EQ(LoadAndLook("", {"S/a"}), (Lookups{{"S/a", ""}}));
}

TEST_F(IniFileTest, GetValueIConvertsAsAtoi) {
    CIniFile ini(dir_.WriteFile("n.ini",
                                "[N]\na=42\nb= -7x\nc=+3\nd=abc\ne=\"12\"\nf=99999999999\n"
                                "g=-99999999999\nh=0x10\n")
                     .c_str());
    ASSERT_TRUE(ini.ReadFile());
    std::vector<int> numbers;
    for (const char* key : {"a", "b", "c", "d", "e", "f", "g", "h", "absent"}) {
        numbers.push_back(ini.GetValueI("N", key));
    }
    EXPECT_EQ(numbers, (std::vector<int>{42, -7, 3, 0, 12, INT_MAX, INT_MIN, 0, 0}));
}

TEST_F(IniFileTest, MissingFileOrDirectoryCannotBeRead) {
    EXPECT_FALSE(CIniFile((dir_.Path() + "/absent.ini").c_str()).ReadFile());
    EXPECT_FALSE(CIniFile(dir_.Path().c_str()).ReadFile());
    EXPECT_FALSE(CIniFile("").ReadFile());
}

TEST_F(IniFileTest, FailedReadKeepsEarlierContent) {
    std::string path = dir_.WriteFile("keep.ini", "[S]\na=1\n");
    CIniFile ini(path.c_str());
    ASSERT_TRUE(ini.ReadFile());
    ASSERT_EQ(0, std::remove(path.c_str()));
    EXPECT_FALSE(ini.ReadFile());
    EXPECT_EQ(Look(ini, {"S/a"}), (Lookups{{"S/a", "1"}}));
}

TEST_F(IniFileTest, ReadingAgainReplacesEarlierContent) {
    std::string path = dir_.WriteFile("again.ini", "[S]\na=1\nb=2\n");
    CIniFile ini(path.c_str());
    ASSERT_TRUE(ini.ReadFile());
    dir_.WriteFile("again.ini", "[S]\na=3\n");
    ASSERT_TRUE(ini.ReadFile());
    EXPECT_EQ(Look(ini, {"S/a", "S/b"}), (Lookups{{"S/a", "3"}, {"S/b", ""}}));
}

}  // namespace
