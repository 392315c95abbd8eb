// Every data-store operation over real HTTP against the reference back-end, with the
// back-end's store checked afterwards.
#include <string>
#include <vector>

#include "BackendFixture.h"
#include "TestItem.h"
#include "datastore/CDataStoreWebService.h"
#include "datastore/ServiceConditionJosn.h"

namespace {

using Rows = std::vector<std::vector<std::string>>;
using Texts = std::vector<std::string>;
using Conditions = std::vector<ServiceConditionJosn>;

// The value of `key` in a reply, found as the library's own count queries find it.
std::string Find(const CString& reply, const char* key) {
    return CJosn(reply).FindKeyValueRecursion(key).Str();
}

// The number of rows of a page reply.
unsigned RowCount(const CString& reply) {
    return CJosn(CJosn(reply).GetKeyValue("Rows")).GetChildCount();
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

class DataStoreEndToEndTest : public BackendFixture {
  protected:
    CDataStoreWebService store_{"370100", 0};
};

// Each kind of record goes through insert, update, audit and delete, each write reaching
// the store by the kind's own method (audits always by the uniform one). Generic objects
// carry their table name and the application id (5), the others the application type (3).
TEST_F(DataStoreEndToEndTest, EveryKindInsertsUpdatesAuditsAndDeletes) {
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
        {4, "objects", "T_Check", "InsertObject", "UpdateObject", "DeleteObject"},
        {5, "objects", "T_Check", "InsertObject", "UpdateObject", "DeleteObject"},
    };
    for (const auto& k : kinds) {
        SCOPED_TRACE(k.functionId);
        const char* appId = *k.objectTable ? "5" : "3";
        const std::string table = k.table;
        const int before = server_.CountRows(table);
        TestItem item(k.functionId,
                      {TextMember("Title", "路面检测 \"A\" 'B'"), NumberMember("Size", 3)});
        item.tableName = k.objectTable;
        ASSERT_TRUE(store_.AddItem(item));
        EXPECT_EQ(1, item.afterInsert);
        const std::string id = item.newId.Str();
        const std::string where = " FROM " + table + " WHERE id = " + id;
        EXPECT_EQ((Rows{{std::to_string(k.functionId), k.objectTable, "370100",
                         "{\"Title\":\"路面检测 \\\"A\\\" 'B'\",\"Size\":3}"}}),
                  Query("SELECT function_id, table_name, area_code, data" + where));

        TestItem update(k.functionId, {TextMember("ID", id.c_str()), TextMember("Title", "复测")});
        update.tableName = k.objectTable;
        EXPECT_TRUE(store_.UpdateItem(update));
        TestItem audit(k.functionId, {TextMember("ID", id.c_str()), NumberMember("Audit", 2)});
        EXPECT_TRUE(store_.UpdateAudit(audit));
        EXPECT_EQ("{\"Title\":\"复测\",\"Size\":3,\"Audit\":2}", Value("SELECT data" + where));

        TestItem remove(k.functionId);
        remove.tableName = k.objectTable;
        // Records and generic objects are deleted by conditions, the other kinds by their id
        // alone, which carries no Permission block to log.
        const bool byId = k.functionId < 3;
        if (byId) {
            remove.itemId = id.c_str();
        } else {
            remove.deleteKeys = {TextMember("ID", id.c_str())};
        }
        EXPECT_TRUE(store_.DeleteItem(remove));
        EXPECT_EQ(1, remove.afterDelete);
        EXPECT_EQ(before, server_.CountRows(table));
        EXPECT_EQ(
            (Rows{{k.insert, "1", appId, "12"},
                  {k.update, "2", appId, "12"},
                  {"DoWork", "4", "3", "12"},
                  {k.remove, "3", byId ? "0" : appId, byId ? "0" : "12"}}),
            Query("SELECT method, function_type, app_id, user_id FROM audit_log WHERE "
                  "record_id = " +
                  id + " AND function_id = " + std::to_string(k.functionId) + " ORDER BY id"));
    }
    EXPECT_TRUE(presenter_.Texts().empty());
}

TEST_F(DataStoreEndToEndTest, RefusedWritesReturnFalseAndShowTheBackEndsMessage) {
    TestItem update(100, {NumberMember("ID", 999), TextMember("Title", "x")});
    EXPECT_FALSE(store_.UpdateItem(update));
    TestItem remove(100);
    remove.deleteKeys = {TextMember("Title", "nothing")};
    EXPECT_FALSE(store_.DeleteItem(remove));
    EXPECT_EQ(0, remove.afterDelete);
    TestItem approval(0);
    approval.itemId = "4711";
    EXPECT_FALSE(store_.DeleteItem(approval));
    EXPECT_EQ((std::vector<CString>{"记录不存在：999", "没有符合条件的记录", "没有符合条件的记录"}),
              presenter_.Texts());
    EXPECT_EQ(0, server_.CountRows("audit_log"));
}

TEST_F(DataStoreEndToEndTest, UpdateByJosnWritesTheCallersMembers) {
    TestItem item(100, {TextMember("Title", "a")});
    ASSERT_TRUE(store_.AddItem(item));
    CJosn values;
    values.object_in("Values");
    values.push("ID", 1);
    values.push("Title", CString("b"));
    values.child_out();
    EXPECT_TRUE(store_.UpdateItemByJosn(values, XmkFunctionId(100)));
    CJosn flat;
    flat.push("ID", 1);
    flat.push("Extra", 7);
    EXPECT_TRUE(store_.UpdateItemByJosn(flat, XmkFunctionId(100)));
    EXPECT_EQ("{\"Title\":\"b\",\"Extra\":7}", Value("SELECT data FROM records WHERE id = 1"));
}

TEST_F(DataStoreEndToEndTest, RecordCountsFollowConditionsWhereCodesAndParameters) {
    EXPECT_EQ(6, store_.GetRecordsCount(XmkProjectList, Conditions{}, ""));
    EXPECT_EQ(3, store_.GetRecordsCount(XmkProjectList, {Cond("AreaCode", "370100")}, ""));
    EXPECT_EQ(2, store_.GetRecordsCount(XmkProjectList, {Cond("AreaCode", "370100")},
                                        "LeaderEmpId = '1001'"));
    CJosn request;
    EXPECT_EQ(2, store_.GetRecordsCount(XmkProjectList, Conditions{}, "Status = 0", request));
    EXPECT_EQ(2, store_.GetRecordsCount(XmkFunctionId(2), Conditions{}, ""));

    EXPECT_EQ(3, store_.GetRecordsCount({Cond("AreaCode", "370100")}));
    EXPECT_EQ(6, store_.GetRecordsCount({Cond("AreaCode", "9999")}));

    EXPECT_EQ((std::vector<long>{1, 1, 1}),
              store_.GetRecordsCount("经十路,大桥,隧道", QueryType(0), true));
    EXPECT_EQ((std::vector<long>{1, 1, 0}),
              store_.GetRecordsCount("经十路,大桥,隧道", QueryType(0), false));
}

TEST_F(DataStoreEndToEndTest, ProjectAndCorpListsAnswerPages) {
    const CString page = store_.GetProjects({Cond("AreaCode", "370200")}, "", 1);
    EXPECT_EQ("2", Find(page, "TotalCount"));
    EXPECT_EQ((Texts{"胶州湾隧道附属工程", "青岛港疏港路拓宽工程"}), Column(page, "ProjectName"));
    EXPECT_EQ(6u, RowCount(store_.GetProjects(Conditions{}, "", -1)));

    const CString flat = store_.GetProjects({Cond("CorpDogId", 501)}, 1);
    EXPECT_EQ((Texts{"1", "2", "3"}), Column(flat, "ID"));

    const CString byLeader = store_.GetProjects("1003", QueryType(2), 1, 1, true);
    EXPECT_EQ("2", Find(byLeader, "TotalCount"));
    EXPECT_EQ((Texts{"4"}), Column(byLeader, "ID"));
    EXPECT_EQ("0", Find(store_.GetProjects("1003", QueryType(2), 1, 10, false), "TotalCount"));

    const auto first = store_.GetRecordsCountAndFirstpageRecords(Conditions{}, 7);
    EXPECT_EQ(6, first.second);
    EXPECT_EQ(6u, RowCount(first.first));

    const CString corps = store_.GetCorps(Conditions{}, "CorpDogId > 501");
    EXPECT_EQ((Texts{"青岛海川建设集团有限公司", "淄博市政工程有限公司"}),
              Column(corps, "CorpName"));
}

TEST_F(DataStoreEndToEndTest, SingleKindQueriesAnswerBidsInstancesDetailsAndIndexes) {
    EXPECT_EQ((Texts{"土建标段", "机电标段"}),
              Column(store_.GetBids(Cond("ProjectID", 4)), "BidName"));
    EXPECT_EQ((Texts{"路基工程", "路面工程"}),
              Column(store_.GetInstances(Cond("BidID", 1)), "InstanceName"));
    EXPECT_EQ((Texts{"开工报告审批"}),
              Column(store_.GetDetails(XmkApproval, Cond("ID", 1)), "Title"));
    EXPECT_EQ((Texts{"济南市", "青岛市", "淄博市"}),
              Column(store_.GetDetails(XmkFunctionId(9020), ServiceConditionJosn()), "AreaName"));
    EXPECT_EQ("3", Find(store_.GetMaxProjectIndex(Cond("AreaCode", "370100")), "MaxIndex"));
    EXPECT_EQ("2", Find(store_.GetMaxBidIndex(Cond("ProjectID", 1)), "MaxIndex"));
    EXPECT_EQ("2", Find(store_.GetMaxInstanceIndex(Cond("BidID", 1)), "MaxIndex"));
    EXPECT_EQ("0", Find(store_.GetMaxInstanceIndex(Cond("BidID", 99)), "MaxIndex"));
}

TEST_F(DataStoreEndToEndTest, ProofAttachmentsAndLogsAreReadByTheirNamedArgument) {
    EXPECT_EQ((Texts{"开工报告.pdf", "施工许可证.jpg"}),
              Column(store_.GetProofAttachByProofId("PF-0001"), "FileName"));
    EXPECT_EQ("0", Find(store_.GetProofAttachByProofId("PF-none"), "TotalCount"));

    TestItem item(100, {TextMember("Title", "a")});
    ASSERT_TRUE(store_.AddItem(item));
    TestItem attach(2, {TextMember("ProofID", "PF-0001"), TextMember("FileName", "x.png")});
    ASSERT_TRUE(store_.AddItem(attach));
    EXPECT_EQ("2", Find(store_.GetLogsByCondition(""), "TotalCount"));
    const CString logs =
        store_.GetLogsByCondition("{FunctionType:1,TableName:'proof_attachments'}");
    EXPECT_EQ((Texts{"InsertProofAttachForCpp"}), Column(logs, "Method"));
    EXPECT_EQ((Texts{"12"}), Column(logs, "UserID"));
    EXPECT_EQ(3u, RowCount(store_.GetProofAttachByProofId("PF-0001")));
}

}  // namespace
