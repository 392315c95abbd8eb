#include <gtest/gtest.h>

#include "ServiceTestSupport.h"
#include "gridcore/CTableRow.h"
#include "gridcore/basefun.h"

namespace {

// A row that keeps its fields in order of arrival.
class RecordingRow : public CTableRow {
  public:
    void SetFieldValue(const CString& name, const CString& value) override {
        fields.emplace_back(name, value);
    }
    std::vector<std::pair<CString, CString>> fields;
};

class RecordingRowFactory : public basefun {
  public:
    CTableRow* CreateRow() const override { return new RecordingRow; }
};

WebCall ObjectListCall(const CString& url, const CString& method, const CString& userId,
                       const CString& sql) {
    WebCall call;
    call.url = url;
    call.nameSpace = "http://tempuri.org/ObjectList/";
    call.service = "ObjectList";
    call.method = method;
    call.arguments = {{"kind", "0"}, {"userId", userId}, {"option", "1"}, {"sql", sql}};
    return call;
}

class ObjectListTest : public ServiceTest {
  protected:
    void TearDown() override {
        for (CTableRow* row : rows_) delete row;
        ServiceTest::TearDown();
    }

    std::vector<CTableRow*> rows_;
    RecordingRowFactory factory_;
};

// The installed support decides the URL and gives the user id; without one the configured
// URL of the kind is asked for as user 0.
TEST_F(ObjectListTest, KindPicksTheUrlAndTheUser) {
    ConfigureAll();
    transport_.SetDefaultReply(true, "[]");
    const struct {
        CServiceSupport* support;
        int kind;
        bool result;
    } cases[] = {{nullptr, 0, true},
                 {nullptr, 1, true},
                 {nullptr, 7, false},  // no URL: nothing is sent
                 {new CountingSupport(nullptr, true, 1, 9), 0, true},
                 {new CustomSupport(1, 42, 0), 7, true}};
    for (const auto& c : cases) {
        client().SetServiceSupport(c.support);
        EXPECT_EQ(c.result,
                  client().GetObListByKindAndSql(static_cast<CServiceSupport::ServiceKind>(c.kind),
                                                 "select 1", rows_, factory_))
            << c.kind;
    }
    EXPECT_EQ((std::vector<WebCall>{ObjectListCall("http://bzk/", "GetXml", "0", "select 1"),
                                    ObjectListCall("http://kqkh/", "GetXml", "0", "select 1"),
                                    ObjectListCall("http://old/", "GetXml", "9", "select 1"),
                                    ObjectListCall("http://custom/7", "GetXml", "42", "select 1")}),
              transport_.Calls());
}

TEST_F(ObjectListTest, RowsAreMadeByTheFactoryAndAppended) {
    transport_.QueueReply(true, "[{\"ID\":\"7\",\"Name\":\"a,b\"},{ID:8,At:'12:30'}]");
    transport_.QueueReply(false, "无法连接服务器：x");
    CTableRow* earlier = new RecordingRow;
    rows_.push_back(earlier);
    const std::pair<CString, long> target(CString("http://x/"), 5L);
    EXPECT_TRUE(client().GetObListByKindAndSql(target, "select *", rows_, factory_));
    EXPECT_FALSE(client().GetObListByKindAndSql(target, "s", rows_, factory_));
    EXPECT_EQ(ObjectListCall("http://x/", "GetXml", "5", "select *"), transport_.Call(0));
    ASSERT_EQ(3u, rows_.size());
    EXPECT_EQ(earlier, rows_[0]);
    using Fields = std::vector<std::pair<CString, CString>>;
    EXPECT_EQ((Fields{{"ID", "7"}, {"Name", "a,b"}}), static_cast<RecordingRow*>(rows_[1])->fields);
    EXPECT_EQ((Fields{{"ID", "8"}, {"At", "12:30"}}), static_cast<RecordingRow*>(rows_[2])->fields);
    EXPECT_EQ(Texts{}, presenter_.Texts());
}

TEST_F(ObjectListTest, SqlResultTextsAreAppendedOnlyOnSuccess) {
    transport_.QueueReply(true, "[\"a\",\"12:30\",3]");
    transport_.QueueReply(true, "not json");
    const std::pair<CString, long> target(CString("http://x/"), 6L);
    std::vector<CString> result{"old"};
    EXPECT_TRUE(client().GetSQLResult(target, "select n", result));
    EXPECT_FALSE(client().GetSQLResult(target, "s", result));
    EXPECT_EQ((std::vector<CString>{"old", "a", "12:30", "3"}), result);
    EXPECT_EQ(ObjectListCall("http://x/", "GetSqlFormated", "6", "select n"), transport_.Call(0));
}

}  // namespace
