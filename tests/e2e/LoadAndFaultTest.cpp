// Many threads writing and reading through one process's data stores at once, and the
// back-end going away and coming back while the library is in use.
#include <atomic>
#include <chrono>
#include <cstdio>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "BackendFixture.h"
#include "TestItem.h"
#include "datastore/CDataStoreWebService.h"

namespace {

#if defined(__SANITIZE_ADDRESS__)
constexpr int kOpsPerThread = 250;
#else
constexpr int kOpsPerThread = 500;
#endif
constexpr int kThreads = 8;
constexpr int kFunctionId = 700;

using Clock = std::chrono::steady_clock;
using Tags = std::set<std::string>;
const std::vector<ServiceConditionJosn> kNoConditions;

std::string Tag(int thread, int n) {
    return "t" + std::to_string(thread) + "-" + std::to_string(n);
}

// Inserts a record tagged `tag`; true when the back-end acknowledged it with a new id.
bool Insert(const CDataStoreWebService& store, const std::string& tag, int thread = 0) {
    TestItem item(kFunctionId, {NumberMember("Thread", thread), TextMember("Tag", tag.c_str())});
    return store.AddItem(item) && !item.newId.IsEmpty();
}

// The tags in the store, and how many of them are there more than once.
Tags StoredTags(BackendServer& server, int* duplicates) {
    Tags stored;
    *duplicates = 0;
    for (const auto& row : server.Query("SELECT json_extract(data, '$.Tag') FROM records")) {
        if (!stored.insert(row[0]).second) ++*duplicates;
    }
    return stored;
}

// What one worker did.
struct WorkerLog {
    int sent = 0;
    std::vector<std::string> acknowledged;  // tags of inserts the back-end confirmed
    int updates = 0;
    int failures = 0;
    int readMismatches = 0;
};

// A mix of writes and reads: inserts (most), updates of the worker's own records, counts
// of its own records (which must equal its acknowledged inserts) and project pages.
void Work(const CString& url, int thread, WorkerLog* log) {
    const CDataStoreWebService store("370100", thread, url);
    for (int n = 0; n < kOpsPerThread; ++n) {
        const int kind = n % 10;
        if (kind < 6) {
            ++log->sent;
            if (Insert(store, Tag(thread, n), thread)) {
                log->acknowledged.push_back(Tag(thread, n));
            } else {
                ++log->failures;
            }
        } else if (kind < 8 && !log->acknowledged.empty()) {
            // Update the record acknowledged last; its number is found by its tag.
            const CJosn page(store.GetDetails(XmkFunctionId(kFunctionId),
                                              Cond("Tag", log->acknowledged.back().c_str())));
            const CString id = CJosn(page.GetKeyValue("Rows")).GetChild(0u).GetKeyValue("ID");
            TestItem update(kFunctionId, {TextMember("ID", id), NumberMember("Seen", n)});
            ++(store.UpdateItem(update) ? log->updates : log->failures);
        } else if (kind == 8) {
            const long count =
                store.GetRecordsCount(XmkFunctionId(kFunctionId), {Cond("Thread", thread)}, "");
            if (count != static_cast<long>(log->acknowledged.size())) ++log->readMismatches;
        } else {
            const CJosn page(store.GetProjects(kNoConditions, "", 1));
            if (page.GetKeyValue("TotalCount") != CString("6")) ++log->readMismatches;
        }
    }
}

class LoadAndFaultTest : public BackendFixture {};

TEST_F(LoadAndFaultTest, EveryAcknowledgedWriteIsStoredExactlyOnce) {
    std::vector<WorkerLog> logs(kThreads);
    std::vector<std::thread> workers;
    const auto start = Clock::now();
    for (int t = 0; t < kThreads; ++t) workers.emplace_back(Work, Url(), t, &logs[t]);
    for (auto& w : workers) w.join();
    const double seconds = std::chrono::duration<double>(Clock::now() - start).count();

    WorkerLog total;
    Tags acknowledged;
    for (const WorkerLog& log : logs) {
        total.sent += log.sent;
        total.updates += log.updates;
        total.failures += log.failures;
        total.readMismatches += log.readMismatches;
        acknowledged.insert(log.acknowledged.begin(), log.acknowledged.end());
    }
    int duplicates = 0;
    const Tags stored = StoredTags(server_, &duplicates);
    std::printf(
        "load: %d threads x %d ops in %.2f s: inserts sent %d, acknowledged %zu, found in the "
        "store %zu (duplicates %d); updates %d; failures %d\n",
        kThreads, kOpsPerThread, seconds, total.sent, acknowledged.size(), stored.size(),
        duplicates, total.updates, total.failures);

    EXPECT_EQ(static_cast<size_t>(total.sent), acknowledged.size());
    EXPECT_EQ(acknowledged, stored);
    EXPECT_EQ(0, duplicates);
    EXPECT_EQ(0, total.failures);
    EXPECT_EQ(0, total.readMismatches);
    EXPECT_EQ(std::to_string(total.sent + total.updates), Value("SELECT COUNT(*) FROM audit_log"));
    EXPECT_TRUE(presenter_.Texts().empty());
}

TEST_F(LoadAndFaultTest, CallsFailWithTheDocumentedResultsWhileTheBackEndIsDown) {
    SetWebTimeouts(2000, 3000);
    const CDataStoreWebService store("370100", 0, Url());
    ASSERT_TRUE(Insert(store, "before"));
    const int port = server_.Port();
    server_.Stop();

    const auto start = Clock::now();
    TestItem item(kFunctionId, {TextMember("Tag", "while-down")});
    EXPECT_FALSE(store.AddItem(item));
    EXPECT_TRUE(item.newId.IsEmpty());
    EXPECT_EQ(0, item.afterInsert);
    EXPECT_EQ(0, store.GetRecordsCount(XmkProjectList, kNoConditions, ""));
    EXPECT_EQ(std::vector<long>{0}, store.GetRecordsCount("1001", QueryType(2), true));
    EXPECT_EQ(0, store.GetRecordsCountAndFirstpageRecords(kNoConditions, 1).second);
    EXPECT_EQ(CString(), CJosn(store.GetBids(ServiceConditionJosn())).GetKeyValue("TotalCount"));
    EXPECT_FALSE(CWebService::instance().CheckXMFZR(Url(), Url(), 1001));
    std::vector<long> projects;
    EXPECT_FALSE(
        CWebService::instance().GetXMFZRYZProjects(Url(), "1001", 501, 3, "370100", projects));
    EXPECT_TRUE(projects.empty());
    EXPECT_LT(Clock::now() - start, std::chrono::seconds(10));
    // The insert's judgement and the leader query showed a box each (the latter the
    // transport's own text); the queries show nothing.
    const auto texts = presenter_.Texts();
    ASSERT_EQ(2u, texts.size());
    EXPECT_EQ(0u, texts[1].Str().rfind("无法连接服务器", 0)) << texts[1].Str();

    std::string error;
    ASSERT_TRUE(server_.Start(port, &error)) << error;
    EXPECT_TRUE(Insert(store, "after"));
    EXPECT_EQ(6, store.GetRecordsCount(XmkProjectList, kNoConditions, ""));
    EXPECT_EQ((std::vector<std::vector<std::string>>{{"before"}, {"after"}}),
              Query("SELECT json_extract(data, '$.Tag') FROM records ORDER BY id"));
}

TEST_F(LoadAndFaultTest, StoppingMidRunLosesNoAcknowledgedWriteAndServiceResumes) {
    SetWebTimeouts(2000, 3000);
    const int port = server_.Port();
    constexpr int kWorkers = 4;
    std::atomic<bool> done{false};
    std::atomic<int> acknowledgedCount{0};
    std::atomic<int> failures{0};
    std::vector<std::vector<std::string>> acknowledged(kWorkers);
    std::vector<std::thread> workers;
    for (int t = 0; t < kWorkers; ++t) {
        workers.emplace_back([&, t] {
            const CDataStoreWebService store("370100", t, Url());
            for (int n = 0; !done; ++n) {
                if (Insert(store, Tag(t, n), t)) {
                    acknowledged[t].push_back(Tag(t, n));
                    ++acknowledgedCount;
                } else {
                    ++failures;
                    std::this_thread::sleep_for(std::chrono::milliseconds(5));
                }
            }
        });
    }
    auto waitFor = [&](int count) {
        const auto deadline = Clock::now() + std::chrono::seconds(20);
        while (acknowledgedCount < count && Clock::now() < deadline) {
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
    };
    waitFor(40);
    server_.Stop();
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    const int duringStop = acknowledgedCount;
    std::string error;
    ASSERT_TRUE(server_.Start(port, &error)) << error;
    waitFor(duringStop + 40);
    done = true;
    for (auto& w : workers) w.join();

    Tags all;
    for (const auto& tags : acknowledged) all.insert(tags.begin(), tags.end());
    int duplicates = 0;
    const Tags stored = StoredTags(server_, &duplicates);
    std::printf("stop mid-run: acknowledged %zu, failed while down %d, found in the store %zu\n",
                all.size(), failures.load(), stored.size());
    EXPECT_EQ(0, duplicates);
    for (const std::string& tag : all) EXPECT_EQ(1u, stored.count(tag)) << tag;
    EXPECT_GT(failures, 0);
    EXPECT_GE(static_cast<int>(all.size()), duringStop + 40);
}

}  // namespace
