#include "wirekit/SoapEnvelope.h"

#include <libxml/globals.h>
#include <libxml/parser.h>
#include <libxml/tree.h>
#include <libxml/xmlerror.h>

#include <climits>
#include <cstring>
#include <memory>

namespace {

constexpr char kServerError[] = "服务器返回错误：";
constexpr char kUnrecognisedReply[] = "服务器应答无法识别：";
constexpr size_t kPadding = 256;  // more than libxml2's input chunk
constexpr size_t kPadBelow = 64 * 1024;

struct Escape {
    char ch;
    const char* text;
};

// Element content and attribute values alike; CR is kept as a reference because parsers
// turn a raw CR LF into LF.
constexpr Escape kEscapes[] = {
    {'&', "&amp;"},  {'<', "&lt;"},    {'>', "&gt;"},
    {'"', "&quot;"}, {'\'', "&apos;"}, {'\r', "&#xD;"},
};

const char* EscapeOf(char ch) {
    for (const Escape& escape : kEscapes) {
        if (escape.ch == ch) return escape.text;
    }
    return nullptr;
}

void AppendEscaped(const std::string& text, std::string* out) {
    size_t copied = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        if (static_cast<unsigned char>(text[i]) > '>') continue;  // beyond every escaped byte
        const char* escape = EscapeOf(text[i]);
        if (escape == nullptr) continue;
        out->append(text, copied, i - copied).append(escape);
        copied = i + 1;
    }
    out->append(text, copied, std::string::npos);
}

CString Failure(const char* prefix, const std::string& detail) {
    return CString(std::string(prefix) + detail);
}

CString HttpFailure(long status) { return Failure(kServerError, "HTTP " + std::to_string(status)); }

struct DocFree {
    void operator()(xmlDoc* doc) const { xmlFreeDoc(doc); }
};
using Doc = std::unique_ptr<xmlDoc, DocFree>;

char Lower(char ch) { return (ch >= 'A' && ch <= 'Z') ? static_cast<char>(ch - 'A' + 'a') : ch; }

// The charset parameter of a Content-Type value, or "".
std::string CharsetOf(const std::string& contentType) {
    std::string lower;
    for (char ch : contentType) lower.push_back(Lower(ch));
    size_t at = lower.find("charset=");
    if (at == std::string::npos) return std::string();
    std::string charset;
    for (size_t i = at + 8; i < contentType.size(); ++i) {
        char ch = contentType[i];
        if (ch == ';' || ch == ' ' || ch == '\t') break;
        if (ch != '"' && ch != '\'') charset.push_back(ch);
    }
    return charset;
}

// True when the body names its own encoding, by a byte-order mark or in its XML declaration;
// that then wins over the HTTP header.
bool DeclaresEncoding(const std::string& body) {
    constexpr const char* kByteOrderMarks[] = {"\xEF\xBB\xBF", "\xFF\xFE", "\xFE\xFF"};
    for (const char* mark : kByteOrderMarks) {
        if (body.compare(0, std::strlen(mark), mark) == 0) return true;
    }
    if (body.compare(0, 5, "<?xml") != 0) return false;
    size_t end = body.find("?>");
    return end != std::string::npos && body.substr(0, end).find("encoding") != std::string::npos;
}

std::string LastError(xmlParserCtxt* context) {
    const xmlError* error = xmlCtxtGetLastError(context);
    if (error == nullptr || error->message == nullptr) return "not well-formed XML";
    std::string message = error->message;
    while (!message.empty() && (message.back() == '\n' || message.back() == ' ')) {
        message.pop_back();
    }
    return message + " (line " + std::to_string(error->line) + ")";
}

// The calling thread's parser context, kept between replies so that each parse does not
// build its dictionary and buffers anew. A context that has gathered many names is
// replaced, so a long run of replies with ever new names cannot grow it without bound.
class ThreadParser {
  public:
    ~ThreadParser() { Drop(); }
    xmlParserCtxt* Get() {
        if (context_ != nullptr && xmlDictSize(context_->dict) > kMaxNames) Drop();
        if (context_ == nullptr) context_ = xmlNewParserCtxt();
        return context_;
    }
    void Drop() {
        if (context_ != nullptr) xmlFreeParserCtxt(context_);
        context_ = nullptr;
    }

  private:
    static constexpr int kMaxNames = 4096;
    xmlParserCtxt* context_ = nullptr;
};

thread_local ThreadParser threadParser;

void IgnoreGenericError(void*, const char*, ...) {}
void IgnoreStructuredError(void*, xmlError*) {}

