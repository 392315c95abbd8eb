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
#include <utility>
#include <vector>

#include "support/LoopbackSoapServer.h"
#include "support/TempDir.h"

extern char** environ;

namespace {

using Arguments = std::vector<std::pair<std::string, std::string>>;

struct Outcome {
    int code = -1;
    std::string out;
    std::string err;
};

struct SoapCall {
    std::string method;
    Arguments arguments;

    bool operator==(const SoapCall& other) const {
        return method == other.method && arguments == other.arguments;
    }
};

void PrintTo(const SoapCall& call, std::ostream* os) {
    *os << call.method << "(";
    for (const auto& [name, value] : call.arguments) *os << name << "=" << value << " ";
    *os << ")";
}

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

}  // namespace

class XmkToolTest : public ::testing::Test {
  protected:
    void SetUp() override {
        // The tool talks to the loopback server only; a proxy in the environment must not
        // carry those calls.
        setenv("no_proxy", "127.0.0.1,localhost", 1);
        setenv("NO_PROXY", "127.0.0.1,localhost", 1);
        ini_ = dir_.WriteFile("xmk.ini", "[Area_default]\nURL2=" + server_.Url() + "\n");
    }

    // Runs the tool with `arguments`; stdout and stderr go to files, so neither can block.
    Outcome Xmk(const std::vector<std::string>& arguments) const {
        const std::string tool = std::string(XMK_BINARY_DIR) + "/xmk";
        const std::string out = dir_.Path() + "/out";
        const std::string err = dir_.Path() + "/err";
        std::vector<char*> argv{const_cast<char*>(tool.c_str())};
        for (const std::string& argument : arguments) {
            argv.push_back(const_cast<char*>(argument.c_str()));
        }
        argv.push_back(nullptr);

        posix_spawn_file_actions_t files;
        posix_spawn_file_actions_init(&files);
        posix_spawn_file_actions_addopen(&files, 1, out.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                         0600);
        posix_spawn_file_actions_addopen(&files, 2, err.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                         0600);
        Outcome run;
        pid_t pid = 0;
        const int spawned = posix_spawn(&pid, tool.c_str(), &files, nullptr, argv.data(), environ);
        posix_spawn_file_actions_destroy(&files);
        EXPECT_EQ(0, spawned) << "cannot start " << tool;
        if (spawned != 0) return run;
        int status = 0;
        waitpid(pid, &status, 0);
        run.code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        run.out = ReadFile(out);
        run.err = ReadFile(err);
        return run;
    }

    // Runs `command` with the options that reach the server as user 12 of application
    // type 3 in area 37, then `arguments`.
    Outcome Store(std::vector<std::string> command,
                  const std::vector<std::string>& arguments) const {
        for (const char* option :
             {"--ini", ini_.c_str(), "--area", "37", "--user-id", "12", "--app-type", "3"}) {
            command.emplace_back(option);
        }
        command.insert(command.end(), arguments.begin(), arguments.end());
        return Xmk(command);
    }
    Outcome Write(const std::string& operation, const std::vector<std::string>& arguments) const {
        return Store({"write", operation}, arguments);
    }

    std::vector<SoapCall> Calls() const {
        std::vector<SoapCall> calls;
        for (const LoopbackSoapServer::Request& request : server_.Requests()) {
            calls.push_back({request.soapMethod, request.arguments});
        }
        return calls;
    }

    LoopbackSoapServer server_;
    TempDir dir_;
    std::string ini_;
};

TEST_F(XmkToolTest, JsonPrintsTheChildrenAndFindsAValue) {
    const Outcome children = Xmk({"json", "{a:1,b:{c:\"x\"}}"});
    EXPECT_EQ(0, children.code);
    EXPECT_EQ("0\ta\t1\n1\tb\t{c:\"x\"}\n", children.out);

    const Outcome found = Xmk({"json", "--find", "c", "[{a:1},{c:\"x\"}]"});
    EXPECT_EQ(0, found.code);
    EXPECT_EQ("x\n", found.out);
}

TEST_F(XmkToolTest, CallSendsTheJsonToTheUniformOperationAndPrintsTheReply) {
    server_.SetReplyText("DoWork", "{\"ret\":0,\"msg\":\"no\"}");

    const Outcome plain = Xmk({"call", "--ini", ini_, "--area", "37", "{A:1}"});
    EXPECT_EQ(0, plain.code);
    EXPECT_EQ("{\"ret\":0,\"msg\":\"no\"}\n", plain.out);
    EXPECT_EQ((std::vector<SoapCall>{{"DoWork", {{"jsonInput", "{A:1}"}}}}), Calls());

    const Outcome judged = Xmk({"call", "--ini", ini_, "--area", "37", "--bool", "{A:1}"});
    EXPECT_EQ(1, judged.code);
    EXPECT_EQ("message: no\n", judged.err);

    const Outcome refused =
        Xmk({"call", "--ini", ini_, "--area", "37", "--url", "http://127.0.0.1:1/x", "{}"});
    EXPECT_EQ(1, refused.code);
}

