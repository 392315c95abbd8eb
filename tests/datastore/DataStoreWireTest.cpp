// The data store end to end: the built-in SOAP transport against a server on 127.0.0.1.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "DataStoreTesting.h"
#include "support/LoopbackSoapServer.h"
#include "wirekit/WebTransport.h"

namespace {

using Arguments = std::vector<std::pair<std::string, std::string>>;

struct SoapCall {
    std::string method;
    std::string nameSpace;
    Arguments arguments;

    bool operator==(const SoapCall& other) const {
        return method == other.method && nameSpace == other.nameSpace &&
               arguments == other.arguments;
    }
};

void PrintTo(const SoapCall& call, std::ostream* os) {
    *os << call.nameSpace << call.method << "(";
    for (const auto& argument : call.arguments) *os << argument.first << "=" << argument.second;
    *os << ")";
}

constexpr char kTempuri[] = "http://tempuri.org/";

}  // namespace

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

    SoapCall OnlyRequest() const {
        const std::vector<LoopbackSoapServer::Request> requests = server.Requests();
        EXPECT_EQ(1u, requests.size());
        if (requests.empty()) return SoapCall();
        return SoapCall{requests[0].soapMethod, requests[0].soapNamespace, requests[0].arguments};
    }

    LoopbackSoapServer server;
    RecordingPresenter presenter;
    const CDataStoreWebService store{"37", 0, server.Url().c_str()};

  private:
    IWebTransport* previousTransport_ = nullptr;
};

TEST_F(DataStoreWireTest, InsertReachesTheKindsMethodAndHandsBackTheNewId) {
    server.SetReplyText("InsertApprovalForCpp", "{Ret:1,Message:\"ok\",Data:\"A-77\"}");
    RecordingItem item(XmkApproval);
    item.insertValues = {{"Title", "<审批> & \"quotes\""}};

    EXPECT_TRUE(store.AddItem(item));

    EXPECT_EQ((SoapCall{"InsertApprovalForCpp",
                        kTempuri,
                        {{"pAop",
                          "{Appvl:{Title:\"<审批> & \\\"quotes\\\"\"},Permission:{UserID:12,"
                          "AppID:3,FunctionID:0,FunctionType:1,IsrtAreaCode:\"37\"}}"}}}),
              OnlyRequest());
    EXPECT_EQ("A-77", item.newId);
    EXPECT_TRUE(presenter.Texts().empty());
}

TEST_F(DataStoreWireTest, DeleteOfAGenericObjectReachesDeleteObject) {
    server.SetReplyText("DeleteObject", "{Ret:2,Message:\"已删除\",Data:\"\"}");
    RecordingItem item(XmkGenericObject3);
    item.tableName = "Things";
    item.deleteKeys = {{"Id", "5"}};

    EXPECT_TRUE(store.DeleteItem(item));

    EXPECT_EQ((SoapCall{"DeleteObject",
                        kTempuri,
                        {{"param",
                          "{outnode:{Value:{Id:\"5\"},Permission:{UserID:12,AppID:5,FunctionID:3,"
                          "FunctionType:3,TableName:\"Things\",IsrtAreaCode:\"37\"}}}"}}}),
              OnlyRequest());
    EXPECT_EQ(std::vector<CString>{"已删除"}, presenter.Texts());
    EXPECT_EQ("AfterDelete", item.calls.back());
}

TEST_F(DataStoreWireTest, UniformUpdateIsJudgedFromTheServersReply) {
    server.SetReplyText("DoWork", "{Ret:0,Message:\"记录已锁定\",Data:\"\"}");
    RecordingItem item(static_cast<XmkFunctionId>(20));
    item.updateValues = {{"Name", "n"}};

    EXPECT_FALSE(store.UpdateItem(item));

    EXPECT_EQ((SoapCall{"DoWork",
                        kTempuri,
                        {{"jsonInput",
                          "{Values:{Name:\"n\"},Permission:{UserID:12,AppID:3,FunctionID:20,"
                          "FunctionType:2,IsrtAreaCode:\"37\"}}"}}}),
              OnlyRequest());
    EXPECT_EQ(std::vector<CString>{"记录已锁定"}, presenter.Texts());
}

