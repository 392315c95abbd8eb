// The built-in transport against servers on 127.0.0.1 that the tests start themselves.
#include <arpa/inet.h>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdlib>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "support/CStringPrinter.h"
#include "support/LoopbackSoapServer.h"
#include "support/RecordingTransport.h"
#include "support/TempDir.h"
#include "support/TlsFixtures.h"
#include "wirekit/ExchangeReport.h"
#include "wirekit/TWebService.h"
#include "wirekit/WebTransport.h"
#include "wirekit/WireSettings.h"

namespace {

using Reply = std::pair<bool, CString>;
using Arguments = std::vector<std::pair<std::string, std::string>>;
using Clock = std::chrono::steady_clock;
using Kind = FailureKind;
using ::testing::EndsWith;
using ::testing::HasSubstr;
using ::testing::Not;
using ::testing::StartsWith;

constexpr char kNamespace[] = "http://tempuri.org/";
constexpr char kEnvelopeOpen[] =
    "<?xml version=\"1.0\" encoding=\"utf-8\"?>"
    "<soap:Envelope xmlns:soap=\"http://schemas.xmlsoap.org/soap/envelope/\"><soap:Body>";

Reply Call(const std::string& url, const char* method, const Arguments& arguments) {
    TWebService service(kNamespace, "UniteInterface");
    std::vector<std::shared_ptr<WebArgument>> list;
    for (const auto& [name, value] : arguments) {
        list.push_back(std::make_shared<WebArgumentString>(name.c_str(), value.c_str()));
    }
    return service.ExcuteOnServer(url.c_str(), method, list, nullptr);
}

Reply DoWork(const std::string& url, const std::string& json = "{}") {
    return Call(url, "DoWork", {{"jsonInput", json}});
}

// A bare TCP server on 127.0.0.1 for misbehaviour an HTTP server library will not produce:
// one connection at a time, it reads the request, sends `reply` as it stands, keeps the
// connection open until the server stops when `hold` is set, and closes it.
class RawServer {
  public:
    explicit RawServer(std::string reply, bool hold = false) {
        listener_ = socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof(address);
        if (bind(listener_, reinterpret_cast<sockaddr*>(&address), length) != 0 ||
            listen(listener_, 8) != 0 ||
            getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
            ADD_FAILURE() << "the raw server cannot listen";
        }
        port_ = ntohs(address.sin_port);
        thread_ = std::thread([this, reply, hold] {
            while (!stopping_) {
                pollfd ready{listener_, POLLIN, 0};
                int fd = poll(&ready, 1, 20) > 0 ? accept(listener_, nullptr, nullptr) : -1;
                if (fd < 0) continue;
                ReadRequest(fd);
                {
                    std::lock_guard<std::mutex> lock(mutex_);
                    ++served_;
                }
                served_changed_.notify_all();
                (void)send(fd, reply.data(), reply.size(), MSG_NOSIGNAL);
                while (hold && !stopping_)
                    std::this_thread::sleep_for(std::chrono::milliseconds(5));
                close(fd);
            }
        });
    }
    ~RawServer() {
        stopping_ = true;
        thread_.join();
        close(listener_);
    }

    std::string Url() const {
        return "http://127.0.0.1:" + std::to_string(port_) + "/UniteInterface.asmx";
    }
    int Port() const { return port_; }
    // Connections whose request has been read.
    int Served() {
        std::lock_guard<std::mutex> lock(mutex_);
        return served_;
    }
    void WaitForRequest() {
        std::unique_lock<std::mutex> lock(mutex_);
        served_changed_.wait(lock, [this] { return served_ > 0; });
    }

  private:
    // Reads until the end of the (small) request, the client's close or the server's stop.
    void ReadRequest(int fd) {
        std::string seen;
        char buffer[4096];
        while (!stopping_ && seen.find("</soap:Envelope>") == std::string::npos) {
            pollfd ready{fd, POLLIN, 0};
            if (poll(&ready, 1, 20) <= 0) continue;
            ssize_t got = read(fd, buffer, sizeof(buffer));
            if (got <= 0) return;
            seen.append(buffer, static_cast<size_t>(got));
        }
    }

