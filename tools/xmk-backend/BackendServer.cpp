#include "BackendServer.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <httplib.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <strings.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <climits>
#include <condition_variable>
#include <cstring>
#include <deque>
#include <exception>
#include <functional>

#include "Wsdl.h"
#include "service/ServiceNames.h"

namespace {

using Clock = std::chrono::steady_clock;

// Large enough for any request the library sends; larger bodies are refused by httplib.
constexpr size_t kMaxBody = size_t(64) << 20;
// Connections served at once; later ones wait for a worker. The limits below free every
// worker within seconds, so clients that stall cannot keep the rest waiting for long.
constexpr size_t kMaxWorkers = 256;
constexpr auto kFirstRequestWait = std::chrono::seconds(5);
constexpr auto kIdleWait = std::chrono::seconds(3);
// From a request's first byte to its last, and from a reply's first byte to its last.
constexpr auto kRequestReadTime = std::chrono::seconds(5);
constexpr auto kReplyWriteTime = std::chrono::seconds(10);
constexpr auto kStartTimeout = std::chrono::seconds(5);

// Waits until `fd` is ready for `events`; false when `deadline` passes first or `wake` (when
// not -1) becomes readable.
bool WaitFor(int fd, short events, int wake, Clock::time_point deadline) {
    for (;;) {
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
        pollfd fds[2] = {{fd, events, 0}, {wake, POLLIN, 0}};
        const int n =
            poll(fds, wake < 0 ? 1 : 2, static_cast<int>(std::clamp<long long>(left, 0, INT_MAX)));
        if (n < 0 && errno == EINTR) continue;
        return n > 0 && fds[1].revents == 0 && fds[0].revents != 0;
    }
}

bool AsksForWsdl(const httplib::Request& req) {
    for (const auto& param : req.params) {
        if (strcasecmp(param.first.c_str(), "wsdl") == 0) return true;
    }
    return false;
}

void AddressOf(int fd, bool peer, std::string& ip, int& port) {
    sockaddr_in address{};
    socklen_t size = sizeof address;
    const int rc = peer ? getpeername(fd, reinterpret_cast<sockaddr*>(&address), &size)
                        : getsockname(fd, reinterpret_cast<sockaddr*>(&address), &size);
    char text[INET_ADDRSTRLEN] = "";
    if (rc == 0 && address.sin_family == AF_INET) {
        inet_ntop(AF_INET, &address.sin_addr, text, sizeof text);
        port = ntohs(address.sin_port);
    }
    ip = text;
}

// A socket listening on 127.0.0.1:port (0: a free port), or -1 with `error` set. Unlike
// httplib's own sockets it does not share its port (no SO_REUSEPORT), so a port in use is
// an error rather than a second server.
int ListenOn(int port, std::string* error) {
    const int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<uint16_t>(port));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    // SO_REUSEADDR lets a restarted server take its port back from connections still in
    // TIME_WAIT. TCP_NODELAY, which accepted sockets inherit, sends a reply's body at once
    // after its headers rather than wait for the client to acknowledge them.
    const int yes = 1;
    if (fd < 0 || setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes) != 0 ||
        setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &yes, sizeof yes) != 0 ||
        bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        listen(fd, SOMAXCONN) != 0) {
        *error = "cannot listen on 127.0.0.1:" + std::to_string(port) + ": " + std::strerror(errno);
        if (fd >= 0) close(fd);
        return -1;
    }
    return fd;
}

// httplib's task queue: a worker per connection, up to kMaxWorkers, each kept for later
// connections once its own has ended.
class WorkerPool : public httplib::TaskQueue {
  public:
    void enqueue(std::function<void()> job) override {
        std::lock_guard<std::mutex> lock(mutex_);
        jobs_.push_back(std::move(job));
        if (jobs_.size() > idle_ && workers_.size() < kMaxWorkers) {
            workers_.emplace_back([this] { Work(); });
        } else {
            ready_.notify_one();
        }
    }

    void shutdown() override {
        {
            std::lock_guard<std::mutex> lock(mutex_);
            stopping_ = true;
        }
        ready_.notify_all();
        for (std::thread& worker : workers_) worker.join();
    }

  private:
    void Work() {
        std::unique_lock<std::mutex> lock(mutex_);
        for (;;) {
            ++idle_;
            ready_.wait(lock, [this] { return stopping_ || !jobs_.empty(); });
            --idle_;
            if (jobs_.empty()) return;
            std::function<void()> job = std::move(jobs_.front());
            jobs_.pop_front();
            lock.unlock();
            job();
            lock.lock();
        }
    }

    std::mutex mutex_;
    std::condition_variable ready_;
    std::deque<std::function<void()>> jobs_;
    std::vector<std::thread> workers_;
    size_t idle_ = 0;
    bool stopping_ = false;
};

// One client connection as httplib reads and writes it, held to the time limits above.
// Reads also end when `wake` becomes readable: the server is stopping.
class ConnectionStream : public httplib::Stream {
  public:
    ConnectionStream(int sock, int wake) : sock_(sock), wake_(wake) {}

    // Waits up to `wait` for the next request; false when none began.
    bool AwaitRequest(Clock::duration wait) {
        if (begin_ == end_ && !WaitFor(sock_, POLLIN, wake_, Clock::now() + wait)) return false;
        readDeadline_ = Clock::now() + kRequestReadTime;
        writing_ = false;
        return true;
    }

