// The back-end on its own, in this process and as the xmk-backend program: answers, faults,
// refusals, store, connections and WSDL. The library's view of it is in EndToEndTest.
#include <httplib.h>
#include <netinet/in.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "BackendFixture.h"
#include "Database.h"
#include "support/TempDir.h"
#include "wirekit/SoapEnvelope.h"

namespace {

using Rows = std::vector<std::vector<std::string>>;
using Clock = std::chrono::steady_clock;

std::string Envelope(const std::string& method,
                     const std::vector<std::pair<std::string, std::string>>& arguments) {
    WebCall call;
    call.nameSpace = "http://tempuri.org/";
    call.method = method.c_str();
    for (const auto& [name, value] : arguments) call.arguments.emplace_back(name, value);
    return BuildSoapRequest(call);
}

// A uniform call on the records of function id 100: `members` and a Permission block.
std::string Work(const std::string& members, int functionType) {
    const std::string permission = Permission(3, 100, functionType, "", "370100");
    return Envelope("DoWork", {{"jsonInput", "{" + members + "," + permission + "}"}});
}

std::string Sql(const std::string& statement, const char* method = "GetSqlFormated") {
    return Envelope(method, {{"kind", "0"}, {"userId", "12"}, {"option", "1"}, {"sql", statement}});
}

std::string WriteFailure(const std::string& message) {
    return "{\"ret\":0,\"msg\":\"" + message + "\",\"data\":\"\"}";
}

// A plain TCP connection to the server, for requests the test times itself.
class Connection {
  public:
    explicit Connection(int port) : fd_(socket(AF_INET, SOCK_STREAM, 0)) {
        const timeval limit{10, 0};  // no read waits longer
        setsockopt(fd_, SOL_SOCKET, SO_RCVTIMEO, &limit, sizeof limit);
        sockaddr_in address{
            AF_INET, htons(static_cast<uint16_t>(port)), {htonl(INADDR_LOOPBACK)}, {}};
        connect(fd_, reinterpret_cast<sockaddr*>(&address), sizeof address);
    }
    ~Connection() { close(fd_); }

    void Send(const std::string& bytes) { send(fd_, bytes.data(), bytes.size(), MSG_NOSIGNAL); }
    // What the server sends until it closes the connection; "<open>" after 10 s without.
    std::string ReadToClose() {
        std::string in;
        char buffer[4096];
        ssize_t n;
        while ((n = recv(fd_, buffer, sizeof buffer, 0)) > 0) in.append(buffer, n);
        return n == 0 ? in : "<open>";
    }

  private:
    int fd_;
};

// A running xmk-backend, its output and errors on a pipe, killed if still running at the end.
// The shell prints its process id, then becomes the program: the first line names it.
class Program {
  public:
    explicit Program(const std::string& args)
        : out_(popen(("echo $$; exec " XMK_BACKEND_PROGRAM " " + args + " 2>&1").c_str(), "r")),
          pid_(std::atoi(ReadLine().c_str())) {}
    ~Program() {
        if (out_ != nullptr) Stop(SIGKILL);
    }

    // The next line of output without its end; empty at the end of the output.
    std::string ReadLine() {
        char buffer[512] = "";
        if (out_ == nullptr || fgets(buffer, sizeof buffer, out_) == nullptr) buffer[0] = '\0';
        return std::string(buffer, std::strcspn(buffer, "\n"));
    }

    // Sends `sig` (0: none) and returns the exit status; -1 when it did not exit normally.
    int Stop(int sig) {
        if (pid_ > 0) kill(pid_, sig);
        const int status = pclose(out_);
        out_ = nullptr;
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

  private:
    FILE* out_;
    pid_t pid_;
};

class BackendServerTest : public BackendFixture {
  protected:
    // The result text of a request (in <METHODResponse>), or "fault STATUS: faultstring".
    std::string Answer(const std::string& body) {
        std::string reply;
        const int status = server_.Handle(body, &reply);
        const size_t end = reply.find("Response xmlns=");
        const size_t start = reply.rfind('<', end) + 1;
        const std::string method = end == std::string::npos ? "" : reply.substr(start, end - start);
        const auto [ok, text] = ReadSoapReply(status, "text/xml", reply, method.c_str());
        return ok ? text.Str() : "fault " + std::to_string(status) + ": " + text.Str();
    }