    int listener_ = -1;
    int port_ = 0;
    std::mutex mutex_;
    std::condition_variable served_changed_;
    int served_ = 0;
    std::atomic<bool> stopping_{false};
    std::thread thread_;
};

// What the observer saw of one exchange, copied out of the event.
struct Seen {
    std::string url, method, request, reply;
    std::vector<std::pair<CString, CString>> arguments;
    ExchangeReport report;
};

class SoapWireTest : public ::testing::Test {
  protected:
    SoapWireTest() { SetWebTransport(nullptr); }
    ~SoapWireTest() override {
        SetWireSettings(WireSettings());
        SetExchangeObserver(nullptr);
    }

    // Records every exchange the observer sees, from any thread.
    void Observe() {
        SetExchangeObserver([this](const ExchangeEvent& event) {
            std::lock_guard<std::mutex> lock(seenMutex_);
            seen_.push_back({event.call.url.Str(), event.call.method.Str(), event.request,
                             event.reply, event.call.arguments, event.report});
        });
    }

    // The reply to a call the server answers with `reply`.
    Reply Answer(const LoopbackSoapServer::Reply& reply) {
        server_.SetHandler([reply](const LoopbackSoapServer::Request&) { return reply; });
        return DoWork(server_.Url());
    }

    LoopbackSoapServer server_;
    std::mutex seenMutex_;
    std::vector<Seen> seen_;
};

TEST_F(SoapWireTest, EachCallPostsOneEscapedEnvelopeWithTheSoapAction) {
    server_.SetReplyText("GetProjectList", "ok");
    EXPECT_EQ(Reply(true, "ok"),
              Call(server_.Url(), "GetProjectList",
                   {{"jsonInput", "{\"名称\":\"<a & b>\",\"q\":'x'}"}, {"page", "2"}}));
    EXPECT_EQ(Reply(true, ""), Call(server_.Url(), "GetTime", {}));

    std::vector<LoopbackSoapServer::Request> requests = server_.Requests();
    ASSERT_EQ(2u, requests.size());
    EXPECT_EQ("POST", requests[0].httpMethod);
    EXPECT_EQ("/UniteInterface.asmx", requests[0].path);
    EXPECT_EQ("text/xml; charset=utf-8", requests[0].Header("Content-Type"));
    EXPECT_EQ("\"http://tempuri.org/GetProjectList\"", requests[0].Header("SOAPAction"));
    EXPECT_EQ("\"http://tempuri.org/GetTime\"", requests[1].Header("SOAPAction"));
    EXPECT_EQ(std::string(kEnvelopeOpen) +
                  "<GetProjectList xmlns=\"http://tempuri.org/\">"
                  "<jsonInput>{&quot;名称&quot;:&quot;&lt;a &amp; b&gt;&quot;,&quot;q&quot;:"
                  "&apos;x&apos;}</jsonInput><page>2</page>"
                  "</GetProjectList></soap:Body></soap:Envelope>",
              requests[0].body);
    EXPECT_EQ(std::string(kEnvelopeOpen) +
                  "<GetTime xmlns=\"http://tempuri.org/\"></GetTime></soap:Body></soap:Envelope>",
              requests[1].body);
}

TEST_F(SoapWireTest, RepliesArriveAsUtf8WhateverCharsetTheHeaderNames) {
    server_.SetReplyText(
        [](const LoopbackSoapServer::Request& in) { return in.arguments[0].second; });
    const std::string text = "a\r\nb\tc\n{\"Message\":\"保存成功 <1> & 'ok'\"}";
    EXPECT_EQ(Reply(true, CString(text)), DoWork(server_.Url(), text));

    LoopbackSoapServer::Reply gbk = LoopbackSoapServer::MakeSoapResult("DoWork", "@");
    gbk.body = gbk.body.substr(gbk.body.find("?>") + 2);
    gbk.body.replace(gbk.body.find('@'), 1, "\xD6\xD0\xCE\xC4");
    gbk.contentType = "text/xml; charset=GBK";
    EXPECT_EQ(Reply(true, "中文"), Answer(gbk));
}

// One row per way an exchange ends: the call's result, and the kind, status and detail that
// the observer and the thread's last exchange report alike.
TEST_F(SoapWireTest, EveryExchangeEndsWithOneKindThatTheObserverSees) {
    const std::string ok = "HTTP/1.1 200 OK\r\nContent-Type: text/xml\r\n";
    RawServer streamed(ok + "Connection: close\r\n\r\n" + std::string(16 * 1024, 'x'));
    RawServer silent("", true);
    RawServer cut(ok + "Content-Length: 100\r\n\r\n<?xml version=\"1.0\"?><soap:Env");
    const std::string refused = RawServer("").Url();  // nobody listens once it is gone
    TempDir dir;
    const std::string secret = dir.WriteFile("secret.txt", "TOP-SECRET");
    auto result = [](size_t length) {
        return LoopbackSoapServer::MakeSoapResult("DoWork", std::string(length, 'x'));
    };
    auto status = [&](int code) {
        LoopbackSoapServer::Reply reply = result(1);
        reply.status = code;
        return reply;
    };
    const size_t limit = result(100).body.size();
    WireSettings settings;
    settings.maxReplyBytes = limit;
    settings.totalTimeoutMs = 300;
    SetWireSettings(settings);
    const std::string tooLarge =
        "服务器应答过大：reply longer than " + std::to_string(limit) + " bytes";
    const std::string url = server_.Url();
    const struct {
        std::string url;
        LoopbackSoapServer::Reply reply;  // what server_ answers
        Kind kind;
        long status;
        std::string text;  // the whole text, or its start when it ends in "："
    } cases[] = {
        {url, result(100), Kind::none, 200, std::string(100, 'x')},
        {url, result(101), Kind::too_large, 200, tooLarge},
        {streamed.Url(), {}, Kind::too_large, 200, tooLarge},
        {url, status(404), Kind::http_status, 404, "服务器返回错误：HTTP 404"},
        {url, status(302), Kind::http_status, 302, "服务器返回错误：HTTP 302"},
        {url,
         {500, "text/html", "<html>Error</html>"},
         Kind::http_status,
         500,
         "服务器返回错误：HTTP 500"},
        {url, LoopbackSoapServer::MakeSoapFault("对象未设置"), Kind::soap_fault, 500, "对象未设置"},
        {url, {200, "text/plain", "{\"Code\":1}"}, Kind::bad_reply, 200, "服务器应答无法识别："},
        {url,
         {200, "text/xml",
          "<!DOCTYPE e [<!ENTITY x SYSTEM \"file://" + secret + "\">]>" +
              result(0).body.substr(result(0).body.find("?>") + 2)},
         Kind::bad_reply,
         200,
         "服务器应答无法识别："},
        {refused, {}, Kind::connect, 0, "无法连接服务器："},
        {"https" + url.substr(4), {}, Kind::tls, 0, "安全连接失败："},
        {"", {}, Kind::connect, 0, "服务器地址为空：no URL given for DoWork"},
        {"file://" + secret, {}, Kind::connect, 0, "服务器地址无效："},
        {silent.Url(), {}, Kind::timeout, 0, "连接服务器超时："},
        {cut.Url(), {}, Kind::connect, 200, "服务器连接中断："},
    };
    const std::string request = std::string(kEnvelopeOpen) +
                                "<DoWork xmlns=\"http://tempuri.org/\"><jsonInput>{}</jsonInput>"
                                "</DoWork></soap:Body></soap:Envelope>";
    Observe();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.url + " " + c.text);
        seen_.clear();
        server_.SetHandler([&c](const LoopbackSoapServer::Request&) { return c.reply; });
        const Reply reply = DoWork(c.url);
        const ExchangeReport last = LastExchange();
        EXPECT_EQ(c.kind == Kind::none, reply.first);
        if (c.text.size() >= 3 && c.text.compare(c.text.size() - 3, 3, "：") == 0) {
            EXPECT_THAT(reply.second.Str(), StartsWith(c.text));
            EXPECT_THAT(reply.second.Str(), Not(HasSubstr("TOP-SECRET")));
        } else {
            EXPECT_EQ(c.text, reply.second.Str());
        }
        ASSERT_EQ(1u, seen_.size());
        for (const ExchangeReport& report : {last, seen_[0].report}) {
            EXPECT_EQ(FailureKindName(c.kind), std::string(FailureKindName(report.kind)));
            EXPECT_EQ(c.status, report.httpStatus);
            EXPECT_EQ(c.url, report.url.Str());
            EXPECT_EQ("DoWork", report.method);
            EXPECT_EQ(reply.first, report.detail.IsEmpty());
            EXPECT_THAT(reply.second.Str(), EndsWith(report.detail.Str()));
            EXPECT_GE(report.durationUs, c.kind == Kind::timeout ? 250 * 1000 : 0);
        }
        EXPECT_EQ(c.url, seen_[0].url);
        EXPECT_EQ((std::vector<std::pair<CString, CString>>{{"jsonInput", "{}"}}),
                  seen_[0].arguments);
        EXPECT_EQ(c.url.empty() ? "" : request, seen_[0].request);
        if (c.url == url && c.kind != Kind::too_large) {
            EXPECT_EQ(c.reply.body, seen_[0].reply);
        }
    }
}

