// Reading SOAP replies and writing requests, without a server.
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>
#include <tuple>

#include "support/CStringPrinter.h"
#include "wirekit/SoapEnvelope.h"

namespace {

using Reply = std::pair<bool, CString>;

constexpr char kXml[] = "text/xml; charset=utf-8";
constexpr char kUtf8[] = "<?xml version=\"1.0\" encoding=\"utf-8\"?>";
constexpr char kGb2312[] = "<?xml version=\"1.0\" encoding=\"gb2312\"?>";
constexpr char kBadReply[] = "服务器应答无法识别：";

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

std::string Many(const std::string& head, const std::string& tail, int count) {  // numbered
    std::string out;
    for (int i = 0; i < count; ++i) out += head + std::to_string(i) + tail;
    return out;
}

std::string Nested(int depth) {  // the result element `depth` deep, the root being 1
    std::string open, close;
    for (int i = 3; i < depth; ++i) open += "<a>", close += "</a>";
    return Envelope(open + "<DoWorkResult>x</DoWorkResult>" + close);
}

TEST(SoapReplyTest, EachReplyGivesItsResultFaultOrFailure) {
    using K = FailureKind;
    const std::string http = "服务器返回错误：HTTP ";
    const std::string notEnvelope = "the root element is not a SOAP Envelope";
    const std::string names = "too many distinct names",
                      namespaces = "too many namespaces in scope";
    const std::string attributes = "too many attributes on one element";
    const std::tuple<long, FailureKind, std::string, std::string> cases[] = {
        {200, K::none, "42", Envelope("<m:DoWorkResult xmlns:m=\"urn:other\">42</m:DoWorkResult>")},
        {200, K::none, "<a>&\"b\" 中", Result("<![CDATA[<a>]]>&amp;&quot;b&quot; &#x4E2D;")},
        {200, K::none, "abcde",
         Envelope("<x><DoWorkResult>a<b>b</b>c<DoWorkResult>d</DoWorkResult>e"
                  "</DoWorkResult></x><DoWorkResult>f</DoWorkResult>")},
        {200, K::none, "x", Nested(257)},
        {200, K::none, "",
         Envelope("<DoWorkResponse><OtherResult>x</OtherResult><DoWorkResult /></DoWorkResponse>")},
        {200, K::none, "",
         Envelope("<x><soap:Fault/></x></soap:Body><x><DoWorkResult>h</DoWorkResult></x>"
                  "<soap:Body><soap:Fault/><DoWorkResult>2</DoWorkResult>")},
        {500, K::soap_fault, "参数错误",
         Envelope(
             "<soap:Fault><faultcode>soap:Client</faultcode><faultstring>参数错误</faultstring>"
             "</soap:Fault>")},
        {200, K::soap_fault, "ab",
         Envelope("<DoWorkResult>r</DoWorkResult><soap:Fault><faultstring>a<b>b</b></faultstring>"
                  "<faultstring>c</faultstring></soap:Fault>")},
        {500, K::soap_fault, "服务器返回错误：SOAP fault soap:Server",
         Envelope("<soap:Fault><x><faultstring>deep</faultstring></x><faultcode>soap:Server"
                  "</faultcode></soap:Fault><x><faultstring>late</faultstring></x>")},
        {202, K::http_status, http + "202", Result("x")},
        {500, K::http_status, http + "500", Result("x")},
        {404, K::http_status, http + "404", Envelope("<soap:Fault/>")},
        {501, K::http_status, http + "501", Envelope("<soap:Fault/>")},
        {500, K::http_status, http + "500", ""},
        {200, K::bad_reply, "empty reply", ""},
        {200, K::bad_reply, "Comment not terminated \n<!--中 (line 1)", "<Envelope/><!--中"},
        {200, K::bad_reply, notEnvelope, "<html><body>x</body></html>"},
        {200, K::bad_reply, notEnvelope, "<soap:Envelope><soap:Body/></soap:Envelope>"},
        {200, K::bad_reply, "the SOAP Envelope has no Body", "<Envelope><x><Body/></x></Envelope>"},
        {200, K::bad_reply, "a reply must not carry a DTD",
         "<?xml version=\"1.0\"?><!DOCTYPE soap:Envelope [<!ENTITY a \"x\">]>" + Result("&a;", "")},
        // 1000 names with the envelope's six (soap and its URI among them), then one more.
        {200, K::none, "", Result(Many("<n", "/>", 994))},
        {200, K::bad_reply, names, Result("<q:x r:y='' xmlns:z='u'/>" + Many("<n", "/>", 989))},
        {200, K::bad_reply, names, Result("<?x?>" + Many("<n", "/>", 994))},
        {200, K::none, "", Result("<a" + Many(" a", "=''", 64) + "/>")},
        {200, K::bad_reply, attributes, Result("<a" + Many(" a", "=''", 65) + "/>")},
        {200, K::none, "", Result("<a" + Many(" xmlns:p", "='u'", 63) + "/>")},  // 64 with soap
        {200, K::bad_reply, namespaces, Result("<a" + Many(" xmlns:p", "='u'", 64) + "/>")},
        {200, K::bad_reply, names, Result("</x>" + Many("<n", "/>", 200000))},  // after an error
        {200, K::bad_reply, attributes, Result("</x><a" + Many(" a", "=''", 200000) + "/>")},
    };
    for (const auto& [status, kind, text, body] : cases) {
        SCOPED_TRACE(body.substr(0, 400));
        FailureKind read = K::cancelled;
        EXPECT_EQ(Reply(kind == K::none, (kind == K::bad_reply ? kBadReply : "") + text),
                  ReadSoapReply(status, kXml, body, "DoWork", &read));
        EXPECT_EQ(kind, read);
    }
}

TEST(SoapReplyTest, EncodingIsTakenFromMarkThenDeclarationThenHeader) {
    const std::string gbk = "\xD6\xD0\xCE\xC4";
    EXPECT_EQ(Reply(true, "中文"), Read(Result(gbk, ""), 200, "text/xml; charset=\"GBK\""));
    EXPECT_EQ(Reply(true, "中文"), Read(Result(gbk, kGb2312)));
    EXPECT_EQ(Reply(true, "中文"),
              Read("\xEF\xBB\xBF" + Result("中文", ""), 200, "text/xml; charset=gbk"));
}

// Broken bodies, undecodable bytes and entity bombs are refused quietly.
TEST(SoapReplyTest, BrokenBodiesAreUnrecognisedQuietly) {
    std::string bomb = "<?xml version=\"1.0\"?><!DOCTYPE soap:Envelope [<!ENTITY a \"aaaaaaaaaa\">";
    for (char name = 'b'; name <= 'k'; ++name) {
        std::string value;
        for (int i = 0; i < 10; ++i) value += "&" + std::string(1, char(name - 1)) + ";";
        bomb += "<!ENTITY " + std::string(1, name) + " \"" + value + "\">";
    }
    bomb += "]>" + Result("&k;", "");
    for (const std::string& body :
         {std::string("{\"Code\":1}"), Envelope("<DoWorkResult>x</DoWorkResul>"),
          Envelope("").substr(0, 80), Result("x") + "<late/>", Nested(258),
          std::string("\xFF\xFE\x00", 3), Result("\xA3\x73\x80\xFF", kGb2312), bomb}) {
        SCOPED_TRACE(body.substr(0, 60));
        ::testing::internal::CaptureStderr();
        Reply reply = Read(body);
        EXPECT_EQ("", ::testing::internal::GetCapturedStderr());
        EXPECT_FALSE(reply.first);
        EXPECT_THAT(reply.second.Str(), ::testing::StartsWith(kBadReply));
    }
}

// 60 MiB of tiny elements are read without a tree: a child holding and reading the reply peaks
// under 300 MB (not checked under AddressSanitizer, whose own memory swamps the figure).
TEST(SoapReplyTest, ReplyOfTinyElementsIsReadInBoundedMemory) {
    pid_t child = fork();
    if (child == 0) {
        std::string body = Result("end");
        const size_t at = body.find("end");
        body.insert(at, 60 << 20, ' ');
        for (size_t i = at; i < at + (60 << 20); i += 4) body.replace(i, 4, "<a/>");
        const bool read = Read(body) == Reply(true, "end");
        rusage usage{};
        getrusage(RUSAGE_SELF, &usage);
#ifdef __SANITIZE_ADDRESS__
        usage.ru_maxrss = 0;
#endif
        _exit(!read ? 1 : usage.ru_maxrss >= 300 * 1024 ? 2 : 0);
    }
    int status = -1;
    ASSERT_EQ(child, waitpid(child, &status, 0));
    EXPECT_EQ(0, status) << "256: not read, 512: peak resident memory of 300 MB or more";
}

TEST(SoapRequestTest, SoapActionJoinsNamespaceAndMethodAsTheyStand) {
    WebCall call;
    call.nameSpace = "urn:objects";
    call.method = "GetXml";
    EXPECT_EQ("\"urn:objectsGetXml\"", SoapActionOf(call));
}

}  // namespace
