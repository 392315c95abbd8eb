// The quick reading of replies: it reads the everyday shapes itself, declines the rest, and
// whatever it reads comes out exactly as libxml2 reads it.
#include <gtest/gtest.h>

#include <string>
#include <tuple>

#include "wirekit/detail/FastReplyScanner.h"
#include "wirekit/detail/SoapReplyReader.h"

namespace {

constexpr char kUtf8[] = "<?xml version=\"1.0\" encoding=\"utf-8\"?>";
constexpr char kSoap[] = " xmlns:soap=\"http://schemas.xmlsoap.org/soap/envelope/\"";

std::string Envelope(const std::string& inner, const std::string& declaration = kUtf8) {
    return declaration + "<soap:Envelope" + kSoap + "><soap:Body>" + inner +
           "</soap:Body></soap:Envelope>";
}

std::string Result(const std::string& text, const std::string& declaration = kUtf8) {
    return Envelope("<DoWorkResponse><DoWorkResult>" + text + "</DoWorkResult></DoWorkResponse>",
                    declaration);
}

std::string Nested(int depth) {  // the result element `depth` deep, the root being 1
    std::string open, close;
    for (int i = 3; i < depth; ++i) open += "<a>", close += "</a>";
    return Envelope(open + "<DoWorkResult>x</DoWorkResult>" + close);
}

TEST(FastReplyScannerTest, ReadsWhatItCanExactlyAsLibxml2AndDeclinesTheRest) {
    const std::string utf8 = "text/xml; charset=\"UTF-8\"", gbk = "text/xml; charset=gbk";
    const std::string bare = "<?xml version='1.0' standalone=\"yes\" ?>";
    const std::tuple<bool, std::string, std::string> cases[] = {
        {true, gbk, Result("&lt;&gt;&amp;&apos;&quot;&#65;&#x4e2D;&#x9;&#xA;&#xD;&#x20;中")},
        {true, gbk, Result("&#xD7FF;&#xE000;&#xFFFD;&#x10000;&#x10FFFF;&#0000065;\r\n\r]]")},
        {true, gbk, Result("<![CDATA[<a>&amp;\r\n]]]>b<!-- c - d -->e<x a='\"/>' b=\">\"/>f")},
        {true, gbk,
         Envelope("<soap:Fault><faultcode>c</faultcode><faultstring>s</faultstring>"
                  "</soap:Fault>") +
             "<!---->\n"},
        {true, utf8, Envelope("<x xmlns:m='u'><m:DoWorkResult>1</m:DoWorkResult></x>", bare)},
        {true, "", Envelope("<x xmlns:m='u'/><m:DoWorkResult>1</m:DoWorkResult>", "")},
        {true, utf8, Envelope("<x xmlns:m='u'></x ><m:DoWorkResult>1</m:DoWorkResult>", bare)},
        {true, utf8, Nested(100)},
        {false, utf8, Nested(101)},
        {false, utf8, Nested(258)},
        {false, gbk, Result("x", bare)},
        {false, utf8, Result("x", "<?xml version=\"1.0\" encoding=\"gb2312\"?>")},
        {false, utf8, Result("x", "<?xml version=\"1.1\"?>")},
        {false, utf8, "\xEF\xBB\xBF" + Result("x")},
        {false, utf8, Result("&nbsp;")},
        {false, utf8, Result("&#0;")},
        {false, utf8, Result("&#xD800;")},
        {false, utf8, Result("&#xFFFE;")},
        {false, utf8, Result("&#x110000;")},
        {false, utf8, Result("&#X41;")},
        {false, utf8, Result("]]>")},
        {false, utf8, Result("\xED\xA0\x80")},
        {false, utf8, Result("\x01")},
        {false, utf8, Result("<?pi x?>")},
        {false, utf8, Result("<x a='1' a='2'/>")},
        {false, utf8, Result("<x xmlns:m=''/>")},
        {false, utf8, Result("<x></y>")},
        {false, utf8, Result("<!-- a -- b -->")},
        {false, utf8, Result("x").substr(0, 120)},
        {false, utf8, Result("x") + "y"},
        {false, utf8, "<!DOCTYPE soap:Envelope>" + Result("x", "")},
        {false, utf8, "<soap:Envelope><soap:Body/></soap:Envelope>"},
    };
    for (const auto& [quick, type, body] : cases) {
        SCOPED_TRACE(body);
        wire_detail::SoapReplyParts fast;
        const wire_detail::SoapReplyParts full =
            wire_detail::ReadSoapReplyParts(type, body, "DoWorkResult");
        ASSERT_EQ(quick, wire_detail::ReadSoapReplyQuickly(type, body, "DoWorkResult", &fast));
        if (quick) {
            EXPECT_EQ(
                std::tie(full.error, full.fault, full.faultString, full.faultCode, full.result),
                std::tie(fast.error, fast.fault, fast.faultString, fast.faultCode, fast.result));
        }
    }
}

}  // namespace
