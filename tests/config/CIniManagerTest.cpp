#include <gtest/gtest.h>
#include <zip.h>

#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "config/CIniManager.h"
#include "support/CStringPrinter.h"
#include "support/TempDir.h"

namespace {

using Settings = std::vector<std::pair<std::string, std::string>>;

std::string Flag(bool value) { return value ? "1" : "0"; }

std::string Ids(const std::vector<long>& ids) {
    std::string text;
    for (long id : ids) text += (text.empty() ? "" : ",") + std::to_string(id);
    return text;
}

// Every field, by the key that fills it, so whole loads compare in one assertion.
Settings AllSettings(const CIniManager& m) {
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
            {"URL_DL", m.GetBzkWebService_old().Str()},
            {"FirstCmd", m.GetFirstCmd().Str()},
            {"AppType", std::to_string(m.GetAppType())},
            {"ZbdlDogIds", Ids(m.GetZbdlDogIds())},
            {"ZbdlAndSgjlDogIds", Ids(m.GetZbdlAndSgjlDogIds())},
            {"kcsjDogIds", Ids(m.GetKcsjDogIds())}};
}

// The twenty area keys with values carrying `tag`, then the five system fields as given.
Settings AreaSettings(const std::string& tag, const Settings& system) {
    Settings s = {{"URL0", "http://" + tag + "/0"},
                  {"URL1", "http://" + tag + "/1"},
                  {"URL2", "http://" + tag + "/2"},
                  {"URL3", "http://" + tag + "/3"},
                  {"bGetFtpInfoFromINI", "1"},
                  {"CheckManager", "http://" + tag + "/check"},
                  {"AopService", "http://" + tag + "/aop"},
                  {"FTPServer", "ftp." + tag},
                  {"FTPUser", tag + "-user"},
                  {"FTPPWD", tag + "-pwd"},
                  {"LoadAddButton", tag + "-button"},
                  {"Issuer", tag + "-issuer"},
                  {"PrintModel", "3"},
                  {"bChangeReasonMust", "1"},
                  {"bAddTHSeggestionMust", "1"},
                  {"bNeedAudit", "1"},
                  {"isNeedSearch", "1"},
                  {"EmpConstraints1", tag + "-c1"},
                  {"EmpConstraints2", tag + "-c2"},
                  {"URL_DL", "http://" + tag + "/dl"}};
    s.insert(s.end(), system.begin(), system.end());
    return s;
}

const Settings kNoSystem = {{"FirstCmd", ""},
                            {"AppType", "0"},
                            {"ZbdlDogIds", ""},
                            {"ZbdlAndSgjlDogIds", ""},
                            {"kcsjDogIds", ""}};

// A section holding the twenty area keys with values carrying `tag`.
std::string AreaSection(const std::string& name, const std::string& tag) {
    std::string text = "[" + name + "]\n";
    for (const auto& [key, value] : AreaSettings(tag, {})) text += key + "=" + value + "\n";
    return text;
}

class IniManagerTest : public ::testing::Test {
  protected:
    std::string Write(const std::string& content) { return dir_.WriteFile("xmk.ini", content); }

    TempDir dir_;
};

TEST_F(IniManagerTest, DefaultConstructedStoreIsEmpty) {
    EXPECT_EQ(AllSettings(CIniManager()), (Settings{{"URL0", ""},
                                                    {"URL1", ""},
                                                    {"URL2", ""},
                                                    {"URL3", ""},
                                                    {"bGetFtpInfoFromINI", "0"},
                                                    {"CheckManager", ""},
                                                    {"AopService", ""},
                                                    {"FTPServer", ""},
                                                    {"FTPUser", ""},
                                                    {"FTPPWD", ""},
                                                    {"LoadAddButton", ""},
                                                    {"Issuer", ""},
                                                    {"PrintModel", "0"},
                                                    {"bChangeReasonMust", "0"},
                                                    {"bAddTHSeggestionMust", "0"},
                                                    {"bNeedAudit", "0"},
                                                    {"isNeedSearch", "0"},
                                                    {"EmpConstraints1", ""},
                                                    {"EmpConstraints2", ""},
                                                    {"URL_DL", ""},
                                                    {"FirstCmd", ""},
                                                    {"AppType", "0"},
                                                    {"ZbdlDogIds", ""},
                                                    {"ZbdlAndSgjlDogIds", ""},
                                                    {"kcsjDogIds", ""}}));
}

TEST_F(IniManagerTest, AreaSectionFillsEveryAreaSetting) {
    std::string path = Write(AreaSection("Area_default", "dflt") + AreaSection("Area_0571", "hz") +
                             "[SYSTEM]\nFirstCmd=open\nAppType=4\n");
    CIniManager m;
    ASSERT_TRUE(m.ReadIniFile(path.c_str(), "0571"));
    EXPECT_EQ(AllSettings(m), AreaSettings("hz", kNoSystem));
}

TEST_F(IniManagerTest, AreaWithoutUrl2TakesEverySettingFromDefault) {
    std::string path = Write(AreaSection("Area_default", "dflt") +
                             "[Area_0571]\nURL0=http://hz/0\nURL1=http://hz/1\nIssuer=hz\n");
    CIniManager m;
    ASSERT_TRUE(m.ReadIniFile(path.c_str(), "0571"));
    EXPECT_EQ(AllSettings(m), AreaSettings("dflt", kNoSystem));
}

TEST_F(IniManagerTest, UnknownAreaTakesDefault) {
    std::string path = Write(AreaSection("Area_default", "dflt") + AreaSection("Area_0571", "hz"));
    CIniManager m;
    ASSERT_TRUE(m.ReadIniFile(path.c_str(), "0999"));
    EXPECT_EQ(AllSettings(m), AreaSettings("dflt", kNoSystem));
}

