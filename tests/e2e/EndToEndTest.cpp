// The library over real HTTP against the reference back-end: every data-store operation,
// with the back-end's store checked afterwards, and the project-leader checks.
#include <string>
#include <vector>

#include "BackendFixture.h"
#include "datastore/CDataStoreWebService.h"
#include "wirekit/ExchangeReport.h"

namespace {

using Rows = std::vector<std::vector<std::string>>;
using Texts = std::vector<std::string>;
using Conditions = std::vector<ServiceConditionJosn>;

// The value of `key` in a reply, found as the library's own count queries find it.
std::string Find(const CString& reply, const char* key) {
    return CJosn(reply).FindKeyValueRecursion(key).Str();
}

// The values of member `key` in each row of a page reply.
Texts Column(const CString& reply, const char* key) {
    const CJosn rows(CJosn(reply).GetKeyValue("Rows"));
    Texts out;
    for (unsigned i = 0; i < rows.GetChildCount(); ++i) {
        out.push_back(rows.GetChild(i).GetKeyValue(key).Str());
    }
    return out;
}

class EndToEndTest : public BackendFixture {
  protected:
    CDataStoreWebService store_{"370100", 0};
};

// Each kind of record is inserted, updated, audited and deleted by its own methods (audits by
// the uniform one); generic objects carry their table name and application id 5, others 3.
TEST_F(EndToEndTest, EveryKindInsertsUpdatesAuditsAndDeletes) {
    const struct {
        int functionId;
        const char* table;
        const char* objectTable;  // generic objects: the table name they carry
        const char* insert;
        const char* update;
        const char* remove;
    } kinds[] = {
        {100, "records", "", "DoWork", "DoWork", "DoWork"},
        {0, "approvals", "", "InsertApprovalForCpp", "UpdateApprovalForCpp",
         "DeleteApprovalForCpp"},
        {1, "acceptances", "", "InsertAcceptanceForCpp", "UpdateAcceptanceForCpp",
         "DeleteAcceptanceForCpp"},
        {2, "proof_attachments", "", "InsertProofAttachForCpp", "UpdateProofAttachForCpp",
         "DeleteProofAttachByIdForCpp"},
        {3, "objects", "T_Check", "InsertObject", "UpdateObject", "DeleteObject"},
    };
    for (const auto& k : kinds) {
        SCOPED_TRACE(k.functionId);
        const char* appId = *k.objectTable ? "5" : "3";
        const int before = server_.CountRows(k.table);
        TestItem item(k.functionId, R"({Title:"路面检测 \"A\" 'B'",Size:3})");
        item.tableName = k.objectTable;
        ASSERT_TRUE(store_.AddItem(item));
        const std::string id = item.newId.Str();
        const std::string where = std::string(" FROM ") + k.table + " WHERE id = " + id;
        EXPECT_EQ((Rows{{std::to_string(k.functionId), k.objectTable, "370100",
                         "{\"Title\":\"路面检测 \\\"A\\\" 'B'\",\"Size\":3}"}}),
                  server_.Query("SELECT function_id, table_name, area_code, data" + where));

        TestItem update(k.functionId, "{ID:" + id + ",Title:\"复测\"}");
        update.tableName = k.objectTable;
        EXPECT_TRUE(store_.UpdateItem(update));
        TestItem audit(k.functionId, "{ID:" + id + ",Audit:2}");
        EXPECT_TRUE(store_.UpdateAudit(audit));
        EXPECT_EQ(Rows{{"{\"Title\":\"复测\",\"Size\":3,\"Audit\":2}"}},
                  server_.Query("SELECT data" + where));

        // Records and generic objects are deleted by conditions, the other kinds by their id
        // alone, which carries no Permission block to log.
        const bool byId = k.functionId < 3;
        TestItem remove(k.functionId, "{}");
        remove.tableName = k.objectTable;
        remove.itemId = byId ? id.c_str() : "";
        remove.deleteKeys = CString(byId ? "{}" : "{ID:" + id + "}");
        EXPECT_TRUE(store_.DeleteItem(remove));
        EXPECT_EQ(before, server_.CountRows(k.table));
        EXPECT_EQ((Rows{{k.insert, "1", appId, "12"},
                        {k.update, "2", appId, "12"},
                        {"DoWork", "4", "3", "12"},
                        {k.remove, "3", byId ? "0" : appId, byId ? "0" : "12"}}),
                  server_.Query("SELECT method, function_type, app_id, user_id FROM audit_log "
                                "WHERE record_id = " +
                                id + " AND function_id = " + std::to_string(k.functionId) +
                                " ORDER BY id"));
    }
    EXPECT_TRUE(presenter_.Texts().empty());
}