TEST_F(DataStoreWireTest, AuditTravelsThroughTheUniformOperation) {
    server.SetReplyText("DoWork", "{Ret:1,Message:\"\",Data:\"\"}");
    RecordingItem item(XmkAcceptance);
    item.auditValues = {{"State", "passed"}};

    EXPECT_TRUE(store.UpdateAudit(item));

    EXPECT_EQ((SoapCall{"DoWork",
                        kTempuri,
                        {{"jsonInput",
                          "{Values:{State:\"passed\"},Permission:{UserID:12,AppID:3,FunctionID:1,"
                          "FunctionType:4,IsrtAreaCode:\"37\"}}"}}}),
              OnlyRequest());
}

TEST_F(DataStoreWireTest, JosnUpdateSendsTheCallersDocument) {
    server.SetReplyText("DoWork", "{Ret:1,Message:\"\",Data:\"\"}");
    CJosn request;
    request.push("Name", CString("n"));

    EXPECT_TRUE(store.UpdateItemByJosn(request, static_cast<XmkFunctionId>(30)));

    EXPECT_EQ((SoapCall{"DoWork",
                        kTempuri,
                        {{"jsonInput",
                          "{Name:\"n\",Permission:{UserID:12,AppID:3,FunctionID:30,"
                          "FunctionType:2,IsrtAreaCode:\"37\"}}"}}}),
              OnlyRequest());
}

TEST_F(DataStoreWireTest, ConditionsQueryCountsFromTheReply) {
    server.SetReplyText("DoWork", "{\"Rows\":[],\"TotalCount\":\"1234\"}");
    EXPECT_EQ(1234, store.GetRecordsCount(static_cast<XmkFunctionId>(100), kNoConditions, "a<b"));
    EXPECT_EQ((SoapCall{"DoWork",
                        kTempuri,
                        {{"jsonInput",
                          "{Conditions:{Type:8,WhereCode:\"a<b\"},Permission:{UserID:12,AppID:3,"
                          "FunctionID:100,FunctionType:0,IsrtAreaCode:\"37\"}}"}}}),
              OnlyRequest());
}

TEST_F(DataStoreWireTest, FlatQueryCountsProjects) {
    server.SetReplyText("GetProjectCount", "{TotalCount:8}");
    EXPECT_EQ(8, store.GetRecordsCount(
                     std::vector<ServiceConditionJosn>{ServiceConditionJosn("{Year:2020}")}));
    EXPECT_EQ(
        (SoapCall{"GetProjectCount",
                  kTempuri,
                  {{"queryCodition", "{PageNum:1,PageSize:25,Year:2020,IsrtAreaCode:\"37\"}"}}}),
        OnlyRequest());
}

TEST_F(DataStoreWireTest, ParameterQueryReturnsTheReplyText) {
    server.SetReplyText("GetListByParameterAndIsrtAreaCode", "[{Id:1},{Id:2}]");
    EXPECT_EQ("[{Id:1},{Id:2}]",
              store.GetProjects("工程", static_cast<QueryType>(2), 1, 10, false));
    EXPECT_EQ((SoapCall{"GetListByParameterAndIsrtAreaCode",
                        kTempuri,
                        {{"param", "工程"},
                         {"pageSize", "10"},
                         {"pageNum", "1"},
                         {"queryType", "2"},
                         {"isrtAreaCode", "37"}}}),
              OnlyRequest());
}

TEST_F(DataStoreWireTest, UnreachableServerCountsZeroAndFailsWrites) {
    const CDataStoreWebService closed("37", 0, "http://127.0.0.1:1/svc");
    EXPECT_EQ(0, closed.GetRecordsCount(kNoConditions));
    RecordingItem item(XmkApproval);
    EXPECT_FALSE(closed.AddItem(item));
    EXPECT_EQ(1u, presenter.Texts().size());
}