    // Every row of every table, each led by its table's name.
    Rows Dump() {
        Rows all;
        for (const auto& t : server_.Query("SELECT name FROM sqlite_schema WHERE type = 'table'")) {
            for (auto row : server_.Query("SELECT * FROM \"" + t[0] + "\"")) {
                row.insert(row.begin(), t[0]);
                all.push_back(row);
            }
        }
        return all;
    }
};

// Requests the back-end cannot or will not serve get a fault, or a write failure without the
// separators the library cuts at; SQL may only read, within limits. Every answer comes within
// seconds, none changes the store, and writes go on as before afterwards.
TEST_F(BackendServerTest, RefusalsAndReadsAnswerAtOnceAndChangeNothing) {
    TempDir dir;
    const std::string body = Envelope("CheckXMFZR", {{"EmpId", "1"}});
    const std::string head = body.substr(0, body.find("<CheckXMFZR "));
    const std::string readOnly = "fault 500: only statements that read are allowed";
    const std::string endless = "WITH RECURSIVE c(x) AS (SELECT 1 UNION ALL SELECT x + 1 FROM c) ";
    const std::string maxValue = std::to_string(kMaxValueBytes);
    const std::string fullResult(kMaxResultBytes - 1, 'x');  // with its separator: all of it
    const std::string full =
        "SELECT printf('%.*c', " + std::to_string(fullResult.size()) + ", 'x')";
    const std::pair<std::string, std::string> cases[] = {
        {"<?xml version=\"1.0\"?><a/>", "fault 500: the root element is not a SOAP 1.1 Envelope"},
        {head + "</soap:Body></soap:Envelope>", "fault 500: the SOAP body holds no method element"},
        {"<?xml version=\"1.0\"?><!DOCTYPE x [<!ENTITY e \"boom\">]>" +
             body.substr(body.find("<soap")),
         "fault 500: a document type declaration is not allowed"},
        {Envelope("NoSuchMethod", {}), "fault 500: unknown method NoSuchMethod"},
        {Envelope("CheckXMFZRForCpp", {{"empId", "1003"}, {"corpDogId", "502"}, {"roleId", "3"}}),
         "fault 500: CheckXMFZRForCpp needs the argument areaCode"},
        {Envelope("DoWork", {{"jsonInput", "[1,2]"}}), "fault 500: jsonInput is not a JSON object"},
        {Work("Conditions:{Type:12}", 0), "fault 500: unknown query Type 12"},
        {Work("Conditions:{Type:8,WhereCode:\"1=1; DROP TABLE projects\"}", 0),
         "fault 500: unexpected character in the where-code: ;"},
        {Work("Values:{Title:1}", 2), WriteFailure("缺少记录编号 ID")},
        {Work("Values:{ID:7,Title:1}", 2), WriteFailure("记录不存在：7")},
        {Work("Conditions:{}", 3), WriteFailure("删除条件为空")},
        {Work("Conditions:{Title:'none'}", 3), WriteFailure("没有符合条件的记录")},
        {Work("Values:{}", 7), WriteFailure("未知的操作类型 FunctionType=7")},
        {Envelope("DeleteApprovalForCpp", {{"aopID", "1,2"}}),
         WriteFailure("记录编号不合法：1，2")},
        {Sql("BEGIN"), readOnly},
        {Sql("PRAGMA query_only=ON"), readOnly},
        {Sql("PRAGMA synchronous=OFF"), readOnly},
        {Sql("ATTACH DATABASE '" + dir.Path() + "/x.db' AS x"), readOnly},
        {Sql("DELETE FROM areas"), readOnly},
        {Sql("SELECT 1; DELETE FROM areas"), "fault 500: only one statement is allowed"},
        {Sql(endless + "SELECT count(*) FROM c"), "fault 500: the query ran longer than 2000 ms"},
        {Sql(endless + "SELECT printf('%.*c', 1000, 'x') FROM c"),
         "fault 500: the result is larger than 4194304 bytes"},
        {Sql("SELECT length(randomblob(" + maxValue + "))"), "[\"" + maxValue + "\"]"},
        {Sql("SELECT length(randomblob(" + maxValue + " + 1))"),
         "fault 500: string or blob too big"},
        {Sql(full), "[\"" + fullResult + "\"]"},
        {Sql(full + ", ''"), "fault 500: the result is larger than 4194304 bytes"},
        {Sql("SELECT id, json_extract(data, '$.CorpName') AS Name FROM corps WHERE id < 3",
             "GetXml"),
         "[{\"id\":\"1\",\"Name\":\"山东路桥集团有限公司\"},{\"id\":\"2\",\"Name\":"
         "\"青岛海川建设集团有限公司\"}]"},
        {Sql("SELECT json_extract(data, '$.BidName'), json_extract(data, '$.BidAmount') FROM bids "
             "WHERE json_extract(data, '$.ProjectID') = 4"),
         "[\"土建标段,150000000\",\"机电标段,60000000\"]"},
        {Envelope("GetCorpQualities", {{"corpUserGuid", "6f1c2a70-0003-4a8e-9d51-3b7c2e1f0a03"}}),
         "{\"TotalCount\":1,\"Rows\":[{\"ID\":4,\"CorpID\":3,\"QualityName\":"
         "\"市政公用工程施工总承包\","
         "\"QualityLevel\":\"二级\",\"CertNo\":\"D337000004\"}]}"},
        {Envelope("GetCorpQualities", {{"corpUserGuid", "none"}}),
         "{\"TotalCount\":0,\"Rows\":[]}"},
    };
    const Rows before = Dump();
    for (const auto& [request, answer] : cases) {
        const auto start = Clock::now();
        EXPECT_EQ(answer, Answer(request)) << request.substr(0, 400);
        EXPECT_LT(Clock::now() - start, std::chrono::seconds(5)) << request.substr(0, 400);
    }
    EXPECT_NE(std::string::npos, Answer("<soap:Envelope").find("not well-formed XML"));
    EXPECT_EQ(before, Dump());
    EXPECT_EQ(0, dir.EntryCount());

    // Standard JSON, blanks included, is read as the library's dialect is.
    const std::string ok = "{\"ret\":1,\"msg\":\"ok\",\"data\":\"1\"}";
    EXPECT_EQ(ok, Answer(Work(
                      "\"Values\" : { \"Title\" : \"a , b : c\" ,\n\t\"Note\": two words } ", 1)));
    EXPECT_EQ(Rows{{"{\"Title\":\"a , b : c\",\"Note\":\"two words\"}"}},
              server_.Query("SELECT data FROM records"));
    EXPECT_EQ(ok, Answer(Work("ID:1,Extra:7", 2)));
    EXPECT_EQ("{\"TotalCount\":1}",
              Answer(Work(" \"Conditions\": {\"Type\": 8, \"Extra\": 7}", 0)));
}

// The WSDL names the address it was asked at and each method's arguments in order.
TEST_F(BackendServerTest, WsdlDescribesTheServiceWhereItWasAskedFor) {
    auto wsdl = httplib::Client("127.0.0.1", server_.Port())
                    .Get("/svc?wsdl", {{"Host", "example.org:8080"}});
    ASSERT_TRUE(wsdl);
    EXPECT_NE(std::string::npos,
              wsdl->body.find("<soap:address location=\"http://example.org:8080/svc\"/>"));
    std::string sequence = "<s:element name=\"GetListByParameter\"><s:complexType><s:sequence>";
    for (const char* name : {"param", "pageSize", "pageNum", "queryType", "isrtAreaCode"}) {
        sequence += "<s:element minOccurs=\"1\" maxOccurs=\"1\" name=\"" + std::string(name) +
                    "\" type=\"s:string\"/>";
    }
    EXPECT_NE(std::string::npos, wsdl->body.find(sequence + "</s:sequence>"));
}

// A connection may wait more than a second for its first request; clients that send nothing,
// or stop mid-request, hold up no one and are cut off within seconds.
TEST_F(BackendServerTest, LateRequestsAreAnsweredAndStalledClientsCutOff) {
    const std::string body = Envelope("CheckXMFZR", {{"EmpId", "1001"}});
    const std::string request =
        "POST / HTTP/1.1\r\nConnection: close\r\nContent-Length: " + std::to_string(body.size()) +
        "\r\n\r\n" + body;
    const std::string result = "<CheckXMFZRResult>1,张伟:1:3:1</CheckXMFZRResult>";
    Connection late(server_.Port());
    std::vector<std::unique_ptr<Connection>> stalled;
    for (int i = 0; i < 40; ++i) {
        stalled.push_back(std::make_unique<Connection>(server_.Port()));
        stalled.back()->Send(request.substr(0, i % 2 * 20));
    }
    const auto start = Clock::now();
    auto normal = httplib::Client("127.0.0.1", server_.Port()).Post("/", body, "text/xml");
    EXPECT_TRUE(normal && normal->body.find(result) != std::string::npos);
    EXPECT_LT(Clock::now() - start, std::chrono::seconds(1));
    std::this_thread::sleep_for(std::chrono::seconds(1));  // the delay under test
    late.Send(request);
    EXPECT_NE(std::string::npos, late.ReadToClose().find(result));
    // Cut off: closed, the silent ones without a word, the others with a 400.
    for (size_t i = 0; i < stalled.size(); ++i) {
        EXPECT_EQ(i % 2 ? "HTTP/1.1 400" : "", stalled[i]->ReadToClose().substr(0, 12)) << i;
    }
}

// The program announces its port, serves until SIGTERM or SIGINT (status 0) or refuses with
// the reason; its file store is in WAL mode, keeps its records and is seeded only once.
TEST(BackendProgramTest, ServesAFileStoreUntilSignalledAndRefusesToStartWithTheReason) {
    TempDir dir;
    const std::string db = dir.Path() + "/store.db";
    Program held("--port 0 --db " + db);
    const std::string first = held.ReadLine();
    const std::string port = first.substr(first.rfind(':') + 1);
    ASSERT_EQ("listening on 127.0.0.1:" + port, first);
    EXPECT_EQ("uniform interface: http://127.0.0.1:" + port + "/UniteInterface", held.ReadLine());
    EXPECT_EQ(0, access((db + "-wal").c_str(), F_OK));
    const struct {
        std::string args;
        std::string message;
        int status;
    } refusals[] = {
        {"--port " + port, "cannot listen on 127.0.0.1:" + port + ": Address already in use", 1},
        {"--db /nonexistent/store.db",
         "the database /nonexistent/store.db cannot be used: unable to open database file", 1},
        {"--port 65536", "bad port: 65536", 2},
    };
    for (const auto& r : refusals) {
        Program program(r.args);
        EXPECT_EQ("xmk-backend: " + r.message, program.ReadLine()) << r.args;
        EXPECT_EQ(r.status, program.Stop(0)) << r.args;
    }
    EXPECT_EQ(0, held.Stop(SIGTERM));
    std::string reply;
    EXPECT_EQ(200, BackendServer(db).Handle(Work("Values:{a:1}", 1), &reply));
    Program again("--db " + db);
    EXPECT_EQ(0u, again.ReadLine().rfind("listening on 127.0.0.1:", 0));
    EXPECT_EQ(0, again.Stop(SIGINT));
    EXPECT_EQ((Rows{{"6", "1", "1"}}),
              BackendServer(db).Query("SELECT COUNT(*), (SELECT COUNT(*) FROM records), "
                                      "(SELECT COUNT(*) FROM audit_log) FROM projects"));
}

}  // namespace
