// Parameter counts over large replies: one count per element must cost time linear in the
// number of elements. The transport answers at once with a prepared array of objects.
#include <benchmark/benchmark.h>

#include <string>

#include "datastore/CDataStoreWebService.h"
#include "service/CServiceSupport.h"
#include "service/CWebService.h"
#include "wirekit/WebTransport.h"

namespace {

class InstantTransport : public IWebTransport {
  public:
    explicit InstantTransport(CString reply) : reply_(std::move(reply)) {}
    std::pair<bool, CString> Exchange(const WebCall&) override { return {true, reply_}; }

  private:
    CString reply_;
};

CString ArrayOfCounts(int elements) {
    std::string text = "[";
    for (int i = 0; i < elements; ++i) {
        if (i > 0) text += ",";
        text += "{\"TotalCount\":" + std::to_string(i % 1000) + ",\"Name\":\"n" +
                std::to_string(i) + "\"}";
    }
    text += "]";
    return CString(text);
}

void BM_ParameterCount(benchmark::State& state) {
    const int elements = static_cast<int>(state.range(0));
    InstantTransport transport(ArrayOfCounts(elements));
    IWebTransport* previous = SetWebTransport(&transport);
    const CDataStoreWebService store("37", 0, "http://127.0.0.1:1/svc");
    for (auto _ : state) {
        std::vector<long> counts = store.GetRecordsCount("p", QueryTypeDefault, true);
        if (static_cast<int>(counts.size()) != elements) state.SkipWithError("wrong count");
        benchmark::DoNotOptimize(counts.data());
    }
    state.SetComplexityN(elements);
    state.SetItemsProcessed(state.iterations() * elements);
    SetWebTransport(previous);
}
BENCHMARK(BM_ParameterCount)->Arg(1000)->Arg(10000)->Complexity(benchmark::oN);

}  // namespace

BENCHMARK_MAIN();