TEST_F(XmkToolTest, TracePrintsEachRequestWithItsArgumentsAndReply) {
    server_.SetReplyText("DoWork", "{\"ret\":1}");

    const Outcome run = Xmk({"--trace", "call", "--ini", ini_, "--area", "37", "{A:1}"});

    EXPECT_EQ(0, run.code);
    EXPECT_EQ(">> DoWork " + server_.Url() +
                  "\n"
                  "   jsonInput = {A:1}\n"
                  "<< ok {\"ret\":1}\n"
                  "{\"ret\":1}\n",
              run.out);
}

TEST_F(XmkToolTest, InsertOfAnApprovalSendsTheRowRequestAndPrintsTheNewId) {
    server_.SetReplyText("InsertApprovalForCpp", "{\"ret\":1,\"msg\":\"ok\",\"data\":\"57\"}");

    const Outcome run = Write("insert", {"--function-id", "0", "--values", "{Name:\"a\"}"});

    EXPECT_EQ(0, run.code);
    EXPECT_EQ("new id: 57\nAddItem: true\n", run.out);
    EXPECT_EQ("", run.err);
    EXPECT_EQ(
        (std::vector<SoapCall>{{"InsertApprovalForCpp",
                                {{"pAop",
                                  "{Appvl:{Name:\"a\"},Permission:{UserID:12,AppID:3,FunctionID:0,"
                                  "FunctionType:1,IsrtAreaCode:\"37\"}}"}}}}),
        Calls());
}

TEST_F(XmkToolTest, InsertOfAGenericObjectCarriesTableApplicationIdAndExtraMembers) {
    server_.SetReplyText("InsertObject", "{\"ret\":2,\"msg\":\"kept\",\"data\":\"8\"}");

    const Outcome run = Write("insert", {"--function-id", "3", "--app-id", "5", "--table", "T",
                                         "--values", "{A:1}", "--extra", "{X:2}"});

    EXPECT_EQ(0, run.code);
    EXPECT_EQ("new id: 8\nAddItem: true\n", run.out);
    EXPECT_EQ("message: kept\n", run.err);
    EXPECT_EQ((std::vector<SoapCall>{
                  {"InsertObject",
                   {{"param",
                     "{outnode:{Value:{A:1},Permission:{UserID:12,AppID:5,FunctionID:3,"
                     "FunctionType:1,TableName:\"T\",IsrtAreaCode:\"37\"},X:2}}"}}}}),
              Calls());
}

TEST_F(XmkToolTest, DeleteOfAProofAttachmentSendsItsIdAlone) {
    server_.SetReplyText("DeleteProofAttachByIdForCpp", "{\"ret\":0,\"msg\":\"gone\"}");

    const Outcome run = Write("delete", {"--function-id", "2", "--id", "A-9"});

    EXPECT_EQ(1, run.code);
    EXPECT_EQ("DeleteItem: false\n", run.out);
    EXPECT_EQ("message: gone\n", run.err);
    EXPECT_EQ((std::vector<SoapCall>{{"DeleteProofAttachByIdForCpp", {{"attachID", "A-9"}}}}),
              Calls());
}

TEST_F(XmkToolTest, AuditAndUpdateGoToTheUniformOperation) {
    server_.SetReplyText("DoWork", "{\"ret\":1}");

    const Outcome audit = Write("audit", {"--function-id", "7", "--values", "{State:2}"});
    const Outcome update = Write("update", {"--function-id", "7", "--values", "{B:\"b\"}"});

    EXPECT_EQ(0, audit.code);
    EXPECT_EQ("UpdateAudit: true\n", audit.out);
    EXPECT_EQ(0, update.code);
    EXPECT_EQ("UpdateItem: true\n", update.out);
    EXPECT_EQ((std::vector<SoapCall>{
                  {"DoWork",
                   {{"jsonInput",
                     "{Values:{State:2},Permission:{UserID:12,AppID:3,FunctionID:7,FunctionType:4,"
                     "IsrtAreaCode:\"37\"}}"}}},
                  {"DoWork",
                   {{"jsonInput",
                     "{Values:{B:\"b\"},Permission:{UserID:12,AppID:3,FunctionID:7,FunctionType:2,"
                     "IsrtAreaCode:\"37\"}}"}}}}),
              Calls());
}

TEST_F(XmkToolTest, UpdateWithoutValuesSendsNothingAndSucceeds) {
    const Outcome run = Write("update", {"--function-id", "7"});

    EXPECT_EQ(0, run.code);
    EXPECT_EQ("UpdateItem: true\n", run.out);
    EXPECT_TRUE(Calls().empty());
}

