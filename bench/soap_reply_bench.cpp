// The reading of SOAP replies: time per reply for the small replies of everyday calls, time to
// refuse large hostile replies, and the peak memory of reading a large reply of tiny elements,
// measured in a child process so that nothing else the benchmark did counts towards it.
#include <benchmark/benchmark.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>

#include "wirekit/SoapEnvelope.h"

namespace {

constexpr char kXml[] = "text/xml; charset=utf-8";
constexpr char kEnvelopeStart[] =
    "<?xml version=\"1.0\" encoding=\"utf-8\"?><soap:Envelope "
    "xmlns:soap=\"http://schemas.xmlsoap.org/soap/envelope/\" "
    "xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\"><soap:Body>";
constexpr char kEnvelopeEnd[] = "</soap:Body></soap:Envelope>";

std::string Envelope(const std::string& inner) { return kEnvelopeStart + inner + kEnvelopeEnd; }

std::string Answer(const std::string& escapedResult) {
    return Envelope("<DoWorkResponse xmlns=\"http://tempuri.org/\"><DoWorkResult>" + escapedResult +
                    "</DoWorkResult></DoWorkResponse>");
}

// A write reply as the back-end sends it.
std::string WriteReply() {
    return Answer(
        "{&quot;Code&quot;:1,&quot;Message&quot;:&quot;保存成功&quot;,"
        "&quot;Data&quot;:{&quot;Id&quot;:20240517}}");
}

// A page of 20 records.
std::string ListReply() {
    std::string rows;
    for (int i = 0; i < 20; ++i) {
        rows += "{&quot;Id&quot;:" + std::to_string(1000 + i) +
                ",&quot;Name&quot;:&quot;城市道路改造工程&quot;,&quot;AreaCode&quot;:"
                "&quot;330100&quot;,&quot;State&quot;:2},";
    }
    return Answer("[" + rows + "]");
}

std::string FaultReply() {
    return Envelope(
        "<soap:Fault><faultcode>soap:Client</faultcode><faultstring>参数错误</faultstring>"
        "</soap:Fault>");
}

void ReadEach(benchmark::State& state, const std::string& body, long status,
              const std::string& type) {
    for (auto _ : state) {
        benchmark::DoNotOptimize(ReadSoapReply(status, type, body, "DoWork"));
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * body.size()));
}

void BM_WriteReply(benchmark::State& state) { ReadEach(state, WriteReply(), 200, kXml); }
BENCHMARK(BM_WriteReply);

void BM_ListReply(benchmark::State& state) { ReadEach(state, ListReply(), 200, kXml); }
BENCHMARK(BM_ListReply);

void BM_FaultReply(benchmark::State& state) { ReadEach(state, FaultReply(), 500, kXml); }
BENCHMARK(BM_FaultReply);

// GBK text named by the header only, as older back-ends send it.
void BM_GbkReply(benchmark::State& state) {
    ReadEach(state, Answer(std::string(100, 'x') + "\xD6\xD0\xCE\xC4"), 200,
             "text/xml; charset=GBK");
}
BENCHMARK(BM_GbkReply);

enum Shape { kInsideResult, kBesideResult, kOneText };

// About 60 MiB: tiny elements inside the result element or after it, or one long text.
std::string LargeReply(Shape shape) {
    constexpr size_t kSize = 60u << 20;
    const std::string unit = shape == kOneText ? "abcd" : "<a/>";
    std::string body = kEnvelopeStart;
    body.reserve(kSize + 256);
    body += "<DoWorkResponse><DoWorkResult>";
    if (shape == kBesideResult) body += "1</DoWorkResult>";
    while (body.size() < kSize) body += unit;
    if (shape != kBesideResult) body += "</DoWorkResult>";
    body += "</DoWorkResponse>";
    body += kEnvelopeEnd;
    return body;
}

// Shapes whose reading takes libxml2 time growing with the square of their size: a start, then
// ever more numbered units, then an end. Past an error libxml2 reads on without calling back.
struct HostileShape {
    const char* start;
    const char* unit;  // its number goes after this
    const char* unitEnd;
    const char* end;
};
constexpr HostileShape kHostileShapes[] = {
    {"", "<n", "/>", ""},              // ever new element names
    {"</x>", "<n", "/>", ""},          // the same after an error
    {"<a", " a", "=''", "/>"},         // attributes of one element
    {"<a", " xmlns:p", "='u'", "/>"},  // namespace declarations of one element
};

// About 60 MiB of a hostile shape inside the result element.
std::string HostileReply(const HostileShape& shape) {
    constexpr size_t kSize = 60u << 20;
    std::string body = kEnvelopeStart;
    body.reserve(kSize + 256);
    body += "<DoWorkResponse><DoWorkResult>";
    body += shape.start;
    for (int i = 0; body.size() < kSize; ++i) {
        body.append(shape.unit).append(std::to_string(i)).append(shape.unitEnd);
    }
    body += shape.end;
    body += "</DoWorkResult></DoWorkResponse>";
    body += kEnvelopeEnd;
    return body;
}

// Time to refuse each hostile shape.
void BM_HostileReply(benchmark::State& state) {
    const std::string body = HostileReply(kHostileShapes[state.range(0)]);
    for (auto _ : state) {
        if (ReadSoapReply(200, kXml, body, "DoWork").first) state.SkipWithError("not refused");
    }
}
BENCHMARK(BM_HostileReply)->DenseRange(0, 3)->Unit(benchmark::kMillisecond);

long PeakKb() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

// Peak resident memory of a child that builds the reply and reads it: the whole peak, and
// how far reading raised it above the reply held in memory.
void BM_LargeReplyPeakMemory(benchmark::State& state) {
    const Shape shape = static_cast<Shape>(state.range(0));
    for (auto _ : state) {
        int fds[2];
        if (pipe(fds) != 0) {
            state.SkipWithError("pipe failed");
            return;
        }
        pid_t child = fork();
        if (child == 0) {
            const std::string body = LargeReply(shape);
            const long before = PeakKb();
            const bool ok = ReadSoapReply(200, kXml, body, "DoWork").first;
            const long after = PeakKb();
            const long figures[] = {after, after - before, ok ? 1 : 0};
            _exit(write(fds[1], figures, sizeof figures) == sizeof figures ? 0 : 1);
        }
        close(fds[1]);
        long figures[3] = {};
        const bool got = read(fds[0], figures, sizeof figures) == sizeof figures;
        close(fds[0]);
        int status = 0;
        waitpid(child, &status, 0);
        if (!got) {
            state.SkipWithError("the child did not report");
            return;
        }
        state.counters["peak_MB"] = static_cast<double>(figures[0]) / 1024;
        state.counters["read_MB"] = static_cast<double>(figures[1]) / 1024;
        state.counters["read_ok"] = static_cast<double>(figures[2]);
    }
}
BENCHMARK(BM_LargeReplyPeakMemory)
    ->Arg(kInsideResult)
    ->Arg(kBesideResult)
    ->Arg(kOneText)
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
