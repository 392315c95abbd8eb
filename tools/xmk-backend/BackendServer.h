// BackendServer: the reference back-end as an HTTP server. It serves SOAP 1.1 requests,
// POSTed to any path of 127.0.0.1:port, and its WSDL (GET ...?wsdl), on a store that lives as
// long as the server object: stopping and starting again keeps the records. Each connection
// has a worker thread of its own, and time limits on waiting for, reading and answering a
// request free the workers that slow or silent clients hold.
// Start and Stop are called from one thread; the rest may be called from any thread.
#pragma once

#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "BackendService.h"
#include "BackendStore.h"

class BackendServer {
  public:
    // An empty path keeps the records in memory.
    explicit BackendServer(std::string dbPath = std::string());
    ~BackendServer();
    BackendServer(const BackendServer&) = delete;
    BackendServer& operator=(const BackendServer&) = delete;

    // Opens the store (on the first start), listens on 127.0.0.1:port (0: a free port) and
    // serves until Stop. False, with `error` set, when the store cannot be opened or the
    // port cannot be bound (a port in use by anyone, this program included, cannot).
    // REQUIRES: the server is not running.
    bool Start(int port = 0, std::string* error = nullptr);
    // Stops listening, ends open connections and waits for the serving thread. Harmless when
    // not running.
    void Stop();
    bool IsRunning() const;

    // The port served (or last served); 0 before the first start.
    int Port() const { return port_; }
    // The URL of the uniform interface, "http://127.0.0.1:PORT/UniteInterface".
    std::string Url() const;
    // The URL of the object-list service, "http://127.0.0.1:PORT/ObjectList".
    std::string ObjectListUrl() const;

    // Answers one HTTP request body as the server does: returns the HTTP status and puts
    // the reply envelope in `reply`.
    int Handle(const std::string& body, std::string* reply);

    // Looks into the store, for tests and tools.
    int CountRows(const std::string& table);
    std::vector<std::vector<std::string>> Query(const std::string& sql);

  private:
    class Http;

    bool EnsureOpen(std::string* error);

    std::string dbPath_;
    std::mutex openMutex_;
    bool opened_ = false;
    int port_ = 0;
    BackendStore store_;
    BackendService service_;
    std::unique_ptr<Http> http_;
    std::thread thread_;
};
