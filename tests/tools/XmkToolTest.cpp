// The xmk tool run as a process against a SOAP server on 127.0.0.1: what each command sends,
// what it prints and how it exits.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <chrono>
#include <filesystem>
#include <sstream>
#include <string>
#include <thread>
#include <tuple>
#include <vector>

#include "support/LoopbackSoapServer.h"
#include "support/ServiceTesting.h"
#include "support/TempDir.h"
#include "support/TlsFixtures.h"

namespace {

using Outcome = std::tuple<int, std::string, std::string>;  // exit code, stdout, stderr
using Texts = std::vector<std::string>;  // requests as "Method name=value ...", or lines

constexpr char kClosed[] = "http://127.0.0.1:1/x";

Texts Split(const std::string& text, char separator) {
    Texts pieces;
    std::istringstream in(text);
    for (std::string piece; std::getline(in, piece, separator);) pieces.push_back(piece);
    return pieces;
}

class XmkToolTest : public ::testing::Test {
  protected:
    // The tool talks to the loopback server only: a proxy in the environment must not carry
    // those calls. Command lines name the configuration file $INI, the server $URL and, as
    // $STORE, the options that reach it as user 12 of application type 3 in area 37.
    void SetUp() override {
        setenv("no_proxy", "127.0.0.1,localhost", 1);
        setenv("NO_PROXY", "127.0.0.1,localhost", 1);
        setenv("INI", ini_.c_str(), 1);
        setenv("URL", server_.Url().c_str(), 1);
        setenv("STORE", ("--ini " + ini_ + " --area 37 --user-id 12 --app-type 3").c_str(), 1);
    }

    // Runs "xmk LINE" through the shell; output goes to files, so neither stream can block.
    Outcome Xmk(const std::string& line) const {
        const std::string out = dir_.Path() + "/out", err = dir_.Path() + "/err";
        const int status = std::system(
            (std::string(XMK_BINARY_DIR) + "/xmk " + line + " >" + out + " 2>" + err).c_str());
        return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, ReadFile(out), ReadFile(err)};
    }
    // Runs the tool and checks its exit code, its output and how its error output begins.
    void ExpectStart(const std::string& line, const Outcome& expected) const {
        auto [code, out, err] = Xmk(line);
        EXPECT_EQ(expected, Outcome(code, out, err.substr(0, std::get<2>(expected).size())))
            << line << "\n"
            << err;
    }

    // Runs the tool and checks its exit code, output and the requests the server received.
    void Expect(const std::string& line, const Outcome& expected, const Texts& calls = {}) {
        server_.ClearRequests();
        EXPECT_EQ(expected, Xmk(line)) << line;
        Texts received;
        for (const LoopbackSoapServer::Request& request : server_.Requests()) {
            received.push_back(request.soapMethod);
            for (const auto& [name, value] : request.arguments)
                received.back() += " " + name + "=" + value;
        }
        EXPECT_EQ(calls, received) << line;
    }

    LoopbackSoapServer server_;
    TempDir dir_;
    const std::string ini_ = dir_.WriteFile("xmk.ini", "[Area_default]\nURL2=" + server_.Url());
};

TEST_F(XmkToolTest, JsonAndCallPrintWhatTheyGetAndTraceGoesToStderr) {
    Expect("json '{a:1,b:{c:\"x\"}}'", {0, "0\ta\t1\n1\tb\t{c:\"x\"}\n", ""});
    Expect("json --find c '[{a:1},{c:\"x\"}]'", {0, "x\n", ""});

    const std::string no = "{\"ret\":0,\"msg\":\"no\"}";
    server_.SetReplyText("M", no);
    Expect("call --ini $INI --area 37 --method M --arg a --bool {A:1}",
           {1, no + "\n",
            "message: no\nxmk call: refused " + server_.Url() + ": the reply is a failure\n"},
           {"M a={A:1}"});
    // Without --bool a reply is a success whatever it holds.
    server_.SetReplyText("DoWork", no);
    for (const char* line : {"--trace call $STORE {A:1}", "call $STORE {A:1} --trace"}) {
        const auto [code, out, err] = Xmk(line);
        const std::string head = ">> DoWork " + server_.Url() + "\n   jsonInput = {A:1}\n<< none, ";
        EXPECT_EQ(Outcome(0, no + "\n", head), Outcome(code, out, err.substr(0, head.size())));
        EXPECT_NE(std::string::npos, err.find("HTTP 200, ")) << err;
        EXPECT_NE(std::string::npos, err.find("<DoWorkResult>{&quot;ret&quot;:0,")) << err;
    }
}

