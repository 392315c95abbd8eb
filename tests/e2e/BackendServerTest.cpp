// The back-end on its own: the SOAP envelopes it reads and writes, its faults, what it keeps
// in its store, and serving over HTTP. Its answers to each operation are checked through the
// library in the end-to-end suites.
#include <httplib.h>

#include <string>
#include <utility>
#include <vector>

#include "BackendServer.h"
#include "gtest/gtest.h"
#include "support/TempDir.h"
#include "wirekit/SoapEnvelope.h"

namespace {

using Arguments = std::vector<std::pair<std::string, std::string>>;

constexpr char kSoapOpen[] =
    "<?xml version=\"1.0\" encoding=\"utf-8\"?><soap:Envelope "
    "xmlns:soap=\"http://schemas.xmlsoap.org/soap/envelope/\"><soap:Body>";

std::string Envelope(const std::string& method, const Arguments& arguments,
                     const char* ns = "http://tempuri.org/") {
    WebCall call;
    call.nameSpace = ns;
    call.method = method.c_str();
    for (const auto& [name, value] : arguments)
        call.arguments.emplace_back(name.c_str(), value.c_str());
    return BuildSoapRequest(call);
}

std::string DoWork(const std::string& json) { return Envelope("DoWork", {{"jsonInput", json}}); }

std::string Permission(int functionId, int functionType) {
    return "Permission:{UserID:12,AppID:3,FunctionID:" + std::to_string(functionId) +
           ",FunctionType:" + std::to_string(functionType) + ",IsrtAreaCode:\"370100\"}";
}

class BackendServerTest : public ::testing::Test {
  protected:
    // The result text of a request, or "fault STATUS: faultstring". A result stands in
    // <METHODResponse xmlns=...><METHODResult>.
    std::string Answer(const std::string& body) {
        std::string reply;
        const int status = server_.Handle(body, &reply);
        const size_t end = reply.find("Response xmlns=");
        const size_t start = reply.rfind('<', end) + 1;
        const std::string method = end == std::string::npos ? "" : reply.substr(start, end - start);
        const auto [ok, text] = ReadSoapReply(status, "text/xml", reply, method.c_str());
        return ok ? text.Str() : "fault " + std::to_string(status) + ": " + text.Str();
    }

