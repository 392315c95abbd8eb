// Queries sent as a "Conditions" and "Permission" document through the uniform operation.
#include <gtest/gtest.h>

#include "DataStoreTesting.h"

namespace {

ServiceConditionJosn Condition(const char* text) { return ServiceConditionJosn(CString(text)); }

std::string Permission(int functionId) {
    return ",Permission:{UserID:12,AppID:3,FunctionID:" + std::to_string(functionId) +
           ",FunctionType:0,IsrtAreaCode:\"A1\"}}";
}

}  // namespace

class ConditionQueryTest : public DataStoreTest {
  protected:
    CallView Uniform(const std::string& url, const std::string& json) const {
        return CallView{url, "DoWork", {{"jsonInput", json}}};
    }
};

TEST_F(ConditionQueryTest, CountWithoutConditionsSendsOnlyTheKindCode) {
    const CDataStoreWebService a1("A1", 0, kStoreUrl);
    a1.GetRecordsCount(static_cast<XmkFunctionId>(100), kNoConditions, "");
    EXPECT_EQ(Uniform(kStoreUrl, "{Conditions:{Type:8}" + Permission(100)), OnlyCall());
}

TEST_F(ConditionQueryTest, CountMergesConditionsInOrderThenTheWhereCode) {
    ServiceConditionJosn built;
    built.push("Kind", CString("a"));
    built.push("Year", 2020);
    const std::vector<ServiceConditionJosn> conditions = {Condition("{AreaCode:37}"),
                                                          Condition("{}"), Condition(""), built,
                                                          Condition("{AreaCode:9999}")};

    unconfiguredStore.GetRecordsCount(XmkAcceptance, conditions, "x=\"1\" and y='2'");

    EXPECT_EQ(Uniform(kConfiguredUrl,
                      "{Conditions:{Type:8,AreaCode:37,Kind:\"a\",Year:2020,AreaCode:9999,"
                      "WhereCode:\"x=\\\"1\\\" and y=\\'2\\'\"}" +
                          Permission(1)),
              OnlyCall());
}

TEST_F(ConditionQueryTest, CountReadsTotalCountFromTheReply) {
    transport.QueueReply(true, "{Rows:[],TotalCount:\"42\"}");
    EXPECT_EQ(42, store.GetRecordsCount(XmkApproval, kNoConditions, ""));
}

TEST_F(ConditionQueryTest, CountIntoTheCallersDocumentKeepsItsMembers) {
    CJosn request;
    request.push("Mine", 1);
    transport.QueueReply(true, "[{TotalCount:3}]");

    EXPECT_EQ(3, store.GetRecordsCount(static_cast<XmkFunctionId>(77), {Condition("{Name:\"n\"}")},
                                       "w", request));
    request.push("Later", 2);

    const std::string sent =
        "{Mine:1,Conditions:{Type:8,Name:\"n\",WhereCode:\"w\"}" + Permission(77);
    EXPECT_EQ(Uniform(kStoreUrl, sent), OnlyCall());
    EXPECT_EQ(
        "{Mine:1,Conditions:{Type:8,Name:\"n\",WhereCode:\"w\"},Permission:{UserID:12,"
        "AppID:3,FunctionID:77,FunctionType:0,IsrtAreaCode:\"A1\",Later:2}}",
        request.GetValue());
}

TEST_F(ConditionQueryTest, ProjectPageSendsTheCallersPageOfTwentyFive) {
    store.GetProjects({Condition("{AreaCode:37}")}, "", 3);
    store.GetProjects({}, "w", -1);
    store.GetProjects({}, "", 0);
    EXPECT_EQ(
        (std::vector<CallView>{
            Uniform(kStoreUrl,
                    "{Conditions:{Type:1,PageNum:3,PageSize:25,AreaCode:37}" + Permission(9000)),
            Uniform(kStoreUrl,
                    "{Conditions:{Type:1,PageSize:25,WhereCode:\"w\"}" + Permission(9000)),
            Uniform(kStoreUrl, "{Conditions:{Type:1,PageNum:0,PageSize:25}" + Permission(9000)),
        }),
        Sent());
}

TEST_F(ConditionQueryTest, ProjectPageReturnsTheReplyUnchanged) {
    transport.QueueReply(false, "服务器错误");
    EXPECT_EQ("服务器错误", store.GetProjects({}, "", 1));
    EXPECT_TRUE(Shown().empty());
}

TEST_F(ConditionQueryTest, CorpsSendPageZeroOfZeroAndTheCorpFunction) {
    unconfiguredStore.GetCorps({Condition("{Name:'c'}")}, "");
    unconfiguredStore.GetCorps({}, "Level>2");
    EXPECT_EQ((std::vector<CallView>{
                  Uniform(kConfiguredUrl,
                          "{Conditions:{Type:9,PageNum:0,PageSize:0,Name:'c'}" + Permission(9010)),
                  Uniform(kConfiguredUrl,
                          "{Conditions:{Type:9,PageNum:0,PageSize:0,WhereCode:\"Level>2\"}" +
                              Permission(9010)),
              }),
              Sent());
}

