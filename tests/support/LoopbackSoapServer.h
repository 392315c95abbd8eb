// A SOAP server on 127.0.0.1 for wire and end-to-end tests. It listens on a free port from
// construction to destruction, on threads of its own, records every request and answers it
// from a script. Every member is thread-safe; scripts run on the server's threads, several at
// once when several clients call at once.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

class LoopbackSoapServer {
  public:
    // One HTTP request as it arrived, with the SOAP call read from its body.
    struct Request {
        std::string httpMethod;                                    // "POST"
        std::string path;                                          // "/UniteInterface.asmx"
        std::vector<std::pair<std::string, std::string>> headers;  // name, value
        std::string body;
        // Read from the body: the element inside soap:Body and its child elements in order
        // (name, text). Both empty when the body is not a SOAP request.
        std::string soapMethod;
        std::vector<std::pair<std::string, std::string>> arguments;

        // The value of the first header named `name` (any case), or "".
        std::string Header(const std::string& name) const;
    };

    // What the server answers.
    struct Reply {
        int status = 200;
        std::string contentType = "text/xml; charset=utf-8";
        std::string body;
    };

    using Handler = std::function<Reply(const Request&)>;

    // What an HTTPS server presents, as PEM files (TlsFixtures.h makes them).
    struct Tls {
        std::string certFile;
        std::string keyFile;
        std::string clientCaFile;  // set: a client must show a certificate signed by this CA
    };

    // Starts listening; the server answers at once.
    LoopbackSoapServer();
    // The same over HTTPS: Url() starts with "https://127.0.0.1:".
    explicit LoopbackSoapServer(const Tls& tls);
    // Stops listening, closes the connections clients keep open and waits for the threads.
    ~LoopbackSoapServer();
    LoopbackSoapServer(const LoopbackSoapServer&) = delete;
    LoopbackSoapServer& operator=(const LoopbackSoapServer&) = delete;

    int Port() const { return port_; }
    // "http://127.0.0.1:PORT/UniteInterface.asmx" (https for an HTTPS server). Every path is
    // served alike.
    std::string Url() const;

    // Answers calls without a reply text by `handler`. The default handler answers each
    // call with an empty result: MakeSoapResult(request.soapMethod, "").
    void SetHandler(Handler handler);
    // Answers every call of `method` with MakeSoapResult(method, text), before the handler.
    void SetReplyText(const std::string& method, const std::string& text);
    // Answers every call with MakeSoapResult(request.soapMethod, text(request)).
    void SetReplyText(std::function<std::string(const Request&)> text);

    // The requests received so far, in order of arrival.
    std::vector<Request> Requests() const;
    size_t RequestCount() const;
    void ClearRequests();
    // TCP connections accepted so far.
    int ConnectionCount() const;

    // A 200 reply: <METHODResponse xmlns="http://tempuri.org/"><METHODResult>text
    // </METHODResult></METHODResponse> in a UTF-8 SOAP envelope; `text` is escaped.
    static Reply MakeSoapResult(const std::string& method, const std::string& text);
    // A 500 reply holding a soap:Server fault with the faultstring.
    static Reply MakeSoapFault(const std::string& faultString);

  private:
    class Impl;
    void Start();
    std::unique_ptr<Impl> impl_;
    int port_ = 0;
    std::string scheme_ = "http";
};
