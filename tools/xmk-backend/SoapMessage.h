// SoapMessage: reads the SOAP 1.1 requests the library's transport sends and writes the
// reply and fault envelopes the back-end answers with. Stateless; safe from any thread.
#pragma once

#include <string>
#include <utility>
#include <vector>

// One request: the method element of the body and its child elements in order.
struct SoapRequest {
    std::string method;     // local name of the first element in soap:Body
    std::string nameSpace;  // its namespace URI, empty when it has none
    std::vector<std::pair<std::string, std::string>> arguments;  // name, text, in order

    // The text of the first argument named `name`; null when there is none.
    const std::string* Argument(const std::string& name) const;
};

class SoapMessage {
  public:
    // False, with `error` set, when `body` is not a SOAP envelope whose body holds a method
    // element. Never loads a DTD or an external entity; a document with a DTD is refused.
    static bool Parse(const std::string& body, SoapRequest* request, std::string* error);
    // The reply envelope carrying `result` as the text of METHODResult.
    static std::string Reply(const std::string& method, const std::string& nameSpace,
                             const std::string& result);
    // A soap:Fault envelope, sent with HTTP status 500. `code` is "soap:Client" for a bad
    // request and "soap:Server" for a failure of the back-end itself.
    static std::string Fault(const std::string& code, const std::string& text);
    // `text` fit for an attribute value: &, <, >, ", ' and CR written as references; other
    // control characters, which XML 1.0 cannot carry, are left out. Element texts are
    // written the same way, except that their quotes stay as they are.
    static std::string Escape(const std::string& text);
};
