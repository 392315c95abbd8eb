// A quick reading of the everyday SOAP reply, in one pass and without libxml2. It reads a
// plain subset of XML that it checks completely and declines everything else, which then goes
// to ReadSoapReplyParts; whatever it reads gives exactly the parts ReadSoapReplyParts would.
// Internal to wirekit; thread-safe (it keeps no state).
#pragma once

#include <string>

#include "wirekit/detail/SoapReplyReader.h"

namespace wire_detail {

// Reads `body` into `parts` and returns true, or returns false, leaving `parts` unspecified,
// when the body is anything but a well-formed UTF-8 envelope with a Body made of elements with
// ASCII names, attributes, text, comments, CDATA sections, the five predefined entity
// references and character references; or when it nests deeper than libxml2 would allow with
// room to spare. Any fault of form, or a root that is no Envelope with a Body, declines it.
bool ReadSoapReplyQuickly(const std::string& contentType, const std::string& body,
                          const std::string& resultName, SoapReplyParts* parts);

}  // namespace wire_detail
