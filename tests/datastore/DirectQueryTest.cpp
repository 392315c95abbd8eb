// Queries sent straight to the back-end's count, list and parameter methods.
#include <gtest/gtest.h>

#include "DataStoreTesting.h"

namespace {

ServiceConditionJosn Condition(const char* text) { return ServiceConditionJosn(CString(text)); }

ServiceConditionJosn Pushed(const char* name, int value) {
    ServiceConditionJosn condition;
    condition.push(name, value);
    return condition;
}

}  // namespace

class FlatQueryTest : public DataStoreTest {
  protected:
    CallView Flat(const std::string& url, const char* method, const std::string& json) const {
        return CallView{url, method, {{"queryCodition", json}}};
    }
};

TEST_F(FlatQueryTest, ProjectCountAsksForPageOneOfTwentyFiveThenTheArea) {
    transport.QueueReply(true, "{TotalCount:12}");
    EXPECT_EQ(12, store.GetRecordsCount({Pushed("AreaCode", 37)}));
    EXPECT_EQ(Flat(kStoreUrl, "GetProjectCount",
                   "{PageNum:1,PageSize:25,AreaCode:37,IsrtAreaCode:\"A1\"}"),
              OnlyCall());
}

TEST_F(FlatQueryTest, AllAreasConditionIsDroppedOnlyInFirstPlace) {
    const std::vector<ServiceConditionJosn> conditions = {
        Condition("{AreaCode:9999,Kind:1}"), Condition("{AreaCode:\"9999\"}"),
        Condition("{Kind:2,AreaCode:9999}"), Condition("{AreaCode:99990}"),
        Condition("{areacode:9999}"),        Condition("{}"),
    };
    unconfiguredStore.GetRecordsCount(conditions);
    EXPECT_EQ(Flat(kConfiguredUrl, "GetProjectCount",
                   "{PageNum:1,PageSize:25,Kind:2,AreaCode:9999,AreaCode:99990,areacode:9999,"
                   "IsrtAreaCode:\"A1\"}"),
              OnlyCall());
}

TEST_F(FlatQueryTest, ProjectListSendsTheCallersPage) {
    store.GetProjects({Condition("{AreaCode:9999}"), Pushed("Year", 2021)}, 3);
    EXPECT_EQ(
        Flat(kStoreUrl, "GetProjectList", "{PageNum:3,PageSize:25,Year:2021,IsrtAreaCode:\"A1\"}"),
        OnlyCall());
}

TEST_F(FlatQueryTest, NegativePageLeavesOutPagingAndWritesAtTheFirstConditionsCursor) {
    store.GetProjects({Pushed("Year", 2021), Pushed("Month", 5)}, -1);
    store.GetProjects({Condition("{Year:2021}")}, -4);
    store.GetProjects({}, -1);
    EXPECT_EQ((std::vector<CallView>{
                  Flat(kStoreUrl, "GetProjectList", "{Year:2021,Month:5,IsrtAreaCode:\"A1\"}"),
                  Flat(kStoreUrl, "GetProjectList", "{IsrtAreaCode:\"A1\"Year:2021}"),
                  Flat(kStoreUrl, "GetProjectList", "{IsrtAreaCode:\"A1\"}"),
              }),
              Sent());
}

TEST_F(FlatQueryTest, FirstPageWithCountIgnoresItsIntegerArgument) {
    transport.QueueReply(true, "{TotalCount:31,Rows:[{Id:1}]}");
    transport.QueueReply(true, "no count here");
    const std::pair<CString, long> first = store.GetRecordsCountAndFirstpageRecords({}, 1);
    const std::pair<CString, long> second = store.GetRecordsCountAndFirstpageRecords({}, 9);
    EXPECT_EQ(std::make_pair(CString("{TotalCount:31,Rows:[{Id:1}]}"), 31L), first);
    EXPECT_EQ(std::make_pair(CString("no count here"), 0L), second);
    const CallView expected =
        Flat(kStoreUrl, "GetProjectCount", "{PageNum:1,PageSize:25,IsrtAreaCode:\"A1\"}");
    EXPECT_EQ((std::vector<CallView>{expected, expected}), Sent());
}

class ParameterQueryTest : public DataStoreTest {};

