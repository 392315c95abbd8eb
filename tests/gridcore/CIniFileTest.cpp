#include <gtest/gtest.h>

#include <climits>
#include <cstdio>
#include <string>
#include <vector>

#include "gridcore/CIniFile.h"
#include "support/CStringPrinter.h"
#include "support/TempDir.h"

namespace {

using Values = std::vector<std::string>;

// Each look-up is "section/key=expected value"; gives the look-ups with the values found.
Values Look(const CIniFile& ini, const Values& lookups) {
    Values found;
    for (const std::string& lookup : lookups) {
        const size_t slash = lookup.find('/');
        const size_t equals = lookup.find('=', slash);
        found.push_back(lookup.substr(0, equals + 1) +
                        ini.GetValue(lookup.substr(0, slash).c_str(),
                                     lookup.substr(slash + 1, equals - slash - 1).c_str())
                            .Str());
    }
    return found;
}

TEST(IniFileTest, LinesReadAsTheProfileFormatHasThem) {
    const std::pair<std::string, Values> cases[] = {
        {"[A]\nx=1\ny=two words\n[B]\nx=3\n", {"A/x=1", "A/y=two words", "B/x=3", "B/y=", "C/x="}},
        // Names match without regard to ASCII case, and only ASCII.
        {"[Area_Default]\nURL2=Http://X\n",
         {"area_default/url2=Http://X", "AREA_DEFAULT/URL2=Http://X"}},
        {"[\xC3\x84]\nk=\xE4\xBD\xA0\n", {"\xC3\x84/K=\xE4\xBD\xA0", "\xC3\xA4/k="}},
        {"  [ S 1 ]  \n\t key one \t=  a  b \t\n", {"S 1/key one=a  b"}},
        {"[S]\na=\" padded \"\nb=\"\nc=say \"hi\"\nd=\"\"\ne=\"x\"y\"\n",
         {"S/a= padded ", "S/b=\"", "S/c=say \"hi\"", "S/d=", "S/e=x\"y"}},
        {"; [S]\n[S]\n;a=1\n  # b=2\nc=3 ; not a comment\n",
         {"S/a=", "S/b=", "S/c=3 ; not a comment"}},
        // The first of duplicate keys wins, also in a repeated section.
        {"[S]\nk=first\nK=second\n[T]\n[s]\nk=third\nj=new\n", {"S/k=first", "S/j=new"}},
        {"\xEF\xBB\xBF[S]\r\na=1\r\nb=2\r\rc=3\r", {"S/a=1", "S/b=2", "S/c=3"}},
        {"top=x\n[S]\nno equals sign\n=no key\na=b=c\n[T\nt=1\n",
         {"/top=", "S/no equals sign=", "S/=", "S/a=b=c", "T/t=1"}},
        {"", {"S/a="}},
    };
    TempDir dir;
    for (const auto& [content, lookups] : cases) {
        SCOPED_TRACE(content);
        CIniFile ini(dir.WriteFile("test.ini", content).c_str());
        ASSERT_TRUE(ini.ReadFile());
        EXPECT_EQ(lookups, Look(ini, lookups));
    }
}

TEST(IniFileTest, GetValueIConvertsAsAtoi) {
    TempDir dir;
    CIniFile ini(dir.WriteFile("n.ini",
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

TEST(IniFileTest, ReadingAgainReplacesTheContentUnlessTheFileIsGone) {
    TempDir dir;
    EXPECT_FALSE(CIniFile((dir.Path() + "/absent.ini").c_str()).ReadFile());
    EXPECT_FALSE(CIniFile(dir.Path().c_str()).ReadFile());
    EXPECT_FALSE(CIniFile("").ReadFile());

    std::string path = dir.WriteFile("again.ini", "[S]\na=1\nb=2\n");
    CIniFile ini(path.c_str());
    ASSERT_TRUE(ini.ReadFile());
    dir.WriteFile("again.ini", "[S]\na=3\n");
    ASSERT_TRUE(ini.ReadFile());
    const Values replaced = {"S/a=3", "S/b="};
    EXPECT_EQ(replaced, Look(ini, replaced));
    ASSERT_EQ(0, std::remove(path.c_str()));
    EXPECT_FALSE(ini.ReadFile());
    EXPECT_EQ(replaced, Look(ini, replaced));
}

}  // namespace
