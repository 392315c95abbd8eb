// Many threads writing and reading through one process's data stores at once, and the
// back-end going away and coming back while the library is in use.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

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
#include "datastore/ServiceConditionJosn.h"

namespace {

#if defined(__SANITIZE_ADDRESS__)
constexpr int kOpsPerThread = 250;
#else
constexpr int kOpsPerThread = 500;
#endif
constexpr int kThreads = 8;
constexpr int kFunctionId = 700;

using Clock = std::chrono::steady_clock;

std::string Tag(int thread, int n) {
    return "t" + std::to_string(thread) + "-" + std::to_string(n);
}

ServiceConditionJosn ThreadCondition(int thread) {
    ServiceConditionJosn c;
    c.push("Thread", thread);
    return c;
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
void Work(const CString& url, int thread, int ops, WorkerLog* log) {
    const CDataStoreWebService store("370100", thread, url);
    for (int n = 0; n < ops; ++n) {
        const int kind = n % 10;
        if (kind < 6) {
            TestItem item(kFunctionId, {NumberMember("Thread", thread),
                                        TextMember("Tag", Tag(thread, n).c_str())});
            ++log->sent;
            if (store.AddItem(item) && !item.newId.IsEmpty()) {
                log->acknowledged.push_back(Tag(thread, n));
            } else {
                ++log->failures;
            }
        } else if (kind < 8 && !log->acknowledged.empty()) {
            // Update the record acknowledged last; its number is found by its tag.
            ServiceConditionJosn byTag;
            byTag.push("Tag", CString(log->acknowledged.back().c_str()));
            const CJosn page(store.GetDetails(XmkFunctionId(kFunctionId), byTag));
            const CString id = CJosn(page.GetKeyValue("Rows")).GetChild(0u).GetKeyValue("ID");
            TestItem update(kFunctionId, {TextMember("ID", id), NumberMember("Seen", n)});
            if (store.UpdateItem(update))
                ++log->updates;
            else
                ++log->failures;
        } else if (kind == 8) {
            const long count =
                store.GetRecordsCount(XmkFunctionId(kFunctionId), {ThreadCondition(thread)}, "");
            if (count != static_cast<long>(log->acknowledged.size())) ++log->readMismatches;
        } else {
            const CJosn page(store.GetProjects(std::vector<ServiceConditionJosn>{}, "", 1));
            if (page.GetKeyValue("TotalCount") != CString("6")) ++log->readMismatches;
        }
    }
}

class LoadAndFaultTest : public BackendFixture {};

TEST_F(LoadAndFaultTest, EveryAcknowledgedWriteIsStoredExactlyOnce) {
    std::vector<WorkerLog> logs(kThreads);
    std::vector<std::thread> workers;
    const CString url(server_.Url());
    const auto start = Clock::now();
    for (int t = 0; t < kThreads; ++t) {
        workers.emplace_back(Work, url, t, kOpsPerThread, &logs[t]);
    }
    for (auto& w : workers) w.join();
    const double seconds = std::chrono::duration<double>(Clock::now() - start).count();

    int sent = 0;
    int updates = 0;
    int failures = 0;
    int mismatches = 0;
    std::set<std::string> acknowledged;
    for (const WorkerLog& log : logs) {
        sent += log.sent;
        updates += log.updates;
        failures += log.failures;
        mismatches += log.readMismatches;
        acknowledged.insert(log.acknowledged.begin(), log.acknowledged.end());
    }
    const auto rows = Query("SELECT json_extract(data, '$.Tag') FROM records WHERE function_id = " +
                            std::to_string(kFunctionId));
    std::set<std::string> stored;
    int duplicates = 0;
    for (const auto& row : rows) {
        if (!stored.insert(row[0]).second) ++duplicates;
    }
    int lost = 0;
    for (const std::string& tag : acknowledged) lost += stored.count(tag) == 0;
    std::printf(
        "load: %d threads x %d ops in %.2f s: inserts sent %d, acknowledged %zu, "
        "found in the store %zu (duplicates %d, lost %d); updates %d; failures %d\n",
        kThreads, kOpsPerThread, seconds, sent, acknowledged.size(), rows.size(), duplicates, lost,
        updates, failures);

    EXPECT_EQ(static_cast<size_t>(sent), acknowledged.size());
    EXPECT_EQ(acknowledged, stored);
    EXPECT_EQ(0, duplicates);
    EXPECT_EQ(0, lost);
    EXPECT_EQ(0, failures);
    EXPECT_EQ(0, mismatches);
    EXPECT_EQ(std::to_string(sent + updates), Value("SELECT COUNT(*) FROM audit_log"));
    EXPECT_TRUE(presenter_.Texts().empty());
}

TEST_F(LoadAndFaultTest, CallsFailWithTheDocumentedResultsWhileTheBackEndIsDown) {
    SetWebTimeouts(2000, 3000);
    const CString url(server_.Url());
    const CDataStoreWebService store("370100", 0, url);
    TestItem first(kFunctionId, {TextMember("Tag", "before")});
    ASSERT_TRUE(store.AddItem(first));
    const int port = server_.Port();
    server_.Stop();

    const auto start = Clock::now();
    TestItem item(kFunctionId, {TextMember("Tag", "while-down")});
    EXPECT_FALSE(store.AddItem(item));
    EXPECT_TRUE(item.newId.IsEmpty());
    EXPECT_EQ(0, item.afterInsert);
    EXPECT_EQ(0, store.GetRecordsCount(XmkProjectList, std::vector<ServiceConditionJosn>{}, ""));
    EXPECT_EQ(std::vector<long>{0}, store.GetRecordsCount("1001", QueryType(2), true));
    EXPECT_EQ(
        0, store.GetRecordsCountAndFirstpageRecords(std::vector<ServiceConditionJosn>{}, 1).second);
    EXPECT_EQ(CString(), CJosn(store.GetBids(ServiceConditionJosn())).GetKeyValue("TotalCount"));
    EXPECT_FALSE(CWebService::instance().CheckXMFZR(url, url, 1001));
    std::vector<long> projects;
    EXPECT_FALSE(
        CWebService::instance().GetXMFZRYZProjects(url, "1001", 501, 3, "370100", projects));
    EXPECT_TRUE(projects.empty());
    EXPECT_LT(Clock::now() - start, std::chrono::seconds(10));
    // The insert's judgement and the leader query showed a box each (the latter the
    // transport's own text); the queries show nothing.
    const auto texts = presenter_.Texts();
    ASSERT_EQ(2u, texts.size());
    EXPECT_EQ(0u, texts[1].Str().rfind("无法连接服务器", 0)) << texts[1].Str();

    std::string error;
    ASSERT_TRUE(server_.Start(port, &error)) << error;
    TestItem again(kFunctionId, {TextMember("Tag", "after")});
    EXPECT_TRUE(store.AddItem(again));
    EXPECT_EQ(6, store.GetRecordsCount(XmkProjectList, std::vector<ServiceConditionJosn>{}, ""));
    EXPECT_EQ((std::vector<std::vector<std::string>>{{"before"}, {"after"}}),
              Query("SELECT json_extract(data, '$.Tag') FROM records ORDER BY id"));
}

TEST_F(LoadAndFaultTest, StoppingMidRunLosesNoAcknowledgedWriteAndServiceResumes) {
    SetWebTimeouts(2000, 3000);
    const CString url(server_.Url());
    const int port = server_.Port();
    constexpr int kWorkers = 4;
    std::atomic<bool> done{false};
    std::atomic<int> acknowledgedCount{0};
    std::vector<std::vector<std::string>> acknowledged(kWorkers);
    std::vector<int> failed(kWorkers, 0);
    std::vector<std::thread> workers;
    for (int t = 0; t < kWorkers; ++t) {
        workers.emplace_back([&, t] {
            const CDataStoreWebService store("370100", t, url);
            for (int n = 0; !done; ++n) {
                TestItem item(kFunctionId, {TextMember("Tag", Tag(t, n).c_str())});
                if (store.AddItem(item)) {
                    acknowledged[t].push_back(Tag(t, n));
                    ++acknowledgedCount;
                } else {
                    ++failed[t];
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

    std::set<std::string> all;
    int failures = 0;
    for (int t = 0; t < kWorkers; ++t) {
        all.insert(acknowledged[t].begin(), acknowledged[t].end());
        failures += failed[t];
    }
    const auto rows = Query("SELECT json_extract(data, '$.Tag') FROM records");
    std::set<std::string> stored;
    for (const auto& row : rows) EXPECT_TRUE(stored.insert(row[0]).second) << row[0];
    for (const std::string& tag : all) EXPECT_EQ(1u, stored.count(tag)) << tag;
    std::printf("stop mid-run: acknowledged %zu, failed while down %d, found in the store %zu\n",
                all.size(), failures, rows.size());
    EXPECT_GT(failures, 0);
    EXPECT_GE(static_cast<int>(all.size()), duringStop + 40);
}

TEST_F(LoadAndFaultTest, AServerThatNeverAnswersEndsTheCallAtTheTimeOut) {
    // A socket that listens but is never read: connections are made by the kernel and the
    // request is taken into its buffer, but no reply comes.
    const int sock = ::socket(AF_INET, SOCK_STREAM, 0);
    ASSERT_GE(sock, 0);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    addr.sin_port = 0;
    ASSERT_EQ(0, ::bind(sock, reinterpret_cast<sockaddr*>(&addr), sizeof addr));
    ASSERT_EQ(0, ::listen(sock, 8));
    socklen_t len = sizeof addr;
    ASSERT_EQ(0, ::getsockname(sock, reinterpret_cast<sockaddr*>(&addr), &len));
    const CString url("http://127.0.0.1:" + std::to_string(ntohs(addr.sin_port)) + "/x");

    SetWebTimeouts(500, 1000);
    const CDataStoreWebService store("370100", 0, url);
    const auto start = Clock::now();
    TestItem item(kFunctionId, {TextMember("Tag", "never")});
    EXPECT_FALSE(store.AddItem(item));
    EXPECT_EQ(0, store.GetRecordsCount(XmkProjectList, std::vector<ServiceConditionJosn>{}, ""));
    const auto elapsed = Clock::now() - start;
    EXPECT_LT(elapsed, std::chrono::seconds(5));
    // Only the insert's judgement shows a box; the count reads the failure as 0.
    EXPECT_EQ(1u, presenter_.Texts().size());
    const CString text = CWebService::instance().ExcuteCmd(url, "CheckXMFZR", "EmpId", "1");
    EXPECT_EQ(0u, text.Str().rfind("连接服务器超时", 0)) << text.Str();
    ::close(sock);
}

}  // namespace