    bool is_readable() const override {
        return begin_ < end_ || WaitFor(sock_, POLLIN, wake_, readDeadline_);
    }
    bool is_writable() const override {
        return WaitFor(sock_, POLLOUT, -1, writing_ ? writeDeadline_ : Clock::now());
    }

    // True once a read has waited in vain: the request cannot be complete.
    bool Stalled() const { return stalled_; }

    ssize_t read(char* ptr, size_t size) override {
        if (begin_ == end_) {
            if (!WaitFor(sock_, POLLIN, wake_, readDeadline_)) {
                stalled_ = true;
                return -1;
            }
            const ssize_t n = recv(sock_, buffer_, sizeof buffer_, 0);
            if (n <= 0) return n;
            begin_ = 0;
            end_ = static_cast<size_t>(n);
        }
        const size_t n = std::min(size, end_ - begin_);
        std::memcpy(ptr, buffer_ + begin_, n);
        begin_ += n;
        return static_cast<ssize_t>(n);
    }

    ssize_t write(const char* ptr, size_t size) override {
        if (!writing_) {
            writing_ = true;
            writeDeadline_ = Clock::now() + kReplyWriteTime;
        }
        if (!WaitFor(sock_, POLLOUT, -1, writeDeadline_)) return -1;
        return send(sock_, ptr, size, MSG_NOSIGNAL);
    }

    void get_remote_ip_and_port(std::string& ip, int& port) const override {
        AddressOf(sock_, true, ip, port);
    }
    void get_local_ip_and_port(std::string& ip, int& port) const override {
        AddressOf(sock_, false, ip, port);
    }
    socket_t socket() const override { return sock_; }

  private:
    int sock_;
    int wake_;
    char buffer_[16384];
    size_t begin_ = 0;
    size_t end_ = 0;
    Clock::time_point readDeadline_;
    Clock::time_point writeDeadline_;
    bool writing_ = false;
    bool stalled_ = false;
};

}  // namespace

// httplib's server on a socket bound by BackendServer, serving each connection through a
// ConnectionStream.
class BackendServer::Http : public httplib::Server {
  public:
    Http() {
        if (pipe2(wake_, O_CLOEXEC) != 0) wake_[0] = wake_[1] = -1;
    }
    ~Http() override {
        for (int fd : wake_) {
            if (fd >= 0) close(fd);
        }
    }

    // Serves on the listening socket `fd`, which it then owns.
    void Adopt(int fd) { svr_sock_ = fd; }

    // Stops accepting and wakes every connection that waits for its client.
    void Shutdown() {
        if (wake_[1] >= 0) close(wake_[1]);
        wake_[1] = -1;
        stop();
    }

  private:
    bool process_and_close_socket(socket_t sock) override {
        ConnectionStream stream(sock, wake_[0]);
        bool closed = false;
        Clock::duration wait = kFirstRequestWait;
        while (!closed && stream.AwaitRequest(wait)) {
            if (!process_request(stream, false, closed, nullptr) || stream.Stalled()) break;
            wait = kIdleWait;
        }
        shutdown(sock, SHUT_RDWR);
        close(sock);
        return true;
    }

    int wake_[2];
};

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

    auto http = std::make_unique<Http>();
    http->new_task_queue = [] { return new WorkerPool; };
    http->set_keep_alive_max_count(100000);
    // What the Keep-Alive header announces; ConnectionStream keeps to it.
    http->set_keep_alive_timeout(std::chrono::seconds(kIdleWait).count());
    http->set_payload_max_length(kMaxBody);
    http->Post(".*", [this](const httplib::Request& req, httplib::Response& res) {
        std::string reply;
        res.status = Handle(req.body, &reply);
        res.set_content(reply, "text/xml; charset=utf-8");
    });
    http->Get(".*", [this](const httplib::Request& req, httplib::Response& res) {
        if (!AsksForWsdl(req)) {
            res.set_content(
                "xmk-backend: POST SOAP 1.1 requests to this address; its WSDL is "
                "at this address followed by ?wsdl\n",
                "text/plain; charset=utf-8");
            return;
        }
        // The service's address is the one the client asked at.
        std::string host = req.get_header_value("Host");
        if (host.empty()) host = "127.0.0.1:" + std::to_string(port_);
        res.set_content(Wsdl::Describe("http://" + host + req.path), "text/xml; charset=utf-8");
    });

    const int fd = ListenOn(port, error);
    if (fd < 0) return false;
    std::string ip;
    AddressOf(fd, false, ip, port_);
    http->Adopt(fd);
    Http* raw = http.get();
    thread_ = std::thread([raw] { raw->listen_after_bind(); });
    // Stop is only safe once the server runs, so Start returns no earlier.
    const auto deadline = Clock::now() + kStartTimeout;
    while (!raw->is_running() && Clock::now() < deadline) {
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
    http_->Shutdown();
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
        // A method element without a namespace is answered in the uniform interface's.
        *reply = SoapMessage::Reply(
            request.method,
            request.nameSpace.empty() ? kUniteInterfaceNamespace : request.nameSpace, answer.text);
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
