#include "support/LoopbackSoapServer.h"

#include <dirent.h>
#include <gtest/gtest.h>
#include <httplib.h>
#include <libxml/parser.h>
#include <libxml/tree.h>
#include <netinet/in.h>
#include <strings.h>
#include <sys/socket.h>

#include <atomic>
#include <cctype>
#include <chrono>
#include <cstdlib>
#include <map>
#include <mutex>
#include <thread>

#include "wirekit/SoapEnvelope.h"

namespace {

// Each keep-alive connection holds a worker while it is open, so there are more workers than
// any test keeps connections.
constexpr size_t kWorkerThreads = 32;

// httplib queues one task per accepted connection, so counting the tasks counts connections.
class CountingPool : public httplib::TaskQueue {
  public:
    CountingPool(size_t threads, std::atomic<int>* connections)
        : pool_(threads), connections_(connections) {}
    void enqueue(std::function<void()> fn) override {
        ++*connections_;
        pool_.enqueue(std::move(fn));
    }
    void shutdown() override { pool_.shutdown(); }

  private:
    httplib::ThreadPool pool_;
    std::atomic<int>* connections_;
};

std::string TextOf(xmlNode* node) {
    xmlChar* content = xmlNodeGetContent(node);
    if (content == nullptr) return std::string();
    std::string text(reinterpret_cast<const char*>(content));
    xmlFree(content);
    return text;
}

xmlNode* FirstElement(xmlNode* node) {
    while (node != nullptr && node->type != XML_ELEMENT_NODE) node = node->next;
    return node;
}

// Fills the SOAP fields of `request` from its body when it is a SOAP request.
void ReadSoapCall(LoopbackSoapServer::Request* request) {
    const std::string& body = request->body;
    xmlDoc* doc = xmlReadMemory(body.data(), static_cast<int>(body.size()), nullptr, nullptr,
                                XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING);
    if (doc == nullptr) return;
    xmlNode* envelope = xmlDocGetRootElement(doc);
    xmlNode* soapBody = envelope ? FirstElement(envelope->children) : nullptr;
    while (soapBody != nullptr && xmlStrcmp(soapBody->name, BAD_CAST "Body") != 0) {
        soapBody = FirstElement(soapBody->next);
    }
    xmlNode* call = soapBody ? FirstElement(soapBody->children) : nullptr;
    if (call != nullptr) {
        request->soapMethod = reinterpret_cast<const char*>(call->name);
        for (xmlNode* arg = FirstElement(call->children); arg; arg = FirstElement(arg->next)) {
            request->arguments.emplace_back(reinterpret_cast<const char*>(arg->name), TextOf(arg));
        }
    }
    xmlFreeDoc(doc);
}

// Shuts down the accepted connections on `port` that clients keep alive, so the workers
// serving them end at once instead of waiting out the keep-alive time-out. The accepted
// sockets are the connected ones whose own port is the server's.
void ShutDownConnectionsOn(int port) {
    DIR* dir = opendir("/proc/self/fd");
    if (dir == nullptr) return;
    while (dirent* entry = readdir(dir)) {
        if (!std::isdigit(static_cast<unsigned char>(entry->d_name[0]))) continue;
        int fd = std::atoi(entry->d_name);
        sockaddr_in local{};
        socklen_t length = sizeof(local);
        if (getsockname(fd, reinterpret_cast<sockaddr*>(&local), &length) != 0 ||
            local.sin_family != AF_INET || ntohs(local.sin_port) != port) {
            continue;
        }
        sockaddr_in peer{};
        length = sizeof(peer);
        if (getpeername(fd, reinterpret_cast<sockaddr*>(&peer), &length) == 0) {
            shutdown(fd, SHUT_RDWR);
        }
    }
    closedir(dir);
}

}  // namespace

class LoopbackSoapServer::Impl {
  public:
    explicit Impl(httplib::Server* made) : server(made) {}
    std::unique_ptr<httplib::Server> server;  // an httplib::SSLServer for HTTPS
    std::thread thread;
    std::atomic<bool> finished{false};
    std::atomic<int> connections{0};

    mutable std::mutex mutex;
    std::vector<Request> requests;
    std::map<std::string, std::string> replyTexts;
    Handler handler = [](const Request& request) { return MakeSoapResult(request.soapMethod, ""); };

    void Serve(const httplib::Request& in, httplib::Response& out) {
        Request request;
        request.httpMethod = in.method;
        request.path = in.path;
        for (const auto& header : in.headers) request.headers.emplace_back(header);
        request.body = in.body;
        ReadSoapCall(&request);

        Handler answer;
        std::string text;
        bool hasText = false;
        {
            std::lock_guard<std::mutex> lock(mutex);
            requests.push_back(request);
            auto found = replyTexts.find(request.soapMethod);
            hasText = found != replyTexts.end();
            if (hasText) text = found->second;
            answer = handler;
        }
        const Reply reply = hasText ? MakeSoapResult(request.soapMethod, text) : answer(request);
        out.status = reply.status;
        out.set_content(reply.body, reply.contentType);
    }
};

