#include "BackendServer.h"

#include <httplib.h>

#include <chrono>
#include <exception>

namespace {

// The uniform interface's namespace, used when a request's method element has none.
constexpr char kDefaultNamespace[] = "http://tempuri.org/";
// Large enough for any request the library sends; larger bodies are refused by httplib.
constexpr size_t kMaxBody = size_t(64) << 20;
// Each client thread keeps one connection alive, so the pool must outnumber the client's
// threads with some to spare.
constexpr size_t kThreads = 24;
constexpr auto kStartTimeout = std::chrono::seconds(5);

}  // namespace

BackendServer::BackendServer(std::string dbPath) : dbPath_(std::move(dbPath)), service_(&store_) {}

BackendServer::~BackendServer() { Stop(); }

bool BackendServer::EnsureOpen(std::string* error) {
    std::lock_guard<std::mutex> lock(openMutex_);
    if (!opened_) opened_ = store_.Open(dbPath_, error);
    return opened_;
}

bool BackendServer::Start(int port, std::string* error) {
    std::string scratch;
    if (!error) error = &scratch;
    if (http_) {
        *error = "the server is already running";
        return false;
    }
    if (!EnsureOpen(error)) return false;

    auto http = std::make_unique<httplib::Server>();
    http->new_task_queue = [] { return new httplib::ThreadPool(kThreads); };
    http->set_keep_alive_max_count(100000);
    // httplib waits out the keep-alive time-out of every idle connection before it stops, so
    // idle connections are closed at once (after httplib's 10 ms poll): a client that goes
    // quiet reconnects on its next call, and Stop returns promptly.
    http->set_keep_alive_timeout(0);
    http->set_payload_max_length(kMaxBody);
    http->Post(".*", [this](const httplib::Request& req, httplib::Response& res) {
        std::string reply;
        res.status = Handle(req.body, &reply);
        res.set_content(reply, "text/xml; charset=utf-8");
    });
    http->Get(".*", [](const httplib::Request&, httplib::Response& res) {
        res.set_content("xmk-backend: POST SOAP 1.1 requests to this address\n",
                        "text/plain; charset=utf-8");
    });

    const int bound = port == 0 ? http->bind_to_any_port("127.0.0.1")
                                : (http->bind_to_port("127.0.0.1", port) ? port : -1);
    if (bound <= 0) {
        *error = "cannot listen on 127.0.0.1:" + std::to_string(port);
        return false;
    }
    port_ = bound;
    httplib::Server* raw = http.get();
    thread_ = std::thread([raw] { raw->listen_after_bind(); });
    // Stop is only safe once the server runs, so Start returns no earlier.
    const auto deadline = std::chrono::steady_clock::now() + kStartTimeout;
    while (!raw->is_running() && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    http_ = std::move(http);
    if (!http_->is_running()) {
        *error = "the server did not start";
        Stop();
        return false;
    }
    return true;
}

void BackendServer::Stop() {
    if (!http_) return;
    http_->stop();
    if (thread_.joinable()) thread_.join();
    http_.reset();
}

bool BackendServer::IsRunning() const { return http_ && http_->is_running(); }

std::string BackendServer::Url() const {
    return "http://127.0.0.1:" + std::to_string(port_) + "/UniteInterface";
}

std::string BackendServer::ObjectListUrl() const {
    return "http://127.0.0.1:" + std::to_string(port_) + "/ObjectList";
}

int BackendServer::Handle(const std::string& body, std::string* reply) {
    SoapRequest request;
    std::string error;
    if (!EnsureOpen(&error)) {
        *reply = SoapMessage::Fault("soap:Server", "the store cannot be opened: " + error);
        return 500;
    }
    if (!SoapMessage::Parse(body, &request, &error)) {
        *reply = SoapMessage::Fault("soap:Client", error);
        return 500;
    }
    try {
        const ServiceAnswer answer = service_.Call(request);
        if (answer.fault) {
            *reply = SoapMessage::Fault("soap:Client", answer.text);
            return 500;
        }
        *reply = SoapMessage::Reply(
            request.method, request.nameSpace.empty() ? kDefaultNamespace : request.nameSpace,
            answer.text);
        return 200;
    } catch (const std::exception& e) {
        // Nothing the service calls should throw; if it does, the client gets a fault and
        // the server goes on.
        *reply = SoapMessage::Fault("soap:Server", e.what());
        return 500;
    }
}

int BackendServer::CountRows(const std::string& table) {
    std::string error;
    if (!EnsureOpen(&error)) return -1;
    return store_.CountRows(table);
}

std::vector<std::vector<std::string>> BackendServer::Query(const std::string& sql) {
    SqlRows rows;
    std::string error;
    if (!EnsureOpen(&error) || !store_.Select(sql, &rows, nullptr, &error)) return {};
    return rows;
}
