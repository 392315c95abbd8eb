// Many clients writing and reading through the library at once, and the back-end going away
// and coming back while the library is in use.
#include <atomic>
#include <chrono>
#include <cstdio>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "BackendFixture.h"
#include "datastore/CDataStoreWebService.h"
#include "support/CStringPrinter.h"
#include "wirekit/ExchangeReport.h"

namespace {

constexpr int kClients = 200;
constexpr int kCallsPerClient = 20;

using Clock = std::chrono::steady_clock;
using Tags = std::set<std::string>;

// Inserts a record of `client` tagged `tag`; true when the back-end acknowledged it.
bool Insert(const CDataStoreWebService& store, int client, const std::string& tag) {
    TestItem item(700, "{Client:" + std::to_string(client) + ",Tag:\"" + tag + "\"}");
    return store.AddItem(item) && !item.newId.IsEmpty();
}

// The acknowledged tags that the store does not hold exactly once.
std::string Lost(BackendServer& server, const Tags& acknowledged) {
    std::multiset<std::string> stored;
    for (const auto& row : server.Query("SELECT json_extract(data, '$.Tag') FROM records")) {
        stored.insert(row[0]);
    }
    std::string lost;
    for (const std::string& tag : acknowledged) lost += stored.count(tag) == 1 ? "" : tag + " ";
    return lost;
}

// Inserts, each followed by a count of the client's records, which must equal its acknowledged
// inserts; a failed call or wrong count goes into `problems` with the library's account.
void RunClient(const CString& url, int client, Tags* acknowledged, std::string* problems) {
    const CDataStoreWebService store("370100", client, url);
    for (int n = 0; n < kCallsPerClient; n += 2) {
        const std::string tag = std::to_string(client) + "-" + std::to_string(n);
        const bool inserted = Insert(store, client, tag);
        if (inserted) acknowledged->insert(tag);
        const ExchangeReport insert = LastExchange();
        const long count = store.GetRecordsCount(XmkFunctionId(700), {Cond("Client", client)}, "");
        if (!inserted || count != static_cast<long>(acknowledged->size())) {
            *problems += tag + ": insert " + FailureKindName(insert.kind) + " " +
                         insert.detail.Str() + ", count " + std::to_string(count) + " " +
                         FailureKindName(LastExchange().kind) + "\n";
        }
    }
}

// Whether the store comes to hold `more` records more within 20 s.
bool Grows(BackendServer& server, int more) {
    const int target = server.CountRows("records") + more;
    const auto deadline = Clock::now() + std::chrono::seconds(20);
    while (server.CountRows("records") < target && Clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return server.CountRows("records") >= target;
}

class LoadAndFaultTest : public BackendFixture {};

TEST_F(LoadAndFaultTest, EveryCallOfManyClientsIsAnsweredAndEveryAcknowledgedWriteStoredOnce) {
    std::vector<Tags> acknowledged(kClients);
    std::vector<std::string> problems(kClients);
    std::vector<std::thread> clients;
    const auto start = Clock::now();
    for (int c = 0; c < kClients; ++c) {
        clients.emplace_back(RunClient, Url(), c, &acknowledged[c], &problems[c]);
    }
    for (auto& c : clients) c.join();
    std::printf("load: %d clients x %d calls in %.2f s\n", kClients, kCallsPerClient,
                std::chrono::duration<double>(Clock::now() - start).count());

    Tags all;
    for (const Tags& tags : acknowledged) all.insert(tags.begin(), tags.end());
    for (const std::string& p : problems) EXPECT_EQ("", p);
    EXPECT_EQ("", Lost(server_, all));
    EXPECT_EQ(static_cast<int>(all.size()), server_.CountRows("records"));
    EXPECT_EQ(static_cast<int>(all.size()), server_.CountRows("audit_log"));
    EXPECT_EQ(std::vector<CString>{}, presenter_.Texts());
}

// A client inserts while the back-end stops and starts again on its port: its calls fail
// while the back-end is down, and no insert it was told of is lost.
TEST_F(LoadAndFaultTest, StoppingMidRunLosesNoAcknowledgedWriteAndServiceResumes) {
    std::atomic<bool> done{false};
    Tags acknowledged;
    int failures = 0;
    std::thread client([&] {
        const CDataStoreWebService store("370100", 0, Url());
        for (int n = 0; !done; ++n) {
            if (Insert(store, 0, std::to_string(n))) {
                acknowledged.insert(std::to_string(n));
            } else {
                ++failures;
                std::this_thread::sleep_for(std::chrono::milliseconds(5));
            }
        }
    });
    EXPECT_TRUE(Grows(server_, 40));
    server_.Stop();
    std::this_thread::sleep_for(std::chrono::milliseconds(200));  // calls fail meanwhile
    std::string error;
    EXPECT_TRUE(server_.Start(server_.Port(), &error)) << error;
    EXPECT_TRUE(Grows(server_, 40));
    done = true;
    client.join();
    EXPECT_EQ("", Lost(server_, acknowledged));
    EXPECT_GT(failures, 0);
}

}  // namespace
