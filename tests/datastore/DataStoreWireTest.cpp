// The data store end to end: the built-in SOAP transport against a server on 127.0.0.1.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "DataStoreTesting.h"
#include "support/LoopbackSoapServer.h"
#include "wirekit/WebTransport.h"

namespace {

std::string Rendered(const LoopbackSoapServer::Request& request) {
    std::string text = request.soapMethod + "(";
    for (size_t i = 0; i < request.arguments.size(); ++i) {
        text += (i ? ";" : "") + request.arguments[i].first + "=" + request.arguments[i].second;
    }
    return text + ")";
}

class DataStoreWireTest : public ::testing::Test {
  protected:
    void SetUp() override {
        previousTransport_ = SetWebTransport(nullptr);
        CWebService::instance().SetServiceSupport(new FixedServiceSupport);
    }
    void TearDown() override {
        CWebService::instance().SetServiceSupport(nullptr);
        SetWebTransport(previousTransport_);
    }

    // Every request the server received, rendered; all must be calls of the uniform
    // interface's namespace.
    std::vector<std::string> Received() const {
        std::vector<std::string> requests;
        for (const LoopbackSoapServer::Request& request : server.Requests()) {
            EXPECT_EQ("http://tempuri.org/", request.soapNamespace);
            requests.push_back(Rendered(request));
        }
        return requests;
    }

    LoopbackSoapServer server;
    RecordingPresenter presenter;
    const CDataStoreWebService store{"37", 0, server.Url().c_str()};

  private:
    IWebTransport* previousTransport_ = nullptr;
};

TEST_F(DataStoreWireTest, WritesReachTheirMethodsAndAreJudgedFromTheServersReplies) {
    server.SetReplyText("InsertApprovalForCpp", "{Ret:1,Message:\"ok\",Data:\"A-77\"}");
    server.SetReplyText("DeleteObject", "{Ret:2,Message:\"已删除\",Data:\"\"}");
    server.SetReplyText("DoWork", "{Ret:0,Message:\"记录已锁定\",Data:\"\"}");
    RecordingItem insert(XmkApproval), remove(XmkGenericObject3), update(20), audit(XmkAcceptance);
    insert.insertValues = {{"Title", "<审批> & \"quotes\""}};
    remove.tableName = "Things";
    remove.deleteKeys = {{"Id", "5"}};
    update.updateValues = {{"Name", "n"}};
    audit.auditValues = {{"State", "passed"}};
    CJosn document;
    document.push("Name", CString("n"));

    EXPECT_TRUE(store.AddItem(insert));
    EXPECT_TRUE(store.DeleteItem(remove));
    EXPECT_FALSE(store.UpdateItem(update));
    EXPECT_FALSE(store.UpdateAudit(audit));
    EXPECT_FALSE(store.UpdateItemByJosn(document, static_cast<XmkFunctionId>(30)));

    EXPECT_EQ(
        (std::vector<std::string>{
            "InsertApprovalForCpp(pAop={Appvl:{Title:\"<审批> & \\\"quotes\\\"\"},"
            "Permission:{UserID:12,AppID:3,FunctionID:0,FunctionType:1,IsrtAreaCode:\"37\"}})",
            "DeleteObject(param={outnode:{Value:{Id:\"5\"},Permission:{UserID:12,AppID:5,"
            "FunctionID:3,FunctionType:3,TableName:\"Things\",IsrtAreaCode:\"37\"}}})",
            "DoWork(jsonInput={Values:{Name:\"n\"},Permission:{UserID:12,AppID:3,"
            "FunctionID:20,FunctionType:2,IsrtAreaCode:\"37\"}})",
            "DoWork(jsonInput={Values:{State:\"passed\"},Permission:{UserID:12,AppID:3,"
            "FunctionID:1,FunctionType:4,IsrtAreaCode:\"37\"}})",
            "DoWork(jsonInput={Name:\"n\",Permission:{UserID:12,AppID:3,FunctionID:30,"
            "FunctionType:2,IsrtAreaCode:\"37\"}})",
        }),
        Received());
    EXPECT_EQ("A-77", insert.newId);
    EXPECT_EQ("AfterDelete", remove.calls.back());
    EXPECT_EQ((std::vector<CString>{"已删除", "记录已锁定", "记录已锁定", "记录已锁定"}),
              presenter.Texts());
}

TEST_F(DataStoreWireTest, QueriesReadTheServersReplies) {
    server.SetReplyText("DoWork", "{\"Rows\":[],\"TotalCount\":\"1234\"}");
    server.SetReplyText("GetProjectCount", "{TotalCount:8}");
    server.SetReplyText("GetListByParameterAndIsrtAreaCode", "[{Id:1},{Id:2}]");

    EXPECT_EQ(1234, store.GetRecordsCount(static_cast<XmkFunctionId>(100), kNoConditions, "a<b"));
    EXPECT_EQ(8, store.GetRecordsCount({ServiceConditionJosn("{Year:2020}")}));
    EXPECT_EQ("[{Id:1},{Id:2}]",
              store.GetProjects("工程", static_cast<QueryType>(2), 1, 10, false));

    EXPECT_EQ(
        (std::vector<std::string>{
            "DoWork(jsonInput={Conditions:{Type:8,WhereCode:\"a<b\"},Permission:{UserID:12,"
            "AppID:3,FunctionID:100,FunctionType:0,IsrtAreaCode:\"37\"}})",
            "GetProjectCount(queryCodition={PageNum:1,PageSize:25,Year:2020,IsrtAreaCode:\"37\"})",
            "GetListByParameterAndIsrtAreaCode(param=工程;pageSize=10;pageNum=1;queryType=2;"
            "isrtAreaCode=37)",
        }),
        Received());
    EXPECT_TRUE(presenter.Texts().empty());
}

TEST_F(DataStoreWireTest, UnreachableServerCountsZeroAndFailsWrites) {
    const CDataStoreWebService closed("37", 0, "http://127.0.0.1:1/svc");
    EXPECT_EQ(0, closed.GetRecordsCount(kNoConditions));
    RecordingItem item(XmkApproval);
    EXPECT_FALSE(closed.AddItem(item));
    EXPECT_EQ(1u, presenter.Texts().size());
}

}  // namespace