// libxml2 reports some faults of a reply (bytes its declared encoding cannot decode, for
// one) not to the parser context but to the thread's error handlers, whose default writes to
// stderr. A library must not write there, so while a reply is parsed this thread's handlers
// drop such reports; the parser context still records its own error. The handlers the host
// had are put back afterwards.
class QuietErrors {
  public:
    QuietErrors()
        : generic_(xmlGenericError),
          genericContext_(xmlGenericErrorContext),
          structured_(xmlStructuredError),
          structuredContext_(xmlStructuredErrorContext) {
        xmlSetGenericErrorFunc(nullptr, IgnoreGenericError);
        xmlSetStructuredErrorFunc(nullptr, IgnoreStructuredError);
    }
    ~QuietErrors() {
        xmlSetGenericErrorFunc(genericContext_, generic_);
        xmlSetStructuredErrorFunc(structuredContext_, structured_);
    }
    QuietErrors(const QuietErrors&) = delete;
    QuietErrors& operator=(const QuietErrors&) = delete;

  private:
    xmlGenericErrorFunc generic_;
    void* genericContext_;
    xmlStructuredErrorFunc structured_;
    void* structuredContext_;
};

// Parses without network access, without loading any DTD and without substituting entities,
// keeping libxml2's size and depth limits. On failure `error` holds the reason.
Doc Parse(const std::string& body, const std::string& contentType, std::string* error) {
    static const bool initialised = (xmlInitParser(), true);
    (void)initialised;
    if (body.empty()) {
        *error = "empty reply";
        return nullptr;
    }
    if (body.size() > static_cast<size_t>(INT_MAX)) {
        *error = "reply too long to read";
        return nullptr;
    }
    xmlParserCtxt* context = threadParser.Get();
    if (context == nullptr) {
        *error = "out of memory";
        return nullptr;
    }
    std::string charset = DeclaresEncoding(body) ? std::string() : CharsetOf(contentType);
    // libxml2 tries to refill its input whenever less than a chunk lies ahead, which on a
    // small reply is at nearly every step. Blanks after the root element, which XML allows,
    // spare it that; only ASCII-based texts (those that start with '<') can take them.
    const std::string* text = &body;
    std::string padded;
    if (body.size() < kPadBelow && body[0] == '<') {
        padded.reserve(body.size() + kPadding);
        padded.append(body).append(kPadding, ' ');
        text = &padded;
    }
    constexpr int kOptions = XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING;
    QuietErrors quiet;
    Doc doc(xmlCtxtReadMemory(context, text->data(), static_cast<int>(text->size()), nullptr,
                              charset.empty() ? nullptr : charset.c_str(), kOptions));
    if (!doc || !context->wellFormed) {
        *error = LastError(context);
        // A failed parse may leave state behind that the next reply should not meet.
        threadParser.Drop();
        return nullptr;
    }
    return doc;
}

bool HasLocalName(const xmlNode* node, const char* name) {
    return node->type == XML_ELEMENT_NODE &&
           std::strcmp(reinterpret_cast<const char*>(node->name), name) == 0;
}

const xmlNode* FindChild(const xmlNode* parent, const char* name) {
    for (const xmlNode* child = parent->children; child != nullptr; child = child->next) {
        if (HasLocalName(child, name)) return child;
    }
    return nullptr;
}

// The first element below `parent` (depth first, in document order) with the local name.
const xmlNode* FindDescendant(const xmlNode* parent, const char* name) {
    for (const xmlNode* child = parent->children; child != nullptr; child = child->next) {
        if (child->type != XML_ELEMENT_NODE) continue;
        if (HasLocalName(child, name)) return child;
        if (const xmlNode* found = FindDescendant(child, name)) return found;
    }
    return nullptr;
}

std::string TextOf(const xmlNode* node) {
    if (node == nullptr) return std::string();
    xmlChar* content = xmlNodeGetContent(node);
    if (content == nullptr) return std::string();
    std::string text(reinterpret_cast<const char*>(content));
    xmlFree(content);
    return text;
}

CString FaultText(const xmlNode* fault) {
    std::string text = TextOf(FindChild(fault, "faultstring"));
    if (!text.empty()) return CString(text);
    std::string code = TextOf(FindChild(fault, "faultcode"));
    return Failure(kServerError, "SOAP fault " + code);
}

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
    std::string error;
    Doc doc = Parse(body, contentType, &error);
    const xmlNode* root = doc ? xmlDocGetRootElement(doc.get()) : nullptr;
    const xmlNode* soapBody = nullptr;
    if (doc && doc->intSubset != nullptr) {
        error = "a reply must not carry a DTD";
    } else if (doc && (root == nullptr || !HasLocalName(root, "Envelope"))) {
        error = "the root element is not a SOAP Envelope";
    } else if (doc && (soapBody = FindChild(root, "Body")) == nullptr) {
        error = "the SOAP Envelope has no Body";
    }
    if (!error.empty()) {
        if (httpStatus != 200) return {false, HttpFailure(httpStatus)};
        *kind = FailureKind::bad_reply;
        return {false, Failure(kUnrecognisedReply, error)};
    }
    if (const xmlNode* fault = FindChild(soapBody, "Fault")) {
        *kind = FailureKind::soap_fault;
        return {false, FaultText(fault)};
    }
    if (httpStatus != 200) return {false, HttpFailure(httpStatus)};
    *kind = FailureKind::none;
    std::string resultName = method.Str() + "Result";
    return {true, CString(TextOf(FindDescendant(soapBody, resultName.c_str())))};
}
