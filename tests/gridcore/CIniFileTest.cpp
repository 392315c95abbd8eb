#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "gridcore/CIniFile.h"
#include "support/CStringPrinter.h"
#include "support/TempDir.h"

namespace {

using Values = std::vector<std::string>;

// Each look-up is "section/key=value" (GetValue) or "section/key#=number" (GetValueI); gives
// the look-ups as answered.
Values Look(const CIniFile& ini, const Values& lookups) {
    Values found;
    for (const std::string& lookup : lookups) {
        const size_t slash = lookup.find('/');
        const size_t equals = lookup.find('=', slash);
        const bool number = lookup[equals - 1] == '#';
        const CString section = lookup.substr(0, slash).c_str();
        const CString key = lookup.substr(slash + 1, equals - slash - (number ? 2 : 1)).c_str();
        found.push_back(lookup.substr(0, equals + 1) +
                        (number ? std::to_string(ini.GetValueI(section, key))
                                : ini.GetValue(section, key).Str()));
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
        // Numbers read as atoi reads them, saturating at the limits of int.
        {"[N]\na=42\nb= -7x\nc=+3\nd=abc\ne=\"12\"\nf=2147483647\ng=2147483648\nh=-2147483649\n"
         "i=0x10\n",
         {"N/a#=42", "N/b#=-7", "N/c#=3", "N/d#=0", "N/e#=12", "N/f#=2147483647", "N/g#=2147483647",
          "N/h#=-2147483648", "N/i#=0", "N/absent#=0"}},
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

TEST(IniFileTest, ReadingAgainReplacesTheContentUnlessTheFileIsGone) {
    TempDir dir;
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