std::string LoopbackSoapServer::Request::Header(const std::string& name) const {
    for (const auto& header : headers) {
        if (strcasecmp(header.first.c_str(), name.c_str()) == 0) return header.second;
    }
    return std::string();
}

LoopbackSoapServer::LoopbackSoapServer() : impl_(new Impl(new httplib::Server)) { Start(); }

LoopbackSoapServer::LoopbackSoapServer(const Tls& tls)
    : impl_(new Impl(
          new httplib::SSLServer(tls.certFile.c_str(), tls.keyFile.c_str(),
                                 tls.clientCaFile.empty() ? nullptr : tls.clientCaFile.c_str()))),
      scheme_("https") {
    if (!impl_->server->is_valid())
        ADD_FAILURE() << "the HTTPS server cannot load " << tls.certFile;
    Start();
}

void LoopbackSoapServer::Start() {
    xmlInitParser();  // before the workers parse requests at once
    Impl* impl = impl_.get();
    impl->server->new_task_queue = [impl] {
        return new CountingPool(kWorkerThreads, &impl->connections);
    };
    impl->server->set_keep_alive_max_count(1000000);
    // Replies go out in two writes (head, body); without this Nagle holds the body back until
    // the client's delayed acknowledgement.
    impl->server->set_tcp_nodelay(true);
    impl->server->Post(
        ".*", [impl](const httplib::Request& in, httplib::Response& out) { impl->Serve(in, out); });
    port_ = impl->server->bind_to_any_port("127.0.0.1");
    if (port_ <= 0) {
        ADD_FAILURE() << "the loopback server cannot bind to 127.0.0.1";
        return;
    }
    impl->thread = std::thread([impl] {
        impl->server->listen_after_bind();
        impl->finished = true;
    });
    while (!impl->server->is_running() && !impl->finished) {
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
}

LoopbackSoapServer::~LoopbackSoapServer() {
    if (!impl_->thread.joinable()) return;
    impl_->server->stop();
    ShutDownConnectionsOn(port_);
    impl_->thread.join();
}

std::string LoopbackSoapServer::Url() const {
    return scheme_ + "://127.0.0.1:" + std::to_string(port_) + "/UniteInterface.asmx";
}

void LoopbackSoapServer::SetHandler(Handler handler) {
    std::lock_guard<std::mutex> lock(impl_->mutex);
    impl_->handler = std::move(handler);
}

void LoopbackSoapServer::SetReplyText(const std::string& method, const std::string& text) {
    std::lock_guard<std::mutex> lock(impl_->mutex);
    impl_->replyTexts[method] = text;
}

void LoopbackSoapServer::SetReplyText(std::function<std::string(const Request&)> text) {
    SetHandler([text](const Request& request) {
        return MakeSoapResult(request.soapMethod, text(request));
    });
}

std::vector<LoopbackSoapServer::Request> LoopbackSoapServer::Requests() const {
    std::lock_guard<std::mutex> lock(impl_->mutex);
    return impl_->requests;
}

size_t LoopbackSoapServer::RequestCount() const {
    std::lock_guard<std::mutex> lock(impl_->mutex);
    return impl_->requests.size();
}

void LoopbackSoapServer::ClearRequests() {
    std::lock_guard<std::mutex> lock(impl_->mutex);
    impl_->requests.clear();
}

int LoopbackSoapServer::ConnectionCount() const { return impl_->connections.load(); }

LoopbackSoapServer::Reply LoopbackSoapServer::MakeSoapResult(const std::string& method,
                                                             const std::string& text) {
    Reply reply;
    reply.body =
        "<?xml version=\"1.0\" encoding=\"utf-8\"?>"
        "<soap:Envelope xmlns:soap=\"http://schemas.xmlsoap.org/soap/envelope/\" "
        "xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\" "
        "xmlns:xsd=\"http://www.w3.org/2001/XMLSchema\"><soap:Body><" +
        method + "Response xmlns=\"http://tempuri.org/\"><" + method + "Result>" + XmlEscape(text) +
        "</" + method + "Result></" + method + "Response></soap:Body></soap:Envelope>";
    return reply;
}

LoopbackSoapServer::Reply LoopbackSoapServer::MakeSoapFault(const std::string& faultString) {
    Reply reply;
    reply.status = 500;
    reply.body =
        "<?xml version=\"1.0\" encoding=\"utf-8\"?>"
        "<soap:Envelope xmlns:soap=\"http://schemas.xmlsoap.org/soap/envelope/\"><soap:Body>"
        "<soap:Fault><faultcode>soap:Server</faultcode><faultstring>" +
        XmlEscape(faultString) +
        "</faultstring><detail /></soap:Fault></soap:Body></soap:Envelope>";
    return reply;
}
