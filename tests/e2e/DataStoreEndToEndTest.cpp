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
using Conditions = std::vector<ServiceConditionJosn>;

ServiceConditionJosn Condition(const std::vector<ItemValue>& members) {
    return MakeCondition<ServiceConditionJosn>(members);
}

// The value of `key` in a reply, found as the library's own count queries find it.
std::string Find(const CString& reply, const char* key) {
    return CJosn(reply).FindKeyValueRecursion(key).Str();
}

// The number of rows of a page reply.
unsigned RowCount(const CString& reply) {
    return CJosn(CJosn(reply).GetKeyValue("Rows")).GetChildCount();
}

// The values of member `key` in each row of a page reply.
std::vector<std::string> Column(const CString& reply, const char* key) {
    const CJosn rows(CJosn(reply).GetKeyValue("Rows"));
    std::vector<std::string> out;
    for (unsigned i = 0; i < rows.GetChildCount(); ++i) {
        out.push_back(rows.GetChild(i).GetKeyValue(key).Str());
    }
    return out;
}

class DataStoreEndToEndTest : public BackendFixture {
  protected:
    CDataStoreWebService store_{"370100", 0};
};

TEST_F(DataStoreEndToEndTest, GenericInsertUpdateAuditAndDeleteReachTheStore) {
    TestItem item(100, {TextMember("Title", "路面检测 \"A\" 'B'"), NumberMember("Size", 3)});
    ASSERT_TRUE(store_.AddItem(item));
    EXPECT_EQ(CString("1"), item.newId);
    EXPECT_EQ(1, item.afterInsert);
    EXPECT_EQ((Rows{{"100", "370100", "路面检测 \"A\" 'B'", "3"}}),
              Query("SELECT function_id, area_code, json_extract(data, '$.Title'), "
                    "json_extract(data, '$.Size') FROM records"));

    TestItem update(100, {NumberMember("ID", 1), TextMember("Title", "复测")});
    EXPECT_TRUE(store_.UpdateItem(update));
    TestItem audit(100, {NumberMember("ID", 1), NumberMember("AuditState", 2)});
    EXPECT_TRUE(store_.UpdateAudit(audit));
    EXPECT_EQ("{\"Title\":\"复测\",\"Size\":3,\"AuditState\":2}",
              Value("SELECT data FROM records WHERE id = 1"));

    TestItem remove(100);
    remove.deleteKeys = {TextMember("Title", "复测")};
    EXPECT_TRUE(store_.DeleteItem(remove));
    EXPECT_EQ(1, remove.afterDelete);
    EXPECT_EQ(0, server_.CountRows("records"));
    EXPECT_EQ((Rows{{"12", "3", "100", "1", "DoWork", "1"},
                    {"12", "3", "100", "2", "DoWork", "1"},
                    {"12", "3", "100", "4", "DoWork", "1"},
                    {"12", "3", "100", "3", "DoWork", "1"}}),
              Query("SELECT user_id, app_id, function_id, function_type, method, record_id "
                    "FROM audit_log ORDER BY id"));
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

TEST_F(DataStoreEndToEndTest, RecordKindsWithTheirOwnMethodsInsertUpdateAuditAndDelete) {
    struct Kind {
        int functionId;
        const char* table;
        const char* insertMethod;
        const char* updateMethod;
        const char* deleteMethod;
    };
    const Kind kinds[] = {
        {0, "approvals", "InsertApprovalForCpp", "UpdateApprovalForCpp", "DeleteApprovalForCpp"},
        {1, "acceptances", "InsertAcceptanceForCpp", "UpdateAcceptanceForCpp",
         "DeleteAcceptanceForCpp"},
        {2, "proof_attachments", "InsertProofAttachForCpp", "UpdateProofAttachForCpp",
         "DeleteProofAttachByIdForCpp"},
    };
    for (const Kind& k : kinds) {
        SCOPED_TRACE(k.table);
        const int before = server_.CountRows(k.table);
        TestItem item(k.functionId, {TextMember("Title", "新记录"), NumberMember("ProjectID", 3)});
        ASSERT_TRUE(store_.AddItem(item));
        const std::string id = item.newId.Str();
        EXPECT_EQ(before + 1, server_.CountRows(k.table));

        TestItem update(k.functionId, {TextMember("ID", id.c_str()), TextMember("Title", "改")});
        EXPECT_TRUE(store_.UpdateItem(update));
        EXPECT_EQ("改", Value(std::string("SELECT json_extract(data, '$.Title') FROM ") + k.table +
                              " WHERE id = " + id));

        // Audits of every kind go to the uniform operation.
        TestItem audit(k.functionId, {TextMember("ID", id.c_str()), NumberMember("Audit", 1)});
        EXPECT_TRUE(store_.UpdateAudit(audit));
        EXPECT_EQ("1", Value(std::string("SELECT json_extract(data, '$.Audit') FROM ") + k.table +
                             " WHERE id = " + id));

        TestItem remove(k.functionId);
        remove.itemId = id.c_str();
        EXPECT_TRUE(store_.DeleteItem(remove));
        EXPECT_EQ(before, server_.CountRows(k.table));
        EXPECT_EQ((Rows{{k.insertMethod, "1"},
                        {k.updateMethod, "2"},
                        {"DoWork", "4"},
                        {k.deleteMethod, "3"}}),
                  Query("SELECT method, function_type FROM audit_log WHERE record_id = " + id +
                        " AND table_name = '" + k.table + "' ORDER BY id"));
    }
    EXPECT_TRUE(presenter_.Texts().empty());
}

TEST_F(DataStoreEndToEndTest, GenericObjectsCarryTheirTableNameAndTheApplicationId) {
    for (int functionId : {3, 4, 5}) {
        SCOPED_TRACE(functionId);
        TestItem item(functionId, {TextMember("Name", "检查表"), NumberMember("Score", 90)});
        item.tableName = "T_Check";
        ASSERT_TRUE(store_.AddItem(item));
        const std::string id = item.newId.Str();
        EXPECT_EQ((Rows{{"T_Check", std::to_string(functionId), "370100", "90"}}),
                  Query("SELECT table_name, function_id, area_code, json_extract(data, "
                        "'$.Score') FROM objects WHERE id = " +
                        id));

        TestItem update(functionId, {TextMember("ID", id.c_str()), NumberMember("Score", 95)});
        update.tableName = "T_Check";
        EXPECT_TRUE(store_.UpdateItem(update));
        EXPECT_EQ("95",
                  Value("SELECT json_extract(data, '$.Score') FROM objects WHERE id = " + id));

        TestItem audit(functionId, {TextMember("ID", id.c_str()), NumberMember("Audit", 1)});
        EXPECT_TRUE(store_.UpdateAudit(audit));
        EXPECT_EQ("1", Value("SELECT json_extract(data, '$.Audit') FROM objects WHERE id = " + id));

        TestItem remove(functionId);
        remove.tableName = "T_Check";
        remove.deleteKeys = {TextMember("ID", id.c_str())};
        EXPECT_TRUE(store_.DeleteItem(remove));
        EXPECT_EQ(0, server_.CountRows("objects"));
    }
    // Generic-object writes send the application id (5), not the application type.
    EXPECT_EQ(
        (Rows{{"5", "9"}}),
        Query("SELECT DISTINCT app_id, COUNT(*) FROM audit_log WHERE table_name = 'T_Check'"));
    // Audits take the uniform operation, which sends the application type (3).
    EXPECT_EQ((Rows{{"DoWork", "3", "3"}}),
              Query("SELECT method, app_id, COUNT(*) FROM audit_log WHERE function_type = 4"));
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
    EXPECT_EQ(3, store_.GetRecordsCount(XmkProjectList,
                                        {Condition({TextMember("AreaCode", "370100")})}, ""));
    EXPECT_EQ(
        2, store_.GetRecordsCount(XmkProjectList, {Condition({TextMember("AreaCode", "370100")})},
                                  "LeaderEmpId = '1001'"));
    CJosn request;
    EXPECT_EQ(2, store_.GetRecordsCount(XmkProjectList, Conditions{}, "Status = 0", request));
    EXPECT_EQ(2, store_.GetRecordsCount(XmkFunctionId(2), Conditions{}, ""));

    EXPECT_EQ(3, store_.GetRecordsCount({Condition({TextMember("AreaCode", "370100")})}));
    EXPECT_EQ(6, store_.GetRecordsCount({Condition({TextMember("AreaCode", "9999")})}));

    EXPECT_EQ((std::vector<long>{1, 1, 1}),
              store_.GetRecordsCount("经十路,大桥,隧道", QueryType(0), true));
    EXPECT_EQ((std::vector<long>{1, 1, 0}),
              store_.GetRecordsCount("经十路,大桥,隧道", QueryType(0), false));
}

TEST_F(DataStoreEndToEndTest, ProjectAndCorpListsAnswerPages) {
    const CString page = store_.GetProjects({Condition({TextMember("AreaCode", "370200")})}, "", 1);
    EXPECT_EQ("2", Find(page, "TotalCount"));
    EXPECT_EQ((std::vector<std::string>{"胶州湾隧道附属工程", "青岛港疏港路拓宽工程"}),
              Column(page, "ProjectName"));
    EXPECT_EQ(6u, RowCount(store_.GetProjects(Conditions{}, "", -1)));

    const CString flat = store_.GetProjects({Condition({NumberMember("CorpDogId", 501)})}, 1);
    EXPECT_EQ((std::vector<std::string>{"1", "2", "3"}), Column(flat, "ID"));

    const CString byLeader = store_.GetProjects("1003", QueryType(2), 1, 1, true);
    EXPECT_EQ("2", Find(byLeader, "TotalCount"));
    EXPECT_EQ((std::vector<std::string>{"4"}), Column(byLeader, "ID"));
    EXPECT_EQ("0", Find(store_.GetProjects("1003", QueryType(2), 1, 10, false), "TotalCount"));

    const auto first = store_.GetRecordsCountAndFirstpageRecords(Conditions{}, 7);
    EXPECT_EQ(6, first.second);
    EXPECT_EQ(6u, RowCount(first.first));

    const CString corps = store_.GetCorps(Conditions{}, "CorpDogId > 501");
    EXPECT_EQ((std::vector<std::string>{"青岛海川建设集团有限公司", "淄博市政工程有限公司"}),
              Column(corps, "CorpName"));
}

TEST_F(DataStoreEndToEndTest, SingleKindQueriesAnswerBidsInstancesDetailsAndIndexes) {
    EXPECT_EQ((std::vector<std::string>{"土建标段", "机电标段"}),
              Column(store_.GetBids(Condition({NumberMember("ProjectID", 4)})), "BidName"));
    EXPECT_EQ((std::vector<std::string>{"路基工程", "路面工程"}),
              Column(store_.GetInstances(Condition({NumberMember("BidID", 1)})), "InstanceName"));
    EXPECT_EQ((std::vector<std::string>{"开工报告审批"}),
              Column(store_.GetDetails(XmkApproval, Condition({NumberMember("ID", 1)})), "Title"));
    EXPECT_EQ((std::vector<std::string>{"济南市", "青岛市", "淄博市"}),
              Column(store_.GetDetails(XmkFunctionId(9020), ServiceConditionJosn()), "AreaName"));
    EXPECT_EQ("3", Find(store_.GetMaxProjectIndex(Condition({TextMember("AreaCode", "370100")})),
                        "MaxIndex"));
    EXPECT_EQ("2",
              Find(store_.GetMaxBidIndex(Condition({NumberMember("ProjectID", 1)})), "MaxIndex"));
    EXPECT_EQ("2",
              Find(store_.GetMaxInstanceIndex(Condition({NumberMember("BidID", 1)})), "MaxIndex"));
    EXPECT_EQ("0",
              Find(store_.GetMaxInstanceIndex(Condition({NumberMember("BidID", 99)})), "MaxIndex"));
}

TEST_F(DataStoreEndToEndTest, ProofAttachmentsAndLogsAreReadByTheirNamedArgument) {
    EXPECT_EQ((std::vector<std::string>{"开工报告.pdf", "施工许可证.jpg"}),
              Column(store_.GetProofAttachByProofId("PF-0001"), "FileName"));
    EXPECT_EQ("0", Find(store_.GetProofAttachByProofId("PF-none"), "TotalCount"));

    TestItem item(100, {TextMember("Title", "a")});
    ASSERT_TRUE(store_.AddItem(item));
    TestItem attach(2, {TextMember("ProofID", "PF-0001"), TextMember("FileName", "x.png")});
    ASSERT_TRUE(store_.AddItem(attach));
    EXPECT_EQ("2", Find(store_.GetLogsByCondition(""), "TotalCount"));
    const CString logs =
        store_.GetLogsByCondition("{FunctionType:1,TableName:'proof_attachments'}");
    EXPECT_EQ((std::vector<std::string>{"InsertProofAttachForCpp"}), Column(logs, "Method"));
    EXPECT_EQ((std::vector<std::string>{"12"}), Column(logs, "UserID"));
    EXPECT_EQ(3u, RowCount(store_.GetProofAttachByProofId("PF-0001")));
}

}  // namespace
