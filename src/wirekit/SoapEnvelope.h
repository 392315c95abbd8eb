// The SOAP 1.1 text of an exchange: the request body the built-in transport posts and the
// reading of the reply it gets back. Pure text work with no I/O; thread-safe.
//
// Failure texts (the start is fit to show the user, the rest is the technical detail):
//   "服务器返回错误：HTTP <status>"         a status other than 200, or 500 without a fault
//   "服务器返回错误：SOAP fault <faultcode>" a fault without a faultstring
//   "服务器应答无法识别：<detail>"           the body is not a SOAP envelope, or carries a DTD
// A SOAP fault with a faultstring gives the faultstring as it stands.
#pragma once

#include <string>
#include <utility>

#include "platform/CString.h"
#include "wirekit/ExchangeReport.h"
#include "wirekit/WebTransport.h"

// The request body: an XML declaration, then the envelope holding one element named after
// the method in the call's namespace, with one child element per argument in order. Values
// are XML-escaped; the bytes are taken as UTF-8.
std::string BuildSoapRequest(const WebCall& call);
// The same into `body`, replacing its content and keeping its capacity for the next call.
void BuildSoapRequest(const WebCall& call, std::string* body);

// `text` escaped for XML element content and attribute values alike: &, <, >, both quotes,
// and CR (as a character reference, since parsers turn a raw CR LF into LF).
std::string XmlEscape(const std::string& text);

// The SOAPAction header value: the namespace and the method joined, in double quotes.
std::string SoapActionOf(const WebCall& call);

// Reads the reply to `method`. A 200 reply gives (true, the text of the first element named
// `method` + "Result" in the Body, whatever its prefix or namespace), "" when there is none;
// an element's text is all the character data inside it, CDATA included. A fault (a Fault
// child of the Body, in a 200 or 500 reply) gives false and its faultstring. The body is
// decoded from the encoding it declares (else the charset of `contentType`, else UTF-8) and
// the text is returned in UTF-8. The whole body must be well-formed; it is read as a stream,
// without a document tree. No DTD or external entity is ever loaded; a reply is refused as
// soon as a DTD shows. `kind`, when given, receives how the reply was judged: none,
// soap_fault, http_status or bad_reply.
std::pair<bool, CString> ReadSoapReply(long httpStatus, const std::string& contentType,
                                       const std::string& body, const CString& method,
                                       FailureKind* kind = nullptr);
