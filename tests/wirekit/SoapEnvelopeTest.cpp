// Reading SOAP replies and writing requests, without a server.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <chrono>
#include <string>

#include "support/CStringPrinter.h"
#include "wirekit/SoapEnvelope.h"

namespace {

using Reply = std::pair<bool, CString>;

constexpr char kXml[] = "text/xml; charset=utf-8";
constexpr char kUtf8[] = "<?xml version=\"1.0\" encoding=\"utf-8\"?>";
constexpr char kGb2312[] = "<?xml version=\"1.0\" encoding=\"gb2312\"?>";

std::string Envelope(const std::string& inner, const std::string& declaration = kUtf8) {
    return declaration +
           "<soap:Envelope xmlns:soap=\"http://schemas.xmlsoap.org/soap/envelope/\"><soap:Body>" +
           inner + "</soap:Body></soap:Envelope>";
}

// An envelope whose DoWorkResult holds `result` as written.
std::string Result(const std::string& result, const std::string& declaration = kUtf8) {
    return Envelope("<DoWorkResponse><DoWorkResult>" + result + "</DoWorkResult></DoWorkResponse>",
                    declaration);
}

Reply Read(const std::string& body, long status = 200, const std::string& type = kXml) {
    return ReadSoapReply(status, type, body, "DoWork");
}

TEST(SoapReplyTest, ResultIsTheTextOfTheMethodResultElementOrEmpty) {
    EXPECT_EQ(Reply(true, "42"), Read(Envelope("<m:DoWorkResponse xmlns:m=\"urn:other\">"
                                               "<m:DoWorkResult>42</m:DoWorkResult>"
                                               "</m:DoWorkResponse>")));
    EXPECT_EQ(Reply(true, "<a>&\"b\" 中"),
              Read(Result("<![CDATA[<a>]]>&amp;&quot;b&quot; &#x4E2D;")));
    for (const char* inner : {"<DoWorkResponse xmlns=\"http://tempuri.org/\" />",
                              "<DoWorkResponse><DoWorkResult /></DoWorkResponse>", "",
                              "<DoWorkResponse><OtherResult>x</OtherResult></DoWorkResponse>"}) {
        EXPECT_EQ(Reply(true, ""), Read(Envelope(inner))) << inner;
    }
}

TEST(SoapReplyTest, EncodingIsTakenFromMarkThenDeclarationThenHeader) {
    const std::string gbk = "\xD6\xD0\xCE\xC4";
    EXPECT_EQ(Reply(true, "中文"), Read(Result(gbk, ""), 200, "text/xml; charset=\"GBK\""));
    EXPECT_EQ(Reply(true, "中文"), Read(Result(gbk, kGb2312)));
    EXPECT_EQ(Reply(true, "中文"),
              Read("\xEF\xBB\xBF" + Result("中文", ""), 200, "text/xml; charset=gbk"));
}

TEST(SoapReplyTest, FaultsAndOtherStatusesAreErrors) {
    const std::string fault = Envelope(
        "<soap:Fault><faultcode>soap:Client</faultcode><faultstring>参数错误</faultstring>"
        "</soap:Fault>");
    EXPECT_EQ(Reply(false, "参数错误"), Read(fault, 500));
    EXPECT_EQ(Reply(false, "参数错误"), Read(fault, 200));
    EXPECT_EQ(Reply(false, "服务器返回错误：SOAP fault soap:Server"),
              Read(Envelope("<soap:Fault><faultcode>soap:Server</faultcode></soap:Fault>"), 500));
    EXPECT_EQ(Reply(false, "服务器返回错误：HTTP 202"), Read(Result("x"), 202));
    EXPECT_EQ(Reply(false, "服务器返回错误：HTTP 500"), Read(Result("x"), 500));
    EXPECT_EQ(Reply(false, "服务器返回错误：HTTP 500"), Read("", 500, "text/html"));
}

TEST(SoapReplyTest, BodiesThatAreNotEnvelopesAreUnrecognised) {
    EXPECT_EQ(Reply(false, "服务器应答无法识别：empty reply"), Read(""));
    EXPECT_EQ(Reply(false, "服务器应答无法识别：the root element is not a SOAP Envelope"),
              Read("<html><body>login</body></html>", 200, "text/html"));
    EXPECT_EQ(Reply(false, "服务器应答无法识别：the SOAP Envelope has no Body"),
              Read("<soap:Envelope xmlns:soap=\"http://schemas.xmlsoap.org/soap/envelope/\">"
                   "<soap:Header/></soap:Envelope>"));
    EXPECT_EQ(Reply(false, "服务器应答无法识别：a reply must not carry a DTD"),
              Read("<?xml version=\"1.0\"?><!DOCTYPE soap:Envelope [<!ENTITY a \"x\">]>" +
                   Result("&a;", "")));
}

// Broken bodies, undecodable bytes and entity bombs are refused quickly and quietly.
TEST(SoapReplyTest, BrokenBodiesAreUnrecognisedQuicklyAndQuietly) {
    std::string bomb = "<?xml version=\"1.0\"?><!DOCTYPE soap:Envelope [<!ENTITY a \"aaaaaaaaaa\">";
    for (char name = 'b'; name <= 'k'; ++name) {
        std::string value;
        for (int i = 0; i < 10; ++i) value += "&" + std::string(1, char(name - 1)) + ";";
        bomb += "<!ENTITY " + std::string(1, name) + " \"" + value + "\">";
    }
    bomb += "]>" + Result("&k;", "");
    for (const std::string& body :
         {std::string("{\"Code\":1}"), Envelope("<DoWorkResult>x</DoWorkResul>"),
          Envelope("").substr(0, 80), std::string("\xFF\xFE\x00", 3),
          Result("\xA3\x73\x80\xFF", kGb2312), bomb}) {
        SCOPED_TRACE(body.substr(0, 60));
        ::testing::internal::CaptureStderr();
        const auto start = std::chrono::steady_clock::now();
        Reply reply = Read(body);
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));
        EXPECT_EQ("", ::testing::internal::GetCapturedStderr());
        EXPECT_FALSE(reply.first);
        EXPECT_THAT(reply.second.Str(), ::testing::StartsWith("服务器应答无法识别："));
    }
}

TEST(SoapRequestTest, SoapActionJoinsNamespaceAndMethodAsTheyStand) {
    WebCall call;
    call.nameSpace = "urn:objects";
    call.method = "GetXml";
    EXPECT_EQ("\"urn:objectsGetXml\"", SoapActionOf(call));
}

}  // namespace