TEST_F(XmkToolTest, WritesSendTheirKindsRequestAndJudgeTheReply) {
    server_.SetReplyText("InsertApprovalForCpp", "{\"ret\":1,\"msg\":\"ok\",\"data\":\"57\"}");
    Expect(
        "write insert $STORE --function-id 0 --values '{Name:\"a\"}'",
        {0, "new id: 57\nAddItem: true\n", ""},
        {"InsertApprovalForCpp pAop={Appvl:{Name:\"a\"}," + Permission(3, 0, 1, "", "37") + "}"});

    server_.SetReplyText("InsertObject", "{\"ret\":2,\"msg\":\"kept\",\"data\":\"8\"}");
    Expect("write insert $STORE --function-id 3 --app-id 5 --table T --values {A:1} --extra {X:2}",
           {0, "new id: 8\nAddItem: true\n", "message: kept\n"},
           {"InsertObject param={outnode:{Value:{A:1}," +
            Permission(5, 3, 1, ",TableName:\"T\"", "37") + ",X:2}}"});

    server_.SetReplyText("DeleteProofAttachByIdForCpp", "{\"ret\":0,\"msg\":\"gone\"}");
    Expect("write delete $STORE --function-id 2 --id A-9",
           {1, "DeleteItem: false\n",
            "message: gone\nxmk write: refused " + server_.Url() + ": the reply is a failure\n"},
           {"DeleteProofAttachByIdForCpp attachID=A-9"});

    server_.SetReplyText("DoWork", "{\"ret\":1}");
    Expect("write audit $STORE --function-id 7 --values {State:2}", {0, "UpdateAudit: true\n", ""},
           {"DoWork jsonInput={Values:{State:2}," + Permission(3, 7, 4, "", "37") + "}"});
    Expect("write update $STORE --function-id 7", {0, "UpdateItem: true\n", ""});
}

TEST_F(XmkToolTest, CountAndCheckPrintWhatTheServerAnswers) {
    server_.SetReplyText("DoWork", "{\"Rows\":[],\"TotalCount\":\"1234\"}");
    Expect("count $STORE --function-id 100", {0, "1234\n", ""},
           {"DoWork jsonInput={Conditions:{Type:8}," + Permission(3, 100, 0, "", "37") + "}"});

    server_.SetReplyText("CheckXMFZR", "0,a:b:c:d");
    server_.SetReplyText("CheckXMFZRForCPlus", "3;yes");
    server_.SetReplyText("CheckXMFZRForCpp", "2;x;5,7");
    Expect(
        "check --ini $INI --area 37 --url $URL --emp-id 8 --corp 4 --role 6",
        {0, "CheckXMFZR: true\nGetXMFZRYZProjects: true\nprojects: 5,7\n", ""},
        {"CheckXMFZR EmpId=8", "CheckXMFZRForCPlus EmpId=8 TypeFlag=b RoleId=c CertificateLevel=d",
         "CheckXMFZRForCpp empId=8 corpDogId=4 roleId=6 areaCode=37"});
}

TEST_F(XmkToolTest, EveryCallingCommandWithoutAnExchangeExitsThreeWithOneCauseLine) {
    for (const std::string& command :
         Split("call {}|call --bool {}|write insert --function-id 0|count|count --param p|"
               "projects --first-page|projects|corps|bids|check --emp-id 8",
               '|')) {
        const std::string cause = "xmk " + Split(command, ' ')[0] + ": connect " + kClosed + ": ";
        const auto [code, out, err] = Xmk(command + " $STORE --url " + kClosed);
        EXPECT_EQ(Outcome(3, "", cause), Outcome(code, out, err.substr(0, cause.size())));
        EXPECT_EQ(err.size() - 1, err.find('\n')) << command;
    }
}

TEST_F(XmkToolTest, FaultsExitOneAndTimeOutsThreeWhicheverSetsTheTimeOut) {
    server_.SetHandler([](const LoopbackSoapServer::Request& request) {
        if (request.soapMethod != "DoWork") return LoopbackSoapServer::MakeSoapFault("no way");
        std::this_thread::sleep_for(std::chrono::milliseconds(500));  // a slow back-end
        return LoopbackSoapServer::MakeSoapResult("DoWork", "{\"TotalCount\":\"5\"}");
    });
    Expect("count $STORE", {1, "", "xmk count: soap_fault " + server_.Url() + ": no way\n"},
           {"GetProjectCount queryCodition={PageNum:1,PageSize:25,IsrtAreaCode:\"37\"}"});

    const std::string slow = "xmk count: timeout " + server_.Url() + ": ";
    for (const auto& [inFile, option, code] :
         {std::tuple{"0.2", "", 3}, std::tuple{"30", " --max-time 0.2", 3},
          std::tuple{"0.2", " --max-time 30", 0}}) {
        dir_.WriteFile("xmk.ini", "[Area_default]\nURL2=" + server_.Url() +
                                      "\n[Transport]\nTimeout=" + inFile + "\n");
        ExpectStart(std::string("count $STORE --function-id 100") + option,
                    {code, code == 0 ? "5\n" : "", code == 0 ? "" : slow});
    }
}

TEST_F(XmkToolTest, AClosedProxyIsNoUsableExchange) {
    unsetenv("no_proxy");
    unsetenv("NO_PROXY");
    ExpectStart(std::string("count $STORE --proxy ") + kClosed,
                {3, "", "xmk count: connect " + server_.Url() + ": proxy: "});
}

