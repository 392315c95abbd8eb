// Reads the parts of a SOAP reply body that its judgement needs, streaming: no document tree
// is built and the parser is handed the body a few kilobytes at a time, so reading a reply
// costs little beyond the texts returned, whatever its shape. Internal to wirekit; thread-safe
// (each thread keeps its own parser).
#pragma once

#include <cstddef>
#include <string>

namespace wire_detail {

// The most distinct names, prefixes and namespace URIs one reply may use.
inline constexpr size_t kMaxReplyNames = 1000;

struct SoapReplyParts {
    std::string error;        // why the body is no readable envelope; empty when it is one
    bool fault = false;       // the Body has a Fault child
    std::string faultString;  // the text of the Fault's first faultstring child
    std::string faultCode;    // the text of the Fault's first faultcode child
    std::string result;       // the text of the first element below the Body named as asked
};

// Reads `body` through to its end, decoded from the encoding it declares, else the charset
// of `contentType`, else UTF-8; texts come out in UTF-8. An element's text is all the
// character data (CDATA included) inside it. Elements are matched by local name. The body
// must be well-formed, its root an Envelope with a Body child, and without a DTD; no DTD or
// entity is ever loaded, no network touched, and libxml2's depth and size limits hold. A body
// past the bounds on distinct names, attributes of one element and namespace declarations in
// scope, which libxml2 would read in time growing with the square of its size, is refused as
// soon as that shows.
SoapReplyParts ReadSoapReplyParts(const std::string& contentType, const std::string& body,
                                  const std::string& resultName);

}  // namespace wire_detail
