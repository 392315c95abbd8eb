#include "wirekit/detail/SoapReplyReader.h"

#include <libxml/globals.h>
#include <libxml/parser.h>
#include <libxml/tree.h>
#include <libxml/xmlerror.h>

#include <algorithm>
#include <climits>
#include <cstring>
#include <functional>
#include <vector>

namespace wire_detail {
namespace {

constexpr size_t kPadding = 256;  // more than libxml2's input chunk
constexpr size_t kPadBelow = 64 * 1024;

// Bounds on a reply's shape. Past them libxml2 2.9 spends time growing with the square of the
// reply's size: in its dictionary of names, in checking an element's attributes against each
// other and in looking names up among the namespace declarations in scope. No real reply comes
// near them.
constexpr size_t kMaxNames = kMaxReplyNames;
constexpr int kMaxAttributes = 64;  // on one element
constexpr int kMaxNamespaces = 64;  // declarations in scope at once
constexpr char kTooManyNames[] = "too many distinct names";
constexpr char kTooManyAttributes[] = "too many attributes on one element";
constexpr char kTooManyNamespaces[] = "too many namespaces in scope";

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

// Where the reading of one reply stands. Depth 1 is the root, 2 the Body, 3 the Fault, 4
// the fault's texts. At most one text is gathered at a time: faultstring and faultcode are
// siblings, and the result is only gathered outside a Fault.
struct Scan {
    const std::string& resultName;
    SoapReplyParts& parts;
    std::vector<const xmlChar*>& names;  // the distinct names met so far, in address order
    int depth = 0;                       // elements open
    bool envelope = false;
    bool bodySeen = false;
    bool inBody = false;
    bool inFault = false;
    bool faultStringSeen = false;
    bool faultCodeSeen = false;
    bool resultSeen = false;
    std::string* text = nullptr;  // gathers the character data of the element open at textDepth
    int textDepth = 0;
    const xmlChar* lastName = nullptr;  // met again, it needs no search
    int dictionaryStart = 0;            // the size of the parser's dictionary before the reply
    const char* refusal = nullptr;      // why the reading was stopped before the body's end
};

Scan& ScanOf(void* context) {
    return *static_cast<Scan*>(static_cast<xmlParserCtxt*>(context)->_private);
}

// An element's name as the tree would hold it: its local name, or prefix:local when the
// prefix is bound to no namespace.
bool NameIs(const xmlChar* local, const xmlChar* prefix, const xmlChar* uri, const char* name) {
    const char* rest = name;
    if (prefix != nullptr && uri == nullptr) {
        size_t length = std::strlen(reinterpret_cast<const char*>(prefix));
        if (std::strncmp(name, reinterpret_cast<const char*>(prefix), length) != 0 ||
            name[length] != ':') {
            return false;
        }
        rest = name + length + 1;
    }
    return std::strcmp(reinterpret_cast<const char*>(local), rest) == 0;
}

void Gather(Scan& scan, std::string* text) {
    scan.text = text;
    scan.textDepth = scan.depth;
}

// Stops the reading for `refusal`, if there is one.
void Refuse(void* context, const char* refusal) {
    if (refusal == nullptr) return;
    ScanOf(context).refusal = refusal;
    xmlStopParser(static_cast<xmlParserCtxt*>(context));
}

// Counts `name` (or nothing, for nullptr) among the reply's distinct names; false once they are
// too many. The parser keeps a single copy of each name in its dictionary, so addresses tell
// names apart.
bool Meet(Scan& scan, const xmlChar* name) {
    if (name == nullptr || name == scan.lastName) return true;
    scan.lastName = name;
    auto at = std::lower_bound(scan.names.begin(), scan.names.end(), name, std::less<>());
    if (at != scan.names.end() && *at == name) return true;
    scan.names.insert(at, name);
    return scan.names.size() <= kMaxNames;
}

// What of the parser's own state shows the reply past the bounds, or nullptr. It tells also of
// what libxml2 reads without calling back: a start tag before the element is called back, and
// all that follows an error. libxml2 interns every name it reads; the bound on them is doubled
// here to leave room for the few it interns without a callback (the predefined entities').
// It grows its table of attributes, five slots each, to about twice what an element needs and
// never shrinks it: room for sixteen times the bound means an element far past it. Such a
// table never outlives its reply, which is refused.
const char* ParserExcess(const xmlParserCtxt* context, const Scan& scan) {
    if (xmlDictSize(context->dict) - scan.dictionaryStart > static_cast<int>(2 * kMaxNames)) {
        return kTooManyNames;
    }
    if (context->nsNr / 2 > kMaxNamespaces) return kTooManyNamespaces;
    if (context->maxatts > 5 * 16 * kMaxAttributes) return kTooManyAttributes;
    return nullptr;
}

// What of an element shows the reply past the bounds, or nullptr.
const char* ElementExcess(Scan& scan, const xmlChar* local, const xmlChar* prefix,
                          int namespaceCount, const xmlChar** namespaces, int attributeCount,
                          const xmlChar** attributes) {
    if (attributeCount > kMaxAttributes) return kTooManyAttributes;
    bool within = Meet(scan, local) && Meet(scan, prefix);
    for (int i = 0; within && i < 2 * namespaceCount; ++i) within = Meet(scan, namespaces[i]);
    for (int i = 0; within && i < attributeCount; ++i) {
        within = Meet(scan, attributes[5 * i]) && Meet(scan, attributes[5 * i + 1]);
    }
    return within ? nullptr : kTooManyNames;
}

void OnStart(void* context, const xmlChar* local, const xmlChar* prefix, const xmlChar* uri,
             int namespaceCount, const xmlChar** namespaces, int attributeCount, int,
             const xmlChar** attributes) {
    Scan& scan = ScanOf(context);
    const char* excess =
        ElementExcess(scan, local, prefix, namespaceCount, namespaces, attributeCount, attributes);
    Refuse(context,
           excess != nullptr ? excess : ParserExcess(static_cast<xmlParserCtxt*>(context), scan));
    if (scan.refusal != nullptr) return;
    SoapReplyParts& parts = scan.parts;
    auto is = [&](const char* name) { return NameIs(local, prefix, uri, name); };
    ++scan.depth;
    if (scan.depth == 1) {
        scan.envelope = is("Envelope");
    } else if (scan.depth == 2) {
        if (scan.envelope && !scan.bodySeen && is("Body")) scan.bodySeen = scan.inBody = true;
    } else if (!scan.inBody) {
        return;
    } else if (scan.depth == 3 && !parts.fault && is("Fault")) {
        parts.fault = scan.inFault = true;
        parts.result.clear();
    } else if (scan.depth == 4 && scan.inFault && !scan.faultStringSeen && is("faultstring")) {
        scan.faultStringSeen = true;
        Gather(scan, &parts.faultString);
    } else if (scan.depth == 4 && scan.inFault && !scan.faultCodeSeen && is("faultcode")) {
        scan.faultCodeSeen = true;
        Gather(scan, &parts.faultCode);
    } else if (!parts.fault && !scan.resultSeen && is(scan.resultName.c_str())) {
        scan.resultSeen = true;
        Gather(scan, &parts.result);
    }
}

void OnEnd(void* context, const xmlChar*, const xmlChar*, const xmlChar*) {
    Scan& scan = ScanOf(context);
    if (scan.text != nullptr && scan.depth == scan.textDepth) scan.text = nullptr;
    if (scan.depth == 3) scan.inFault = false;
    if (scan.depth == 2) scan.inBody = false;
    --scan.depth;
}

void OnText(void* context, const xmlChar* text, int length) {
    Scan& scan = ScanOf(context);
    if (scan.text != nullptr) scan.text->append(reinterpret_cast<const char*>(text), length);
}

// A processing instruction's target is a name like any other.
void OnInstruction(void* context, const xmlChar* target, const xmlChar*) {
    if (!Meet(ScanOf(context), target)) Refuse(context, kTooManyNames);
}

// libxml2 gathers a comment's text, which its message about an unterminated comment quotes,
// only for a comment handler; without one the message would show stray bytes.
void OnComment(void*, const xmlChar*) {}

// Met before any of the DTD's declarations is read; nothing of it is ever used.
void OnDtd(void* context, const xmlChar*, const xmlChar*, const xmlChar*) {
    Refuse(context, "a reply must not carry a DTD");
}

xmlSAXHandler ReplyHandler() {
    xmlSAXHandler handler;
    std::memset(&handler, 0, sizeof handler);
    handler.initialized = XML_SAX2_MAGIC;
    handler.startElementNs = OnStart;
    handler.endElementNs = OnEnd;
    handler.characters = OnText;
    // The same function, so that libxml2 never judges blanks ignorable and drops them.
    handler.ignorableWhitespace = OnText;
    handler.cdataBlock = OnText;
    handler.comment = OnComment;
    handler.processingInstruction = OnInstruction;
    handler.internalSubset = OnDtd;
    return handler;
}

// The calling thread's parser context, kept between replies so that each parse does not
// build its dictionary and buffers anew. A context that has gathered many names is
// replaced, so a long run of replies with ever new names cannot grow it without bound.
class ThreadParser {
  public:
    ~ThreadParser() { Drop(); }
    xmlParserCtxt* Get() {
        if (context_ == nullptr) context_ = xmlNewParserCtxt();
        static const xmlSAXHandler handler = ReplyHandler();
        if (context_ != nullptr) *context_->sax = handler;
        return context_;
    }
    // Room for the distinct names of one reply, emptied.
    std::vector<const xmlChar*>& Names() {
        names_.clear();
        return names_;
    }
    // A failed parse may leave state behind that the next reply should not meet.
    void Done(bool failed) {
        if (failed || xmlDictSize(context_->dict) > kMaxKeptNames) Drop();
    }

