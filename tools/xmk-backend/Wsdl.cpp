#include "Wsdl.h"

#include <vector>

#include "BackendService.h"
#include "SoapMessage.h"
#include "service/ServiceNames.h"

namespace {

constexpr char kOpen[] =
    "<?xml version=\"1.0\" encoding=\"utf-8\"?>"
    "<wsdl:definitions xmlns:wsdl=\"http://schemas.xmlsoap.org/wsdl/\" "
    "xmlns:soap=\"http://schemas.xmlsoap.org/wsdl/soap/\" "
    "xmlns:s=\"http://www.w3.org/2001/XMLSchema\"";

// One element of a method's schema: a sequence of strings.
std::string Element(const std::string& name, const std::vector<std::string>& members,
                    const char* minOccurs) {
    std::string out = "<s:element name=\"" + name + "\"><s:complexType><s:sequence>";
    for (const std::string& member : members) {
        out += "<s:element minOccurs=\"" + std::string(minOccurs) + "\" maxOccurs=\"1\" name=\"" +
               member + "\" type=\"s:string\"/>";
    }
    return out + "</s:sequence></s:complexType></s:element>";
}

}  // namespace

std::string Wsdl::Describe(const std::string& location) {
    const std::vector<MethodSignature> methods = BackendService::Methods();
    // Each namespace of the methods' elements gets a schema and a prefix ns0, ns1, ...; the
    // uniform interface's is the target namespace of the messages, port type and binding.
    std::vector<std::string> spaces = {kUniteInterfaceNamespace};
    auto prefixOf = [&spaces](const std::string& space) {
        size_t i = 0;
        while (i < spaces.size() && spaces[i] != space) ++i;
        if (i == spaces.size()) spaces.push_back(space);
        return "ns" + std::to_string(i);
    };
    for (const MethodSignature& m : methods) prefixOf(m.nameSpace);

    std::string out = kOpen;
    for (const std::string& space : spaces) {
        out += " xmlns:" + prefixOf(space) + "=\"" + SoapMessage::Escape(space) + "\"";
    }
    out += " targetNamespace=\"" + SoapMessage::Escape(spaces[0]) + "\"><wsdl:types>";
    for (const std::string& space : spaces) {
        out += "<s:schema elementFormDefault=\"qualified\" targetNamespace=\"" +
               SoapMessage::Escape(space) + "\">";
        for (const MethodSignature& m : methods) {
            if (m.nameSpace != space) continue;
            out += Element(m.name, m.arguments, "1") +
                   Element(m.name + "Response", {m.name + "Result"}, "0");
        }
        out += "</s:schema>";
    }
    out += "</wsdl:types>";
    const std::string port = std::string(kUniteInterfaceName) + "Soap";
    std::string portType = "<wsdl:portType name=\"" + port + "\">";
    std::string binding = "<wsdl:binding name=\"" + port + "\" type=\"ns0:" + port +
                          "\"><soap:binding transport=\"http://schemas.xmlsoap.org/soap/http\"/>";
    for (const MethodSignature& m : methods) {
        const std::string element = prefixOf(m.nameSpace) + ":" + m.name;
        out += "<wsdl:message name=\"" + m.name + "SoapIn\"><wsdl:part name=\"parameters\" " +
               "element=\"" + element + "\"/></wsdl:message><wsdl:message name=\"" + m.name +
               "SoapOut\"><wsdl:part name=\"parameters\" element=\"" + element +
               "Response\"/></wsdl:message>";
        portType += "<wsdl:operation name=\"" + m.name + "\"><wsdl:input message=\"ns0:" + m.name +
                    "SoapIn\"/><wsdl:output message=\"ns0:" + m.name +
                    "SoapOut\"/></wsdl:operation>";
        // The SOAP action the library sends: the namespace and the method joined.
        binding += "<wsdl:operation name=\"" + m.name + "\"><soap:operation soapAction=\"" +
                   SoapMessage::Escape(m.nameSpace + m.name) +
                   "\" style=\"document\"/><wsdl:input><soap:body use=\"literal\"/>"
                   "</wsdl:input><wsdl:output><soap:body use=\"literal\"/></wsdl:output>"
                   "</wsdl:operation>";
    }
    out += portType + "</wsdl:portType>" + binding + "</wsdl:binding>";
    out += "<wsdl:service name=\"" + std::string(kUniteInterfaceName) + "\"><wsdl:port name=\"" +
           port + "\" binding=\"ns0:" + port + "\"><soap:address location=\"" +
           SoapMessage::Escape(location) + "\"/></wsdl:port></wsdl:service></wsdl:definitions>";
    return out;
}
