// The quick reading takes everyday replies (`quick`) exactly as libxml2 reads them, and no other.
#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "wirekit/detail/FastReplyScanner.h"
#include "wirekit/detail/SoapReplyReader.h"

namespace {

using namespace wire_detail;

constexpr char kUtf8[] = "<?xml version=\"1.0\" encoding=\"utf-8\"?>";

std::string Envelope(const std::string& inner, const std::string& declaration = kUtf8) {
    return declaration +
           "<soap:Envelope xmlns:soap=\"http://schemas.xmlsoap.org/soap/envelope/\">" +
           "<soap:Body>" + inner + "</soap:Body></soap:Envelope>";
}

std::string Result(const std::string& text, const std::string& declaration = kUtf8) {
    return Envelope("<DoWorkResult>" + text + "</DoWorkResult>", declaration);
}

std::string Nested(int depth) {  // what the Body holds for a result `depth` deep, the root being 1
    return depth == 3 ? "<DoWorkResult>x</DoWorkResult>" : "<a>" + Nested(depth - 1) + "</a>";
}

TEST(FastReplyScannerTest, ReadsWhatItCanExactlyAsLibxml2AndDeclinesTheRest) {
    const std::string utf8 = "text/xml; charset=\"UTF-8\"", gbk = "text/xml; charset=gbk";
    const std::string bare = "<?xml version='1.0' standalone=\"yes\" ?>";
    std::vector<std::tuple<bool, std::string, std::string>> cases = {
        {true, gbk, Result("&lt;&gt;&amp;&apos;&quot;&#65;&#x4e2D;&#x9;&#xA;&#xD;&#x20;中😀")},
        {true, gbk, Result("&#xD7FF;&#xE000;&#xFFFD;&#x10000;&#x10FFFF;&#0000065;\r\n\r]]")},
        {true, gbk, Result("<![CDATA[<a>&amp;\r\n]]]>b<!-- c - d -->e<x a='\"/>' b=\">\"/>f")},
        {true, "", Envelope("<Fault><faultcode>c</faultcode><faultstring>s</faultstring></Fault>")},
        {true, utf8, Envelope("<x xmlns:m='u'><m:DoWorkResult>1</m:DoWorkResult></x>", bare)},
        {true, "", Envelope("<x xmlns:m='u'/><m:DoWorkResult>1</m:DoWorkResult>", "")},
        {true, utf8, Envelope("<x xmlns:m='u'></x ><m:DoWorkResult>1</m:DoWorkResult>", bare)},
        {true, utf8, Envelope(Nested(100)) + "\n<!---->\n"},
        {false, utf8, Envelope(Nested(101))},
        {false, gbk, Result("x", bare)},
        {false, utf8, Result("x", "<?xml version=\"1.0\" encoding=\"gb2312\"?>")},
        {false, utf8, Result("x", "<?xml version=\"1.1\"?>")},
        {false, utf8, "\xEF\xBB\xBF" + Result("x")},
        {false, utf8, Result("x").substr(0, 120)},
        {false, utf8, Result("x") + "y"},
        {false, utf8, "<!DOCTYPE soap:Envelope>" + Result("x", "")},
        {false, utf8, "<soap:Envelope><soap:Body/></soap:Envelope>"},
    };
    for (const char* text : {"&nbsp;", "&#8;", "&#xD800;", "&#xFFFE;", "&#x110000;", "]]>",
                             "\xED\xA0\x80", "\xF4\x90\x80\x80", "\xC0\xAF", "\x01",
                             "<x a='1' a='2'/>", "<x xmlns:m=''/>", "<x></y>", "<!-- a -- b -->"}) {
        cases.emplace_back(false, utf8, Result(text));
    }
    auto all = [](const SoapReplyParts& p) {
        return std::tie(p.error, p.fault, p.faultString, p.faultCode, p.result);
    };
    for (const auto& [quick, type, body] : cases) {
        SCOPED_TRACE(body);
        SoapReplyParts fast;
        ASSERT_EQ(quick, ReadSoapReplyQuickly(type, body, "DoWorkResult", &fast));
        if (!quick) continue;
        EXPECT_EQ(all(ReadSoapReplyParts(type, body, "DoWorkResult")), all(fast));
    }
}

}  // namespace
