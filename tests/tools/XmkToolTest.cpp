// The xmk tool run as a process against a SOAP server on 127.0.0.1: what each command sends,
// what it prints and how it exits.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <spawn.h>
#include <sys/wait.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "support/LoopbackSoapServer.h"
#include "support/TempDir.h"

extern char** environ;

namespace {

using Outcome = std::tuple<int, std::string, std::string>;  // exit code, stdout, stderr
using Calls = std::vector<std::string>;                     // "Method name=value ..." per request

constexpr char kAnyText[] = "*";  // an expected output that is not compared

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

class XmkToolTest : public ::testing::Test {
  protected:
    void SetUp() override {
        // The tool talks to the loopback server only; a proxy in the environment must not
        // carry those calls.
        setenv("no_proxy", "127.0.0.1,localhost", 1);
        setenv("NO_PROXY", "127.0.0.1,localhost", 1);
        ini_ = dir_.WriteFile("xmk.ini", "[Area_default]\nURL2=" + server_.Url() + "\n");
    }

    // Runs the tool with `arguments`, where "STORE" stands for the options that reach the
    // server as user 12 of application type 3 in area 37, "INI" for the configuration file
    // and "URL" for the server. Output goes to files, so neither stream can block.
    Outcome Xmk(const std::vector<std::string>& arguments) const {
        const std::string tool = std::string(XMK_BINARY_DIR) + "/xmk";
        std::vector<std::string> expanded{tool};
        for (const std::string& argument : arguments) {
            if (argument == "STORE") {
                expanded.insert(expanded.end(), {"--ini", ini_, "--area", "37", "--user-id", "12",
                                                 "--app-type", "3"});
            } else {
                expanded.push_back(argument == "INI"   ? ini_
                                   : argument == "URL" ? server_.Url()
                                                       : argument);
            }
        }
        std::vector<char*> argv;
        for (std::string& argument : expanded) argv.push_back(argument.data());
        argv.push_back(nullptr);

        const std::string out = dir_.Path() + "/out";
        const std::string err = dir_.Path() + "/err";
        posix_spawn_file_actions_t files;
        posix_spawn_file_actions_init(&files);
        posix_spawn_file_actions_addopen(&files, 1, out.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                         0600);
        posix_spawn_file_actions_addopen(&files, 2, err.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                         0600);
        pid_t pid = 0;
        const int spawned = posix_spawn(&pid, tool.c_str(), &files, nullptr, argv.data(), environ);
        posix_spawn_file_actions_destroy(&files);
        EXPECT_EQ(0, spawned) << "cannot start " << tool;
        int status = 0;
        if (spawned != 0 || waitpid(pid, &status, 0) != pid) return {-1, "", ""};
        return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, ReadFile(out), ReadFile(err)};
    }

    // Runs the tool and checks its exit code, output and the requests the server received.
    void Expect(const std::vector<std::string>& arguments, Outcome expected,
                const Calls& calls = {}) {
        SCOPED_TRACE(::testing::PrintToString(arguments));
        server_.ClearRequests();
        Outcome run = Xmk(arguments);
        if (std::get<1>(expected) == kAnyText) std::get<1>(run) = kAnyText;
        if (std::get<2>(expected) == kAnyText) std::get<2>(run) = kAnyText;
        EXPECT_EQ(expected, run);
        EXPECT_EQ(calls, Received());
    }

    Calls Received() const {
        Calls calls;
        for (const LoopbackSoapServer::Request& request : server_.Requests()) {
            calls.push_back(request.soapMethod);
            for (const auto& [name, value] : request.arguments)
                calls.back() += " " + name + "=" + value;
        }
        return calls;
    }

    LoopbackSoapServer server_;
    TempDir dir_;
    std::string ini_;
};

// The Permission block of user 12 and application type 3 in area 37.
std::string Permission(int functionId, int functionType) {
    return "Permission:{UserID:12,AppID:3,FunctionID:" + std::to_string(functionId) +
           ",FunctionType:" + std::to_string(functionType) + ",IsrtAreaCode:\"37\"}";
}

TEST_F(XmkToolTest, JsonAndCallPrintWhatTheyGet) {
    Expect({"json", "{a:1,b:{c:\"x\"}}"}, {0, "0\ta\t1\n1\tb\t{c:\"x\"}\n", ""});
    Expect({"json", "--find", "c", "[{a:1},{c:\"x\"}]"}, {0, "x\n", ""});

    server_.SetReplyText("DoWork", "{\"ret\":0,\"msg\":\"no\"}");
    Expect({"call", "--ini", "INI", "--area", "37", "{A:1}"},
           {0, "{\"ret\":0,\"msg\":\"no\"}\n", ""}, {"DoWork jsonInput={A:1}"});
    Expect({"call", "--ini", "INI", "--area", "37", "--bool", "{A:1}"},
           {1, "{\"ret\":0,\"msg\":\"no\"}\n", "message: no\n"}, {"DoWork jsonInput={A:1}"});
    Expect({"call", "--ini", "INI", "--area", "37", "--url", "http://127.0.0.1:1/x", "{}"},
           {1, kAnyText, kAnyText});

    server_.SetReplyText("DoWork", "{\"ret\":1}");
    Expect(
        {"--trace", "call", "--ini", "INI", "--area", "37", "{A:1}"},
        {0,
         ">> DoWork " + server_.Url() + "\n   jsonInput = {A:1}\n<< ok {\"ret\":1}\n{\"ret\":1}\n",
         ""},
        {"DoWork jsonInput={A:1}"});
}