TEST_F(XmkToolTest, FailedWriteShowsTheMessageAndExitsOne) {
    const Outcome run = Write("insert", {"--function-id", "9"});

    EXPECT_EQ(1, run.code);
    EXPECT_EQ("AddItem: false\n", run.out);
    EXPECT_EQ("message: 什么也没有返回\n", run.err);
}

TEST_F(XmkToolTest, CountByFunctionIdPrintsTheTotal) {
    server_.SetReplyText("DoWork", "{\"Rows\":[],\"TotalCount\":\"1234\"}");

    const Outcome run = Store({"count"}, {"--function-id", "100"});

    EXPECT_EQ(0, run.code);
    EXPECT_EQ("1234\n", run.out);
    EXPECT_EQ((std::vector<SoapCall>{
                  {"DoWork",
                   {{"jsonInput",
                     "{Conditions:{Type:8},Permission:{UserID:12,AppID:3,FunctionID:100,"
                     "FunctionType:0,IsrtAreaCode:\"37\"}}"}}}}),
              Calls());
}

TEST_F(XmkToolTest, CheckAsksBothLeaderQuestionsAndListsTheProjects) {
    server_.SetReplyText("CheckXMFZR", "0,a:b:c:d");
    server_.SetReplyText("CheckXMFZRForCPlus", "3;yes");
    server_.SetReplyText("CheckXMFZRForCpp", "2;x;5,7");

    const Outcome run = Xmk({"check", "--ini", ini_, "--area", "37", "--url", server_.Url(),
                             "--emp-id", "8", "--corp", "4", "--role", "6"});

    EXPECT_EQ(0, run.code);
    EXPECT_EQ("CheckXMFZR: true\nGetXMFZRYZProjects: true\nprojects: 5,7\n", run.out);
    EXPECT_EQ((std::vector<SoapCall>{
                  {"CheckXMFZR", {{"EmpId", "8"}}},
                  {"CheckXMFZRForCPlus",
                   {{"EmpId", "8"}, {"TypeFlag", "b"}, {"RoleId", "c"}, {"CertificateLevel", "d"}}},
                  {"CheckXMFZRForCpp",
                   {{"empId", "8"}, {"corpDogId", "4"}, {"roleId", "6"}, {"areaCode", "37"}}}}),
              Calls());
}

TEST_F(XmkToolTest, MissingConfigurationFileExitsOneWithAMessage) {
    const std::string absent = dir_.Path() + "/absent.ini";

    const Outcome run = Xmk({"count", "--ini", absent, "--area", "37", "--function-id", "100"});

    EXPECT_EQ(1, run.code);
    EXPECT_EQ("xmk count: cannot read the configuration file " + absent + "\n", run.err);
    EXPECT_TRUE(Calls().empty());
}

TEST_F(XmkToolTest, BadUsageExitsTwoAndSendsNothing) {
    const std::vector<std::vector<std::string>> mistakes = {
        {},
        {"nosuch"},
        {"write"},
        {"write", "erase", "--ini", ini_, "--area", "37", "--function-id", "7"},
        {"write", "insert", "--ini", ini_, "--area", "37"},
        {"write", "insert", "--ini", ini_, "--area", "37", "--function-id", "7", "--values", "A:1"},
        {"write", "delete", "--ini", ini_, "--area", "37", "--function-id", "0"},
        {"count", "--ini", ini_, "--area", "37", "--bogus"},
        {"count", "--ini", ini_, "--function-id", "x"},
        {"check", "--ini", ini_, "--area", "37"},
        {"call", "--ini", ini_, "--area", "37"},
    };
    for (const std::vector<std::string>& arguments : mistakes) {
        const Outcome run = Xmk(arguments);
        EXPECT_EQ(2, run.code) << ::testing::PrintToString(arguments);
        EXPECT_EQ("", run.out) << ::testing::PrintToString(arguments);
        EXPECT_NE(std::string::npos, run.err.find("usage: xmk"))
            << ::testing::PrintToString(arguments);
    }
    EXPECT_TRUE(Calls().empty());
}

TEST_F(XmkToolTest, EveryListedCommandExplainsItselfOnHelp) {
    const Outcome usage = Xmk({"--help"});
    ASSERT_EQ(0, usage.code);
    std::istringstream lines(usage.out.substr(usage.out.find("commands:\n") + 10));
    std::vector<std::string> names;
    std::string line;
    while (std::getline(lines, line) && !line.empty()) {
        names.push_back(line.substr(2, line.find(' ', 2) - 2));
    }
    EXPECT_EQ((std::vector<std::string>{"json", "config", "call", "write", "count", "projects",
                                        "corps", "bids", "check"}),
              names);
    for (const std::string& name : names) {
        const Outcome help = Xmk({name, "--help"});
        EXPECT_EQ(0, help.code) << name;
        EXPECT_EQ(0u, help.out.find("usage: xmk " + name + " ")) << name;
    }
}
