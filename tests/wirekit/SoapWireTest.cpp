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
using Arguments = std::vector<std::pair<std::string, std::string>>;
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

Reply DoWork(const std::string& url, const std::string& json) {
    return Call(url, "DoWork", {{"jsonInput", json}});
}

// A bare TCP server on 127.0.0.1 for misbehaviour an HTTP server library will not produce:
// on each connection it reads the request, sends `reply` as it stands, keeps the connection
// open until the server stops when `hold` is set, and closes it.
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
                ++connections_;
                ReadRequest(fd);
                (void)send(fd, reply.data(), reply.size(), MSG_NOSIGNAL);
                while (hold && !stopping_)
                    std::this_thread::sleep_for(std::chrono::milliseconds(10));
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
    int Connections() const { return connections_; }

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
    std::atomic<int> connections_{0};
    std::atomic<bool> stopping_{false};
    std::thread thread_;
};

class SoapWireTest : public ::testing::Test {
  protected:
    SoapWireTest() { SetWebTransport(nullptr); }
    ~SoapWireTest() override { SetWireSettings(WireSettings()); }

    void EchoArgument() {
        server_.SetReplyText(
            [](const LoopbackSoapServer::Request& request) { return request.arguments[0].second; });
    }

    // The reply to a call the server answers with `reply`.
    Reply Answer(const LoopbackSoapServer::Reply& reply) {
        server_.SetHandler([reply](const LoopbackSoapServer::Request&) { return reply; });
        return DoWork(server_.Url(), "{}");
    }

    LoopbackSoapServer server_;
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

TEST_F(SoapWireTest, Utf8AndGbkRepliesArriveAsUtf8) {
    EchoArgument();
    const std::string text = "a\r\nb\tc\n{\"Message\":\"保存成功 <1> & 'ok'\"}";
    EXPECT_EQ(Reply(true, CString(text)), DoWork(server_.Url(), text));

    const LoopbackSoapServer::Reply gbk =
        LoopbackSoapServer::MakeSoapResult("DoWork", "中文", "GBK");
    ASSERT_THAT(gbk.body, HasSubstr("\xD6\xD0\xCE\xC4"));
    EXPECT_EQ(Reply(true, "中文"), Answer(gbk));
}

TEST_F(SoapWireTest, FaultsAndOtherStatusesAreErrors) {
    EXPECT_EQ(Reply(false, "服务器无法处理请求。 ---> 对象未设置"),
              Answer(LoopbackSoapServer::MakeSoapFault("服务器无法处理请求。 ---> 对象未设置")));
    for (int status : {404, 503, 302}) {
        LoopbackSoapServer::Reply reply = LoopbackSoapServer::MakeSoapResult("DoWork", "unread");
        reply.status = status;
        EXPECT_EQ(Reply(false, CString("服务器返回错误：HTTP " + std::to_string(status))),
                  Answer(reply));
    }
    EXPECT_EQ(Reply(false, "服务器返回错误：HTTP 500"),
              Answer({500, "text/html", "<html><body>Runtime Error</body></html>"}));
}

TEST_F(SoapWireTest, BodiesThatAreNotXmlOrLoadExternalEntitiesAreUnrecognised) {
    TempDir dir;
    const std::string secret = dir.WriteFile("secret.txt", "TOP-SECRET-CONTENT");
    const std::string dtd = dir.WriteFile("evil.dtd", "<!ENTITY leak \"TOP-SECRET-CONTENT\">");
    auto withDoctype = [](const std::string& doctype,
                          const char* entity) -> LoopbackSoapServer::Reply {
        return {200, "text/xml",
                "<?xml version=\"1.0\"?><!DOCTYPE soap:Envelope " + doctype +
                    "><soap:Envelope xmlns:soap=\"http://schemas.xmlsoap.org/soap/envelope/\">"
                    "<soap:Body><DoWorkResponse><DoWorkResult>&" +
                    entity + ";</DoWorkResult></DoWorkResponse></soap:Body></soap:Envelope>"};
    };
    const LoopbackSoapServer::Reply replies[] = {
        {200, "text/plain", "{\"Code\":1}"},
        withDoctype("[<!ENTITY xxe SYSTEM \"file://" + secret + "\">]", "xxe"),
        withDoctype("SYSTEM \"file://" + dtd + "\"", "leak"),
        withDoctype("[<!ENTITY % p SYSTEM \"file://" + dtd + "\"> %p;]", "leak"),
    };
    for (const LoopbackSoapServer::Reply& sent : replies) {
        Reply reply = Answer(sent);
        EXPECT_FALSE(reply.first) << sent.body;
        EXPECT_THAT(reply.second.Str(), StartsWith("服务器应答无法识别：")) << sent.body;
        EXPECT_THAT(reply.second.Str(), Not(HasSubstr("TOP-SECRET"))) << sent.body;
    }
}

TEST_F(SoapWireTest, MisbehavingServersGiveTheirKindOfError) {
    WireSettings settings;
    settings.maxReplyBytes = 4096;
    SetWireSettings(settings);
    SetWebTimeouts(1000, 300);  // keeps the reply limit
    const std::string tooLong = "服务器应答过大：reply longer than 4096 bytes";
    server_.SetReplyText("DoWork", std::string(5000, 'x'));
    EXPECT_EQ(Reply(false, CString(tooLong)), DoWork(server_.Url(), "{}"));
    server_.SetReplyText("DoWork", std::string(3000, 'x'));
    EXPECT_EQ(Reply(true, CString(std::string(3000, 'x'))), DoWork(server_.Url(), "{}"));

    const std::string ok = "HTTP/1.1 200 OK\r\nContent-Type: text/xml\r\n";
    const struct {
        std::string reply;
        bool hold;
        std::string expected;
    } cases[] = {
        {ok + "Connection: close\r\n\r\n" + std::string(16 * 1024, 'x'), false, tooLong},
        {"", true, "连接服务器超时："},
        {ok + "Content-Length: 1000\r\n\r\n<?xml version=\"1.0\"?><soap:Env", false,
         "服务器连接中断："},
    };
    for (const auto& c : cases) {
        RawServer raw(c.reply, c.hold);
        const auto start = std::chrono::steady_clock::now();
        Reply reply = DoWork(raw.Url(), "{}");
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5)) << c.expected;
        EXPECT_FALSE(reply.first);
        EXPECT_THAT(reply.second.Str(), StartsWith(c.expected));
    }
}

