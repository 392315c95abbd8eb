// The built-in transport against servers on 127.0.0.1 that the tests start themselves.
#include <arpa/inet.h>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "support/CStringPrinter.h"
#include "support/LoopbackSoapServer.h"
#include "support/TempDir.h"
#include "wirekit/TWebService.h"
#include "wirekit/WebTransport.h"
#include "wirekit/WireSettings.h"

namespace {

using Reply = std::pair<bool, CString>;
using Arguments = std::vector<std::pair<CString, CString>>;
using ::testing::HasSubstr;
using ::testing::StartsWith;

constexpr char kNamespace[] = "http://tempuri.org/";

Reply Call(const std::string& url, const char* method, const Arguments& arguments) {
    TWebService service(kNamespace, "UniteInterface");
    std::vector<std::shared_ptr<WebArgument>> list;
    for (const auto& argument : arguments) {
        list.push_back(std::make_shared<WebArgumentString>(argument.first, argument.second));
    }
    return service.ExcuteOnServer(url.c_str(), method, list, nullptr);
}

Reply DoWork(const std::string& url, const CString& json) {
    return Call(url, "DoWork", {{"jsonInput", json}});
}

LoopbackSoapServer::Reply Raw(int status, const std::string& contentType, const std::string& body) {
    LoopbackSoapServer::Reply reply;
    reply.status = status;
    reply.contentType = contentType;
    reply.body = body;
    return reply;
}

// A bare TCP server on 127.0.0.1 for misbehaviour an HTTP server library will not produce.
// Each accepted connection is handed to `script` on the server's thread, then closed.
class RawServer {
  public:
    using Script = std::function<void(int fd, const std::atomic<bool>& stopping)>;

    explicit RawServer(Script script) : script_(std::move(script)) {
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
        thread_ = std::thread([this] { Run(); });
    }
    ~RawServer() {
        stopping_ = true;
        thread_.join();
        close(listener_);
    }

    std::string Url() const {
        return "http://127.0.0.1:" + std::to_string(port_) + "/UniteInterface.asmx";
    }

    // Reads until the end of the request headers (the bodies sent here are small and come
    // with them) or until the server stops.
    static void ReadRequest(int fd, const std::atomic<bool>& stopping) {
        std::string seen;
        char buffer[4096];
        while (!stopping && seen.find("</soap:Envelope>") == std::string::npos) {
            pollfd ready{fd, POLLIN, 0};
            if (poll(&ready, 1, 20) <= 0) continue;
            ssize_t got = read(fd, buffer, sizeof(buffer));
            if (got <= 0) return;
            seen.append(buffer, static_cast<size_t>(got));
        }
    }

    static void Send(int fd, const std::string& text) {
        ssize_t sent = send(fd, text.data(), text.size(), MSG_NOSIGNAL);
        (void)sent;
    }

  private:
    void Run() {
        while (!stopping_) {
            pollfd ready{listener_, POLLIN, 0};
            if (poll(&ready, 1, 20) <= 0) continue;
            int fd = accept(listener_, nullptr, nullptr);
            if (fd < 0) continue;
            script_(fd, stopping_);
            close(fd);
        }
    }

    Script script_;
    int listener_ = -1;
    int port_ = 0;
    std::atomic<bool> stopping_{false};
    std::thread thread_;
};

class SoapWireTest : public ::testing::Test {
  protected:
    SoapWireTest() { SetWebTransport(nullptr); }
    ~SoapWireTest() override { SetWireSettings(WireSettings()); }