TEST_F(IniManagerTest, EmptyAreaLooksUpTheBareAreaSection) {
    std::string path = Write(AreaSection("Area_default", "dflt") + AreaSection("Area_", "bare"));
    CIniManager m;
    ASSERT_TRUE(m.ReadIniFile(path.c_str(), ""));
    EXPECT_EQ(AllSettings(m), AreaSettings("bare", kNoSystem));

    std::string without = Write(AreaSection("Area_default", "dflt"));
    ASSERT_TRUE(m.ReadIniFile(without.c_str(), ""));
    EXPECT_EQ(AllSettings(m), AreaSettings("dflt", kNoSystem));
}

TEST_F(IniManagerTest, AreaIsUsedAsGivenWithoutTrimming) {
    std::string path = Write(AreaSection("Area_default", "dflt") + AreaSection("Area_0571", "hz"));
    CIniManager m;
    ASSERT_TRUE(m.ReadIniFile(path.c_str(), " 0571"));
    EXPECT_EQ(m.GetBzkWebService(), CString("http://dflt/2"));
}

TEST_F(IniManagerTest, NoAreaAndNoDefaultEmptiesEverySettingAndSucceeds) {
    CIniManager m;
    ASSERT_TRUE(m.ReadIniFile(Write(AreaSection("Area_default", "dflt")).c_str(), "x"));
    ASSERT_TRUE(m.ReadIniFile(Write("[Area_0571]\nURL0=http://hz/0\n").c_str(), "0571"));
    EXPECT_EQ(AllSettings(m), AllSettings(CIniManager()));
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

TEST_F(IniManagerTest, FailedLoadsChangeNothing) {
    std::string good = Write(AreaSection("Area_default", "dflt") + "[SYSTEM]\nZbdlDogIds=1,2\n");
    CIniManager m;
    ASSERT_TRUE(m.ReadIniFile(good.c_str(), "a"));
    ASSERT_TRUE(m.ReadFirstCmd(good.c_str()));
    Settings before = AllSettings(m);

    EXPECT_FALSE(m.ReadIniFile((dir_.Path() + "/absent.ini").c_str(), "a"));
    EXPECT_FALSE(m.ReadIniFile(dir_.Path().c_str(), "a"));
    EXPECT_FALSE(m.ReadIniFile(dir_.WriteFile("bad.zip", "PK\x03\x04 broken").c_str(), "a"));
    EXPECT_EQ(AllSettings(m), before);
}

TEST_F(IniManagerTest, ZippedFileLoadsLikePlainText) {
    std::string text = AreaSection("Area_default", "dflt") + AreaSection("Area_0571", "hz");
    std::string zip = dir_.Path() + "/xmk.zip";
    int error = 0;
    zip_t* archive = zip_open(zip.c_str(), ZIP_CREATE | ZIP_TRUNCATE, &error);
    ASSERT_NE(archive, nullptr);
    zip_source_t* source = zip_source_buffer(archive, text.data(), text.size(), 0);
    ASSERT_GE(zip_file_add(archive, "xmk.ini", source, 0), 0);
    ASSERT_EQ(zip_close(archive), 0);

    CIniManager m;
    ASSERT_TRUE(m.ReadIniFile(zip.c_str(), "0571"));
    EXPECT_EQ(AllSettings(m), AreaSettings("hz", kNoSystem));
}

TEST_F(IniManagerTest, SetStrBzkWebServiceLastsUntilTheNextLoad) {
    std::string path = Write(AreaSection("Area_default", "dflt"));
    CIniManager m;
    ASSERT_TRUE(m.ReadIniFile(path.c_str(), "a"));
    m.SetStrBzkWebService("http://elsewhere/2");
    EXPECT_EQ(m.GetBzkWebService(), CString("http://elsewhere/2"));
    ASSERT_TRUE(m.ReadIniFile(path.c_str(), "a"));
    EXPECT_EQ(m.GetBzkWebService(), CString("http://dflt/2"));
}

TEST_F(IniManagerTest, CopiesHoldEveryField) {
    std::string path = Write(AreaSection("Area_default", "dflt") +
                             "[SYSTEM]\nFirstCmd=go\nAppType=2\nZbdlDogIds=1\n"
                             "ZbdlAndSgjlDogIds=2,3\nkcsjDogIds=4\n");
    CIniManager m;
    ASSERT_TRUE(m.ReadIniFile(path.c_str(), "a"));
    ASSERT_TRUE(m.ReadFirstCmd(path.c_str()));
    CIniManager copy(m);
    EXPECT_EQ(AllSettings(copy), AllSettings(m));
    CIniManager assigned;
    assigned = m;
    EXPECT_EQ(AllSettings(assigned), AllSettings(m));
}

TEST_F(IniManagerTest, InstanceIsOneObjectForEveryThread) {
    std::vector<const CIniManager*> seen(8);
    std::vector<std::thread> threads;
    for (size_t i = 0; i < seen.size(); ++i) {
        threads.emplace_back([&seen, i] { seen[i] = &CIniManager::Instance(); });
    }
    for (std::thread& thread : threads) thread.join();
    EXPECT_EQ(seen, std::vector<const CIniManager*>(8, &CIniManager::Instance()));
}

TEST_F(IniManagerTest, InstanceKeepsWhatWasLoaded) {
    std::string path = Write(AreaSection("Area_default", "dflt"));
    ASSERT_TRUE(CIniManager::Instance().ReadIniFile(path.c_str(), "a"));
    Settings loaded = AllSettings(CIniManager::Instance());
    CIniManager::Instance() = CIniManager();
    EXPECT_EQ(loaded, AreaSettings("dflt", kNoSystem));
}

}  // namespace
