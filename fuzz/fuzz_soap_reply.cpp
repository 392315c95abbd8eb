// Feeds arbitrary bytes to the streaming reader of SOAP replies, as the transport would hand
// them over after an exchange. The first byte picks the HTTP status and the method; the text up to
// the first line end is the Content-Type header, the rest the body.
#include <cstddef>
#include <cstdint>
#include <string>

#include "wirekit/SoapEnvelope.h"

namespace {

constexpr long kStatuses[] = {200, 500, 200, 500, 404, 0, -1, 302};
constexpr const char* kMethods[] = {"DoWork", "GetProjectCount", "", "Envelope"};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    const uint8_t selector = data[0];
    const std::string rest(reinterpret_cast<const char*>(data + 1), size - 1);
    const size_t lineEnd = rest.find('\n');
    const std::string contentType =
        lineEnd == std::string::npos ? std::string() : rest.substr(0, lineEnd);
    const std::string body = lineEnd == std::string::npos ? rest : rest.substr(lineEnd + 1);

    const long status = kStatuses[selector % 8];
    const CString method(kMethods[(selector / 8) % 4]);
    FailureKind kind = FailureKind::cancelled;
    std::pair<bool, CString> reply = ReadSoapReply(status, contentType, body, method, &kind);
    // A success always comes from a readable 200 reply, and the kind tells the outcome.
    if (reply.first && status != 200) __builtin_trap();
    if (reply.first != (kind == FailureKind::none)) __builtin_trap();
    if (kind == FailureKind::soap_fault && status != 200 && status != 500) __builtin_trap();
    if (kind == FailureKind::bad_reply &&
        (status != 200 || reply.second.Str().rfind("服务器应答无法识别：", 0) != 0)) {
        __builtin_trap();
    }
    if (kind == FailureKind::http_status &&
        reply.second.Str() != "服务器返回错误：HTTP " + std::to_string(status)) {
        __builtin_trap();
    }
    return 0;
}