    BackendServer server_;
};

TEST_F(BackendServerTest, ReplyEnvelopeCarriesTheResultInTheRequestsNamespace) {
    std::string reply;
    ASSERT_EQ(200, server_.Handle(Envelope("CheckXMFZR", {{"EmpId", "1001"}}, "urn:x"), &reply));
    EXPECT_EQ(std::string(kSoapOpen) +
                  "<CheckXMFZRResponse xmlns=\"urn:x\"><CheckXMFZRResult>1,张伟:1:3:1"
                  "</CheckXMFZRResult></CheckXMFZRResponse></soap:Body></soap:Envelope>",
              reply);
    ASSERT_EQ(500, server_.Handle("", &reply));
    EXPECT_EQ(std::string(kSoapOpen) +
                  "<soap:Fault><faultcode>soap:Client</faultcode><faultstring>empty request "
                  "body</faultstring></soap:Fault></soap:Body></soap:Envelope>",
              reply);
}

TEST_F(BackendServerTest, RequestsItCannotServeAreClientFaults) {
    const Arguments list = {{"kind", "0"}, {"userId", "12"}, {"option", "1"}};
    auto sql = [&](const char* statement) {
        Arguments arguments = list;
        arguments.emplace_back("sql", statement);
        return arguments;
    };
    const std::string check = Envelope("CheckXMFZR", {{"EmpId", "1"}});
    const std::pair<std::string, std::string> cases[] = {
        {"<?xml version=\"1.0\"?><a/>", "the root element is not a SOAP 1.1 Envelope"},
        {std::string(kSoapOpen) + "</soap:Body></soap:Envelope>",
         "the SOAP body holds no method element"},
        {"<?xml version=\"1.0\"?><!DOCTYPE x [<!ENTITY e \"boom\">]>" +
             check.substr(check.find("<soap:Envelope")),
         "a document type declaration is not allowed"},
        {Envelope("NoSuchMethod", {}), "unknown method NoSuchMethod"},
        {Envelope("DoWork", {}), "DoWork needs the argument jsonInput"},
        {DoWork("[1,2]"), "jsonInput is not a JSON object"},
        {DoWork("{Values:{a:1}}"), "the request has no Permission object"},
        {DoWork("{Conditions:{Type:12}," + Permission(9000, 0) + "}"), "unknown query Type 12"},
        {DoWork("{Conditions:{Type:8,WhereCode:\"1=1; DROP TABLE projects\"}," +
                Permission(9000, 0) + "}"),
         "unexpected character in the where-code: ;"},
        {Envelope("GetXml", sql("DELETE FROM areas")), "only statements that read are allowed"},
        {Envelope("GetSqlFormated", sql("SELECT 1; DELETE FROM areas")),
         "only one statement is allowed"},
        {Envelope("GetXml", list), "GetXml needs the argument sql"},
    };
    for (const auto& [body, fault] : cases) EXPECT_EQ("fault 500: " + fault, Answer(body)) << body;
    EXPECT_NE(std::string::npos, Answer("<soap:Envelope").find("not well-formed XML"));
    EXPECT_EQ(6, server_.CountRows("projects"));
    EXPECT_EQ(3, server_.CountRows("areas"));
}

TEST_F(BackendServerTest, WriteFailuresAnswerCodeZeroWithAMessageFreeOfSeparators) {
    const std::pair<std::string, std::string> cases[] = {
        {DoWork("{Values:{Title:\"x\"}," + Permission(100, 2) + "}"), "缺少记录编号 ID"},
        {DoWork("{Values:{ID:7,Title:\"x\"}," + Permission(100, 2) + "}"), "记录不存在：7"},
        {DoWork("{Conditions:{}," + Permission(100, 3) + "}"), "删除条件为空"},
        {DoWork("{Values:{}," + Permission(100, 7) + "}"), "未知的操作类型 FunctionType=7"},
        {Envelope("DeleteApprovalForCpp", {{"aopID", "1,2"}}), "记录编号不合法：1，2"},
    };
    for (const auto& [body, message] : cases) {
        EXPECT_EQ("{\"ret\":0,\"msg\":\"" + message + "\",\"data\":\"\"}", Answer(body));
    }
    EXPECT_EQ(0, server_.CountRows("audit_log"));
}

TEST_F(BackendServerTest, AFileStoreKeepsItsRecordsAndIsSeededOnlyOnce) {
    TempDir dir;
    const std::string path = dir.Path() + "/xmk.db";
    {
        BackendServer first(path);
        std::string reply;
        ASSERT_EQ(200, first.Handle(DoWork("{Values:{a:1}," + Permission(100, 1) + "}"), &reply));
    }
    BackendServer second(path);
    EXPECT_EQ(6, second.CountRows("projects"));
    EXPECT_EQ(1, second.CountRows("records"));
    EXPECT_EQ(1, second.CountRows("audit_log"));
}

TEST_F(BackendServerTest, ServesOverHttpOnTheLoopbackAndStopsCleanly) {
    ASSERT_TRUE(server_.Start(0));
    ASSERT_NE(0, server_.Port());
    httplib::Client client("127.0.0.1", server_.Port());
    const std::string request = Envelope("CheckXMFZR", {{"EmpId", "1003"}});
    auto ok = client.Post("/UniteInterface", request, "text/xml; charset=utf-8");
    ASSERT_TRUE(ok);
    EXPECT_EQ(200, ok->status);
    EXPECT_EQ(
        (std::pair<bool, CString>(true, "1,王强:2:3:1")),
        ReadSoapReply(ok->status, ok->get_header_value("Content-Type"), ok->body, "CheckXMFZR"));
    auto bad = client.Post("/UniteInterface", "not xml", "text/xml");
    ASSERT_TRUE(bad);
    EXPECT_EQ(500, bad->status);
    EXPECT_NE(std::string::npos, bad->body.find("<faultcode>soap:Client</faultcode>"));
    server_.Stop();
    EXPECT_FALSE(server_.IsRunning());
    EXPECT_FALSE(client.Post("/UniteInterface", request, "text/xml"));
}

}  // namespace
