// The built-in transport against servers on 127.0.0.1 that the tests start themselves.
#include <arpa/inet.h>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdlib>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "support/CStringPrinter.h"
#include "support/LoopbackSoapServer.h"
#include "support/RecordingTransport.h"
#include "support/TlsFixtures.h"
#include "wirekit/ExchangeReport.h"
#include "wirekit/TWebService.h"
#include "wirekit/WebTransport.h"
#include "wirekit/WireSettings.h"

namespace {

using Reply = std::pair<bool, CString>;
using SoapReply = LoopbackSoapServer::Reply;
using Kind = FailureKind;
using ::testing::StartsWith;

constexpr char kEnvelopeOpen[] =
    "<?xml version=\"1.0\" encoding=\"utf-8\"?>"
    "<soap:Envelope xmlns:soap=\"http://schemas.xmlsoap.org/soap/envelope/\"><soap:Body>";

Reply Call(const std::string& url, const char* method,
           const std::vector<std::pair<std::string, std::string>>& arguments) {
    TWebService service("http://tempuri.org/", "UniteInterface");
    std::vector<std::shared_ptr<WebArgument>> list;
    for (const auto& [name, value] : arguments) {
        list.push_back(std::make_shared<WebArgumentString>(name.c_str(), value.c_str()));
    }
    return service.ExcuteOnServer(url.c_str(), method, list, nullptr);
}

Reply DoWork(const std::string& url, const std::string& json = "{}") {
    return Call(url, "DoWork", {{"jsonInput", json}});
}

// Kind, HTTP status, URL and method of a report, and its detail after a bar.
std::string Summary(const ExchangeReport& report) {
    return std::string(FailureKindName(report.kind)) + " " + std::to_string(report.httpStatus) +
           " " + report.url.Str() + " " + report.method.Str() + "|" + report.detail.Str();
}

// A bare TCP server on 127.0.0.1 for misbehaviour an HTTP server library will not produce: one
// connection at a time, it reads the request, sends `reply` as it stands and closes the
// connection. A silent server (no reply) accepts only in WaitForClient, and never answers.
class RawServer {
  public:
    explicit RawServer(const std::optional<std::string>& reply) {
        sockaddr_in address{AF_INET, 0, {htonl(INADDR_LOOPBACK)}, {}};
        socklen_t length = sizeof(address);
        auto* any = reinterpret_cast<sockaddr*>(&address);
        EXPECT_TRUE(bind(listener_, any, length) == 0 && listen(listener_, 8) == 0 &&
                    getsockname(listener_, any, &length) == 0);
        port_ = ntohs(address.sin_port);
        if (!reply) return;
        thread_ = std::thread([this, reply] {
            for (int fd; (fd = accept(listener_, nullptr, nullptr)) >= 0; close(fd)) {
                char buffer[1 << 16];
                std::string request;
                for (ssize_t n; request.find("</soap:Envelope>") == std::string::npos &&
                                (n = read(fd, buffer, sizeof(buffer))) > 0;) {
                    request.append(buffer, static_cast<size_t>(n));
                }
                (void)send(fd, reply->data(), reply->size(), MSG_NOSIGNAL);
            }
        });
    }
    ~RawServer() {
        shutdown(listener_, SHUT_RDWR);  // ends the wait in accept
        if (thread_.joinable()) thread_.join();
        close(client_);
        close(listener_);
    }

    std::string Url() const {
        return "http://127.0.0.1:" + std::to_string(port_) + "/UniteInterface.asmx";
    }
    // REQUIRES: a silent server. Waits until a client has connected.
    void WaitForClient() { client_ = accept(listener_, nullptr, nullptr); }

  private:
    int listener_ = socket(AF_INET, SOCK_STREAM, 0);
    int port_ = 0;
    int client_ = -1;
    std::thread thread_;
};

class SoapWireTest : public ::testing::Test {
  protected:
    // Whatever proxy the runner's environment names, these tests reach 127.0.0.1 directly.
    SoapWireTest() {
        SetWebTransport(nullptr);
        setenv("no_proxy", "127.0.0.1", 1);
    }
    ~SoapWireTest() override {
        SetWireSettings(WireSettings());
        SetExchangeObserver(nullptr);
    }