TEST_F(SoapWireTest, InstalledTransportsReportThroughTheSameChannel) {
    RecordingTransport transport;
    transport.QueueReply(false, "离线");
    Observe();
    EXPECT_EQ(Reply(false, "离线"), DoWork("http://host/"));
    EXPECT_EQ(Kind::bad_reply, LastExchange().kind);
    EXPECT_EQ("离线", LastExchange().detail);
    EXPECT_EQ(Reply(true, ""), DoWork("http://host/"));
    EXPECT_EQ(Kind::none, LastExchange().kind);
    ASSERT_EQ(2u, seen_.size());
    EXPECT_EQ(Kind::bad_reply, seen_[0].report.kind);
    EXPECT_EQ("", seen_[0].request);
    EXPECT_TRUE(SetExchangeObserver(nullptr));
    DoWork("http://host/");
    EXPECT_EQ(2u, seen_.size());
    EXPECT_FALSE(SetExchangeObserver(nullptr));
}

TEST_F(SoapWireTest, TheLastExchangeIsKeptPerThread) {
    RawServer notFound("HTTP/1.1 404 Not Found\r\nContent-Length: 0\r\n\r\n");
    const std::string refused = RawServer("").Url();
    ASSERT_EQ(Reply(true, ""), DoWork(server_.Url()));
    ExchangeReport first, second;
    std::thread one([&] {
        DoWork(refused);
        first = LastExchange();
    });
    std::thread two([&] {
        DoWork(notFound.Url());
        second = LastExchange();
    });
    one.join();
    two.join();
    EXPECT_EQ(Kind::connect, first.kind);
    EXPECT_EQ(refused, first.url.Str());
    EXPECT_EQ(Kind::http_status, second.kind);
    EXPECT_EQ(404, second.httpStatus);
    EXPECT_EQ(Kind::none, LastExchange().kind);
    EXPECT_EQ(server_.Url(), LastExchange().url.Str());
}

