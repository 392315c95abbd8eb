// Reads each input both ways a SOAP reply can be read, quickly and through libxml2, and traps
// when the quick reading accepts a body and differs from libxml2 in any part. The first byte
// picks the result's name and whether the body is wrapped in an envelope as the result's
// content, where most of the quick reading's work lies; the text up to the first line end is
// the Content-Type header, the rest the body.
#include <cstddef>
#include <cstdint>
#include <string>

#include "wirekit/detail/FastReplyScanner.h"
#include "wirekit/detail/SoapReplyReader.h"

namespace {

constexpr const char* kResultNames[] = {"DoWorkResult", "GetProjectCountResult", "Result",
                                        "p:DoWorkResult"};
constexpr char kOpen[] =
    "<?xml version=\"1.0\" encoding=\"utf-8\"?><soap:Envelope "
    "xmlns:soap=\"http://schemas.xmlsoap.org/soap/envelope/\"><soap:Body><DoWorkResponse>"
    "<DoWorkResult>";
constexpr char kClose[] = "</DoWorkResult></DoWorkResponse></soap:Body></soap:Envelope>";

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    const std::string resultName = kResultNames[data[0] % 4];
    const std::string rest(reinterpret_cast<const char*>(data + 1), size - 1);
    const size_t lineEnd = rest.find('\n');
    const std::string contentType =
        lineEnd == std::string::npos ? std::string() : rest.substr(0, lineEnd);
    std::string body = lineEnd == std::string::npos ? rest : rest.substr(lineEnd + 1);
    if (data[0] & 4) body = kOpen + body + kClose;

    wire_detail::SoapReplyParts quick;
    if (!wire_detail::ReadSoapReplyQuickly(contentType, body, resultName, &quick)) return 0;
    const wire_detail::SoapReplyParts full =
        wire_detail::ReadSoapReplyParts(contentType, body, resultName);
    if (quick.error != full.error || quick.fault != full.fault ||
        quick.faultString != full.faultString || quick.faultCode != full.faultCode ||
        quick.result != full.result) {
        __builtin_trap();
    }
    return 0;
}
