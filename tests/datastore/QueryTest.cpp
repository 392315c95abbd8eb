// Queries: the documents of the uniform operation, the flat documents and parameter calls of
// the count and list methods, the named-argument queries, and the counts read from replies.
#include <gtest/gtest.h>

#include <climits>
#include <functional>
#include <initializer_list>

#include "support/ServiceTesting.h"

namespace {

ServiceConditionJosn Condition(const char* text) { return ServiceConditionJosn(CString(text)); }

std::vector<ServiceConditionJosn> Conditions(std::initializer_list<const char*> texts) {
    std::vector<ServiceConditionJosn> conditions;
    for (const char* text : texts) conditions.push_back(Condition(text));
    return conditions;
}

std::string Flat(const char* method, const std::string& json) {
    return " " + std::string(method) + "(queryCodition=" + json + ")";
}

using QueryTest = DataStoreTest;

TEST_F(QueryTest, EachQuerySendsItsWholeRequest) {
    const CDataStoreWebService& s = store;
    const CDataStoreWebService quoted("a\"b'c", 0, kStoreUrl);
    ServiceConditionJosn built;  // made by pushes: its cursor is at its end
    built.push("Kind", CString("a"));
    built.push("Year", 2020);
    std::vector<ServiceConditionJosn> merged = Conditions({"{AreaCode:37}", "{}", ""});
    merged.push_back(built);
    merged.push_back(Condition("{AreaCode:9999}"));
    const ServiceConditionJosn code = Condition("{Code:\"B1\"}");
    const auto corps = Conditions({"{Name:'c'}", "{}"});
    // Only the exact member and value in first place ask for every area.
    const auto allAreas =
        Conditions({"{AreaCode:9999,Kind:1}", "{AreaCode:\"9999\"}", "{'AreaCode':'9999'}",
                    "{Kind:2,AreaCode:9999}", "{AreaCode:99990}", "{AreaCode:999}",
                    "{areacode:9999}", "{AreaCode: 9999}"});
    std::vector<ServiceConditionJosn> listed = {Condition("{AreaCode:9999}"), built};
    const XmkFunctionId maxId = static_cast<XmkFunctionId>(INT_MAX);
    const struct {
        std::function<void()> query;
        std::string sent;
    } cases[] = {
        {[&] { s.GetRecordsCount(maxId, kNoConditions, ""); }, Uniform("Type:8", INT_MAX)},
        {[&] { s.GetRecordsCount(XmkAcceptance, merged, "x=\"1\" and y='2'"); },
         Uniform("Type:8,AreaCode:37,Kind:\"a\",Year:2020,AreaCode:9999,"
                 "WhereCode:\"x=\\\"1\\\" and y=\\'2\\'\"",
                 1)},
        {[&] { s.GetProjects({Condition("{AreaCode:37}")}, "", 3); },
         Uniform("Type:1,PageNum:3,PageSize:25,AreaCode:37", 9000)},
        {[&] { s.GetProjects({}, "w", -1); }, Uniform("Type:1,PageSize:25,WhereCode:\"w\"", 9000)},
        {[&] { s.GetProjects({}, "", 0); }, Uniform("Type:1,PageNum:0,PageSize:25", 9000)},
        {[&] { s.GetCorps(corps, "w"); },
         Uniform("Type:9,PageNum:0,PageSize:0,Name:'c',WhereCode:\"w\"", 9010)},
        {[&] { s.GetBids(code); }, Uniform("Type:2,PageNum:0,PageSize:0,Code:\"B1\"", 9000)},
        {[&] { s.GetInstances(code); }, Uniform("Type:3,PageNum:0,PageSize:0,Code:\"B1\"", 9000)},
        {[&] { s.GetDetails(XmkGenericObject5, code); }, Uniform("Type:4,Code:\"B1\"", 5)},
        {[&] { s.GetDetails(maxId, Condition("")); }, Uniform("Type:4", INT_MAX)},
        {[&] { s.GetMaxProjectIndex(code); }, Uniform("Type:5,Code:\"B1\"", 9000)},
        {[&] { s.GetMaxBidIndex(code); }, Uniform("Type:6,Code:\"B1\"", 9000)},
        {[&] { s.GetMaxInstanceIndex(code); }, Uniform("Type:7,Code:\"B1\"", 9000)},
        {[&] { quoted.GetCorps(kNoConditions, "x\\y\"z"); },
         " DoWork(jsonInput={Conditions:{Type:9,PageNum:0,PageSize:0,WhereCode:\"x\\y\\\"z\"},"
         "Permission:{UserID:12,AppID:3,FunctionID:9010,FunctionType:0,"
         "IsrtAreaCode:\"a\\\"b\\'c\"}})"},
        {[&] { s.GetProofAttachByProofId("P\"1"); }, " GetProofAttachByProofId(proofID=P\"1)"},
        {[&] { s.GetLogsByCondition(""); }, " GetLogs(condition=)"},
        {[&] { s.GetRecordsCount(merged); },
         Flat("GetProjectCount",
              "{PageNum:1,PageSize:25,AreaCode:37,Kind:\"a\",Year:2020,IsrtAreaCode:\"A1\"}")},
        {[&] { s.GetRecordsCount(allAreas); },
         Flat("GetProjectCount",
              "{PageNum:1,PageSize:25,Kind:2,AreaCode:9999,AreaCode:99990,AreaCode:999,"
              "areacode:9999,AreaCode: 9999,IsrtAreaCode:\"A1\"}")},
        {[&] { s.GetProjects(listed, 0); },
         Flat("GetProjectList",
              "{PageNum:0,PageSize:25,Kind:\"a\",Year:2020,IsrtAreaCode:\"A1\"}")},
        // The first condition becomes the whole document, cursor and all.
        {[&] { s.GetProjects({Condition("{Year:2021}")}, -1); },
         Flat("GetProjectList", "{IsrtAreaCode:\"A1\"Year:2021}")},
        {[&] { s.GetRecordsCountAndFirstpageRecords({}, 9); },
         Flat("GetProjectCount", "{PageNum:1,PageSize:25,IsrtAreaCode:\"A1\"}")},
        {[&] { s.GetRecordsCount("p=\"1\"", QueryType(4), true); },
         " GetCountByParameter(param=p=\"1\";queryType=4;isrtAreaCode=A1)"},
        {[&] { quoted.GetRecordsCount("", QueryType(INT_MIN), false); },
         " GetCountByParameterAndIsrtAreaCode(param=;queryType=-2147483648;isrtAreaCode=a\"b'c)"},
        {[&] { s.GetProjects("p", QueryType(3), 2, 50, true); },
         " GetListByParameter(param=p;pageSize=50;pageNum=2;queryType=3;isrtAreaCode=A1)"},
        {[&] { s.GetProjects("q", QueryType(INT_MAX), INT_MIN, -1, false); },
         " GetListByParameterAndIsrtAreaCode(param=q;pageSize=-1;pageNum=-2147483648;"
         "queryType=2147483647;isrtAreaCode=A1)"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.sent);
        EXPECT_EQ(Strings{kStoreUrl + c.sent}, SentBy(c.query));
    }
    EXPECT_EQ(Texts{}, Shown());
}

TEST_F(QueryTest, CountIntoTheCallersDocumentKeepsItsMembersAndCursor) {
    CJosn request;
    request.push("Mine", 1);
    transport.QueueReply(true, "[{TotalCount:3}]");
    EXPECT_EQ(3, store.GetRecordsCount(static_cast<XmkFunctionId>(77), {Condition("{Name:\"n\"}")},
                                       "w", request));
    request.push("Later", 2);
    std::string sent =
        "{Mine:1,Conditions:{Type:8,Name:\"n\",WhereCode:\"w\"}," + Permission(3, 77, 0);
    sent.pop_back();
    EXPECT_EQ(Strings{kStoreUrl + (" DoWork(jsonInput=" + sent + "}})")}, Sent());
    EXPECT_EQ(sent + ",Later:2}}", request.GetValue().Str());
}

// Every count is the first "TotalCount" below the reply's arrays, read as atol reads it: beyond
// a long's range it stays at the nearer limit. The parameter count reads one per element of
// the reply, each member of an object on its own, and one for a reply without elements.
TEST_F(QueryTest, CountsAreTheFirstTotalCountReadAsAtolDoes) {
    const struct {
        const char* reply;
        long count;
        std::vector<long> perElement;
    } cases[] = {{"{TotalCount:42}", 42, {42}},
                 {"{Rows:[],\"TotalCount\":\"  -12\"}", -12, {0, -12}},
                 {"{Other:1,TotalCount:+6}", 6, {0, 6}},
                 {"[{TotalCount:5},{Other:2},{'TotalCount':'7x'}]", 5, {5, 0, 7}},
                 {"[[{TotalCount:9}],[{X:1},[{TotalCount:8}]]]", 9, {9, 8}},
                 {"{Data:{TotalCount:5}}", 0, {0}},
                 {"[{TotalCount:x7}]", 0, {0}},
                 {"{TotalCount:2147483648}", 2147483648L, {2147483648L}},
                 {"{TotalCount:-2147483649}", -2147483649L, {-2147483649L}},
                 {"{TotalCount:9223372036854775807}", LONG_MAX, {LONG_MAX}},
                 {"{TotalCount:9223372036854775808}", LONG_MAX, {LONG_MAX}},
                 {"{TotalCount:-9223372036854775808}", LONG_MIN, {LONG_MIN}},
                 {"{TotalCount:-99999999999999999999}", LONG_MIN, {LONG_MIN}},
                 {"", 0, {0}},
                 {"[]", 0, {0}},
                 {"not json", 0, {0}}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.reply);
        transport.SetDefaultReply(true, c.reply);
        EXPECT_EQ(c.count, store.GetRecordsCount(XmkApproval, kNoConditions, ""));
        EXPECT_EQ(c.count, store.GetRecordsCount(kNoConditions));
        EXPECT_EQ(c.count, store.GetRecordsCountAndFirstpageRecords(kNoConditions, 0).second);
        EXPECT_EQ(c.perElement, store.GetRecordsCount("p", QueryTypeDefault, true));
    }
}

