// The xmk-backend program: it announces its port on the first line of its output, serves,
// and ends cleanly (status 0) on SIGINT or SIGTERM.
#include <fcntl.h>
#include <httplib.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <string>
#include <vector>

#include "gtest/gtest.h"
#include "support/TempDir.h"

extern char** environ;

namespace {

// A running xmk-backend with its standard output on a pipe.
class Program {
  public:
    explicit Program(std::vector<std::string> args) {
        int fds[2];
        if (pipe(fds) != 0) return;
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, fds[1], STDOUT_FILENO);
        posix_spawn_file_actions_addclose(&actions, fds[0]);
        args.insert(args.begin(), XMK_BACKEND_PROGRAM);
        std::vector<char*> argv;
        for (std::string& a : args) argv.push_back(a.data());
        argv.push_back(nullptr);
        if (posix_spawn(&pid_, XMK_BACKEND_PROGRAM, &actions, nullptr, argv.data(), environ) != 0) {
            pid_ = -1;
        }
        posix_spawn_file_actions_destroy(&actions);
        close(fds[1]);
        out_ = fds[0];
    }
    ~Program() {
        if (pid_ > 0) {
            kill(pid_, SIGKILL);
            waitpid(pid_, nullptr, 0);
        }
        if (out_ >= 0) close(out_);
    }

    // The next line of output, waiting at most 10 s; empty at the end or on time-out.
    std::string ReadLine() {
        std::string line;
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (std::chrono::steady_clock::now() < deadline) {
            pollfd p{out_, POLLIN, 0};
            if (poll(&p, 1, 100) <= 0) continue;
            char c;
            if (read(out_, &c, 1) != 1 || c == '\n') return line;
            line += c;
        }
        return line;
    }

    // Sends `sig` and returns the exit status, or -1 when the program did not exit normally
    // within 10 s.
    int Stop(int sig) {
        kill(pid_, sig);
        for (int i = 0; i < 1000; ++i) {
            int status = 0;
            if (waitpid(pid_, &status, WNOHANG) == pid_) {
                pid_ = -1;
                return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
            }
            usleep(10000);
        }
        return -1;
    }

    bool Started() const { return pid_ > 0; }

  private:
    pid_t pid_ = -1;
    int out_ = -1;
};

int PortOf(const std::string& line) {
    const std::string prefix = "listening on 127.0.0.1:";
    if (line.compare(0, prefix.size(), prefix) != 0) return 0;
    return std::atoi(line.c_str() + prefix.size());
}

std::string LeaderCheck(int port, const char* empId) {
    httplib::Client client("127.0.0.1", port);
    const std::string body =
        "<?xml version=\"1.0\" encoding=\"utf-8\"?><soap:Envelope "
        "xmlns:soap=\"http://schemas.xmlsoap.org/soap/envelope/\"><soap:Body><CheckXMFZR "
        "xmlns=\"http://tempuri.org/\"><EmpId>" +
        std::string(empId) + "</EmpId></CheckXMFZR></soap:Body></soap:Envelope>";
    auto reply = client.Post("/UniteInterface", body, "text/xml; charset=utf-8");
    return reply ? reply->body : std::string("<no reply>");
}

TEST(BackendProgramTest, AnnouncesAFreePortServesAndStopsOnSigterm) {
    Program program({"--port", "0"});
    ASSERT_TRUE(program.Started());
    const int port = PortOf(program.ReadLine());
    ASSERT_GT(port, 0);
    EXPECT_NE(std::string::npos, LeaderCheck(port, "1001").find("<CheckXMFZRResult>1,张伟:1:3:1<"));
    EXPECT_EQ(0, program.Stop(SIGTERM));
}

TEST(BackendProgramTest, KeepsItsDatabaseFileAndStopsOnSigint) {
    TempDir dir;
    const std::string db = dir.Path() + "/store.db";
    {
        Program program({"--db", db});
        const int port = PortOf(program.ReadLine());
        ASSERT_GT(port, 0);
        EXPECT_EQ("uniform interface: http://127.0.0.1:" + std::to_string(port) + "/UniteInterface",
                  program.ReadLine());
        EXPECT_EQ(0, program.Stop(SIGINT));
    }
    EXPECT_EQ(0, access(db.c_str(), F_OK));
}

TEST(BackendProgramTest, RefusesBadArguments) {
    Program program({"--port", "http"});
    EXPECT_EQ("", program.ReadLine());
    EXPECT_EQ(2, program.Stop(0));
}

}  // namespace