TEST_F(ParameterQueryTest, ParameterCountChoosesTheMethodByArea) {
    store.GetRecordsCount("p=\"1\"", static_cast<QueryType>(4), true);
    unconfiguredStore.GetRecordsCount("", QueryTypeDefault, false);
    EXPECT_EQ((std::vector<CallView>{
                  {kStoreUrl,
                   "GetCountByParameter",
                   {{"param", "p=\"1\""}, {"queryType", "4"}, {"isrtAreaCode", "A1"}}},
                  {kConfiguredUrl,
                   "GetCountByParameterAndIsrtAreaCode",
                   {{"param", ""}, {"queryType", "0"}, {"isrtAreaCode", "A1"}}},
              }),
              Sent());
}

TEST_F(ParameterQueryTest, ParameterListSendsPageSizeBeforePageNumber) {
    transport.QueueReply(true, "[{Id:1}]");
    EXPECT_EQ("[{Id:1}]", store.GetProjects("p", static_cast<QueryType>(3), 2, 50, true));
    unconfiguredStore.GetProjects("q", static_cast<QueryType>(-1), -3, 0, false);
    EXPECT_EQ((std::vector<CallView>{
                  {kStoreUrl,
                   "GetListByParameter",
                   {{"param", "p"},
                    {"pageSize", "50"},
                    {"pageNum", "2"},
                    {"queryType", "3"},
                    {"isrtAreaCode", "A1"}}},
                  {kConfiguredUrl,
                   "GetListByParameterAndIsrtAreaCode",
                   {{"param", "q"},
                    {"pageSize", "0"},
                    {"pageNum", "-3"},
                    {"queryType", "-1"},
                    {"isrtAreaCode", "A1"}}},
              }),
              Sent());
}

TEST_F(ParameterQueryTest, FailedCallReturnsItsText) {
    transport.QueueReply(false, "无法连接服务器");
    EXPECT_EQ("无法连接服务器", store.GetProjects("p", QueryTypeDefault, 1, 25, true));
}

// How a count reply of each shape reads.
class CountReplyTest : public DataStoreTest {
  protected:
    std::vector<long> ParameterCounts(const char* reply) {
        transport.QueueReply(true, reply);
        return store.GetRecordsCount("p", QueryTypeDefault, true);
    }
    long FunctionCount(const char* reply) {
        transport.QueueReply(true, reply);
        return store.GetRecordsCount(XmkApproval, kNoConditions, "");
    }
};

TEST_F(CountReplyTest, EachElementOfAnArrayGivesOneCount) {
    EXPECT_EQ((std::vector<long>{3, 4, 5}),
              ParameterCounts("[{TotalCount:3},{\"TotalCount\":\"4\"},{'TotalCount':5}]"));
    EXPECT_EQ((std::vector<long>{1, 0}), ParameterCounts("[{TotalCount:1},{Other:2}]"));
    EXPECT_EQ((std::vector<long>{7, 8}),
              ParameterCounts("[[{TotalCount:7}],[{X:1},[{TotalCount:8}]]]"));
}

TEST_F(CountReplyTest, EachMemberOfAnObjectIsSearchedOnItsOwn) {
    EXPECT_EQ((std::vector<long>{5, 0}), ParameterCounts("{TotalCount:5,Other:1}"));
    EXPECT_EQ((std::vector<long>{0, 6}), ParameterCounts("{Other:1,TotalCount:6}"));
}

TEST_F(CountReplyTest, RepliesWithoutElementsGiveOneCount) {
    EXPECT_EQ(std::vector<long>{0}, ParameterCounts(""));
    EXPECT_EQ(std::vector<long>{0}, ParameterCounts("{}"));
    EXPECT_EQ(std::vector<long>{0}, ParameterCounts("[]"));
}

TEST_F(CountReplyTest, TotalCountIsFoundAnywhereBelowArrays) {
    EXPECT_EQ(42, FunctionCount("{TotalCount:42}"));
    EXPECT_EQ(42, FunctionCount("{\"Rows\":[],\"TotalCount\":\"42\"}"));
    EXPECT_EQ(5, FunctionCount("[{TotalCount:5},{TotalCount:7}]"));
    EXPECT_EQ(9, FunctionCount("[[{TotalCount:9}]]"));
    EXPECT_EQ(0, FunctionCount("{Data:{TotalCount:5}}"));
}

