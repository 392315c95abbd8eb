#include <gtest/gtest.h>

#include <memory>

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

    bool ByKind(int kind) {
        return client().GetObListByKindAndSql(static_cast<CServiceSupport::ServiceKind>(kind),
                                              "select 1", rows_, factory_);
    }

    std::vector<CTableRow*> rows_;
    RecordingRowFactory factory_;
};

TEST_F(ObjectListTest, WithoutSupportKindsPickTheConfiguredUrlsAndUserZero) {
    ConfigureAll();
    transport_.SetDefaultReply(true, "[]");
    EXPECT_TRUE(ByKind(0));
    EXPECT_TRUE(ByKind(1));
    EXPECT_EQ((std::vector<WebCall>{ObjectListCall("http://bzk/", "GetXml", "0", "select 1"),
                                    ObjectListCall("http://kqkh/", "GetXml", "0", "select 1")}),
              transport_.Calls());
}

TEST_F(ObjectListTest, WithoutSupportOtherKindsHaveNoUrlAndFail) {
    ConfigureAll();
    transport_.SetDefaultReply(true, "[]");
    EXPECT_FALSE(ByKind(7));
    EXPECT_EQ(0u, transport_.CallCount());
}

TEST_F(ObjectListTest, OldFlagPlaysNoPartWithoutSupport) {
    ConfigureAll();
    ByKind(0);
    EXPECT_EQ(CString("http://bzk/"), transport_.Call(0).url);
}

TEST_F(ObjectListTest, SupportDecidesTheUrlAndGivesTheUserId) {
    ConfigureAll();
    client().SetServiceSupport(new CustomSupport(1, 42, 0));
    transport_.SetDefaultReply(true, "[]");
    EXPECT_TRUE(ByKind(7));
    EXPECT_EQ(std::vector<WebCall>{ObjectListCall("http://custom/7", "GetXml", "42", "select 1")},
              transport_.Calls());
}

TEST_F(ObjectListTest, SupportWithOldFlagUsesTheOldUrl) {
    ConfigureAll();
    client().SetServiceSupport(new CountingSupport(nullptr, true, 1, 9));
    ByKind(0);
    EXPECT_EQ(ObjectListCall("http://old/", "GetXml", "9", "select 1"), transport_.Call(0));
}

TEST_F(ObjectListTest, RowsAreMadeByTheFactoryAndFilledFromTheReply) {
    transport_.QueueReply(true, "[{\"ID\":\"7\",\"Name\":\"a,b\"},{ID:8,At:'12:30'}]");
    CTableRow* earlier = new RecordingRow;
    rows_.push_back(earlier);
    EXPECT_TRUE(client().GetObListByKindAndSql(std::make_pair(CString("http://x/"), 5L), "select *",
                                               rows_, factory_));
    EXPECT_EQ(ObjectListCall("http://x/", "GetXml", "5", "select *"), transport_.Call(0));
    ASSERT_EQ(3u, rows_.size());
    EXPECT_EQ(earlier, rows_[0]);
    using Fields = std::vector<std::pair<CString, CString>>;
    EXPECT_EQ((Fields{{"ID", "7"}, {"Name", "a,b"}}), static_cast<RecordingRow*>(rows_[1])->fields);
    EXPECT_EQ((Fields{{"ID", "8"}, {"At", "12:30"}}), static_cast<RecordingRow*>(rows_[2])->fields);
}

TEST_F(ObjectListTest, FailedExchangeKeepsTheRows) {
    rows_.push_back(new RecordingRow);
    transport_.QueueReply(false, "无法连接服务器：x");
    EXPECT_FALSE(client().GetObListByKindAndSql(std::make_pair(CString("http://x/"), 5L), "s",
                                                rows_, factory_));
    EXPECT_EQ(1u, rows_.size());
    EXPECT_EQ(Texts{}, presenter_.Texts());
}

TEST_F(ObjectListTest, SqlResultSendsItsMethodAndAppendsTheTexts) {
    transport_.QueueReply(true, "[\"a\",\"12:30\",3]");
    std::vector<CString> result{"old"};
    EXPECT_TRUE(
        client().GetSQLResult(std::make_pair(CString("http://x/"), 6L), "select n", result));
    EXPECT_EQ((std::vector<CString>{"old", "a", "12:30", "3"}), result);
    EXPECT_EQ(std::vector<WebCall>{ObjectListCall("http://x/", "GetSqlFormated", "6", "select n")},
              transport_.Calls());
}

TEST_F(ObjectListTest, SqlResultFailureKeepsTheTexts) {
    transport_.QueueReply(true, "not json");
    std::vector<CString> result{"old"};
    EXPECT_FALSE(client().GetSQLResult(std::make_pair(CString("http://x/"), 6L), "s", result));
    EXPECT_EQ(std::vector<CString>{"old"}, result);
}

}  // namespace
