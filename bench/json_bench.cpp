// Speed of the JSON document: scanning a large reply beside RapidJSON, reading the rows of a
// reply member by member by name beside RapidJSON, reading an unchanged document child by
// child, building by push, and the deep search.
#include <benchmark/benchmark.h>
#include <rapidjson/document.h>

#include <cstdio>
#include <string>
#include <vector>

#include "json/CJosn.h"

namespace {

// An array of `objects` objects of 20 quoted-name members each, about 520 bytes per object.
std::string Reply(int objects) {
    std::string text = "[";
    char member[64];
    for (int i = 0; i < objects; ++i) {
        if (i > 0) text += ',';
        text += '{';
        for (int m = 0; m < 20; ++m) {
            if (m > 0) text += ',';
            if (m % 2 == 0) {
                std::snprintf(member, sizeof(member), "\"Field%02d\":\"text value %d-%d\"", m, i,
                              m);
            } else {
                std::snprintf(member, sizeof(member), "\"Count%02d\":%d", m, i * 31 + m);
            }
            text += member;
        }
        text += '}';
    }
    text += ']';
    return text;
}

const std::string& MiBReply() {
    static const std::string text = [] {
        std::string t = Reply(2000);
        return t;
    }();
    return text;
}

// An object of `count` members.
std::string Members(int count) {
    std::string text = "{";
    for (int i = 0; i < count; ++i) {
        if (i > 0) text += ',';
        text += "Member" + std::to_string(i) + ":'value " + std::to_string(i) + "'";
    }
    text += '}';
    return text;
}

void BM_JosnScan(benchmark::State& state) {
    const CString text(MiBReply());
    for (auto _ : state) {
        CJosn doc(text);
        benchmark::DoNotOptimize(doc.GetChildCount());
    }
    state.SetBytesProcessed(state.iterations() * text.GetLength());
}
BENCHMARK(BM_JosnScan)->Unit(benchmark::kMicrosecond);

// The scan followed by making the record of every child (records are made on first use).
void BM_JosnScanAndRecords(benchmark::State& state) {
    const CString text(MiBReply());
    for (auto _ : state) {
        CJosn doc(text);
        for (unsigned int i = 0; i < doc.GetChildCount(); ++i) {
            benchmark::DoNotOptimize(doc.GetChildStructPtr(i));
        }
    }
    state.SetBytesProcessed(state.iterations() * text.GetLength());
}
BENCHMARK(BM_JosnScanAndRecords)->Unit(benchmark::kMicrosecond);

void BM_RapidJsonDom(benchmark::State& state) {
    const std::string& text = MiBReply();
    for (auto _ : state) {
        rapidjson::Document doc;
        doc.Parse(text.c_str(), text.size());
        benchmark::DoNotOptimize(doc.Size());
    }
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(text.size()));
}
BENCHMARK(BM_RapidJsonDom)->Unit(benchmark::kMicrosecond);

void BM_RapidJsonInsitu(benchmark::State& state) {
    const std::string& text = MiBReply();
    for (auto _ : state) {
        std::string copy = text;
        rapidjson::Document doc;
        doc.ParseInsitu(&copy[0]);
        benchmark::DoNotOptimize(doc.Size());
    }
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(text.size()));
}
BENCHMARK(BM_RapidJsonInsitu)->Unit(benchmark::kMicrosecond);

// The member names of a Reply row, in order.
std::vector<std::string> RowNames() {
    std::vector<std::string> names;
    char name[16];
    for (int m = 0; m < 20; ++m) {
        std::snprintf(name, sizeof(name), m % 2 == 0 ? "Field%02d" : "Count%02d", m);
        names.emplace_back(name);
    }
    return names;
}

// An application reading a reply: every row taken with GetChild and each of its members read
// by name. The reply text is made into a document every iteration, as each reply arrives new.
void BM_JosnRowsByName(benchmark::State& state) {
    const CString text(Reply(static_cast<int>(state.range(0))));
    std::vector<CString> names;
    for (const std::string& name : RowNames()) names.emplace_back(name);
    for (auto _ : state) {
        const CJosn reply(text);
        const unsigned int rows = reply.GetChildCount();
        for (unsigned int i = 0; i < rows; ++i) {
            const CJosn row = reply.GetChild(i);
            for (const CString& name : names) benchmark::DoNotOptimize(row.GetKeyValue(name));
        }
    }
    state.SetItemsProcessed(state.iterations() * state.range(0) * 20);
}
BENCHMARK(BM_JosnRowsByName)->Arg(200)->Arg(2000)->Arg(20000)->Unit(benchmark::kMicrosecond);

// The same reading with RapidJSON: a DOM parse, then every member of every row looked up.
void BM_RapidJsonRowsByName(benchmark::State& state) {
    const std::string text = Reply(static_cast<int>(state.range(0)));
    const std::vector<std::string> names = RowNames();
    for (auto _ : state) {
        rapidjson::Document reply;
        reply.Parse(text.c_str(), text.size());
        for (const rapidjson::Value& row : reply.GetArray()) {
            for (const std::string& name : names) {
                const auto member = row.FindMember(name.c_str());
                benchmark::DoNotOptimize(&member->value);
            }
        }
    }
    state.SetItemsProcessed(state.iterations() * state.range(0) * 20);
}
BENCHMARK(BM_RapidJsonRowsByName)->Arg(200)->Arg(2000)->Arg(20000)->Unit(benchmark::kMicrosecond);

// One scan of a 10,000-member document, to compare with reading all of it.
void BM_JosnScan10k(benchmark::State& state) {
    const CString text(Members(10000));
    for (auto _ : state) {
        CJosn doc(text);
        benchmark::DoNotOptimize(doc.GetChildCount());
    }
}
BENCHMARK(BM_JosnScan10k)->Unit(benchmark::kMicrosecond);

// Every child of an unchanged 10,000-member document read by index, name and value.
void BM_JosnReadAll10k(benchmark::State& state) {
    CJosn doc(CString(Members(10000)));
    doc.GetChildCount();
    for (auto _ : state) {
        const unsigned int count = doc.GetChildCount();
        for (unsigned int i = 0; i < count; ++i) {
            CString name = doc.GetChildName(i);
            CString value = doc.GetChildValue(i);
            benchmark::DoNotOptimize(name);
            benchmark::DoNotOptimize(value);
        }
    }
}
BENCHMARK(BM_JosnReadAll10k)->Unit(benchmark::kMicrosecond);

// Building a document of N members; compare the time per member of 1,000 and 100,000.
void BM_JosnPush(benchmark::State& state) {
    const int count = static_cast<int>(state.range(0));
    for (auto _ : state) {
        CJosn doc;
        for (int i = 0; i < count; ++i) doc.push("Member", i);
        benchmark::DoNotOptimize(doc.GetValue().GetLength());
    }
    state.SetItemsProcessed(state.iterations() * count);
}
BENCHMARK(BM_JosnPush)->Arg(1000)->Arg(100000)->Unit(benchmark::kMicrosecond);

// FindKeyValueRecursion over N nested brackets with the key at the bottom.
void BM_JosnFindDeep(benchmark::State& state) {
    const int depth = static_cast<int>(state.range(0));
    std::string text(static_cast<size_t>(depth), '[');
    text += "{k:1}";
    text.append(static_cast<size_t>(depth), ']');
    const CJosn doc{CString(text)};
    for (auto _ : state) benchmark::DoNotOptimize(doc.FindKeyValueRecursion("k"));
}
BENCHMARK(BM_JosnFindDeep)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
