#include "wirekit/SoapEnvelope.h"

#include <array>
#include <cstring>
#include <string_view>

#include "wirekit/detail/FastReplyScanner.h"
#include "wirekit/detail/SoapReplyReader.h"

namespace {

constexpr char kServerError[] = "服务器返回错误：";
constexpr char kUnrecognisedReply[] = "服务器应答无法识别：";

// What each byte is written as, padded so that any of them is copied in one 8-byte move.
struct Escape {
    char text[8];
    size_t length;
};

// Element content and attribute values alike; CR is kept as a reference because parsers
// turn a raw CR LF into LF.
constexpr std::array<Escape, 256> kEscapes = [] {
    std::array<Escape, 256> escapes{};
    for (size_t ch = 0; ch < escapes.size(); ++ch) escapes[ch] = {{static_cast<char>(ch)}, 1};
    constexpr std::pair<char, std::string_view> kReferences[] = {
        {'&', "&amp;"},  {'<', "&lt;"},    {'>', "&gt;"},
        {'"', "&quot;"}, {'\'', "&apos;"}, {'\r', "&#xD;"},
    };
    for (const auto& [ch, reference] : kReferences) {
        Escape& escape = escapes[static_cast<unsigned char>(ch)];
        for (size_t i = 0; i < reference.size(); ++i) escape.text[i] = reference[i];
        escape.length = reference.size();
    }
    return escapes;
}();

// Escapes through a buffer on the stack, without a branch per byte: a request value is mostly
// JSON, whose many quotes would otherwise cost an append each.
void AppendEscaped(const std::string& text, std::string* out) {
    char buffer[512];
    size_t used = 0;
    for (char ch : text) {
        const Escape& escape = kEscapes[static_cast<unsigned char>(ch)];
        std::memcpy(buffer + used, escape.text, sizeof escape.text);
        used += escape.length;
        if (used > sizeof buffer - sizeof escape.text) {
            out->append(buffer, used);
            used = 0;
        }
    }
    out->append(buffer, used);
}

CString Failure(const char* prefix, const std::string& detail) {
    return CString(std::string(prefix) + detail);
}

CString HttpFailure(long status) { return Failure(kServerError, "HTTP " + std::to_string(status)); }

}  // namespace

std::string XmlEscape(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    AppendEscaped(text, &out);
    return out;
}

void BuildSoapRequest(const WebCall& call, std::string* body) {
    const std::string& method = call.method.Str();
    size_t length = 200 + call.nameSpace.Str().size() + method.size() * 2;
    for (const std::pair<CString, CString>& argument : call.arguments) {
        length += 5 + argument.first.Str().size() * 2 + argument.second.Str().size() * 9 / 8;
    }
    body->clear();
    body->reserve(length);
    body->append(
        "<?xml version=\"1.0\" encoding=\"utf-8\"?>"
        "<soap:Envelope xmlns:soap=\"http://schemas.xmlsoap.org/soap/envelope/\"><soap:Body><");
    body->append(method).append(" xmlns=\"");
    AppendEscaped(call.nameSpace.Str(), body);
    body->append("\">");
    for (const std::pair<CString, CString>& argument : call.arguments) {
        body->append("<").append(argument.first.Str()).append(">");
        AppendEscaped(argument.second.Str(), body);
        body->append("</").append(argument.first.Str()).append(">");
    }
    body->append("</").append(method).append("></soap:Body></soap:Envelope>");
}

std::string BuildSoapRequest(const WebCall& call) {
    std::string body;
    BuildSoapRequest(call, &body);
    return body;
}

std::string SoapActionOf(const WebCall& call) {
    return "\"" + call.nameSpace.Str() + call.method.Str() + "\"";
}

std::pair<bool, CString> ReadSoapReply(long httpStatus, const std::string& contentType,
                                       const std::string& body, const CString& method,
                                       FailureKind* kind) {
    FailureKind ignored;
    if (kind == nullptr) kind = &ignored;
    *kind = FailureKind::http_status;
    if (httpStatus != 200 && httpStatus != 500) return {false, HttpFailure(httpStatus)};
    const std::string resultName = method.Str() + "Result";
    wire_detail::SoapReplyParts parts;
    if (!wire_detail::ReadSoapReplyQuickly(contentType, body, resultName, &parts)) {
        parts = wire_detail::ReadSoapReplyParts(contentType, body, resultName);
    }
    if (!parts.error.empty()) {
        if (httpStatus != 200) return {false, HttpFailure(httpStatus)};
        *kind = FailureKind::bad_reply;
        return {false, Failure(kUnrecognisedReply, parts.error)};
    }
    if (parts.fault) {
        *kind = FailureKind::soap_fault;
        if (!parts.faultString.empty()) return {false, CString(std::move(parts.faultString))};
        return {false, Failure(kServerError, "SOAP fault " + parts.faultCode)};
    }
    if (httpStatus != 200) return {false, HttpFailure(httpStatus)};
    *kind = FailureKind::none;
    return {true, CString(std::move(parts.result))};
}
