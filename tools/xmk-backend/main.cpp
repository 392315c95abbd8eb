// xmk-backend: the reference back-end of xmkclient, a SOAP 1.1 server on 127.0.0.1 over an
// SQLite store. Prints "listening on 127.0.0.1:PORT" first, then serves until SIGINT or
// SIGTERM.
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "BackendServer.h"

namespace {

void Usage(FILE* out) {
    std::fprintf(out,
                 "usage: xmk-backend [--port PORT] [--db PATH]\n"
                 "  --port PORT  port on 127.0.0.1 (default 0: a free port)\n"
                 "  --db PATH    SQLite database file (default: in memory)\n");
}

}  // namespace

int main(int argc, char** argv) {
    int port = 0;
    std::string db;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if ((arg == "--port" || arg == "--db") && i + 1 < argc) {
            const char* value = argv[++i];
            if (arg == "--db") {
                db = value;
                continue;
            }
            char* end = nullptr;
            const long p = std::strtol(value, &end, 10);
            if (*value == '\0' || *end != '\0' || p < 0 || p > 65535) {
                std::fprintf(stderr, "xmk-backend: bad port: %s\n", value);
                return 2;
            }
            port = static_cast<int>(p);
        } else if (arg == "--help" || arg == "-h") {
            Usage(stdout);
            return 0;
        } else {
            Usage(stderr);
            return 2;
        }
    }

    // The signals are taken by sigwait below, so every thread must have them blocked: block
    // them before the server starts its threads.
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGINT);
    sigaddset(&stopSignals, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);
    std::signal(SIGPIPE, SIG_IGN);

    BackendServer server(db);
    std::string error;
    if (!server.Start(port, &error)) {
        std::fprintf(stderr, "xmk-backend: %s\n", error.c_str());
        return 1;
    }
    std::printf("listening on 127.0.0.1:%d\n", server.Port());
    std::printf("uniform interface: %s\n", server.Url().c_str());
    std::printf("object-list service: %s\n", server.ObjectListUrl().c_str());
    std::printf("database: %s\n", db.empty() ? "in memory" : db.c_str());
    std::fflush(stdout);

    int signal = 0;
    sigwait(&stopSignals, &signal);
    server.Stop();
    std::printf("stopped by %s\n", signal == SIGINT ? "SIGINT" : "SIGTERM");
    return 0;
}
