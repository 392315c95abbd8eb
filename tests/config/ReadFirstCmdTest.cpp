#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "config/CIniManager.h"
#include "support/CStringPrinter.h"
#include "support/TempDir.h"

namespace {

struct SystemValues {
    std::string firstCmd;
    int appType;
    std::vector<long> zbdl;
    std::vector<long> zbdlAndSgjl;
    std::vector<long> kcsj;

    bool operator==(const SystemValues& o) const {
        return firstCmd == o.firstCmd && appType == o.appType && zbdl == o.zbdl &&
               zbdlAndSgjl == o.zbdlAndSgjl && kcsj == o.kcsj;
    }
};

void PrintTo(const SystemValues& v, std::ostream* os) {
    auto list = [os](const std::vector<long>& ids) {
        *os << " [";
        for (long id : ids) *os << id << ' ';
        *os << ']';
    };
    *os << '"' << v.firstCmd << "\" " << v.appType;
    list(v.zbdl);
    list(v.zbdlAndSgjl);
    list(v.kcsj);
}

SystemValues System(const CIniManager& m) {
    return {m.GetFirstCmd().Str(), m.GetAppType(), m.GetZbdlDogIds(), m.GetZbdlAndSgjlDogIds(),
            m.GetKcsjDogIds()};
}

class ReadFirstCmdTest : public ::testing::Test {
  protected:
    std::string Write(const std::string& content) { return dir_.WriteFile("xmk.ini", content); }

    TempDir dir_;
};

TEST_F(ReadFirstCmdTest, LoadsTheSystemSection) {
    CIniManager m;
    ASSERT_TRUE(m.ReadFirstCmd(Write("[SYSTEM]\nFirstCmd=open project\nAppType=7\n"
                                     "ZbdlDogIds=12,7\nZbdlAndSgjlDogIds=3\nkcsjDogIds=-4, 5\n")
                                   .c_str()));
    EXPECT_EQ(System(m), (SystemValues{"open project", 7, {12, 7}, {3}, {-4, 5}}));
}

TEST_F(ReadFirstCmdTest, IdListsSplitAtEveryComma) {
    CIniManager m;
    ASSERT_TRUE(m.ReadFirstCmd(
        Write("[SYSTEM]\nZbdlDogIds=12,,7\nZbdlAndSgjlDogIds=5,\nkcsjDogIds=,\n").c_str()));
    EXPECT_EQ(System(m), (SystemValues{"", 0, {12, 0, 7}, {5}, {0}}));
}

TEST_F(ReadFirstCmdTest, AbsentKeysGiveOneZeroEach) {
    CIniManager m;
    ASSERT_TRUE(m.ReadFirstCmd(Write("[SYSTEM]\nFirstCmd=x\n").c_str()));
    EXPECT_EQ(System(m), (SystemValues{"x", 0, {0}, {0}, {0}}));
}

TEST_F(ReadFirstCmdTest, PiecesConvertAsAtol) {
    CIniManager m;
    ASSERT_TRUE(
        m.ReadFirstCmd(Write("[SYSTEM]\nZbdlDogIds=abc, 3x,+8,  -2 ,0x5\nAppType=9z\n").c_str()));
    EXPECT_EQ(System(m), (SystemValues{"", 9, {0, 3, 8, -2, 0}, {0}, {0}}));
}

TEST_F(ReadFirstCmdTest, EachReadLengthensTheLists) {
    std::string path = Write("[SYSTEM]\nFirstCmd=go\nAppType=2\nZbdlDogIds=1,2\n");
    CIniManager m;
    ASSERT_TRUE(m.ReadFirstCmd(path.c_str()));
    ASSERT_TRUE(m.ReadFirstCmd(path.c_str()));
    EXPECT_EQ(System(m), (SystemValues{"go", 2, {1, 2, 1, 2}, {0, 0}, {0, 0}}));
}

TEST_F(ReadFirstCmdTest, LaterReadReplacesCommandAndType) {
    CIniManager m;
    ASSERT_TRUE(m.ReadFirstCmd(Write("[SYSTEM]\nFirstCmd=go\nAppType=2\nkcsjDogIds=1\n").c_str()));
    ASSERT_TRUE(m.ReadFirstCmd(Write("[SYSTEM]\nkcsjDogIds=2\n").c_str()));
    EXPECT_EQ(System(m), (SystemValues{"", 0, {0, 0}, {0, 0}, {1, 2}}));
}

TEST_F(ReadFirstCmdTest, UnreadableFileChangesNothing) {
    CIniManager m;
    ASSERT_TRUE(m.ReadFirstCmd(Write("[SYSTEM]\nFirstCmd=go\nAppType=2\nZbdlDogIds=1\n").c_str()));
    SystemValues before = System(m);
    EXPECT_FALSE(m.ReadFirstCmd((dir_.Path() + "/absent.ini").c_str()));
    EXPECT_FALSE(m.ReadFirstCmd(dir_.Path().c_str()));
    EXPECT_FALSE(m.ReadFirstCmd(dir_.WriteFile("bad.zip", "PK\x03\x04 broken").c_str()));
    EXPECT_EQ(System(m), before);
}

TEST_F(ReadFirstCmdTest, LeavesTheAreaSettingsAlone) {
    std::string path = Write(
        "[Area_default]\nURL2=http://a/2\nPrintModel=3\n"
        "[SYSTEM]\nURL2=http://system/2\nFirstCmd=go\n");
    CIniManager m;
    ASSERT_TRUE(m.ReadIniFile(path.c_str(), "x"));
    ASSERT_TRUE(m.ReadFirstCmd(path.c_str()));
    EXPECT_EQ(m.GetBzkWebService(), CString("http://a/2"));
    EXPECT_EQ(m.GetPrintModel(), 3);
    EXPECT_EQ(m.GetFirstCmd(), CString("go"));
}

TEST_F(ReadFirstCmdTest, WorksOnTheProcessWideInstance) {
    CIniManager& instance = CIniManager::Instance();
    instance = CIniManager();
    ASSERT_TRUE(instance.ReadFirstCmd(Write("[SYSTEM]\nFirstCmd=go\nZbdlDogIds=4\n").c_str()));
    SystemValues loaded = System(instance);
    instance = CIniManager();
    EXPECT_EQ(loaded, (SystemValues{"go", 0, {4}, {0}, {0}}));
}

}  // namespace
