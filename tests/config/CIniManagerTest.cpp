#include <gtest/gtest.h>
#include <sys/stat.h>

#include <climits>
#include <future>
#include <sstream>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "config/CIniManager.h"
#include "support/CStringPrinter.h"
#include "support/TempDir.h"

namespace {

using Section = CIniManager::AreaSection;

constexpr char kAreaKeys[] =
    "URL0 URL1 URL2 URL3 bGetFtpInfoFromINI CheckManager AopService FTPServer FTPUser FTPPWD "
    "LoadAddButton Issuer PrintModel bChangeReasonMust bAddTHSeggestionMust bNeedAudit "
    "isNeedSearch EmpConstraints1 EmpConstraints2 URL_DL";

std::string Flag(bool value) { return value ? "1|" : "0|"; }

std::string Ids(const std::vector<long>& ids) {
    std::string text;
    for (long id : ids) text += (text.empty() ? "" : ",") + std::to_string(id);
    return text;
}

// The area settings through the getters, in the order of kAreaKeys, each followed by "|".
std::string AreaOf(const CIniManager& m) {
    return m.GetEnterpriseWebService().Str() + "|" + m.GetKQKHWebService().Str() + "|" +
           m.GetBzkWebService().Str() + "|" + m.GetSegmentService().Str() + "|" +
           Flag(m.IsGetFtpInfoFromINI()) + m.GetCheckManagerService().Str() + "|" +
           m.GetAopService().Str() + "|" + m.GetstrFtpServer().Str() + "|" +
           m.GetstrFtpUserName().Str() + "|" + m.GetstrFtpPassWord().Str() + "|" +
           m.GetstrLoadButton().Str() + "|" + m.GetIssuer().Str() + "|" +
           std::to_string(m.GetPrintModel()) + "|" + Flag(m.IsChangeReasonMust()) +
           Flag(m.IsAddTHSeggestionMust()) + Flag(m.IsNeedAudit()) + Flag(m.isNeedSearch()) +
           m.GetEmpConstraints1().Str() + "|" + m.GetEmpConstraints2().Str() + "|" +
           m.GetBzkWebService_old().Str() + "|";
}

// The system settings as "FirstCmd|AppType|ZbdlDogIds|ZbdlAndSgjlDogIds|kcsjDogIds".
std::string SystemOf(const CIniManager& m) {
    return m.GetFirstCmd().Str() + "|" + std::to_string(m.GetAppType()) + "|" +
           Ids(m.GetZbdlDogIds()) + "|" + Ids(m.GetZbdlAndSgjlDogIds()) + "|" +
           Ids(m.GetKcsjDogIds());
}

// The value a section made by AreaSection(..., tag) gives `key`; an empty tag stands for no
// value at all.
std::string Value(const std::string& key, const std::string& tag) {
    if (key == "PrintModel") return tag.empty() ? "0" : "3";
    if (key[0] == 'b' || key[0] == 'i') return tag.empty() ? "0" : "1";
    return tag.empty() ? "" : tag + "-" + key;
}

// What AreaOf shows after loading a section made by AreaSection(..., tag).
std::string AreaSettings(const std::string& tag) {
    std::istringstream keys(kAreaKeys);
    std::string settings;
    for (std::string key; keys >> key;) settings += Value(key, tag) + "|";
    return settings;
}

// Every area key with values carrying `tag`; switches hold numbers other than 1, which are
// true all the same.
std::string AreaSection(const std::string& name, const std::string& tag) {
    std::istringstream keys(kAreaKeys);
    std::string text = "[" + name + "]\n";
    for (std::string key; keys >> key;) {
        const bool flag = key[0] == 'b' || key[0] == 'i';
        text += key + "=" + (flag ? (key[0] == 'b' ? " -2x" : "2") : Value(key, tag)) + "\n";
    }
    return text;
}

// Transport settings "|"-joined in declaration order.
std::string Joined(const WireSettings& w) {
    return std::to_string(w.connectTimeoutMs) + "|" + std::to_string(w.totalTimeoutMs) + "|" +
           std::to_string(w.maxReplyBytes) + "|" + w.caFile.Str() + "|" + w.caPath.Str() + "|" +
           w.clientCert.Str() + "|" + w.clientKey.Str() + "|" + w.proxy.Str() + "|" +
           w.noProxy.Str();
}

std::string Wire() { return Joined(GetWireSettings()); }

class IniManagerTest : public ::testing::Test {
  protected:
    void TearDown() override { SetWireSettings(saved_); }
    std::string Write(const std::string& content) { return dir_.WriteFile("xmk.ini", content); }

