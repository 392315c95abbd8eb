// Wsdl: the WSDL 1.1 description of the back-end (document/literal, SOAP 1.1 over HTTP) that
// a SOAP toolkit reads to call it: every method BackendService answers, each taking its
// string arguments in order and giving one string. Stateless; safe from any thread.
#pragma once

#include <string>

class Wsdl {
  public:
    // The description, with `location` (an http URL) as the address of the service.
    static std::string Describe(const std::string& location);
};