// Each caller waits on a server that never answers until CancelExchanges ends the wait, then
// calls again; the calls made after the cancel are not touched by it.
TEST_F(SoapWireTest, CancelEndsEveryExchangeInFlightAndNoLaterOne) {
    Observe();
    RawServer silent[2] = {RawServer("", true), RawServer("", true)};
    Reply cancelled[2], after[2];
    ExchangeReport report[2];
    Clock::time_point returned[2];
    std::vector<std::thread> callers;
    for (int i = 0; i < 2; ++i) {
        callers.emplace_back([&, i] {
            cancelled[i] = DoWork(silent[i].Url());
            returned[i] = Clock::now();
            report[i] = LastExchange();
            after[i] = DoWork(server_.Url());
            if (after[i].first) after[i] = DoWork(server_.Url());
        });
    }
    for (RawServer& server : silent) server.WaitForRequest();
    const Clock::time_point start = Clock::now();
    CancelExchanges();
    for (std::thread& caller : callers) caller.join();
    const auto latency = std::max(returned[0], returned[1]) - start;
    RecordProperty(
        "cancel_latency_us",
        static_cast<int>(std::chrono::duration_cast<std::chrono::microseconds>(latency).count()));
    EXPECT_LT(latency, std::chrono::seconds(1));
    for (int i = 0; i < 2; ++i) {
        EXPECT_EQ(Reply(false, "请求已取消：cancelled"), cancelled[i]);
        EXPECT_EQ(Kind::cancelled, report[i].kind);
        EXPECT_EQ(Reply(true, ""), after[i]);
    }
    EXPECT_EQ(2, server_.ConnectionCount());  // one per caller, kept for its second call
    std::vector<Kind> kinds;
    for (const Seen& seen : seen_) kinds.push_back(seen.report.kind);
    EXPECT_EQ(2, std::count(kinds.begin(), kinds.end(), Kind::cancelled));
    EXPECT_EQ(4, std::count(kinds.begin(), kinds.end(), Kind::none));
}

