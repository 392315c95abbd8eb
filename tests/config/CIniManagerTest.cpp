#include <gtest/gtest.h>
#include <zip.h>

#include <map>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "config/CIniManager.h"
#include "support/CStringPrinter.h"
#include "support/TempDir.h"

namespace {

std::string Flag(bool value) { return value ? "1" : "0"; }

std::string Ids(const std::vector<long>& ids) {
    std::string text;
    for (long id : ids) text += (text.empty() ? "" : ",") + std::to_string(id);
    return text;
}

// The area settings, by the key that fills each, so whole loads compare in one assertion.
using Settings = std::map<std::string, std::string>;

Settings AreaOf(const CIniManager& m) {
    return {{"URL0", m.GetEnterpriseWebService().Str()},
            {"URL1", m.GetKQKHWebService().Str()},
            {"URL2", m.GetBzkWebService().Str()},
            {"URL3", m.GetSegmentService().Str()},
            {"bGetFtpInfoFromINI", Flag(m.IsGetFtpInfoFromINI())},
            {"CheckManager", m.GetCheckManagerService().Str()},
            {"AopService", m.GetAopService().Str()},
            {"FTPServer", m.GetstrFtpServer().Str()},
            {"FTPUser", m.GetstrFtpUserName().Str()},
            {"FTPPWD", m.GetstrFtpPassWord().Str()},
            {"LoadAddButton", m.GetstrLoadButton().Str()},
            {"Issuer", m.GetIssuer().Str()},
            {"PrintModel", std::to_string(m.GetPrintModel())},
            {"bChangeReasonMust", Flag(m.IsChangeReasonMust())},
            {"bAddTHSeggestionMust", Flag(m.IsAddTHSeggestionMust())},
            {"bNeedAudit", Flag(m.IsNeedAudit())},
            {"isNeedSearch", Flag(m.isNeedSearch())},
            {"EmpConstraints1", m.GetEmpConstraints1().Str()},
            {"EmpConstraints2", m.GetEmpConstraints2().Str()},
            {"URL_DL", m.GetBzkWebService_old().Str()}};
}

// The system settings as "FirstCmd|AppType|ZbdlDogIds|ZbdlAndSgjlDogIds|kcsjDogIds".
std::string SystemOf(const CIniManager& m) {
    return m.GetFirstCmd().Str() + "|" + std::to_string(m.GetAppType()) + "|" +
           Ids(m.GetZbdlDogIds()) + "|" + Ids(m.GetZbdlAndSgjlDogIds()) + "|" +
           Ids(m.GetKcsjDogIds());
}

// The area settings of a section holding every area key with values carrying `tag`.
Settings AreaSettings(const std::string& tag) {
    Settings s = {{"PrintModel", "3"}};
    for (const char* key :
         {"URL0", "URL1", "URL2", "URL3", "URL_DL", "CheckManager", "AopService", "FTPServer",
          "FTPUser", "FTPPWD", "LoadAddButton", "Issuer", "EmpConstraints1", "EmpConstraints2"}) {
        s[key] = tag + "-" + key;
    }
    for (const char* key : {"bGetFtpInfoFromINI", "bChangeReasonMust", "bAddTHSeggestionMust",
                            "bNeedAudit", "isNeedSearch"}) {
        s[key] = "1";
    }
    return s;
}

std::string AreaSection(const std::string& name, const std::string& tag) {
    std::string text = "[" + name + "]\n";
    for (const auto& [key, value] : AreaSettings(tag)) text += key + "=" + value + "\n";
    return text;
}

const std::string kNoSystem = "|0|||";

class IniManagerTest : public ::testing::Test {
  protected:
    std::string Write(const std::string& content) { return dir_.WriteFile("xmk.ini", content); }