    LoopbackSoapServer server_;
};

TEST_F(SoapWireTest, EachCallPostsOneEscapedEnvelopeWithTheSoapAction) {
    server_.SetReplyText(
        [](const auto& in) { return in.arguments.empty() ? "" : in.arguments[0].second; });
    const std::string json = "{\"名称\":\"<a & b>\",\"q\":'x',\r\n\t\"m\":\"保存\"}";
    EXPECT_EQ(Reply(true, json.c_str()),
              Call(server_.Url(), "GetProjectList", {{"jsonInput", json}, {"page", "2"}}));
    EXPECT_EQ(Reply(true, ""), Call(server_.Url(), "GetTime", {}));

    std::vector<LoopbackSoapServer::Request> requests = server_.Requests();
    ASSERT_EQ(2u, requests.size());
    EXPECT_EQ(
        "POST /UniteInterface.asmx text/xml; charset=utf-8 \"http://tempuri.org/GetProjectList\"",
        requests[0].httpMethod + " " + requests[0].path + " " + requests[0].Header("Content-Type") +
            " " + requests[0].Header("SOAPAction"));
    EXPECT_EQ("\"http://tempuri.org/GetTime\"", requests[1].Header("SOAPAction"));
    EXPECT_EQ(std::string(kEnvelopeOpen) +
                  "<GetProjectList xmlns=\"http://tempuri.org/\">"
                  "<jsonInput>{&quot;名称&quot;:&quot;&lt;a &amp; b&gt;&quot;,&quot;q&quot;:"
                  "&apos;x&apos;,&#xD;\n\t&quot;m&quot;:&quot;保存&quot;}</jsonInput>"
                  "<page>2</page></GetProjectList></soap:Body></soap:Envelope>",
              requests[0].body);
    EXPECT_EQ(std::string(kEnvelopeOpen) +
                  "<GetTime xmlns=\"http://tempuri.org/\"></GetTime></soap:Body></soap:Envelope>",
              requests[1].body);
}

// One row per way an exchange ends: the call's result, and what the thread's last exchange and
// the observer report of it, alike; a failure's detail is the end of its text, never empty.
// Installed transports report through the same channel.
TEST_F(SoapWireTest, EveryExchangeEndsWithOneKindThatTheObserverSees) {
    auto result = [](size_t length, int status = 200) {
        SoapReply reply = LoopbackSoapServer::MakeSoapResult("DoWork", std::string(length, 'x'));
        reply.status = status;
        return reply;
    };
    const std::string ok = "HTTP/1.1 200 OK\r\nContent-Type: text/xml\r\n";
    const std::string body = result(1).body;
    RawServer streamed(ok + "Connection: close\r\n\r\n" + std::string(16 * 1024, 'x'));
    RawServer silent(std::nullopt);
    RawServer cut(ok + "Content-Length: 100\r\n\r\n<?xml version=\"1.0\"?><soap:Env");
    const std::string refused = RawServer(std::nullopt).Url();  // nobody listens once it is gone
    SoapReply gbk{200, "text/xml; charset=GBK", body.substr(body.find("?>") + 2)};
    gbk.body.replace(gbk.body.find(">x<") + 1, 1, "\xD6\xD0\xCE\xC4");  // only the header says GBK
    const size_t limit = result(100).body.size();
    SetWireSettings({0, 300, limit, "", "", "", "", "", ""});  // zero: the default
    const std::string tooLarge =
        "服务器应答过大：reply longer than " + std::to_string(limit) + " bytes";
    const std::string url = server_.Url();
    const struct {
        std::string url;
        SoapReply reply;  // what server_ answers
        Kind kind;
        long status;
        std::string text;  // the whole text, or its start when it ends in "："
    } cases[] = {
        {url, result(100), Kind::none, 200, std::string(100, 'x')},
        {url, gbk, Kind::none, 200, "中文"},
        {url, result(101), Kind::too_large, 200, tooLarge},
        {streamed.Url(), {}, Kind::too_large, 200, tooLarge},
        {url, result(1, 404), Kind::http_status, 404, "服务器返回错误：HTTP 404"},
        {url, result(1, 302), Kind::http_status, 302, "服务器返回错误：HTTP 302"},
        {url, {500, "text/html", "<html/>"}, Kind::http_status, 500, "服务器返回错误：HTTP 500"},
        {url, LoopbackSoapServer::MakeSoapFault("对象未设置"), Kind::soap_fault, 500, "对象未设置"},
        {url, {200, "text/plain", "{\"Code\":1}"}, Kind::bad_reply, 200, "服务器应答无法识别："},
        {refused, {}, Kind::connect, 0, "无法连接服务器："},
        {"https" + url.substr(4), {}, Kind::tls, 0, "安全连接失败："},
        {"", {}, Kind::connect, 0, "服务器地址为空：no URL given for DoWork"},
        {"file:///dev/null", {}, Kind::connect, 0, "服务器地址无效："},
        {silent.Url(), {}, Kind::timeout, 0, "连接服务器超时："},
        {cut.Url(), {}, Kind::connect, 200, "服务器连接中断："},
    };
    const std::string request = std::string(kEnvelopeOpen) +
                                "<DoWork xmlns=\"http://tempuri.org/\"><jsonInput>{}</jsonInput>"
                                "</DoWork></soap:Body></soap:Envelope>";
    struct Seen {
        std::string request, reply;
        ExchangeReport report;
    };
    std::vector<Seen> seen;
    SetExchangeObserver([&seen](const ExchangeEvent& event) {
        seen.push_back({event.request, event.reply, event.report});
    });
    for (const auto& c : cases) {
        SCOPED_TRACE(c.url + " " + c.text);
        seen.clear();
        server_.SetHandler([&c](const LoopbackSoapServer::Request&) { return c.reply; });
        const Reply reply = DoWork(c.url);
        const ExchangeReport last = LastExchange();
        EXPECT_EQ(c.kind == Kind::none, reply.first);
        const bool prefix = c.text.size() > 3 && c.text.compare(c.text.size() - 3, 3, "：") == 0;
        EXPECT_EQ(c.text, reply.second.Str().substr(0, prefix ? c.text.size() : std::string::npos));
        EXPECT_EQ(std::string(FailureKindName(c.kind)) + " " + std::to_string(c.status) + " " +
                      c.url + " DoWork|",
                  Summary(last).substr(0, Summary(last).find('|') + 1));
        EXPECT_EQ(reply.first ? "" : reply.second.Right(std::max(1, last.detail.GetLength())),
                  last.detail);
        EXPECT_GE(last.durationUs, c.kind == Kind::timeout ? 250 * 1000 : 0);
        ASSERT_EQ(1u, seen.size());
        EXPECT_EQ(Summary(last), Summary(seen[0].report));
        EXPECT_EQ(c.url.empty() ? "" : request, seen[0].request);
        if (c.url == url && c.kind != Kind::too_large) {
            EXPECT_EQ(c.reply.body, seen[0].reply);
        }
    }

    RecordingTransport transport;
    transport.QueueReply(false, "离线");
    EXPECT_EQ(Reply(false, "离线"), DoWork(url));
    EXPECT_EQ(Reply(true, ""), DoWork(url));
    EXPECT_EQ("none 0 " + url + " DoWork|", Summary(LastExchange()));
    ASSERT_EQ(3u, seen.size());
    EXPECT_EQ("bad_reply 0 " + url + " DoWork|离线", Summary(seen[1].report));
    EXPECT_EQ("", seen[1].request + seen[1].reply);
    EXPECT_TRUE(SetExchangeObserver(nullptr));  // gives back the one it replaces
    DoWork(url);
    EXPECT_EQ(3u, seen.size());
}

// Each caller waits on a server that never answers until CancelExchanges ends the wait, then
// calls twice more: calls made after the cancel run normally and keep their connection.
TEST_F(SoapWireTest, CancelEndsEveryExchangeInFlightAndNoLaterOne) {
    RawServer silent[2] = {RawServer(std::nullopt), RawServer(std::nullopt)};
    std::string results[2];
    std::chrono::steady_clock::time_point returned[2];
    std::vector<std::thread> callers;
    for (int i = 0; i < 2; ++i) {
        callers.emplace_back([&, i] {
            const Reply cancelled = DoWork(silent[i].Url());
            returned[i] = std::chrono::steady_clock::now();
            results[i] = cancelled.second.Str() + " " + Summary(LastExchange());
            results[i] +=
                DoWork(server_.Url()).first && DoWork(server_.Url()).first ? " ok ok" : "";
        });
    }
    for (RawServer& server : silent) server.WaitForClient();
    const auto start = std::chrono::steady_clock::now();
    CancelExchanges();
    for (std::thread& caller : callers) caller.join();
    const auto latency = std::chrono::duration_cast<std::chrono::microseconds>(
        std::max(returned[0], returned[1]) - start);
    RecordProperty("cancel_latency_us", static_cast<int>(latency.count()));
    EXPECT_LT(latency, std::chrono::seconds(1));
    for (int i = 0; i < 2; ++i) {
        EXPECT_EQ(
            "请求已取消：cancelled cancelled 0 " + silent[i].Url() + " DoWork|cancelled ok ok",
            results[i]);
    }
    EXPECT_EQ(2, server_.ConnectionCount());
}

// Each thread rides one keep-alive connection for all its calls while the settings change, and
// keeps its own last exchange: odd threads end with a call nobody answers.
TEST_F(SoapWireTest, ConcurrentCallsEachGetTheirOwnReplyConnectionAndLastExchange) {
    constexpr int kThreads = 8, kCalls = 200;
    server_.SetReplyText([](const auto& in) { return in.arguments[0].second; });
    const std::string refused = RawServer(std::nullopt).Url();
    std::atomic<int> wrong{0}, running{kThreads};
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t) {
        threads.emplace_back([&, t] {
            for (int i = 0; i < kCalls; ++i) {
                const std::string json = "{\"call\":" + std::to_string(t * kCalls + i) + "}";
                if (DoWork(server_.Url(), json) != Reply(true, CString(json))) ++wrong;
            }
            if (t % 2 == 1) DoWork(refused);
            if (Summary(LastExchange()).substr(0, 4) != (t % 2 == 1 ? "conn" : "none")) ++wrong;
            --running;
        });
    }
    for (long i = 0; running > 0; ++i) {
        SetWebTimeouts(5000 + i % 2, 60 * 1000);
        std::this_thread::yield();
    }
    for (std::thread& thread : threads) thread.join();
    EXPECT_EQ(0, wrong.load());
    EXPECT_EQ(static_cast<size_t>(kThreads * kCalls), server_.RequestCount());
    EXPECT_EQ(kThreads, server_.ConnectionCount());
}

