// The xmk-backend program: it announces its port on the first line of its output, serves,
// and ends cleanly (status 0) on SIGINT or SIGTERM.
#include <httplib.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "gtest/gtest.h"
#include "support/TempDir.h"

namespace {

// A running xmk-backend with its standard output on a pipe; killed if still running at the
// end. The shell prints its own process id, then becomes the program, so the first line
// names the process to signal.
class Program {
  public:
    explicit Program(const std::string& args)
        : out_(popen(("echo $$; exec " XMK_BACKEND_PROGRAM " " + args).c_str(), "r")),
          pid_(std::atoi(ReadLine().c_str())) {}
    ~Program() {
        if (out_ != nullptr) Stop(SIGKILL);
    }

    // The next line of output without its end; empty at the end of the output.
    std::string ReadLine() {
        char buffer[512];
        if (out_ == nullptr || fgets(buffer, sizeof buffer, out_) == nullptr) return "";
        std::string line = buffer;
        if (!line.empty() && line.back() == '\n') line.pop_back();
        return line;
    }

    // The port of a "listening on 127.0.0.1:PORT" line, 0 for any other line.
    int ReadPort() {
        const std::string prefix = "listening on 127.0.0.1:";
        const std::string line = ReadLine();
        return line.compare(0, prefix.size(), prefix) == 0 ? std::atoi(&line[prefix.size()]) : 0;
    }

    // Sends `sig` (0: none), waits for the end and returns the exit status, or -1 when the
    // program did not exit normally.
    int Stop(int sig) {
        if (pid_ > 0) kill(pid_, sig);
        const int status = pclose(out_);
        out_ = nullptr;
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

  private:
    FILE* out_;
    pid_t pid_;
};

TEST(BackendProgramTest, AnnouncesAFreePortServesAndStopsOnSigtermOrSigint) {
    TempDir dir;
    const std::string db = dir.Path() + "/store.db";
    Program program("--port 0 --db " + db);
    const int port = program.ReadPort();
    ASSERT_GT(port, 0);
    EXPECT_EQ("uniform interface: http://127.0.0.1:" + std::to_string(port) + "/UniteInterface",
              program.ReadLine());
    auto reply = httplib::Client("127.0.0.1", port)
                     .Post("/UniteInterface",
                           "<?xml version=\"1.0\" encoding=\"utf-8\"?><soap:Envelope "
                           "xmlns:soap=\"http://schemas.xmlsoap.org/soap/envelope/\"><soap:Body>"
                           "<CheckXMFZR xmlns=\"http://tempuri.org/\"><EmpId>1001</EmpId>"
                           "</CheckXMFZR></soap:Body></soap:Envelope>",
                           "text/xml; charset=utf-8");
    ASSERT_TRUE(reply);
    EXPECT_NE(std::string::npos, reply->body.find("<CheckXMFZRResult>1,张伟:1:3:1<"));
    EXPECT_EQ(0, program.Stop(SIGTERM));
    EXPECT_EQ(0, access(db.c_str(), F_OK));

    Program again("--db " + db);
    EXPECT_GT(again.ReadPort(), 0);
    EXPECT_EQ(0, again.Stop(SIGINT));
}

TEST(BackendProgramTest, RefusesBadArguments) {
    Program program("--port http");
    EXPECT_EQ("", program.ReadLine());
    EXPECT_EQ(2, program.Stop(0));
}

}  // namespace