TEST_F(CountReplyTest, CountsConvertAsTheCLibraryDoes) {
    EXPECT_EQ(12, FunctionCount("{TotalCount:12abc}"));
    EXPECT_EQ(-12, FunctionCount("{TotalCount:\"  -12\"}"));
    EXPECT_EQ(8, FunctionCount("{TotalCount:+8}"));
    EXPECT_EQ(0, FunctionCount("{TotalCount:abc}"));
    EXPECT_EQ(0, FunctionCount("{TotalCount:null}"));
    EXPECT_EQ(0, FunctionCount("{TotalCount:}"));
    EXPECT_EQ(1, FunctionCount("{TotalCount:true}"));
}

TEST_F(CountReplyTest, MalformedRepliesCountZero) {
    EXPECT_EQ(0, FunctionCount(""));
    EXPECT_EQ(0, FunctionCount("not json at all"));
    EXPECT_EQ(0, FunctionCount("{Count:3}"));
    EXPECT_EQ(0, FunctionCount("{TotalCount"));
    EXPECT_EQ(0, FunctionCount("]["));
}

TEST_F(CountReplyTest, FailedCallsCountZero) {
    transport.QueueReply(false, "无法连接服务器");
    EXPECT_EQ(0, store.GetRecordsCount({}));
    transport.QueueReply(false, "");
    EXPECT_EQ(std::vector<long>{0}, store.GetRecordsCount("p", QueryTypeDefault, false));
    EXPECT_TRUE(Shown().empty());
}

TEST_F(FlatQueryTest, AllAreasConditionIsRecognisedByItsCleanedValue) {
    const std::vector<ServiceConditionJosn> conditions = {
        Condition("{AreaCode:'9999'}"),
        Condition("{'AreaCode':\"9999\",Kind:3}"),
        Condition("{AreaCode: 9999}"),
        Condition("{AreaCode:'9999 '}"),
        Condition("[]"),
        Condition("[{AreaCode:9999}]"),
    };
    store.GetRecordsCount(conditions);
    EXPECT_EQ(Flat(kStoreUrl, "GetProjectCount",
                   "{PageNum:1,PageSize:25,AreaCode: 9999,AreaCode:'9999 ',{AreaCode:9999},"
                   "IsrtAreaCode:\"A1\"}"),
              OnlyCall());
}

TEST_F(FlatQueryTest, EmptyOrQuotedAreaCodeIsSentAsItsText) {
    const CDataStoreWebService empty("", 0, kStoreUrl);
    const CDataStoreWebService quoted("3'2\"0", 0, kStoreUrl);
    empty.GetProjects(kNoConditions, 1);
    quoted.GetRecordsCount("p", QueryTypeDefault, false);
    EXPECT_EQ((std::vector<CallView>{
                  Flat(kStoreUrl, "GetProjectList", "{PageNum:1,PageSize:25,IsrtAreaCode:\"\"}"),
                  {kStoreUrl,
                   "GetCountByParameterAndIsrtAreaCode",
                   {{"param", "p"}, {"queryType", "0"}, {"isrtAreaCode", "3'2\"0"}}},
              }),
              Sent());
}

TEST_F(CountReplyTest, EveryCountQueryConvertsTheTotalAlike) {
    const char* totals[] = {"  42", "-5", "7x", "x7", "", "'+3'"};
    std::vector<long> byFunction, byConditions, firstPage, byParameter;
    for (const char* total : totals) {
        const CString reply = CString("{TotalCount:") + total + "}";
        transport.SetDefaultReply(true, reply);
        byFunction.push_back(store.GetRecordsCount(XmkApproval, kNoConditions, ""));
        byConditions.push_back(store.GetRecordsCount(kNoConditions));
        firstPage.push_back(store.GetRecordsCountAndFirstpageRecords(kNoConditions, 0).second);
        const std::vector<long> counts = store.GetRecordsCount("p", QueryTypeDefault, true);
        byParameter.insert(byParameter.end(), counts.begin(), counts.end());
    }
    const std::vector<long> expected = {42, -5, 7, 0, 0, 3};
    EXPECT_EQ(expected, byFunction);
    EXPECT_EQ(expected, byConditions);
    EXPECT_EQ(expected, firstPage);
    EXPECT_EQ(expected, byParameter);
}