TEST_F(ConditionQueryTest, SingleKindQueriesSendTheirKindPagingAndFunction) {
    const ServiceConditionJosn condition = Condition("{Code:\"B1\"}");
    transport.SetDefaultReply(true, "reply");
    EXPECT_EQ("reply", store.GetBids(condition));
    EXPECT_EQ("reply", store.GetInstances(condition));
    EXPECT_EQ("reply", store.GetDetails(XmkGenericObject5, condition));
    EXPECT_EQ("reply", store.GetMaxProjectIndex(condition));
    EXPECT_EQ("reply", store.GetMaxBidIndex(condition));
    EXPECT_EQ("reply", store.GetMaxInstanceIndex(condition));
    EXPECT_EQ((std::vector<CallView>{
                  Uniform(kStoreUrl, "{Conditions:{Type:2,PageNum:0,PageSize:0,Code:\"B1\"}" +
                                         Permission(9000)),
                  Uniform(kStoreUrl, "{Conditions:{Type:3,PageNum:0,PageSize:0,Code:\"B1\"}" +
                                         Permission(9000)),
                  Uniform(kStoreUrl, "{Conditions:{Type:4,Code:\"B1\"}" + Permission(5)),
                  Uniform(kStoreUrl, "{Conditions:{Type:5,Code:\"B1\"}" + Permission(9000)),
                  Uniform(kStoreUrl, "{Conditions:{Type:6,Code:\"B1\"}" + Permission(9000)),
                  Uniform(kStoreUrl, "{Conditions:{Type:7,Code:\"B1\"}" + Permission(9000)),
              }),
              Sent());
}

TEST_F(ConditionQueryTest, EmptyConditionContributesNothing) {
    unconfiguredStore.GetBids(Condition("{}"));
    unconfiguredStore.GetMaxInstanceIndex(Condition(""));
    EXPECT_EQ(
        (std::vector<CallView>{
            Uniform(kConfiguredUrl, "{Conditions:{Type:2,PageNum:0,PageSize:0}" + Permission(9000)),
            Uniform(kConfiguredUrl, "{Conditions:{Type:7}" + Permission(9000)),
        }),
        Sent());
}

TEST_F(ConditionQueryTest, NamedArgumentQueriesPassTheTextAsItStands) {
    transport.QueueReply(true, "[{Id:1}]");
    EXPECT_EQ("[{Id:1}]", store.GetProofAttachByProofId("P\"1"));
    unconfiguredStore.GetLogsByCondition("");
    EXPECT_EQ((std::vector<CallView>{
                  {kStoreUrl, "GetProofAttachByProofId", {{"proofID", "P\"1"}}},
                  {kConfiguredUrl, "GetLogs", {{"condition", ""}}},
              }),
              Sent());
    EXPECT_TRUE(Shown().empty());
}

TEST_F(ConditionQueryTest, TextsEscapeOnlyTheirQuotes) {
    const CDataStoreWebService quoted("a\"b'c", 0, kStoreUrl);
    quoted.GetCorps(kNoConditions, "x\\y\"z");
    EXPECT_EQ(Uniform(kStoreUrl,
                      "{Conditions:{Type:9,PageNum:0,PageSize:0,WhereCode:\"x\\y\\\"z\"},"
                      "Permission:{UserID:12,AppID:3,FunctionID:9010,FunctionType:0,"
                      "IsrtAreaCode:\"a\\\"b\\'c\"}}"),
              OnlyCall());
}

TEST_F(ConditionQueryTest, CallersFunctionIdsAreSentUnchanged) {
    const int ids[] = {-1, 6, 9000, 2147483647};
    for (int id : ids) {
        store.GetDetails(static_cast<XmkFunctionId>(id), Condition("{}"));
        store.GetRecordsCount(static_cast<XmkFunctionId>(id), kNoConditions, "");
    }
    std::vector<CallView> expected;
    for (int id : ids) {
        expected.push_back(Uniform(kStoreUrl, "{Conditions:{Type:4}" + Permission(id)));
        expected.push_back(Uniform(kStoreUrl, "{Conditions:{Type:8}" + Permission(id)));
    }
    EXPECT_EQ(expected, Sent());
}

TEST_F(ConditionQueryTest, ArrayConditionsAreSplicedWithoutTheirBrackets) {
    store.GetCorps({Condition("[]"), Condition("[{x:1}]"), Condition("{y:2}")}, "");
    EXPECT_EQ(Uniform(kStoreUrl,
                      "{Conditions:{Type:9,PageNum:0,PageSize:0,{x:1},y:2}" + Permission(9010)),
              OnlyCall());
}

TEST_F(ConditionQueryTest, OnlyTheNamedArgumentQueriesReportAMissingUrl) {
    CIniManager::Instance().SetStrBzkWebService("");
    unconfiguredStore.GetBids(Condition("{}"));
    unconfiguredStore.GetRecordsCount(XmkApproval, kNoConditions, "");
    unconfiguredStore.GetProofAttachByProofId("P1");
    unconfiguredStore.GetLogsByCondition("c");
    EXPECT_EQ((std::vector<CallView>{
                  Uniform("", "{Conditions:{Type:2,PageNum:0,PageSize:0}" + Permission(9000)),
                  Uniform("", "{Conditions:{Type:8}" + Permission(0)),
                  {"", "GetProofAttachByProofId", {{"proofID", "P1"}}},
                  {"", "GetLogs", {{"condition", "c"}}},
              }),
              Sent());
    EXPECT_EQ((std::vector<CString>{"缺少项目库url", "缺少项目库url"}), Shown());
}
