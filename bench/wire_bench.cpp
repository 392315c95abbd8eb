// Round trips of the uniform call against a loopback SOAP server, side by side with two plain
// libcurl loops that post the same envelope: one reusing a handle (the ceiling the built-in
// transport should come close to) and one opening a new connection per call.
#include <benchmark/benchmark.h>
#include <curl/curl.h>
#include <time.h>

#include <algorithm>
#include <chrono>
#include <memory>
#include <string>
#include <vector>

#include "support/LoopbackSoapServer.h"
#include "wirekit/SoapEnvelope.h"
#include "wirekit/TWebService.h"
#include "wirekit/WebTransport.h"

namespace {

constexpr char kNamespace[] = "http://tempuri.org/";
constexpr char kRequestJson[] =
    "{\"FunctionType\":3,\"Permission\":{\"UserId\":\"8f2c1d\",\"AppType\":2},"
    "\"Data\":{\"ProjectId\":1024,\"Name\":\"城市道路改造工程\",\"AreaCode\":\"330100\"}}";
constexpr char kReplyJson[] = "{\"Code\":1,\"Message\":\"保存成功\",\"Data\":{\"Id\":20240517}}";

LoopbackSoapServer& Server() {
    static LoopbackSoapServer* server = [] {
        auto* created = new LoopbackSoapServer;
        created->SetReplyText("DoWork", kReplyJson);
        return created;
    }();
    return *server;
}

// The uniform call through TWebService and the built-in transport.
class UniformClient {
  public:
    UniformClient()
        : url_(Server().Url().c_str()),
          service_(kNamespace, "UniteInterface"),
          arguments_{std::make_shared<WebArgumentString>("jsonInput", kRequestJson)} {
        SetWebTransport(nullptr);
    }
    bool Call() { return service_.ExcuteOnServer(url_, "DoWork", arguments_, nullptr).first; }

  private:
    CString url_;
    TWebService service_;
    std::vector<std::shared_ptr<WebArgument>> arguments_;
};

// The same request posted with libcurl directly; the reply is collected but not read.
class PlainClient {
  public:
    PlainClient() {
        WebCall call;
        call.nameSpace = kNamespace;
        call.method = "DoWork";
        call.arguments.emplace_back("jsonInput", kRequestJson);
        url_ = Server().Url();
        body_ = BuildSoapRequest(call);
        headers_ = curl_slist_append(nullptr, "Content-Type: text/xml; charset=utf-8");
        headers_ = curl_slist_append(headers_, ("SOAPAction: " + SoapActionOf(call)).c_str());
        headers_ = curl_slist_append(headers_, "Expect:");
        reused_ = curl_easy_init();
    }
    ~PlainClient() {
        curl_easy_cleanup(reused_);
        curl_slist_free_all(headers_);
    }

    bool CallReusingTheHandle() { return Post(reused_); }
    bool CallOnANewConnection() {
        CURL* curl = curl_easy_init();
        bool ok = Post(curl);
        curl_easy_cleanup(curl);
        return ok;
    }

  private:
    static size_t Collect(char* data, size_t size, size_t count, void* user) {
        static_cast<std::string*>(user)->append(data, size * count);
        return size * count;
    }

    bool Post(CURL* curl) {
        reply_.clear();
        curl_easy_setopt(curl, CURLOPT_URL, url_.c_str());
        curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
        curl_easy_setopt(curl, CURLOPT_POSTFIELDS, body_.data());
        curl_easy_setopt(curl, CURLOPT_POSTFIELDSIZE_LARGE, static_cast<curl_off_t>(body_.size()));
        curl_easy_setopt(curl, CURLOPT_HTTPHEADER, headers_);
        curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, Collect);
        curl_easy_setopt(curl, CURLOPT_WRITEDATA, &reply_);
        return curl_easy_perform(curl) == CURLE_OK;
    }

    std::string url_;
    std::string body_;
    std::string reply_;
    curl_slist* headers_ = nullptr;
    CURL* reused_ = nullptr;
};

void BM_UniformCall(benchmark::State& state) {
    UniformClient client;
    for (auto _ : state) {
        if (!client.Call()) state.SkipWithError("the uniform call failed");
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_UniformCall)->UseRealTime();

void BM_PlainCurlReusedHandle(benchmark::State& state) {
    PlainClient client;
    for (auto _ : state) {
        if (!client.CallReusingTheHandle()) state.SkipWithError("the post failed");
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_PlainCurlReusedHandle)->UseRealTime();

void BM_PlainCurlNewConnectionPerCall(benchmark::State& state) {
    PlainClient client;
    for (auto _ : state) {
        if (!client.CallOnANewConnection()) state.SkipWithError("the post failed");
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_PlainCurlNewConnectionPerCall)->UseRealTime();

double ThreadCpuSeconds() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

// The three in alternating batches, so that all meet the same load on a shared machine.
// vs_reused is the transport's rate over the reused-handle loop's, vs_new over the
// new-connection loop's; *_cpu_us is the calling thread's processor time per call, which
// a busy machine disturbs less than the rates. The *_best counters take each way's fastest
// batch, which bursts of load on a shared machine leave closest to the cost of the code.
void BM_SideBySide(benchmark::State& state) {
    constexpr int kBatch = 100;
    UniformClient uniform;
    PlainClient plain;
    double seconds[3] = {};
    double cpuSeconds[3] = {};
    double bestSeconds[3] = {1e9, 1e9, 1e9};
    double bestCpu[3] = {1e9, 1e9, 1e9};
    for (auto _ : state) {
        for (int way = 0; way < 3; ++way) {
            auto start = std::chrono::steady_clock::now();
            double cpuStart = ThreadCpuSeconds();
            for (int i = 0; i < kBatch; ++i) {
                bool ok = way == 0   ? uniform.Call()
                          : way == 1 ? plain.CallReusingTheHandle()
                                     : plain.CallOnANewConnection();
                if (!ok) state.SkipWithError("a call failed");
            }
            const double cpu = ThreadCpuSeconds() - cpuStart;
            const double wall =
                std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
            seconds[way] += wall;
            cpuSeconds[way] += cpu;
            bestSeconds[way] = std::min(bestSeconds[way], wall);
            bestCpu[way] = std::min(bestCpu[way], cpu);
        }
    }
    double calls = static_cast<double>(state.iterations()) * kBatch;
    state.counters["uniform_per_s"] = calls / seconds[0];
    state.counters["reused_per_s"] = calls / seconds[1];
    state.counters["new_per_s"] = calls / seconds[2];
    state.counters["vs_reused"] = seconds[1] / seconds[0];
    state.counters["vs_new"] = seconds[2] / seconds[0];
    state.counters["uniform_cpu_us"] = cpuSeconds[0] / calls * 1e6;
    state.counters["reused_cpu_us"] = cpuSeconds[1] / calls * 1e6;
    state.counters["new_cpu_us"] = cpuSeconds[2] / calls * 1e6;
    state.counters["uniform_cpu_us_best"] = bestCpu[0] / kBatch * 1e6;
    state.counters["reused_cpu_us_best"] = bestCpu[1] / kBatch * 1e6;
    state.counters["vs_reused_best"] = bestSeconds[1] / bestSeconds[0];
    state.counters["cpu_vs_reused_best"] = bestCpu[0] / bestCpu[1];
}
BENCHMARK(BM_SideBySide)->UseRealTime()->Unit(benchmark::kMillisecond)->MinTime(3);

}  // namespace

BENCHMARK_MAIN();