TEST_F(SoapWireTest, IdleConnectionClosedByTheServerIsReplaced) {
    const std::string body = LoopbackSoapServer::MakeSoapResult("DoWork", "ok").body;
    RawServer raw(
        "HTTP/1.1 200 OK\r\nContent-Type: text/xml; charset=utf-8\r\n"
        "Connection: keep-alive\r\nContent-Length: " +
        std::to_string(body.size()) + "\r\n\r\n" + body);
    EXPECT_EQ(Reply(true, "ok"), DoWork(raw.Url()));
    EXPECT_EQ(Reply(true, "ok"), DoWork(raw.Url()));
    EXPECT_EQ(2, raw.Served());
}

// Each thread rides one keep-alive connection for all its calls, while the settings change
// under it.
TEST_F(SoapWireTest, ConcurrentCallsEachGetTheirOwnReplyOnTheirOwnConnection) {
    constexpr int kThreads = 8;
    constexpr int kCalls = 200;
    server_.SetReplyText(
        [](const LoopbackSoapServer::Request& in) { return in.arguments[0].second; });
    std::atomic<int> wrong{0}, running{kThreads};
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t) {
        threads.emplace_back([&, t] {
            for (int i = 0; i < kCalls; ++i) {
                std::string json =
                    "{\"thread\":" + std::to_string(t) + ",\"call\":" + std::to_string(i) + "}";
                if (DoWork(server_.Url(), json) != Reply(true, CString(json))) ++wrong;
            }
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

// Trust and client identity come from the settings alone; each failure is of kind tls.
TEST_F(SoapWireTest, TrustAndClientIdentityComeFromTheSettings) {
    TempDir dir;
    const TlsFiles tls = MakeTlsFiles(dir);
    LoopbackSoapServer open(tls.ServerTls()), strict(tls.ServerTls(true));
    LoopbackSoapServer wrongHost({tls.wrongHostCert, tls.wrongHostKey, ""});
    const std::string missing = dir.Path() + "/missing.pem";
    const struct {
        const LoopbackSoapServer& server;
        std::string caFile, caPath, clientCert, clientKey;
        Kind kind;
    } cases[] = {
        {open, "", "", "", "", Kind::tls},
        {open, missing, "", "", "", Kind::tls},
        {open, tls.caFile, "", "", "", Kind::none},
        {open, "", tls.caPath, "", "", Kind::none},
        {wrongHost, tls.caFile, "", "", "", Kind::tls},
        {strict, tls.caFile, "", "", "", Kind::tls},
        {strict, tls.caFile, "", tls.clientCert, missing, Kind::tls},
        {strict, tls.caFile, "", tls.clientCert, tls.clientKey, Kind::none},
        {strict, tls.caFile, "", tls.clientBundle, "", Kind::none},
    };
    for (const auto& c : cases) {
        WireSettings settings;
        settings.caFile = c.caFile.c_str();
        settings.caPath = c.caPath.c_str();
        settings.clientCert = c.clientCert.c_str();
        settings.clientKey = c.clientKey.c_str();
        SetWireSettings(settings);
        const Reply reply = DoWork(c.server.Url());
        const ExchangeReport report = LastExchange();
        printf("%s | %s | %s\n", FailureKindName(report.kind), reply.second.GetString(),
               c.server.Url().c_str());
        EXPECT_EQ(FailureKindName(c.kind), std::string(FailureKindName(report.kind)))
            << reply.second;
        EXPECT_EQ(c.kind == Kind::none, reply.first) << reply.second;
    }
}

// Sets an environment variable for the life of the object; an empty value unsets it.
class ScopedEnvironment {
  public:
    explicit ScopedEnvironment(const char* name) : name_(name) {
        const char* old = std::getenv(name);
        if (old != nullptr) old_ = old;
        had_ = old != nullptr;
    }
    ~ScopedEnvironment() { Set(had_ ? old_ : ""); }
    void Set(const std::string& value) {
        value.empty() ? unsetenv(name_) : setenv(name_, value.c_str(), 1);
    }

  private:
    const char* name_;
    std::string old_;
    bool had_;
};

// The loopback proxy answers the absolute-form requests a forward proxy gets. The test sets the
// environment itself, so that the runner's own proxy variables do not matter.
TEST_F(SoapWireTest, AProxySetHereWinsOverTheEnvironment) {
    LoopbackSoapServer proxy;
    proxy.SetReplyText("DoWork", "proxy");
    server_.SetReplyText("DoWork", "direct");
    const std::string proxyUrl = proxy.Url().substr(0, proxy.Url().rfind('/'));
    const std::string closedPort = std::to_string(RawServer("").Port());
    ScopedEnvironment httpProxy("http_proxy"), noProxy("no_proxy");
    noProxy.Set("127.0.0.1");
    const struct {
        std::string environment, proxy, noProxy;  // http_proxy, and the two settings
        std::string reply;
    } cases[] = {
        {"", proxyUrl, "", "proxy"},
        {"", proxyUrl, "127.0.0.1", "direct"},
        {proxyUrl, "", "", "direct"},
        {proxyUrl, "", "other.example", "proxy"},
        {proxyUrl, "http://127.0.0.1:" + closedPort, "",
         "无法连接服务器：proxy: Failed to connect to 127.0.0.1 port " + closedPort + " "},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.environment + " " + c.proxy + " " + c.noProxy);
        httpProxy.Set(c.environment);
        WireSettings settings;
        settings.proxy = c.proxy.c_str();
        settings.noProxy = c.noProxy.c_str();
        SetWireSettings(settings);
        proxy.ClearRequests();
        const Reply reply = DoWork(server_.Url());
        if (c.reply == "proxy" || c.reply == "direct") {
            EXPECT_EQ(Reply(true, c.reply.c_str()), reply);
            EXPECT_EQ(Kind::none, LastExchange().kind);
        } else {
            EXPECT_THAT(reply.second.Str(), StartsWith(c.reply));
            EXPECT_EQ(Kind::connect, LastExchange().kind);
        }
        if (c.reply == "proxy") {
            ASSERT_EQ(1u, proxy.RequestCount());
            EXPECT_EQ(server_.Url(), proxy.Requests()[0].path);
        }
    }
}

}  // namespace