// A store without a URL of its own, or a copy or an assigned one, uses the configured one;
// when that is missing too, only the operations sent through ExcuteCmd say so. Every way of
// sending returns the reply text whether or not the exchange succeeded.
TEST_F(QueryTest, StoreUrlIsItsOwnElseTheConfiguredOneAndRepliesComeBackUnparsed) {
    const CDataStoreWebService unconfigured("A1", 77), copy(unconfigured);
    CDataStoreWebService assigned("other", 1, kStoreUrl);
    assigned = copy;
    const CDataStoreWebService* stores[] = {&unconfigured, &copy, &assigned};
    const CString reply = "{Ret:2,Message:\"check it\",TotalCount:31}";
    transport.SetDefaultReply(false, reply);
    for (const std::string url : {kConfiguredUrl, ""}) {
        CIniManager::Instance().SetStrBzkWebService(url.c_str());
        for (const CDataStoreWebService* s : stores) {
            presenter.Clear();
            RecordingItem item(7);
            EXPECT_EQ(
                (Strings{
                    url + " DoWork(jsonInput={Values:{}," + Permission(3, 7, 1) + "})",
                    url + Uniform("Type:2,PageNum:0,PageSize:0", 9000),
                    url + Flat("GetProjectCount", "{PageNum:1,PageSize:25,IsrtAreaCode:\"A1\"}"),
                    url + " GetListByParameter(param=p;pageSize=25;pageNum=1;queryType=0;"
                          "isrtAreaCode=A1)",
                    url + " GetLogs(condition=c)"}),
                SentBy([&] {
                    EXPECT_TRUE(s->AddItem(item));
                    EXPECT_EQ(reply, s->GetBids(ServiceConditionJosn()));
                    EXPECT_EQ(std::make_pair(reply, 31L),
                              s->GetRecordsCountAndFirstpageRecords({}, 0));
                    EXPECT_EQ(reply, s->GetProjects("p", QueryTypeDefault, 1, 25, true));
                    EXPECT_EQ(reply, s->GetLogsByCondition("c"));
                }));
            const Texts shown =
                url.empty() ? Texts{kMissingUrl, "check it", kMissingUrl} : Texts{"check it"};
            EXPECT_EQ(shown, Shown());
        }
    }
}

}  // namespace