// Trust, client identity and proxy come from the settings. A server refuses a missing client
// certificate after the TLS 1.3 handshake, so that the client learns it from the alert (tls)
// or, when the server's close comes first, from a broken connection (connect). The loopback
// proxy answers the absolute-form requests a forward proxy receives.
TEST_F(SoapWireTest, TrustIdentityAndProxyComeFromTheSettings) {
    TempDir dir;
    const TlsFiles tls = MakeTlsFiles(dir);
    LoopbackSoapServer open(tls.ServerTls()), strict(tls.ServerTls(true)), proxy;
    LoopbackSoapServer wrongHost({tls.wrongHostCert, tls.wrongHostKey, ""});
    proxy.SetReplyText("DoWork", "proxy");
    server_.SetReplyText("DoWork", "direct");
    const std::string missing = dir.Path() + "/missing.pem";
    const std::string viaProxy = proxy.Url().substr(0, proxy.Url().rfind('/'));
    std::string closed = RawServer(std::nullopt).Url();  // nobody listens once it is gone
    closed.resize(closed.rfind('/'));
    const std::string refused =
        "无法连接服务器：proxy: Failed to connect to 127.0.0.1 port " + closed.substr(17) + " ";
    const struct {
        const LoopbackSoapServer& server;
        std::string environment;  // http_proxy
        WireSettings settings;    // time-outs, limit, CA file, CA folder, certificate, key, proxy
        std::string kinds;        // the kinds that may end the exchange
        std::string text;         // the start of the reply text
    } cases[] = {
        {open, "", {0, 0, 0, "", "", "", "", "", ""}, "tls", "安全连接失败："},
        {open, "", {0, 0, 0, missing, "", "", "", "", ""}, "tls", "安全连接失败："},
        {open, "", {0, 0, 0, tls.caFile, "", "", "", "", ""}, "none", ""},
        {open, "", {0, 0, 0, "", tls.caPath, "", "", "", ""}, "none", ""},
        {wrongHost, "", {0, 0, 0, tls.caFile, "", "", "", "", ""}, "tls", "安全连接失败："},
        {strict, "", {0, 0, 0, tls.caFile, "", "", "", "", ""}, "tls connect", ""},
        {strict, "", {0, 0, 0, tls.caFile, "", tls.clientCert, missing, "", ""}, "tls", ""},
        {strict, "", {0, 0, 0, tls.caFile, "", tls.clientCert, tls.clientKey, "", ""}, "none", ""},
        {strict, "", {0, 0, 0, tls.caFile, "", tls.clientBundle, "", "", ""}, "none", ""},
        {server_, "", {0, 0, 0, "", "", "", "", viaProxy, ""}, "none", "proxy"},
        {server_, "", {0, 0, 0, "", "", "", "", viaProxy, "127.0.0.1"}, "none", "direct"},
        {server_, viaProxy, {0, 0, 0, "", "", "", "", "", ""}, "none", "direct"},
        {server_, viaProxy, {0, 0, 0, "", "", "", "", "", "other.example"}, "none", "proxy"},
        {server_, viaProxy, {0, 0, 0, "", "", "", "", closed, ""}, "connect", refused},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.server.Url() + " " + c.environment + " " + c.kinds + " " + c.text);
        setenv("http_proxy", c.environment.c_str(), 1);
        SetWireSettings(c.settings);
        proxy.ClearRequests();
        const Reply reply = DoWork(c.server.Url());
        EXPECT_EQ(c.kinds == "none", reply.first);
        EXPECT_THAT(reply.second.Str(), StartsWith(c.text));
        EXPECT_THAT(c.kinds, ::testing::HasSubstr(FailureKindName(LastExchange().kind)));
        EXPECT_EQ(c.text == "proxy" ? server_.Url() : "",
                  proxy.RequestCount() == 1 ? proxy.Requests()[0].path : "");
    }
    unsetenv("http_proxy");
}

}  // namespace