TEST_F(XmkToolTest, WritesSendTheirKindsRequestAndJudgeTheReply) {
    server_.SetReplyText("InsertApprovalForCpp", "{\"ret\":1,\"msg\":\"ok\",\"data\":\"57\"}");
    Expect({"write", "insert", "STORE", "--function-id", "0", "--values", "{Name:\"a\"}"},
           {0, "new id: 57\nAddItem: true\n", ""},
           {"InsertApprovalForCpp pAop={Appvl:{Name:\"a\"}," + Permission(0, 1) + "}"});

    server_.SetReplyText("InsertObject", "{\"ret\":2,\"msg\":\"kept\",\"data\":\"8\"}");
    Expect({"write", "insert", "STORE", "--function-id", "3", "--app-id", "5", "--table", "T",
            "--values", "{A:1}", "--extra", "{X:2}"},
           {0, "new id: 8\nAddItem: true\n", "message: kept\n"},
           {"InsertObject param={outnode:{Value:{A:1},Permission:{UserID:12,AppID:5,FunctionID:3,"
            "FunctionType:1,TableName:\"T\",IsrtAreaCode:\"37\"},X:2}}"});

    server_.SetReplyText("DeleteProofAttachByIdForCpp", "{\"ret\":0,\"msg\":\"gone\"}");
    Expect({"write", "delete", "STORE", "--function-id", "2", "--id", "A-9"},
           {1, "DeleteItem: false\n", "message: gone\n"},
           {"DeleteProofAttachByIdForCpp attachID=A-9"});

    // An empty result is a failed write.
    Expect({"write", "insert", "STORE", "--function-id", "9"},
           {1, "AddItem: false\n", "message: 什么也没有返回\n"},
           {"DoWork jsonInput={Values:{}," + Permission(9, 1) + "}"});

    server_.SetReplyText("DoWork", "{\"ret\":1}");
    Expect({"write", "audit", "STORE", "--function-id", "7", "--values", "{State:2}"},
           {0, "UpdateAudit: true\n", ""},
           {"DoWork jsonInput={Values:{State:2}," + Permission(7, 4) + "}"});
    Expect({"write", "update", "STORE", "--function-id", "7", "--values", "{B:\"b\"}"},
           {0, "UpdateItem: true\n", ""},
           {"DoWork jsonInput={Values:{B:\"b\"}," + Permission(7, 2) + "}"});
    Expect({"write", "update", "STORE", "--function-id", "7"}, {0, "UpdateItem: true\n", ""});
}

TEST_F(XmkToolTest, CountAndCheckPrintWhatTheServerAnswers) {
    server_.SetReplyText("DoWork", "{\"Rows\":[],\"TotalCount\":\"1234\"}");
    Expect({"count", "STORE", "--function-id", "100"}, {0, "1234\n", ""},
           {"DoWork jsonInput={Conditions:{Type:8}," + Permission(100, 0) + "}"});
    const std::string absent = dir_.Path() + "/absent.ini";
    Expect({"count", "--ini", absent, "--area", "37", "--function-id", "100"},
           {1, "", "xmk count: cannot read the configuration file " + absent + "\n"});

    server_.SetReplyText("CheckXMFZR", "0,a:b:c:d");
    server_.SetReplyText("CheckXMFZRForCPlus", "3;yes");
    server_.SetReplyText("CheckXMFZRForCpp", "2;x;5,7");
    Expect(
        {"check", "--ini", "INI", "--area", "37", "--url", "URL", "--emp-id", "8", "--corp", "4",
         "--role", "6"},
        {0, "CheckXMFZR: true\nGetXMFZRYZProjects: true\nprojects: 5,7\n", ""},
        {"CheckXMFZR EmpId=8", "CheckXMFZRForCPlus EmpId=8 TypeFlag=b RoleId=c CertificateLevel=d",
         "CheckXMFZRForCpp empId=8 corpDogId=4 roleId=6 areaCode=37"});
}

TEST_F(XmkToolTest, BadUsageExitsTwoAndSendsNothing) {
    const std::vector<std::vector<std::string>> mistakes = {
        {},
        {"nosuch"},
        {"write"},
        {"write", "erase", "STORE", "--function-id", "7"},
        {"write", "insert", "STORE"},
        {"write", "insert", "STORE", "--function-id", "7", "--values", "A:1"},
        {"write", "delete", "STORE", "--function-id", "0"},
        {"count", "STORE", "--bogus"},
        {"count", "--ini", "INI", "--function-id", "x"},
        {"check", "--ini", "INI", "--area", "37"},
        {"call", "--ini", "INI", "--area", "37"},
    };
    for (const std::vector<std::string>& arguments : mistakes) {
        SCOPED_TRACE(::testing::PrintToString(arguments));
        const auto [code, out, err] = Xmk(arguments);
        EXPECT_EQ(2, code);
        EXPECT_EQ("", out);
        EXPECT_NE(std::string::npos, err.find("usage: xmk"));
    }
    EXPECT_TRUE(Received().empty());
}

TEST_F(XmkToolTest, EveryListedCommandExplainsItselfOnHelp) {
    const auto [code, out, err] = Xmk({"--help"});
    ASSERT_EQ(0, code);
    std::istringstream lines(out.substr(out.find("commands:\n") + 10));
    std::vector<std::string> names;
    std::string line;
    while (std::getline(lines, line) && !line.empty()) {
        names.push_back(line.substr(2, line.find(' ', 2) - 2));
    }
    EXPECT_EQ((std::vector<std::string>{"json", "config", "call", "write", "count", "projects",
                                        "corps", "bids", "check"}),
              names);
    for (const std::string& name : names) {
        const auto [helpCode, helpOut, helpErr] = Xmk({name, "--help"});
        EXPECT_EQ(0, helpCode) << name;
        EXPECT_EQ(0u, helpOut.find("usage: xmk " + name + " ")) << name;
    }
}

}  // namespace