    TempDir dir_;
    const WireSettings saved_ = GetWireSettings();
    const std::string dflt_ = AreaSection("Area_default", "dflt");
};

TEST_F(IniManagerTest, AreaSectionWithUrl2ElseDefaultGivesEveryAreaSetting) {
    CIniManager m;  // one object throughout: each load replaces every area setting
    EXPECT_EQ(AreaSettings(""), AreaOf(m));
    EXPECT_EQ(Section::none, m.GetAreaSection());
    const std::string hz = AreaSection("Area_0571", "hz");
    // File, area, the tag of the settings it gives ("" for none), the section they come from.
    const std::tuple<std::string, const char*, const char*, Section> cases[] = {
        {dflt_ + hz + "[SYSTEM]\nFirstCmd=open\nAppType=4\n", "0571", "hz", Section::area},
        {dflt_ + "[Area_0571]\nURL0=http://hz/0\nURL1=http://hz/1\n", "0571", "dflt",
         Section::areaDefault},
        {dflt_ + hz, "0999", "dflt", Section::areaDefault},
        {dflt_ + hz, " 0571", "dflt", Section::areaDefault},  // the area is used as given
        {dflt_ + AreaSection("Area_", "bare"), "", "bare", Section::area},
        {"[area_DEFAULT]\n" + hz, "1", "", Section::areaDefault},
        {"[Area_default]\nbNeedAudit=yes\nisNeedSearch=0\nbGetFtpInfoFromINI=\n", "", "",
         Section::areaDefault},  // other switch texts are false
        {"[Area_0571]\nURL0=http://hz/0\n", "0571", "", Section::none},
        {"\x89PNG\r\n\x1a\n", "0571", "", Section::none},
    };
    for (const auto& [content, area, tag, section] : cases) {
        SCOPED_TRACE(std::string("area \"") + area + "\" in\n" + content);
        m.SetStrBzkWebService("set");  // lasts until the next load
        EXPECT_EQ(CString("set"), m.GetBzkWebService());
        ASSERT_TRUE(m.ReadIniFile(Write(content).c_str(), area));
        CIniManager assigned;
        assigned = CIniManager(m);  // copies hold every field
        EXPECT_EQ(AreaSettings(tag), AreaOf(assigned));
        EXPECT_EQ(section, assigned.GetAreaSection());
        EXPECT_EQ("|0|||", SystemOf(m));
    }
}

TEST_F(IniManagerTest, ZippedFileLoadsLikePlainTextWithPathsBesideTheArchive) {
    const std::string text = dflt_ + AreaSection("Area_0571", "hz") + "[Transport]\nCAFile=ca\n";
    const std::string zip = dir_.WriteZip("xmk.zip", {{"xmk.ini", text}});
    CIniManager m;
    ASSERT_TRUE(m.ReadIniFile(zip.c_str(), "0571"));
    EXPECT_EQ(AreaSettings("hz"), AreaOf(m));
    EXPECT_EQ(CString(dir_.Path() + "/ca"), GetWireSettings().caFile);
}

TEST_F(IniManagerTest, FailedLoadsChangeNothingAndNeverBlock) {
    const std::string good = Write(dflt_ + "[SYSTEM]\nZbdlDogIds=1,2\n[Transport]\nProxy=p\n");
    const std::string fifo = dir_.Path() + "/fifo.ini";
    ASSERT_EQ(0, mkfifo(fifo.c_str(), 0600));
    CIniManager m;
    ASSERT_TRUE(m.ReadIniFile(good.c_str(), "a"));
    ASSERT_TRUE(m.ReadFirstCmd(good.c_str()));
    const std::string wire = Wire();
    for (const std::string& path :
         {dir_.Path() + "/absent.ini", dir_.Path(), fifo, std::string("/dev/zero"), std::string(),
          dir_.WriteFile("bad.zip", "PK\x03\x04 broken")}) {
        EXPECT_FALSE(m.ReadIniFile(path.c_str(), "a")) << path;
        EXPECT_FALSE(m.ReadFirstCmd(path.c_str())) << path;
    }
    EXPECT_EQ(AreaSettings("dflt"), AreaOf(m));
    EXPECT_EQ(Section::areaDefault, m.GetAreaSection());
    EXPECT_EQ("|0|1,2|0|0", SystemOf(m));
    EXPECT_EQ(wire, Wire());
}

TEST_F(IniManagerTest, TransportSectionIsAppliedAsAWholeWithPathsBesideTheFile) {
    WireSettings custom;
    custom.maxReplyBytes = 1000;  // no key sets it: every load keeps it
    custom.proxy = "http://code:1";
    SetWireSettings(custom);
    const std::string folder = dir_.Path() + "/";
    const std::pair<std::string, std::string> loads[] = {
        {"[Area_default]\nURL2=u\n", "10000|60000|1000|||||http://code:1|"},
        {"[transport]\nCAFile=ca.pem\nCAPath=/etc/ssl\nClientCert=c/c.pem\nClientKey=k\n"
         "Proxy=http://p:3128\nNoProxy=a,b\nConnectTimeout=1.5\nTimeout=0.25\n",
         "1500|250|1000|" + folder + "ca.pem|/etc/ssl|" + folder + "c/c.pem|" + folder +
             "k|http://p:3128|a,b"},
        {"[Transport]\nProxy=\nTimeout=soon\nConnectTimeout=3\n", "3000|60000|1000||||||"},
        {"[SYSTEM]\n", "3000|60000|1000||||||"},
    };
    for (const auto& [content, wire] : loads) {
        SCOPED_TRACE(content);
        CIniManager m;
        ASSERT_TRUE(m.ReadIniFile(Write(content).c_str(), "a"));
        EXPECT_EQ(wire, Wire());
    }
}

TEST(TransportSettingTest, SecondsArePositiveDecimalsUpToTheLargestMillisecondCount) {
    std::istringstream read("10=10000 .25=250 0.001=1 0.0001=1 0.0011=2 2147483.647=2147483647");
    for (std::string pair; read >> pair;) {
        const std::string text = pair.substr(0, pair.find('='));
        WireSettings s;
        EXPECT_TRUE(CIniManager::SetTransportSetting(s, "ConnectTimeout", text.c_str(), ""));
        EXPECT_EQ(pair, text + "=" + std::to_string(s.connectTimeoutMs));
    }
    for (const char* bad : {"2147483.6471", "2147484", "0", "0.0000", "-1", "1e3", "1.2.3", "."}) {
        WireSettings s;
        EXPECT_FALSE(CIniManager::SetTransportSetting(s, "Timeout", bad, "/x/")) << bad;
        EXPECT_EQ(60000, s.totalTimeoutMs) << bad;
    }
    // Relative paths stay relative without a folder; names are spelled as documented.
    WireSettings s;
    EXPECT_TRUE(CIniManager::SetTransportSetting(s, "ClientCert", "c.pem", ""));
    EXPECT_FALSE(CIniManager::SetTransportSetting(s, "cafile", "x", ""));
    EXPECT_EQ("10000|60000|67108864|||c.pem|||", Joined(s));
}

TEST_F(IniManagerTest, ReadFirstCmdSetsCommandAndTypeAndLengthensTheIdLists) {
    const std::string twice = "[SYSTEM]\nFirstCmd=go\nAppType=2\nZbdlDogIds=1,2\n";
    const std::pair<std::vector<std::string>, std::string> cases[] = {
        {{"[SYSTEM]\nURL2=u\nFirstCmd=open project\nAppType=7\nZbdlDogIds=12,7\n"
          "ZbdlAndSgjlDogIds=3\nkcsjDogIds=-4, 5\n"},
         "open project|7|12,7|3|-4,5"},
        // Every comma splits but a final one; absent lists give one zero each.
        {{"[SYSTEM]\nZbdlDogIds=12,,7\nZbdlAndSgjlDogIds=5,\nkcsjDogIds=,\n"}, "|0|12,0,7|5|0"},
        {{"[SYSTEM]\nFirstCmd=x\n"}, "x|0|0|0|0"},
        {{"[SYSTEM]\nZbdlDogIds=abc, 3x,+8,  -2 ,0x5,99999999999999999999\nAppType=9z\n"},
         "|9|0,3,8,-2,0," + std::to_string(LONG_MAX) + "|0|0"},
        {{twice, twice}, "go|2|1,2,1,2|0,0|0,0"},
        {{"[SYSTEM]\nFirstCmd=go\nAppType=2\nkcsjDogIds=1\n", "[SYSTEM]\nkcsjDogIds=2\n"},
         "|0|0,0|0,0|1,2"},
    };
    for (const auto& [files, system] : cases) {
        SCOPED_TRACE(files.back());
        CIniManager m;
        for (const std::string& file : files) ASSERT_TRUE(m.ReadFirstCmd(Write(file).c_str()));
        CIniManager assigned;
        assigned = CIniManager(m);
        EXPECT_EQ(system, SystemOf(assigned));
        EXPECT_EQ(AreaSettings(""), AreaOf(assigned));
    }
}

TEST(IniManagerInstanceTest, IsOneObjectForEveryThread) {
    auto other = std::async(std::launch::async, [] { return &CIniManager::Instance(); });
    EXPECT_EQ(&CIniManager::Instance(), other.get());
}

}  // namespace