TEST_F(SoapWireTest, BadAddressesFailWithoutReachingAServer) {
    std::string refused = RawServer("").Url();  // nobody listens on its port once it is gone
    TempDir dir;
    const std::pair<std::string, const char*> cases[] = {
        {refused, "无法连接服务器："},
        {"https" + server_.Url().substr(4), "安全连接失败："},  // TLS to a plain HTTP server
        {"", "服务器地址为空：no URL given for DoWork"},
        {"file://" + dir.WriteFile("reply.xml", "<x/>"), "服务器地址无效："},
    };
    for (const auto& [url, expected] : cases) {
        Reply reply = DoWork(url, "{}");
        EXPECT_FALSE(reply.first) << url;
        EXPECT_THAT(reply.second.Str(), StartsWith(expected)) << url;
    }
    EXPECT_EQ(0u, server_.RequestCount());
}

TEST_F(SoapWireTest, IdleConnectionClosedByTheServerIsReplaced) {
    const std::string body = LoopbackSoapServer::MakeSoapResult("DoWork", "ok").body;
    RawServer raw(
        "HTTP/1.1 200 OK\r\nContent-Type: text/xml; charset=utf-8\r\n"
        "Connection: keep-alive\r\nContent-Length: " +
        std::to_string(body.size()) + "\r\n\r\n" + body);
    EXPECT_EQ(Reply(true, "ok"), DoWork(raw.Url(), "{}"));
    EXPECT_EQ(Reply(true, "ok"), DoWork(raw.Url(), "{}"));
    EXPECT_EQ(2, raw.Connections());
}

TEST_F(SoapWireTest, ConsecutiveCallsRideOneConnection) {
    EchoArgument();
    for (int i = 0; i < 100; ++i) {
        const std::string json = "{\"n\":" + std::to_string(i) + "}";
        ASSERT_EQ(Reply(true, CString(json)), DoWork(server_.Url(), json));
    }
    EXPECT_EQ(100u, server_.RequestCount());
    EXPECT_EQ(1, server_.ConnectionCount());
}

TEST_F(SoapWireTest, ConcurrentCallsEachGetTheirOwnReply) {
    constexpr int kThreads = 8;
    constexpr int kCalls = 200;
    EchoArgument();
    std::atomic<int> wrong{0};
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t) {
        threads.emplace_back([&, t] {
            for (int i = 0; i < kCalls; ++i) {
                std::string json =
                    "{\"thread\":" + std::to_string(t) + ",\"call\":" + std::to_string(i) + "}";
                if (DoWork(server_.Url(), json) != Reply(true, CString(json))) ++wrong;
            }
        });
    }
    for (std::thread& thread : threads) thread.join();
    EXPECT_EQ(0, wrong.load());
    EXPECT_EQ(static_cast<size_t>(kThreads * kCalls), server_.RequestCount());
    EXPECT_EQ(kThreads, server_.ConnectionCount());
}

}  // namespace
