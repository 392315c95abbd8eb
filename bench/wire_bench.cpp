// Round trips of the uniform call against a loopback SOAP server, side by side with two plain
// libcurl loops that post the same envelope: one reusing a handle (the ceiling the built-in
// transport should come close to) and one opening a new connection per call.
#include <benchmark/benchmark.h>
#include <curl/curl.h>

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

WebCall UniformCall() {
    WebCall call;
    call.url = Server().Url().c_str();
    call.nameSpace = kNamespace;
    call.service = "UniteInterface";
    call.method = "DoWork";
    call.arguments.emplace_back("jsonInput", kRequestJson);
    return call;
}

size_t Collect(char* data, size_t size, size_t count, void* user) {
    static_cast<std::string*>(user)->append(data, size * count);
    return size * count;
}

// Posts the uniform call's envelope with `curl`, as the built-in transport does.
void Post(CURL* curl, const std::string& url, const std::string& body, curl_slist* headers,
          std::string* reply) {
    reply->clear();
    curl_easy_setopt(curl, CURLOPT_URL, url.c_str());
    curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(curl, CURLOPT_POSTFIELDS, body.data());
    curl_easy_setopt(curl, CURLOPT_POSTFIELDSIZE_LARGE, static_cast<curl_off_t>(body.size()));
    curl_easy_setopt(curl, CURLOPT_HTTPHEADER, headers);
    curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, Collect);
    curl_easy_setopt(curl, CURLOPT_WRITEDATA, reply);
    curl_easy_perform(curl);
}

curl_slist* Headers(const WebCall& call) {
    curl_slist* headers = curl_slist_append(nullptr, "Content-Type: text/xml; charset=utf-8");
    headers = curl_slist_append(headers, ("SOAPAction: " + SoapActionOf(call)).c_str());
    return curl_slist_append(headers, "Expect:");
}

void BM_UniformCall(benchmark::State& state) {
    SetWebTransport(nullptr);
    const CString url = Server().Url().c_str();
    TWebService service(kNamespace, "UniteInterface");
    std::vector<std::shared_ptr<WebArgument>> arguments{
        std::make_shared<WebArgumentString>("jsonInput", kRequestJson)};
    for (auto _ : state) {
        std::pair<bool, CString> reply = service.ExcuteOnServer(url, "DoWork", arguments, nullptr);
        if (!reply.first) state.SkipWithError(reply.second.GetString());
        benchmark::DoNotOptimize(reply);
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_UniformCall)->UseRealTime();

void BM_PlainCurlReusedHandle(benchmark::State& state) {
    WebCall call = UniformCall();
    std::string url = call.url.Str();
    std::string body = BuildSoapRequest(call);
    curl_slist* headers = Headers(call);
    CURL* curl = curl_easy_init();
    std::string reply;
    for (auto _ : state) {
        Post(curl, url, body, headers, &reply);
        benchmark::DoNotOptimize(reply);
    }
    curl_easy_cleanup(curl);
    curl_slist_free_all(headers);
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_PlainCurlReusedHandle)->UseRealTime();

void BM_PlainCurlNewConnectionPerCall(benchmark::State& state) {
    WebCall call = UniformCall();
    std::string url = call.url.Str();
    std::string body = BuildSoapRequest(call);
    curl_slist* headers = Headers(call);
    std::string reply;
    for (auto _ : state) {
        CURL* curl = curl_easy_init();
        Post(curl, url, body, headers, &reply);
        curl_easy_cleanup(curl);
        benchmark::DoNotOptimize(reply);
    }
    curl_slist_free_all(headers);
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_PlainCurlNewConnectionPerCall)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
