#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <string>
#include <utility>

#include "config/CIniManager.h"
#include "support/CStringPrinter.h"

namespace {

const std::string kSample = std::string(XMK_TEST_DATA_DIR) + "/config/sample.ini";
const std::string kTool = std::string(XMK_BINARY_DIR) + "/xmk";

// Runs the tool with `arguments`; gives the exit code and what it printed on stdout.
std::pair<int, std::string> RunTool(const std::string& arguments) {
    std::string output;
    FILE* pipe = popen((kTool + " " + arguments + " 2>/dev/null").c_str(), "r");
    if (pipe == nullptr) return {-1, output};
    char buffer[4096];
    size_t n;
    while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0) output.append(buffer, n);
    int status = pclose(pipe);
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, output};
}

TEST(SampleConfigTest, AreaWithUrl2UsesItsOwnSectionOthersTheDefault) {
    CIniManager m;
    ASSERT_TRUE(m.ReadIniFile(kSample.c_str(), "0571"));
    EXPECT_EQ(m.GetBzkWebService(), CString("http://xmk.hz.example/UniteInterface.asmx"));
    EXPECT_EQ(m.GetstrFtpPassWord(), CString("secret word"));
    EXPECT_TRUE(m.IsNeedAudit());
    EXPECT_EQ(m.GetPrintModel(), 2);
    ASSERT_TRUE(m.ReadIniFile(kSample.c_str(), "0574"));
    EXPECT_EQ(m.GetEnterpriseWebService(), CString("http://127.0.0.1:8080/EnterpriseService.asmx"));
}

TEST(SampleConfigTest, ToolPrintsEverySettingWithItsSection) {
    if (FILE* probe = std::fopen(kTool.c_str(), "r")) {
        std::fclose(probe);
    } else {
        GTEST_SKIP() << "the xmk tool is not built";
    }
    auto [code, output] = RunTool("config --ini " + kSample + " --area 0574");
    EXPECT_EQ(code, 0);
    std::string expected =
        "file " + kSample +
        ", area \"0574\", section Area_default\n"
        "\n"
        "SECTION          KEY                    VALUE\n"
        "Area_default     URL0                   http://127.0.0.1:8080/EnterpriseService.asmx\n"
        "Area_default     URL1                   http://127.0.0.1:8080/KQKHService.asmx\n"
        "Area_default     URL2                   http://127.0.0.1:8080/UniteInterface.asmx\n"
        "Area_default     URL3                   http://127.0.0.1:8080/SegmentService.asmx\n"
        "Area_default     bGetFtpInfoFromINI     false\n"
        "Area_default     CheckManager           http://127.0.0.1:8080/CheckManager.asmx\n"
        "Area_default     AopService             http://127.0.0.1:8080/AopService.asmx\n"
        "Area_default     FTPServer              127.0.0.1\n"
        "Area_default     FTPUser                xmk\n"
        "Area_default     FTPPWD                 \n"
        "Area_default     LoadAddButton          1\n"
        "Area_default     Issuer                 default\n"
        "Area_default     PrintModel             0\n"
        "Area_default     bChangeReasonMust      false\n"
        "Area_default     bAddTHSeggestionMust   false\n"
        "Area_default     bNeedAudit             true\n"
        "Area_default     isNeedSearch           true\n"
        "Area_default     EmpConstraints1        \n"
        "Area_default     EmpConstraints2        \n"
        "Area_default     URL_DL                 http://127.0.0.1:8080/UniteInterfaceOld.asmx\n"
        "SYSTEM           FirstCmd               OpenProjectList\n"
        "SYSTEM           AppType                3\n"
        "SYSTEM           ZbdlDogIds             1001,1002,1003\n"
        "SYSTEM           ZbdlAndSgjlDogIds      2001\n"
        "SYSTEM           kcsjDogIds             0\n";
    EXPECT_EQ(output, expected);

    EXPECT_EQ(RunTool("config --ini " + kSample + ".absent --area 0574"),
              (std::pair<int, std::string>{1, ""}));
    EXPECT_EQ(RunTool("config --area 0574"), (std::pair<int, std::string>{2, ""}));
}

}  // namespace