    TempDir dir_;
    const std::string dflt_ = AreaSection("Area_default", "dflt");
};

TEST_F(IniManagerTest, AreaSectionWithUrl2ElseDefaultGivesEveryAreaSetting) {
    CIniManager m;  // one object throughout: each load replaces every area setting
    const Settings empty = AreaOf(m);
    for (const auto& [key, value] : empty) EXPECT_TRUE(value.empty() || value == "0") << key;
    const std::string hz = AreaSection("Area_0571", "hz");
    const struct {
        std::string content;
        const char* area;
        const char* tag;  // "" for no settings at all
    } cases[] = {
        {dflt_ + hz + "[SYSTEM]\nFirstCmd=open\nAppType=4\n", "0571", "hz"},  // SYSTEM is not read
        {dflt_ + "[Area_0571]\nURL0=http://hz/0\nURL1=http://hz/1\nIssuer=hz\n", "0571", "dflt"},
        {dflt_ + hz, "0999", "dflt"},
        {dflt_ + hz, " 0571", "dflt"},  // the area is used as given
        {dflt_ + AreaSection("Area_", "bare"), "", "bare"},
        {dflt_, "", "dflt"},
        {"[Area_0571]\nURL0=http://hz/0\n", "0571", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string("area \"") + c.area + "\" in\n" + c.content);
        ASSERT_TRUE(m.ReadIniFile(Write(c.content).c_str(), c.area));
        EXPECT_EQ(*c.tag ? AreaSettings(c.tag) : empty, AreaOf(m));
        EXPECT_EQ(kNoSystem, SystemOf(m));
    }
}

TEST_F(IniManagerTest, SwitchIsTrueForAnyNonZeroNumber) {
    CIniManager m;
    std::vector<bool> audit;
    for (const char* value : {"2", "-1", "1", "0", "", "yes", " 3x"}) {
        std::string text = "[Area_default]\nURL2=u\nbNeedAudit=" + std::string(value) + "\n";
        ASSERT_TRUE(m.ReadIniFile(Write(text).c_str(), "a"));
        audit.push_back(m.IsNeedAudit());
    }
    EXPECT_EQ(audit, (std::vector<bool>{true, true, true, false, false, false, true}));
}

TEST_F(IniManagerTest, ZippedFileLoadsLikePlainText) {
    const std::string text = dflt_ + AreaSection("Area_0571", "hz");
    const std::string zip = dir_.Path() + "/xmk.zip";
    int error = 0;
    zip_t* archive = zip_open(zip.c_str(), ZIP_CREATE | ZIP_TRUNCATE, &error);
    ASSERT_NE(archive, nullptr);
    zip_source_t* source = zip_source_buffer(archive, text.data(), text.size(), 0);
    ASSERT_GE(zip_file_add(archive, "xmk.ini", source, 0), 0);
    ASSERT_EQ(zip_close(archive), 0);

    CIniManager m;
    ASSERT_TRUE(m.ReadIniFile(zip.c_str(), "0571"));
    EXPECT_EQ(AreaSettings("hz"), AreaOf(m));
}

TEST_F(IniManagerTest, FailedLoadsChangeNothing) {
    const std::string good = Write(dflt_ + "[SYSTEM]\nZbdlDogIds=1,2\n");
    CIniManager m;
    ASSERT_TRUE(m.ReadIniFile(good.c_str(), "a"));
    ASSERT_TRUE(m.ReadFirstCmd(good.c_str()));
    const Settings before = AreaOf(m);
    for (const std::string& path : {dir_.Path() + "/absent.ini", dir_.Path(),
                                    dir_.WriteFile("bad.zip", "PK\x03\x04 broken")}) {
        EXPECT_FALSE(m.ReadIniFile(path.c_str(), "a")) << path;
        EXPECT_FALSE(m.ReadFirstCmd(path.c_str())) << path;
    }
    EXPECT_EQ(before, AreaOf(m));
    EXPECT_EQ("|0|1,2|0|0", SystemOf(m));
}

TEST_F(IniManagerTest, ReadFirstCmdSetsCommandAndTypeAndLengthensTheIdLists) {
    const std::string twice = "[SYSTEM]\nFirstCmd=go\nAppType=2\nZbdlDogIds=1,2\n";
    const std::pair<std::vector<std::string>, std::string> cases[] = {
        {{"[SYSTEM]\nFirstCmd=open project\nAppType=7\nZbdlDogIds=12,7\nZbdlAndSgjlDogIds=3\n"
          "kcsjDogIds=-4, 5\n"},
         "open project|7|12,7|3|-4,5"},
        // Every comma splits but a final one; absent lists give one zero each.
        {{"[SYSTEM]\nZbdlDogIds=12,,7\nZbdlAndSgjlDogIds=5,\nkcsjDogIds=,\n"}, "|0|12,0,7|5|0"},
        {{"[SYSTEM]\nFirstCmd=x\n"}, "x|0|0|0|0"},
        {{"[SYSTEM]\nZbdlDogIds=abc, 3x,+8,  -2 ,0x5\nAppType=9z\n"}, "|9|0,3,8,-2,0|0|0"},
        {{twice, twice}, "go|2|1,2,1,2|0,0|0,0"},
        {{"[SYSTEM]\nFirstCmd=go\nAppType=2\nkcsjDogIds=1\n", "[SYSTEM]\nkcsjDogIds=2\n"},
         "|0|0,0|0,0|1,2"},
    };
    for (const auto& [files, system] : cases) {
        SCOPED_TRACE(files.back());
        CIniManager m;
        for (const std::string& file : files) ASSERT_TRUE(m.ReadFirstCmd(Write(file).c_str()));
        EXPECT_EQ(system, SystemOf(m));
    }
}

TEST_F(IniManagerTest, CopiesHoldEveryFieldAndSetUrlLastsUntilTheNextLoad) {
    const std::string path = Write(dflt_ +
                                   "[SYSTEM]\nURL2=http://system/2\nFirstCmd=go\nAppType=2\n"
                                   "ZbdlDogIds=1\nZbdlAndSgjlDogIds=2,3\nkcsjDogIds=4\n");
    CIniManager m;
    ASSERT_TRUE(m.ReadIniFile(path.c_str(), "a"));
    ASSERT_TRUE(m.ReadFirstCmd(path.c_str()));  // takes only the system fields of [SYSTEM]
    const CIniManager copy(m);
    CIniManager assigned;
    assigned = m;
    for (const CIniManager* loaded : {&std::as_const(m), &copy, &std::as_const(assigned)}) {
        EXPECT_EQ(AreaSettings("dflt"), AreaOf(*loaded));
        EXPECT_EQ("go|2|1|2,3|4", SystemOf(*loaded));
    }

    m.SetStrBzkWebService("http://elsewhere/2");
    EXPECT_EQ(CString("http://elsewhere/2"), m.GetBzkWebService());
    ASSERT_TRUE(m.ReadIniFile(path.c_str(), "a"));
    EXPECT_EQ(CString("dflt-URL2"), m.GetBzkWebService());
}

TEST_F(IniManagerTest, InstanceIsOneObjectForEveryThreadAndKeepsWhatWasLoaded) {
    std::vector<const CIniManager*> seen(8);
    std::vector<std::thread> threads;
    for (size_t i = 0; i < seen.size(); ++i) {
        threads.emplace_back([&seen, i] { seen[i] = &CIniManager::Instance(); });
    }
    for (std::thread& thread : threads) thread.join();
    EXPECT_EQ(seen, std::vector<const CIniManager*>(8, &CIniManager::Instance()));

    const CIniManager saved = CIniManager::Instance();
    CIniManager::Instance() = CIniManager();
    ASSERT_TRUE(CIniManager::Instance().ReadIniFile(Write(dflt_).c_str(), "a"));
    ASSERT_TRUE(CIniManager::Instance().ReadFirstCmd(Write("[SYSTEM]\nZbdlDogIds=4\n").c_str()));
    const Settings area = AreaOf(CIniManager::Instance());
    const std::string system = SystemOf(CIniManager::Instance());
    CIniManager::Instance() = saved;
    EXPECT_EQ(AreaSettings("dflt"), area);
    EXPECT_EQ("|0|4|0|0", system);
}

}  // namespace
