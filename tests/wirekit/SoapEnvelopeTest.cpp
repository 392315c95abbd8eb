// Reading SOAP replies and writing requests, without a server.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <chrono>
#include <string>

#include "support/CStringPrinter.h"
#include "wirekit/SoapEnvelope.h"

namespace {

using Reply = std::pair<bool, CString>;

constexpr char kXmlType[] = "text/xml; charset=utf-8";

std::string Envelope(const std::string& inner, const std::string& declaration =
                                                   "<?xml version=\"1.0\" encoding=\"utf-8\"?>") {
    return declaration +
           "<soap:Envelope xmlns:soap=\"http://schemas.xmlsoap.org/soap/envelope/\"><soap:Body>" +
           inner + "</soap:Body></soap:Envelope>";
}

TEST(SoapReplyTest, ResultIsFoundByLocalNameWhateverItsPrefix) {
    EXPECT_EQ(Reply(true, "42"),
              ReadSoapReply(200, kXmlType,
                            Envelope("<m:GetProjectCountResponse xmlns:m=\"urn:other\">"
                                     "<m:GetProjectCountResult>42</m:GetProjectCountResult>"
                                     "</m:GetProjectCountResponse>"),
                            "GetProjectCount"));
}

TEST(SoapReplyTest, MissingOrEmptyResultGivesEmptyText) {
    const std::string bodies[] = {
        Envelope("<DoWorkResponse xmlns=\"http://tempuri.org/\" />"),
        Envelope("<DoWorkResponse><DoWorkResult /></DoWorkResponse>"),
        Envelope(""),
        Envelope("<DoWorkResponse><OtherResult>x</OtherResult></DoWorkResponse>"),
    };
    for (const std::string& body : bodies) {
        EXPECT_EQ(Reply(true, ""), ReadSoapReply(200, kXmlType, body, "DoWork")) << body;
    }
}

TEST(SoapReplyTest, ResultTextKeepsCdataAndResolvedReferences) {
    EXPECT_EQ(
        Reply(true, "<a>&\"b\" 中"),
        ReadSoapReply(200, kXmlType,
                      Envelope("<DoWorkResponse><DoWorkResult><![CDATA[<a>]]>&amp;&quot;b&quot;"
                               " &#x4E2D;</DoWorkResult></DoWorkResponse>"),
                      "DoWork"));
}

TEST(SoapReplyTest, CharsetOfTheHeaderAppliesWhenTheBodyDeclaresNone) {
    std::string gbk = Envelope(
        "<DoWorkResponse><DoWorkResult>\xD6\xD0\xCE\xC4</DoWorkResult>"
        "</DoWorkResponse>",
        "");
    EXPECT_EQ(Reply(true, "中文"), ReadSoapReply(200, "text/xml; charset=\"GBK\"", gbk, "DoWork"));
}

TEST(SoapReplyTest, DeclaredEncodingWinsOverTheHeader) {
    std::string gbk = Envelope(
        "<DoWorkResponse><DoWorkResult>\xD6\xD0\xCE\xC4</DoWorkResult>"
        "</DoWorkResponse>",
        "<?xml version=\"1.0\" encoding=\"gb2312\"?>");
    EXPECT_EQ(Reply(true, "中文"), ReadSoapReply(200, kXmlType, gbk, "DoWork"));
}

TEST(SoapReplyTest, ByteOrderMarkWinsOverTheHeader) {
    std::string utf8 =
        "\xEF\xBB\xBF" +
        Envelope("<DoWorkResponse><DoWorkResult>中文</DoWorkResult></DoWorkResponse>", "");
    EXPECT_EQ(Reply(true, "中文"), ReadSoapReply(200, "text/xml; charset=gbk", utf8, "DoWork"));
}

TEST(SoapReplyTest, FaultGivesItsFaultStringWhateverTheStatus) {
    std::string fault = Envelope(
        "<soap:Fault><faultcode>soap:Client</faultcode><faultstring>参数错误</faultstring>"
        "</soap:Fault>");
    EXPECT_EQ(Reply(false, "参数错误"), ReadSoapReply(500, kXmlType, fault, "DoWork"));
    EXPECT_EQ(Reply(false, "参数错误"), ReadSoapReply(200, kXmlType, fault, "DoWork"));
    EXPECT_EQ(Reply(false, "服务器返回错误：SOAP fault soap:Server"),
              ReadSoapReply(500, kXmlType,
                            Envelope("<soap:Fault><faultcode>soap:Server</faultcode></soap:Fault>"),
                            "DoWork"));
}

TEST(SoapReplyTest, StatusesOtherThanOkAndServerErrorAreNotRead) {
    std::string ok = Envelope("<DoWorkResponse><DoWorkResult>x</DoWorkResult></DoWorkResponse>");
    EXPECT_EQ(Reply(false, "服务器返回错误：HTTP 202"), ReadSoapReply(202, kXmlType, ok, "DoWork"));
    EXPECT_EQ(Reply(false, "服务器返回错误：HTTP 500"), ReadSoapReply(500, kXmlType, ok, "DoWork"));
    EXPECT_EQ(Reply(false, "服务器返回错误：HTTP 500"),
              ReadSoapReply(500, "text/html", "", "DoWork"));
}

TEST(SoapReplyTest, BodiesThatAreNotEnvelopesAreUnrecognised) {
    EXPECT_EQ(Reply(false, "服务器应答无法识别：empty reply"),
              ReadSoapReply(200, kXmlType, "", "DoWork"));
    EXPECT_EQ(Reply(false, "服务器应答无法识别：the root element is not a SOAP Envelope"),
              ReadSoapReply(200, "text/html", "<html><body>login</body></html>", "DoWork"));
    EXPECT_EQ(Reply(false, "服务器应答无法识别：the SOAP Envelope has no Body"),
              ReadSoapReply(200, kXmlType,
                            "<soap:Envelope xmlns:soap=\"http://schemas.xmlsoap.org/soap/"
                            "envelope/\"><soap:Header/></soap:Envelope>",
                            "DoWork"));
    const std::string broken[] = {"{\"Code\":1}", Envelope("<DoWorkResult>x</DoWorkResul>"),
                                  Envelope("").substr(0, 80), "\xFF\xFE\x00"};
    for (const std::string& body : broken) {
        Reply reply = ReadSoapReply(200, kXmlType, body, "DoWork");
        EXPECT_FALSE(reply.first) << body;
        EXPECT_THAT(reply.second.Str(), ::testing::StartsWith("服务器应答无法识别：")) << body;
    }
}

TEST(SoapReplyTest, UndecodableBytesAreRefusedWithoutWritingToStderr) {
    const std::string body =
        Envelope("<DoWorkResponse><DoWorkResult>\xA3\x73\x80\xFF</DoWorkResult></DoWorkResponse>",
                 "<?xml version=\"1.0\" encoding=\"gb2312\"?>");
    ::testing::internal::CaptureStderr();
    Reply reply = ReadSoapReply(200, kXmlType, body, "DoWork");
    EXPECT_EQ("", ::testing::internal::GetCapturedStderr());
    EXPECT_FALSE(reply.first);
    EXPECT_THAT(reply.second.Str(), ::testing::StartsWith("服务器应答无法识别："));
}

TEST(SoapReplyTest, EntityExpansionBombIsRefusedQuickly) {
    std::string bomb = "<?xml version=\"1.0\"?><!DOCTYPE soap:Envelope [<!ENTITY a \"aaaaaaaaaa\">";
    for (char name = 'b'; name <= 'k'; ++name) {
        std::string previous = "&" + std::string(1, static_cast<char>(name - 1)) + ";";
        std::string value;
        for (int i = 0; i < 10; ++i) value += previous;
        bomb += "<!ENTITY " + std::string(1, name) + " \"" + value + "\">";
    }
    bomb +=
        "]>" + Envelope("<DoWorkResponse><DoWorkResult>&k;</DoWorkResult></DoWorkResponse>", "");
    auto start = std::chrono::steady_clock::now();
    Reply reply = ReadSoapReply(200, kXmlType, bomb, "DoWork");
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));
    EXPECT_FALSE(reply.first);
    EXPECT_THAT(reply.second.Str(), ::testing::StartsWith("服务器应答无法识别："));
}

TEST(SoapReplyTest, ReplyWithADoctypeIsRefused) {
    std::string body =
        "<?xml version=\"1.0\"?><!DOCTYPE soap:Envelope [<!ENTITY a \"x\">]>" +
        Envelope("<DoWorkResponse><DoWorkResult>&a;</DoWorkResult></DoWorkResponse>", "");
    EXPECT_EQ(Reply(false, "服务器应答无法识别：a reply must not carry a DTD"),
              ReadSoapReply(200, kXmlType, body, "DoWork"));
}

TEST(SoapRequestTest, SoapActionJoinsNamespaceAndMethodAsTheyStand) {
    WebCall call;
    call.nameSpace = "urn:objects";
    call.method = "GetXml";
    EXPECT_EQ("\"urn:objectsGetXml\"", SoapActionOf(call));
}

}  // namespace