// A server signed by a private CA is refused until the CA is named, by option or by the
// configuration's [Transport] section (relative to the file's folder); a client certificate is
// presented when the server requires one.
TEST_F(XmkToolTest, APrivateCaIsTrustedOnlyWhenNamed) {
    const TlsFiles tls = MakeTlsFiles(dir_);
    LoopbackSoapServer https(tls.ServerTls(/*requireClientCert=*/true));
    https.SetReplyText("DoWork", "{TotalCount:5}");
    const std::string url = " --function-id 100 --url " + https.Url();
    const std::string identity = " --cert " + tls.clientCert + " --key " + tls.clientKey;
    ExpectStart("count $STORE" + url + identity, {3, "", "xmk count: tls " + https.Url() + ": "});
    EXPECT_EQ(Outcome(0, "5\n", ""), Xmk("count $STORE --cacert " + tls.caFile + url + identity));
    EXPECT_EQ(Outcome(0, "5\n", ""), Xmk("count $STORE --capath " + tls.caPath + url + identity));

    const std::string ini =
        dir_.WriteFile("tls.ini", "[Area_default]\nURL2=" + https.Url() + "\n[Transport]\nCAFile=" +
                                      std::filesystem::path(tls.caFile).filename().string() + "\n");
    EXPECT_EQ(Outcome(0, "5\n", ""),
              Xmk("count --ini " + ini + " --area 37 --function-id 100" + identity));
    const auto [code, out, err] = Xmk("count --ini " + ini + " --area 37");
    // Without its certificate the client is turned away during or just after the handshake.
    EXPECT_EQ(std::make_pair(3, std::string()), std::make_pair(code, out)) << err;
}

TEST_F(XmkToolTest, BadUsageExitsTwoAndSendsNothing) {
    for (const std::string& mistake :
         Split("|nosuch|write|write erase $STORE --function-id 7|write insert $STORE|"
               "write insert $STORE --function-id 7 --values A:1|count $STORE --cond '{AreaCode:'|"
               "write delete $STORE --function-id 0|count $STORE --bogus|count $STORE --proxy|"
               "count --ini $INI --function-id x|count $STORE --max-time 0|config --area 1|"
               "count $STORE --connect-timeout 1e3|check --ini $INI --area 37|call $STORE {} {}|"
               "call --ini $INI --area 37|call $STORE --method M {}",
               '|')) {
        const auto [code, out, err] = Xmk(mistake);
        EXPECT_EQ(Outcome(2, "", "usage: xmk"),
                  Outcome(code, out, err.substr(err.find("usage: "), 10)))
            << mistake;
    }
    EXPECT_EQ(0u, server_.RequestCount());
}

TEST_F(XmkToolTest, HelpListsEveryCommandAndTheExitCodes) {
    const auto [code, out, err] = Xmk("help");
    EXPECT_EQ(Outcome(0, out, ""), Xmk("--help"));
    EXPECT_NE(std::string::npos, out.find("\n  4  the configuration file is unusable\n"));
    const std::string commands = out.substr(out.find("commands:\n") + 10);
    Texts names;
    for (const std::string& line : Split(commands.substr(0, commands.find("\n\n")), '\n')) {
        names.push_back(line.substr(2, line.find(' ', 2) - 2));
        const auto [helpCode, helpOut, helpErr] = Xmk("help " + names.back());
        EXPECT_EQ(0u, helpOut.find("usage: xmk " + names.back() + " ")) << line;
        EXPECT_EQ(Outcome(0, helpOut, ""), Xmk(names.back() + " --help"));
    }
    EXPECT_EQ(Split("json config call write count projects corps bids check", ' '), names);
}

TEST_F(XmkToolTest, ConfigPrintsEverySettingOrExitsFourOnAnUnusableFile) {
    // What the tool prints for the sample's area 0571 after its first line.
    const std::string data = std::string(XMK_TEST_DATA_DIR) + "/config/";
    const std::string sample = data + "sample.ini";
    Expect("config --ini '" + sample + "' --area 0571",
           {0,
            "file " + sample + ", area \"0571\", section Area_0571\n" +
                ReadFile(data + "sample-0571.out"),
            ""});
    const std::string fallback = "file " + sample + ", area \"0574\", section Area_default\n";
    const std::string out = std::get<1>(Xmk("config --ini '" + sample + "' --area 0574"));
    EXPECT_EQ(fallback, out.substr(0, fallback.size()));

    for (const std::string& path : {dir_.WriteFile("p.png", "\x89PNG\r\n\x1a\n"), dir_.Path(),
                                    dir_.WriteFile("s.ini", "[SYSTEM]\n[Area_1]\nURL0=u\n")}) {
        for (const char* command : {"config", "count"}) {
            ExpectStart(command + (" --area 1 --ini " + path),
                        {4, "", "xmk " + std::string(command) + ":"});
        }
    }
}

}  // namespace