// Counts and pages follow conditions, where-codes and parameters in each request layout.
TEST_F(EndToEndTest, QueriesAnswerTheSelectedRecordsInOrder) {
    CJosn request;
    const std::vector<long> counts = {
        store_.GetRecordsCount(XmkProjectList, Conditions{}, ""),
        store_.GetRecordsCount(XmkProjectList, {Cond("AreaCode", "370100")}, ""),
        store_.GetRecordsCount(XmkProjectList, {Cond("AreaCode", "370100")},
                               "LeaderEmpId = '1001'"),
        store_.GetRecordsCount(XmkProjectList, Conditions{}, "Status = 0", request),
        store_.GetRecordsCount(XmkFunctionId(2), Conditions{}, ""),
        store_.GetRecordsCount({Cond("AreaCode", "370100")}),
        store_.GetRecordsCount({Cond("AreaCode", "9999")}),
        store_.GetRecordsCountAndFirstpageRecords(Conditions{}, 7).second,
    };
    EXPECT_EQ((std::vector<long>{6, 3, 2, 2, 2, 3, 6, 6}), counts);
    EXPECT_EQ((std::vector<long>{1, 1, 1}),
              store_.GetRecordsCount("经十路,大桥,隧道", QueryType(0), true));
    EXPECT_EQ((std::vector<long>{1, 1, 0}),
              store_.GetRecordsCount("经十路,大桥,隧道", QueryType(0), false));
    const struct {
        CString reply;
        const char* key;
        Texts expected;
    } pages[] = {
        {store_.GetProjects({Cond("AreaCode", "370200")}, "", 1),
         "ProjectName",
         {"胶州湾隧道附属工程", "青岛港疏港路拓宽工程"}},
        {store_.GetProjects(Conditions{}, "", -1), "ID", {"1", "2", "3", "4", "5", "6"}},
        {store_.GetProjects({Cond("CorpDogId", 501)}, 1), "ID", {"1", "2", "3"}},
        {store_.GetProjects("1003", QueryType(2), 1, 1, true), "ID", {"4"}},
        {store_.GetProjects("1003", QueryType(2), 2, 1, true), "ID", {"5"}},
        {store_.GetProjects("1003", QueryType(2), 1, 10, false), "ID", {}},
        {store_.GetCorps(Conditions{}, "CorpDogId > 501"),
         "CorpName",
         {"青岛海川建设集团有限公司", "淄博市政工程有限公司"}},
        {store_.GetBids(Cond("ProjectID", 4)), "BidName", {"土建标段", "机电标段"}},
        {store_.GetInstances(Cond("BidID", 1)), "InstanceName", {"路基工程", "路面工程"}},
        {store_.GetDetails(XmkApproval, Cond("ID", 1)), "Title", {"开工报告审批"}},
        {store_.GetDetails(XmkFunctionId(9020), ServiceConditionJosn()),
         "AreaName",
         {"济南市", "青岛市", "淄博市"}},
        {store_.GetProofAttachByProofId("PF-0001"), "FileName", {"开工报告.pdf", "施工许可证.jpg"}},
    };
    for (const auto& page : pages)
        EXPECT_EQ(page.expected, Column(page.reply, page.key)) << page.reply.Str();
    EXPECT_EQ("2", Find(store_.GetProjects("1003", QueryType(2), 1, 1, true), "TotalCount"));
    EXPECT_EQ("3", Find(store_.GetMaxProjectIndex(Cond("AreaCode", "370100")), "MaxIndex"));
    EXPECT_EQ("2", Find(store_.GetMaxBidIndex(Cond("ProjectID", 1)), "MaxIndex"));
    EXPECT_EQ("2", Find(store_.GetMaxInstanceIndex(Cond("BidID", 1)), "MaxIndex"));
    EXPECT_EQ("0", Find(store_.GetMaxInstanceIndex(Cond("BidID", 99)), "MaxIndex"));
}

// The first check's answer makes the second one's arguments.
TEST_F(EndToEndTest, ProjectLeaderChecksAndTheirProjects) {
    CWebService& service = CWebService::instance();
    EXPECT_TRUE(service.CheckXMFZR(Url(), Url(), 1001));   // first-class certificate: 3
    EXPECT_TRUE(service.CheckXMFZR(Url(), Url(), 1002));   // second-class: 2
    EXPECT_FALSE(service.CheckXMFZR(Url(), Url(), 1004));  // third-class: 1
    EXPECT_FALSE(service.CheckXMFZR(Url(), Url(), 4242));  // unknown: 9, one exchange
    EXPECT_TRUE(service.CheckXMFZRForCpp(Url(), "1003", 502, 3, "370200"));
    EXPECT_FALSE(service.CheckXMFZRForCpp(Url(), "1003", 501, 3, "370200"));
    std::vector<long> projects = {99};
    EXPECT_TRUE(service.GetXMFZRYZProjects(Url(), "1001", 501, 3, "", projects));
    EXPECT_EQ((std::vector<long>{99, 1, 2}), projects);
    std::vector<long> none;
    EXPECT_TRUE(service.GetXMFZRYZProjects(Url(), "1001", 501, 3, "370300", none));
    EXPECT_TRUE(none.empty());
}

}  // namespace

// With no back-end listening, every call keeps its documented failure result, and the thread's
// last exchange tells that apart from an empty answer.
TEST_F(EndToEndTest, AClosedPortFailsEveryCallAndSaysWhy) {
    const CString closed = "http://127.0.0.1:1/svc";
    const CDataStoreWebService store("37", 0, closed);
    TestItem item(XmkApproval, "{Name:\"x\"}");
    EXPECT_EQ(0, store.GetRecordsCount(Conditions{}));
    EXPECT_EQ(std::make_pair(FailureKind::connect, closed),
              std::make_pair(LastExchange().kind, LastExchange().url));
    EXPECT_FALSE(store.AddItem(item));
    EXPECT_EQ(1u, presenter_.Texts().size());
    EXPECT_EQ(FailureKind::connect, LastExchange().kind);
    store_.GetRecordsCount(Conditions{});
    EXPECT_EQ(FailureKind::none, LastExchange().kind);
}
