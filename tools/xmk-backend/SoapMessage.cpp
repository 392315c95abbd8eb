#include "SoapMessage.h"

#include <libxml/parser.h>
#include <libxml/tree.h>

#include <cstring>
#include <memory>

#include "wirekit/SoapEnvelope.h"

namespace {

constexpr char kEnvelopeNamespace[] = "http://schemas.xmlsoap.org/soap/envelope/";
constexpr char kDeclaration[] = "<?xml version=\"1.0\" encoding=\"utf-8\"?>";

struct DocFree {
    void operator()(xmlDoc* doc) const { xmlFreeDoc(doc); }
};

bool IsNamed(const xmlNode* node, const char* name) {
    return node->type == XML_ELEMENT_NODE &&
           std::strcmp(reinterpret_cast<const char*>(node->name), name) == 0;
}

const xmlNode* FirstElement(const xmlNode* node) {
    for (; node; node = node->next) {
        if (node->type == XML_ELEMENT_NODE) return node;
    }
    return nullptr;
}

std::string Content(const xmlNode* node) {
    xmlChar* text = xmlNodeGetContent(node);
    std::string result = text ? reinterpret_cast<const char*>(text) : "";
    xmlFree(text);
    return result;
}

// XML-escaped text. Control characters other than tab and line ends cannot appear in XML
// 1.0 at all, so they are left out rather than make the reply unreadable.
std::string EscapeXml(const std::string& text) {
    std::string kept;
    kept.reserve(text.size());
    for (char c : text) {
        if (static_cast<unsigned char>(c) >= 0x20 || c == '\t' || c == '\n' || c == '\r') kept += c;
    }
    return XmlEscape(kept);
}

// libxml2 must be set up once before threads parse at the same time.
void InitParserOnce() {
    static const bool done = [] {
        xmlInitParser();
        return true;
    }();
    (void)done;
}

}  // namespace

const std::string* SoapRequest::Argument(const std::string& name) const {
    for (const auto& argument : arguments) {
        if (argument.first == name) return &argument.second;
    }
    return nullptr;
}

bool SoapMessage::Parse(const std::string& body, SoapRequest* request, std::string* error) {
    InitParserOnce();
    if (body.empty()) {
        *error = "empty request body";
        return false;
    }
    const int options =
        XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING | XML_PARSE_NOCDATA;
    std::unique_ptr<xmlDoc, DocFree> doc(
        xmlReadMemory(body.data(), static_cast<int>(body.size()), "request.xml", nullptr, options));
    if (!doc) {
        const xmlError* last = xmlGetLastError();
        *error = std::string("request is not well-formed XML") +
                 (last && last->message ? std::string(": ") + last->message : std::string());
        while (!error->empty() && error->back() == '\n') error->pop_back();
        return false;
    }
    if (doc->intSubset || doc->extSubset) {
        *error = "a document type declaration is not allowed";
        return false;
    }
    const xmlNode* root = xmlDocGetRootElement(doc.get());
    if (!root || !IsNamed(root, "Envelope") || !root->ns ||
        std::strcmp(reinterpret_cast<const char*>(root->ns->href), kEnvelopeNamespace) != 0) {
        *error = "the root element is not a SOAP 1.1 Envelope";
        return false;
    }
    const xmlNode* soapBody = nullptr;
    for (const xmlNode* child = FirstElement(root->children); child;
         child = FirstElement(child->next)) {
        if (IsNamed(child, "Body")) {
            soapBody = child;
            break;
        }
    }
    if (!soapBody) {
        *error = "the envelope has no Body";
        return false;
    }
    const xmlNode* method = FirstElement(soapBody->children);
    if (!method) {
        *error = "the SOAP body holds no method element";
        return false;
    }
    request->method = reinterpret_cast<const char*>(method->name);
    request->nameSpace =
        method->ns && method->ns->href ? reinterpret_cast<const char*>(method->ns->href) : "";
    request->arguments.clear();
    for (const xmlNode* arg = FirstElement(method->children); arg; arg = FirstElement(arg->next)) {
        request->arguments.emplace_back(reinterpret_cast<const char*>(arg->name), Content(arg));
    }
    return true;
}

std::string SoapMessage::Reply(const std::string& method, const std::string& nameSpace,
                               const std::string& result) {
    std::string out = kDeclaration;
    out += "<soap:Envelope xmlns:soap=\"";
    out += kEnvelopeNamespace;
    out += "\"><soap:Body><";
    out += method;
    out += "Response xmlns=\"" + Escape(nameSpace) + "\"><" + method + "Result>";
    out += EscapeXml(result);
    out += "</" + method + "Result></" + method + "Response></soap:Body></soap:Envelope>";
    return out;
}

std::string SoapMessage::Fault(const std::string& code, const std::string& text) {
    std::string out = kDeclaration;
    out += "<soap:Envelope xmlns:soap=\"";
    out += kEnvelopeNamespace;
    out += "\"><soap:Body><soap:Fault><faultcode>" + EscapeXml(code) + "</faultcode><faultstring>" +
           EscapeXml(text) + "</faultstring></soap:Fault></soap:Body></soap:Envelope>";
    return out;
}

std::string SoapMessage::Escape(const std::string& text) { return EscapeXml(text); }