    LoopbackSoapServer server_;
};

TEST_F(SoapWireTest, PostsOneEnvelopeWithEscapedValuesAndTheSoapAction) {
    server_.SetReplyText("GetProjectList", "ok");
    const CString json = "{\"名称\":\"<a & b>\",\"q\":'x'}";

    EXPECT_EQ(Reply(true, "ok"),
              Call(server_.Url(), "GetProjectList", {{"jsonInput", json}, {"page", "2"}}));

    std::vector<LoopbackSoapServer::Request> requests = server_.Requests();
    ASSERT_EQ(1u, requests.size());
    const LoopbackSoapServer::Request& request = requests[0];
    EXPECT_EQ("POST", request.httpMethod);
    EXPECT_EQ("/UniteInterface.asmx", request.path);
    EXPECT_EQ("text/xml; charset=utf-8", request.Header("Content-Type"));
    EXPECT_EQ("\"http://tempuri.org/GetProjectList\"", request.Header("SOAPAction"));
    EXPECT_EQ(
        "<?xml version=\"1.0\" encoding=\"utf-8\"?>"
        "<soap:Envelope xmlns:soap=\"http://schemas.xmlsoap.org/soap/envelope/\"><soap:Body>"
        "<GetProjectList xmlns=\"http://tempuri.org/\">"
        "<jsonInput>{&quot;名称&quot;:&quot;&lt;a &amp; b&gt;&quot;,&quot;q&quot;:&apos;x&apos;}"
        "</jsonInput><page>2</page>"
        "</GetProjectList></soap:Body></soap:Envelope>",
        request.body);
    EXPECT_EQ("GetProjectList", request.soapMethod);
    EXPECT_EQ(kNamespace, request.soapNamespace);
    EXPECT_EQ((std::vector<std::pair<std::string, std::string>>{{"jsonInput", json.Str()},
                                                                {"page", "2"}}),
              request.arguments);
}

TEST_F(SoapWireTest, CallWithoutArgumentsSendsAnEmptyMethodElement) {
    EXPECT_EQ(Reply(true, ""), Call(server_.Url(), "GetTime", {}));
    EXPECT_EQ(
        "<?xml version=\"1.0\" encoding=\"utf-8\"?>"
        "<soap:Envelope xmlns:soap=\"http://schemas.xmlsoap.org/soap/envelope/\"><soap:Body>"
        "<GetTime xmlns=\"http://tempuri.org/\"></GetTime></soap:Body></soap:Envelope>",
        server_.Requests().at(0).body);
}

TEST_F(SoapWireTest, CarriageReturnsInValuesSurviveTheTrip) {
    server_.SetReplyText(
        [](const LoopbackSoapServer::Request& request) { return request.arguments[0].second; });
    EXPECT_EQ(Reply(true, "a\r\nb\tc\n"), DoWork(server_.Url(), "a\r\nb\tc\n"));
}

TEST_F(SoapWireTest, Utf8ResultIsReturnedAsItStands) {
    server_.SetReplyText("DoWork", "{\"Message\":\"保存成功 <1> & 'ok'\"}");
    EXPECT_EQ(Reply(true, "{\"Message\":\"保存成功 <1> & 'ok'\"}"), DoWork(server_.Url(), "{}"));
}

TEST_F(SoapWireTest, GbkResultIsDecodedToUtf8) {
    server_.SetHandler([](const LoopbackSoapServer::Request& request) {
        LoopbackSoapServer::Reply reply =
            LoopbackSoapServer::MakeSoapResult(request.soapMethod, "中文", "GBK");
        EXPECT_THAT(reply.body, HasSubstr("\xD6\xD0\xCE\xC4"));
        return reply;
    });
    EXPECT_EQ(Reply(true, "中文"), DoWork(server_.Url(), "{}"));
}

TEST_F(SoapWireTest, FaultGivesTheFaultString) {
    server_.SetHandler([](const LoopbackSoapServer::Request&) {
        return LoopbackSoapServer::MakeSoapFault("服务器无法处理请求。 ---> 对象未设置");
    });
    EXPECT_EQ(Reply(false, "服务器无法处理请求。 ---> 对象未设置"), DoWork(server_.Url(), "{}"));
}

TEST_F(SoapWireTest, OtherHttpStatusesAreErrors) {
    const int statuses[] = {404, 503, 302};
    for (int status : statuses) {
        server_.SetHandler([status](const LoopbackSoapServer::Request& request) {
            LoopbackSoapServer::Reply reply =
                LoopbackSoapServer::MakeSoapResult(request.soapMethod, "never read");
            reply.status = status;
            return reply;
        });
        EXPECT_EQ(Reply(false, CString("服务器返回错误：HTTP " + std::to_string(status))),
                  DoWork(server_.Url(), "{}"));
    }
}

TEST_F(SoapWireTest, ServerErrorWithoutFaultIsAnHttpError) {
    server_.SetHandler([](const LoopbackSoapServer::Request&) {
        return Raw(500, "text/html", "<html><body>Runtime Error</body></html>");
    });
    EXPECT_EQ(Reply(false, "服务器返回错误：HTTP 500"), DoWork(server_.Url(), "{}"));
}

TEST_F(SoapWireTest, BodyThatIsNotXmlIsUnrecognised) {
    server_.SetHandler(
        [](const LoopbackSoapServer::Request&) { return Raw(200, "text/plain", "{\"Code\":1}"); });
    Reply reply = DoWork(server_.Url(), "{}");
    EXPECT_FALSE(reply.first);
    EXPECT_THAT(reply.second.Str(), StartsWith("服务器应答无法识别："));
}

TEST_F(SoapWireTest, ExternalEntitiesAndDtdsAreNeverLoaded) {
    TempDir dir;
    std::string secret = dir.WriteFile("secret.txt", "TOP-SECRET-CONTENT");
    std::string dtd = dir.WriteFile("evil.dtd", "<!ENTITY leak \"TOP-SECRET-CONTENT\">");
    const std::string replies[] = {
        "<?xml version=\"1.0\"?><!DOCTYPE soap:Envelope [<!ENTITY xxe SYSTEM \"file://" + secret +
            "\">]><soap:Envelope xmlns:soap=\"http://schemas.xmlsoap.org/soap/envelope/\">"
            "<soap:Body><DoWorkResponse><DoWorkResult>&xxe;</DoWorkResult></DoWorkResponse>"
            "</soap:Body></soap:Envelope>",
        "<?xml version=\"1.0\"?><!DOCTYPE soap:Envelope SYSTEM \"file://" + dtd +
            "\"><soap:Envelope xmlns:soap=\"http://schemas.xmlsoap.org/soap/envelope/\">"
            "<soap:Body><DoWorkResponse><DoWorkResult>&leak;</DoWorkResult></DoWorkResponse>"
            "</soap:Body></soap:Envelope>",
        "<?xml version=\"1.0\"?><!DOCTYPE soap:Envelope [<!ENTITY % p SYSTEM \"file://" + dtd +
            "\"> %p;]><soap:Envelope xmlns:soap=\"http://schemas.xmlsoap.org/soap/envelope/\">"
            "<soap:Body><DoWorkResponse><DoWorkResult>&leak;</DoWorkResult></DoWorkResponse>"
            "</soap:Body></soap:Envelope>",
    };
    for (const std::string& body : replies) {
        server_.SetHandler(
            [body](const LoopbackSoapServer::Request&) { return Raw(200, "text/xml", body); });
        Reply reply = DoWork(server_.Url(), "{}");
        EXPECT_FALSE(reply.first);
        EXPECT_THAT(reply.second.Str(), StartsWith("服务器应答无法识别："));
        EXPECT_THAT(reply.second.Str(), ::testing::Not(HasSubstr("TOP-SECRET")));
    }
}

TEST_F(SoapWireTest, ReplyOverTheLimitIsRefused) {
    WireSettings settings;
    settings.maxReplyBytes = 4096;
    SetWireSettings(settings);
    server_.SetReplyText("DoWork", std::string(5000, 'x'));
    EXPECT_EQ(Reply(false, "服务器应答过大：reply longer than 4096 bytes"),
              DoWork(server_.Url(), "{}"));

    server_.SetReplyText("DoWork", std::string(3000, 'x'));
    EXPECT_EQ(Reply(true, CString(std::string(3000, 'x'))), DoWork(server_.Url(), "{}"));
}

TEST_F(SoapWireTest, ReplyOverTheLimitWithoutALengthIsRefused) {
    WireSettings settings;
    settings.maxReplyBytes = 4096;
    SetWireSettings(settings);
    RawServer raw([](int fd, const std::atomic<bool>& stopping) {
        RawServer::ReadRequest(fd, stopping);
        RawServer::Send(fd,
                        "HTTP/1.1 200 OK\r\nContent-Type: text/xml\r\nConnection: close\r\n\r\n");
        std::string chunk(1024, 'x');
        for (int i = 0; i < 16 && !stopping; ++i) RawServer::Send(fd, chunk);
    });
    EXPECT_EQ(Reply(false, "服务器应答过大：reply longer than 4096 bytes"),
              DoWork(raw.Url(), "{}"));
}

TEST_F(SoapWireTest, SilentServerTimesOut) {
    SetWebTimeouts(1000, 300);
    RawServer raw([](int fd, const std::atomic<bool>& stopping) {
        RawServer::ReadRequest(fd, stopping);
        while (!stopping) std::this_thread::sleep_for(std::chrono::milliseconds(10));
    });
    auto start = std::chrono::steady_clock::now();
    Reply reply = DoWork(raw.Url(), "{}");
    auto elapsed = std::chrono::steady_clock::now() - start;
    EXPECT_FALSE(reply.first);
    EXPECT_THAT(reply.second.Str(), StartsWith("连接服务器超时："));
    EXPECT_LT(elapsed, std::chrono::seconds(5));
}

TEST_F(SoapWireTest, RefusedConnectionFails) {
    int probe = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof(address);
    ASSERT_EQ(0, bind(probe, reinterpret_cast<sockaddr*>(&address), length));
    ASSERT_EQ(0, getsockname(probe, reinterpret_cast<sockaddr*>(&address), &length));
    close(probe);  // the port is now free and nobody listens on it

    Reply reply = DoWork("http://127.0.0.1:" + std::to_string(ntohs(address.sin_port)) + "/", "{}");
    EXPECT_FALSE(reply.first);
    EXPECT_THAT(reply.second.Str(), StartsWith("无法连接服务器："));
}

TEST_F(SoapWireTest, FailedTlsHandshakeIsReported) {
    std::string url = server_.Url();
    Reply reply = DoWork("https" + url.substr(4), "{}");  // TLS spoken to a plain HTTP server
    EXPECT_FALSE(reply.first);
    EXPECT_THAT(reply.second.Str(), StartsWith("安全连接失败："));
    EXPECT_EQ(0u, server_.RequestCount());
}

TEST_F(SoapWireTest, ConnectionClosedMidReplyFails) {
    RawServer raw([](int fd, const std::atomic<bool>& stopping) {
        RawServer::ReadRequest(fd, stopping);
        RawServer::Send(fd,
                        "HTTP/1.1 200 OK\r\nContent-Type: text/xml\r\nContent-Length: 1000\r\n\r\n"
                        "<?xml version=\"1.0\"?><soap:Env");
    });
    Reply reply = DoWork(raw.Url(), "{}");
    EXPECT_FALSE(reply.first);
    EXPECT_THAT(reply.second.Str(), StartsWith("服务器连接中断："));
}

TEST_F(SoapWireTest, IdleConnectionClosedByTheServerIsReplaced) {
    std::atomic<int> connections{0};
    RawServer raw([&connections](int fd, const std::atomic<bool>& stopping) {
        ++connections;
        RawServer::ReadRequest(fd, stopping);
        std::string body = LoopbackSoapServer::MakeSoapResult("DoWork", "ok").body;
        RawServer::Send(fd,
                        "HTTP/1.1 200 OK\r\nContent-Type: text/xml; charset=utf-8\r\n"
                        "Connection: keep-alive\r\nContent-Length: " +
                            std::to_string(body.size()) + "\r\n\r\n" + body);
    });
    EXPECT_EQ(Reply(true, "ok"), DoWork(raw.Url(), "{}"));
    EXPECT_EQ(Reply(true, "ok"), DoWork(raw.Url(), "{}"));
    EXPECT_EQ(2, connections.load());
}

TEST_F(SoapWireTest, EmptyUrlFailsWithoutSending) {
    EXPECT_EQ(Reply(false, "服务器地址为空：no URL given for DoWork"), DoWork("", "{}"));
    EXPECT_EQ(0u, server_.RequestCount());
}

TEST_F(SoapWireTest, OnlyHttpAndHttpsUrlsAreFollowed) {
    TempDir dir;
    std::string path = dir.WriteFile("reply.xml", "<x/>");
    Reply reply = DoWork("file://" + path, "{}");
    EXPECT_FALSE(reply.first);
    EXPECT_THAT(reply.second.Str(), StartsWith("服务器地址无效："));
}

TEST_F(SoapWireTest, ConsecutiveCallsRideOneConnection) {
    server_.SetReplyText(
        [](const LoopbackSoapServer::Request& request) { return request.arguments[0].second; });
    for (int i = 0; i < 100; ++i) {
        CString json;
        json.Format("{\"n\":%d}", i);
        ASSERT_EQ(Reply(true, json), DoWork(server_.Url(), json));
    }
    EXPECT_EQ(100u, server_.RequestCount());
    EXPECT_EQ(1, server_.ConnectionCount());
}

TEST_F(SoapWireTest, ConcurrentCallsEachGetTheirOwnReply) {
    constexpr int kThreads = 8;
    constexpr int kCalls = 200;
    server_.SetReplyText([](const LoopbackSoapServer::Request& request) {
        return "echo " + request.arguments[0].second;
    });
    std::atomic<int> wrong{0};
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t) {
        threads.emplace_back([&, t] {
            for (int i = 0; i < kCalls; ++i) {
                std::string json =
                    "{\"thread\":" + std::to_string(t) + ",\"call\":" + std::to_string(i) + "}";
                if (DoWork(server_.Url(), json) != Reply(true, CString("echo " + json))) ++wrong;
            }
        });
    }
    for (std::thread& thread : threads) thread.join();
    EXPECT_EQ(0, wrong.load());
    EXPECT_EQ(static_cast<size_t>(kThreads * kCalls), server_.RequestCount());
    EXPECT_EQ(kThreads, server_.ConnectionCount());
}

}  // namespace
