// Queries: the "Conditions" and "Permission" documents of the uniform operation, the flat
// condition documents and parameter calls of the count and list methods, the named-argument
// queries, and how counts are read from the replies.
#include <gtest/gtest.h>

#include <climits>
#include <functional>
#include <initializer_list>

#include "DataStoreTesting.h"

namespace {

ServiceConditionJosn Condition(const char* text) { return ServiceConditionJosn(CString(text)); }

std::vector<ServiceConditionJosn> Conditions(std::initializer_list<const char*> texts) {
    std::vector<ServiceConditionJosn> conditions;
    for (const char* text : texts) conditions.push_back(Condition(text));
    return conditions;
}

ServiceConditionJosn Pushed(const char* name, int value) {
    ServiceConditionJosn condition;
    condition.push(name, value);
    return condition;
}

// A query through the uniform operation, with the Permission block of area "A1".
std::string Uniform(const std::string& conditions, int functionId) {
    return "DoWork(jsonInput={Conditions:{" + conditions +
           "},Permission:{UserID:12,AppID:3,FunctionID:" + std::to_string(functionId) +
           ",FunctionType:0,IsrtAreaCode:\"A1\"}})";
}

std::string Flat(const char* method, const std::string& json) {
    return std::string(method) + "(queryCodition=" + json + ")";
}

using QueryTest = DataStoreTest;

TEST_F(QueryTest, EachQuerySendsItsWholeRequest) {
    const CDataStoreWebService& s = store;
    const CDataStoreWebService bare("", 0, kStoreUrl);
    const CDataStoreWebService quoted("a\"b'c", 0, kStoreUrl);
    ServiceConditionJosn built;
    built.push("Kind", CString("a"));
    built.push("Year", 2020);
    std::vector<ServiceConditionJosn> merged = Conditions({"{AreaCode:37}", "{}", ""});
    merged.push_back(built);
    merged.push_back(Condition("{AreaCode:9999}"));
    const std::vector<ServiceConditionJosn> allAreasByPlace =
        Conditions({"{AreaCode:9999,Kind:1}", "{AreaCode:\"9999\"}", "{Kind:2,AreaCode:9999}",
                    "{AreaCode:99990}", "{areacode:9999}", "{}"});
    const std::vector<ServiceConditionJosn> allAreasByValue =
        Conditions({"{AreaCode:'9999'}", "{'AreaCode':\"9999\",Kind:3}", "{AreaCode: 9999}",
                    "{AreaCode:'9999 '}", "[]", "[{AreaCode:9999}]"});
    const ServiceConditionJosn code = Condition("{Code:\"B1\"}");
    const XmkFunctionId maxId = static_cast<XmkFunctionId>(INT_MAX);
    const struct {
        const char* label;
        std::function<void()> query;
        std::string sent;
    } cases[] = {
        {"count: the kind alone", [&] { s.GetRecordsCount(maxId, kNoConditions, ""); },
         Uniform("Type:8", INT_MAX)},
        {"count: conditions in order, then the where-code",
         [&] { s.GetRecordsCount(XmkAcceptance, merged, "x=\"1\" and y='2'"); },
         Uniform("Type:8,AreaCode:37,Kind:\"a\",Year:2020,AreaCode:9999,"
                 "WhereCode:\"x=\\\"1\\\" and y=\\'2\\'\"",
                 1)},
        {"project page", [&] { s.GetProjects({Condition("{AreaCode:37}")}, "", 3); },
         Uniform("Type:1,PageNum:3,PageSize:25,AreaCode:37", 9000)},
        {"project page -1: no number", [&] { s.GetProjects({}, "w", -1); },
         Uniform("Type:1,PageSize:25,WhereCode:\"w\"", 9000)},
        {"project page 0", [&] { s.GetProjects({}, "", 0); },
         Uniform("Type:1,PageNum:0,PageSize:25", 9000)},
        {"corps", [&] { s.GetCorps({Condition("{Name:'c'}")}, ""); },
         Uniform("Type:9,PageNum:0,PageSize:0,Name:'c'", 9010)},
        {"corps: arrays spliced without brackets",
         [&] {
             s.GetCorps(Conditions({"[]", "[{x:1}]", "{y:2}"}), "w");
         },
         Uniform("Type:9,PageNum:0,PageSize:0,{x:1},y:2,WhereCode:\"w\"", 9010)},
        {"bids", [&] { s.GetBids(code); },
         Uniform("Type:2,PageNum:0,PageSize:0,Code:\"B1\"", 9000)},
        {"instances", [&] { s.GetInstances(code); },
         Uniform("Type:3,PageNum:0,PageSize:0,Code:\"B1\"", 9000)},
        {"details", [&] { s.GetDetails(XmkGenericObject5, code); },
         Uniform("Type:4,Code:\"B1\"", 5)},
        {"details: unknown id, empty condition", [&] { s.GetDetails(maxId, Condition("{}")); },
         Uniform("Type:4", INT_MAX)},
        {"max project index", [&] { s.GetMaxProjectIndex(code); },
         Uniform("Type:5,Code:\"B1\"", 9000)},
        {"max bid index", [&] { s.GetMaxBidIndex(code); }, Uniform("Type:6,Code:\"B1\"", 9000)},
        {"max instance index", [&] { s.GetMaxInstanceIndex(code); },
         Uniform("Type:7,Code:\"B1\"", 9000)},
        {"texts escape only their quotes", [&] { quoted.GetCorps(kNoConditions, "x\\y\"z"); },
         "DoWork(jsonInput={Conditions:{Type:9,PageNum:0,PageSize:0,WhereCode:\"x\\y\\\"z\"},"
         "Permission:{UserID:12,AppID:3,FunctionID:9010,FunctionType:0,"
         "IsrtAreaCode:\"a\\\"b\\'c\"}})"},
        {"proof attachments", [&] { s.GetProofAttachByProofId("P\"1"); },
         "GetProofAttachByProofId(proofID=P\"1)"},
        {"logs", [&] { s.GetLogsByCondition(""); }, "GetLogs(condition=)"},
        {"project count", [&] { s.GetRecordsCount({Pushed("AreaCode", 37)}); },
         Flat("GetProjectCount", "{PageNum:1,PageSize:25,AreaCode:37,IsrtAreaCode:\"A1\"}")},
        {"all-areas condition dropped only in first place",
         [&] { s.GetRecordsCount(allAreasByPlace); },
         Flat("GetProjectCount",
              "{PageNum:1,PageSize:25,Kind:2,AreaCode:9999,AreaCode:99990,areacode:9999,"
              "IsrtAreaCode:\"A1\"}")},
        {"all-areas condition known by its cleaned value",
         [&] { s.GetRecordsCount(allAreasByValue); },
         Flat("GetProjectCount",
              "{PageNum:1,PageSize:25,AreaCode: 9999,AreaCode:'9999 ',{AreaCode:9999},"
              "IsrtAreaCode:\"A1\"}")},
        {"project list",
         [&] {
             s.GetProjects({Condition("{AreaCode:9999}"), built}, 3);
         },
         Flat("GetProjectList",
              "{PageNum:3,PageSize:25,Kind:\"a\",Year:2020,IsrtAreaCode:\"A1\"}")},
        {"project list -1: no paging",
         [&] {
             s.GetProjects({built, Pushed("Month", 5)}, -1);
         },
         Flat("GetProjectList", "{Kind:\"a\",Year:2020,Month:5,IsrtAreaCode:\"A1\"}")},
        {"project list -4: area at the first condition's cursor",
         [&] { s.GetProjects({Condition("{Year:2021}")}, -4); },
         Flat("GetProjectList", "{IsrtAreaCode:\"A1\"Year:2021}")},
        {"project list -1, no conditions", [&] { s.GetProjects({}, -1); },
         Flat("GetProjectList", "{IsrtAreaCode:\"A1\"}")},
        {"project list of an empty area", [&] { bare.GetProjects(kNoConditions, 1); },
         Flat("GetProjectList", "{PageNum:1,PageSize:25,IsrtAreaCode:\"\"}")},
        {"first page 1", [&] { s.GetRecordsCountAndFirstpageRecords({}, 1); },
         Flat("GetProjectCount", "{PageNum:1,PageSize:25,IsrtAreaCode:\"A1\"}")},
        {"first page 9: the same", [&] { s.GetRecordsCountAndFirstpageRecords({}, 9); },
         Flat("GetProjectCount", "{PageNum:1,PageSize:25,IsrtAreaCode:\"A1\"}")},
        {"count, all areas", [&] { s.GetRecordsCount("p=\"1\"", QueryType(4), true); },
         "GetCountByParameter(param=p=\"1\";queryType=4;isrtAreaCode=A1)"},
        {"count in the area", [&] { quoted.GetRecordsCount("", QueryTypeDefault, false); },
         "GetCountByParameterAndIsrtAreaCode(param=;queryType=0;isrtAreaCode=a\"b'c)"},
        {"list, all areas: size first", [&] { s.GetProjects("p", QueryType(3), 2, 50, true); },
         "GetListByParameter(param=p;pageSize=50;pageNum=2;queryType=3;isrtAreaCode=A1)"},
        {"list in the area", [&] { s.GetProjects("q", QueryType(-1), -3, 0, false); },
         "GetListByParameterAndIsrtAreaCode(param=q;pageSize=0;pageNum=-3;queryType=-1;"
         "isrtAreaCode=A1)"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        transport.Clear();
        c.query();
        EXPECT_EQ(c.sent, OnlyCall());
    }
    EXPECT_TRUE(Shown().empty());
}

TEST_F(QueryTest, CountIntoTheCallersDocumentKeepsItsMembersAndCursor) {
    CJosn request;
    request.push("Mine", 1);
    transport.QueueReply(true, "[{TotalCount:3}]");

    EXPECT_EQ(3, store.GetRecordsCount(static_cast<XmkFunctionId>(77), {Condition("{Name:\"n\"}")},
                                       "w", request));
    request.push("Later", 2);

    const std::string sent =
        "{Mine:1,Conditions:{Type:8,Name:\"n\",WhereCode:\"w\"},Permission:{UserID:12,AppID:3,"
        "FunctionID:77,FunctionType:0,IsrtAreaCode:\"A1\"";
    EXPECT_EQ("DoWork(jsonInput=" + sent + "}})", OnlyCall());
    EXPECT_EQ(sent + ",Later:2}}", request.GetValue());
}

TEST_F(QueryTest, RepliesComeBackUnparsedWhetherOrNotTheCallSucceeded) {
    const CString reply = "{TotalCount:31,Rows:[{Id:1}]}";
    transport.SetDefaultReply(false, reply);
    const ServiceConditionJosn none;
    const std::function<CString()> queries[] = {
        [&] { return store.GetProjects("p", QueryTypeDefault, 1, 25, true); },
        [&] { return store.GetProjects(kNoConditions, 1); },
        [&] { return store.GetProjects(kNoConditions, "", 1); },
        [&] { return store.GetBids(none); },
        [&] { return store.GetMaxInstanceIndex(none); },
        [&] { return store.GetProofAttachByProofId("P"); },
        [&] { return store.GetLogsByCondition("c"); }};
    for (const auto& query : queries) EXPECT_EQ(reply, query());
    EXPECT_EQ(std::make_pair(reply, 31L), store.GetRecordsCountAndFirstpageRecords({}, 0));
    EXPECT_TRUE(Shown().empty());
}

TEST_F(QueryTest, ParameterCountGivesOneCountPerElementOfTheReply) {
    const struct {
        const char* reply;
        std::vector<long> counts;
    } cases[] = {{"[{TotalCount:3},{\"TotalCount\":\"4\"},{'TotalCount':5}]", {3, 4, 5}},
                 {"[{TotalCount:1},{Other:2}]", {1, 0}},
                 {"[[{TotalCount:7}],[{X:1},[{TotalCount:8}]]]", {7, 8}},
                 {"[{TotalCount:'  -5'},{TotalCount:7x},{TotalCount:x7}]", {-5, 7, 0}},
                 // Each member of an object is searched on its own.
                 {"{TotalCount:5,Other:1}", {5, 0}},
                 {"{Other:1,TotalCount:6}", {0, 6}},
                 // No elements: one count.
                 {"", {0}},
                 {"{}", {0}},
                 {"[]", {0}}};
    for (const auto& c : cases) {
        transport.QueueReply(true, c.reply);
        EXPECT_EQ(c.counts, store.GetRecordsCount("p", QueryTypeDefault, true)) << c.reply;
    }
}

// Every count but the parameter count's is the first "TotalCount" found in the reply.
TEST_F(QueryTest, CountIsTheFirstTotalCountBelowArraysReadAsAtolDoes) {
    const struct {
        const char* reply;
        long count;
    } cases[] = {{"{TotalCount:42}", 42},
                 {"{\"Rows\":[],\"TotalCount\":\"42\"}", 42},
                 {"[{TotalCount:5},{TotalCount:7}]", 5},
                 {"[[{TotalCount:9}]]", 9},
                 {"{Data:{TotalCount:5}}", 0},
                 {"{TotalCount:12abc}", 12},
                 {"{TotalCount:\"  -12\"}", -12},
                 {"{TotalCount:+8}", 8},
                 {"{TotalCount:abc}", 0},
                 {"{TotalCount:null}", 0},
                 {"{TotalCount:}", 0},
                 {"{TotalCount:true}", 1},
                 {"", 0},
                 {"not json at all", 0},
                 {"{Count:3}", 0},
                 {"{TotalCount", 0},
                 {"][", 0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.reply);
        transport.SetDefaultReply(true, c.reply);
        EXPECT_EQ(c.count, store.GetRecordsCount(XmkApproval, kNoConditions, ""));
        EXPECT_EQ(c.count, store.GetRecordsCount(kNoConditions));
        EXPECT_EQ(c.count, store.GetRecordsCountAndFirstpageRecords(kNoConditions, 0).second);
    }
}

// A store without a URL of its own uses the configured one; when that is missing too, only
// the operations sent through ExcuteCmd say so, and a write still judges its reply.
TEST_F(QueryTest, StoreWithoutUrlUsesTheConfiguredOneAndOnlyExcuteCmdReportsItMissing) {
    const std::function<void()> operations[] = {
        [&] {
            RecordingItem item(7);
            unconfiguredStore.AddItem(item);
        },
        [&] { unconfiguredStore.GetBids(Condition("{}")); },
        [&] { unconfiguredStore.GetRecordsCount(XmkApproval, kNoConditions, ""); },
        [&] { unconfiguredStore.GetRecordsCount(kNoConditions); },
        [&] { unconfiguredStore.GetProjects("p", QueryTypeDefault, 1, 25, false); },
        [&] { unconfiguredStore.GetProofAttachByProofId("P1"); },
        [&] { unconfiguredStore.GetLogsByCondition("c"); }};
    transport.SetDefaultReply(true, kReplyWarn);
    for (const char* configured : {kConfiguredUrl, ""}) {
        SCOPED_TRACE(configured);
        CIniManager::Instance().SetStrBzkWebService(configured);
        transport.Clear();
        presenter.Clear();
        for (const auto& operation : operations) operation();
        std::vector<std::string> urls;
        for (const WebCall& call : transport.Calls()) urls.push_back(call.url.Str());
        EXPECT_EQ(std::vector<std::string>(7, configured), urls);
        const std::vector<CString> shown =
            *configured ? std::vector<CString>{"check it"}
                        : std::vector<CString>{kMissingUrl, "check it", kMissingUrl, kMissingUrl};
        EXPECT_EQ(shown, Shown());
    }
}

}  // namespace