  private:
    void Drop() {
        if (context_ != nullptr) xmlFreeParserCtxt(context_);
        context_ = nullptr;
    }
    static constexpr int kMaxKeptNames = 4096;
    xmlParserCtxt* context_ = nullptr;
    std::vector<const xmlChar*> names_;
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

// Hands the body to the parser a piece at a time, as it asks for more, and ends it early once the
// parser's state shows the reply past the bounds: the parser then reads no further than the
// piece it holds. Pieces keep libxml2's checks in step with its reading even where it calls
// nothing back, and spare it a copy of the whole body.
struct Source {
    const std::string& body;
    size_t padding;  // blanks still to give after the body
    xmlParserCtxt* context;
    Scan& scan;
    size_t at = 0;
};

// Where to end a piece of at most `size` bytes. libxml2 2.9 misreads a name when the character
// it meets just past the end of the input it holds is not ASCII. So a piece ends before a byte
// that is an ASCII character of its own in every ASCII-based encoding (never part of a multibyte
// character), or, in a long run without one, inside a multibyte UTF-8 character.
size_t CutBefore(const char* piece, size_t size) {
    auto byte = [&](size_t at) { return static_cast<unsigned char>(piece[at]); };
    for (size_t cut = size; cut > size / 2; --cut) {
        if (byte(cut) < '0' || (byte(cut) > '9' && byte(cut) < '@')) return cut;
    }
    for (size_t back = 0; back < 4 && back < size; ++back) {
        if ((byte(size - back) & 0xC0) == 0x80) return size - back;
    }
    return size;
}

int Feed(void* opaque, char* buffer, int length) {
    Source& source = *static_cast<Source*>(opaque);
    Scan& scan = source.scan;
    if (scan.refusal == nullptr) scan.refusal = ParserExcess(source.context, scan);
    if (scan.refusal != nullptr) return 0;
    const char* piece = source.body.data() + source.at;
    const size_t left = source.body.size() - source.at;
    size_t size = std::min(static_cast<size_t>(length), left);
    if (size < left) size = CutBefore(piece, size);
    std::memcpy(buffer, piece, size);
    source.at += size;
    const size_t blanks =
        size < left ? 0 : std::min(static_cast<size_t>(length) - size, source.padding);
    std::memset(buffer + size, ' ', blanks);
    source.padding -= blanks;
    return static_cast<int>(size + blanks);
}

}  // namespace

SoapReplyParts ReadSoapReplyParts(const std::string& contentType, const std::string& body,
                                  const std::string& resultName) {
    static const bool initialised = (xmlInitParser(), true);
    (void)initialised;
    SoapReplyParts parts;
    if (body.empty()) {
        parts.error = "empty reply";
        return parts;
    }
    if (body.size() > static_cast<size_t>(INT_MAX)) {
        parts.error = "reply too long to read";
        return parts;
    }
    xmlParserCtxt* context = threadParser.Get();
    if (context == nullptr) {
        parts.error = "out of memory";
        return parts;
    }
    std::string charset = DeclaresEncoding(body) ? std::string() : CharsetOf(contentType);
    // libxml2 tries to refill its input whenever less than a chunk lies ahead, which on a
    // small reply is at nearly every step. Blanks after the root element, which XML allows,
    // spare it that; only ASCII-based texts (those that start with '<') can take them.
    const bool pad = body.size() < kPadBelow && body[0] == '<';
    constexpr int kOptions = XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING;
    Scan scan{resultName, parts, threadParser.Names()};
    scan.dictionaryStart = xmlDictSize(context->dict);
    Source source{body, pad ? kPadding : 0, context, scan};
    {
        QuietErrors quiet;
        context->_private = &scan;
        xmlFreeDoc(xmlCtxtReadIO(context, Feed, nullptr, &source, nullptr,
                                 charset.empty() ? nullptr : charset.c_str(), kOptions));
        context->_private = nullptr;
    }
    // Running out of memory stops libxml2 without marking the body malformed; what was read
    // by then must not pass for the whole reply.
    const bool failed = !context->wellFormed || context->errNo == XML_ERR_NO_MEMORY;
    if (scan.refusal != nullptr) {
        parts.error = scan.refusal;
    } else if (failed) {
        parts.error = LastError(context);
    } else if (!scan.envelope) {
        parts.error = "the root element is not a SOAP Envelope";
    } else if (!scan.bodySeen) {
        parts.error = "the SOAP Envelope has no Body";
    }
    threadParser.Done(scan.refusal != nullptr || failed);
    return parts;
}

}  // namespace wire_detail
