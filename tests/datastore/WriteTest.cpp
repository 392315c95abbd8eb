// Inserts, updates, deletes, audits and document updates of records on the three write
// paths: the uniform operation, a kind's own methods and the generic-object methods.
#include <gtest/gtest.h>

#include <climits>

#include "support/ServiceTesting.h"

namespace {

enum Op { kInsert, kUpdate, kDelete, kAudit, kJosn };

bool Perform(const CDataStoreWebService& store, Op op, RecordingItem& item) {
    CJosn request;
    return op == kInsert   ? store.AddItem(item)
           : op == kUpdate ? store.UpdateItem(item)
           : op == kDelete ? store.DeleteItem(item)
           : op == kAudit  ? store.UpdateAudit(item)
                           : store.UpdateItemByJosn(request, item.functionId);
}

constexpr char kReplyOk[] = "{Ret:1,Message:\"fine\",Data:\"57\"}";
const std::string kTable = ",TableName:\"T\\\"b\"";

using WriteTest = DataStoreTest;

// Ids 0 to 5 have rows of the item-kind table (3 to 5 generic objects); 6 and above, and ids
// below 0, go to the uniform operation.
TEST_F(WriteTest, EachOperationOnEachPathSendsItsWholeRequestInItsCallOrder) {
    const struct {
        Op op;
        int id;
        std::string sent;
        const char* calls;  // what the store asked of the item, in order
        bool hasUpdate = true;
    } cases[] = {
        {kInsert, -1, "DoWork(jsonInput={Values:{N:\"v\"}," + Permission(3, -1, 1) + ",X:\"e\"})",
         "MakeNumber BeforeInsert GetFunctionId Insert Extra1 SetNewId AfterInsert"},
        {kInsert, 0,
         "InsertApprovalForCpp(pAop={Appvl:{N:\"v\"}," + Permission(3, 0, 1) + ",X:\"e\"})",
         "MakeNumber BeforeInsert GetFunctionId Insert Extra2 SetNewId AfterInsert"},
        {kInsert, 4,
         "InsertObject(param={outnode:{Value:{N:\"v\"}," + Permission(5, 4, 1, kTable) +
             ",X:\"e\"}})",
         "MakeNumber BeforeInsert GetFunctionId Insert GetTableName Extra1 SetNewId AfterInsert"},
        {kUpdate, INT_MAX,
         "DoWork(jsonInput={Values:{N:\"v\"}," + Permission(3, INT_MAX, 2) + ",X:\"e\"})",
         "GetFunctionId BeforeUpdate Update0 Extra2"},
        {kUpdate, 2,
         "UpdateProofAttachForCpp(proofAttach={Ftp:{N:\"v\"}," + Permission(3, 2, 2) + ",X:\"e\"})",
         "GetFunctionId BeforeUpdate Update1 Extra2"},
        // Left inside Permission, with no extras.
        {kUpdate, 3,
         "UpdateObject(param={outnode:{Value:{N:\"v\"}," + Permission(5, 3, 2, kTable) + "}})",
         "GetFunctionId BeforeUpdate Update0 GetTableName"},
        {kDelete, 6, "DoWork(jsonInput={Conditions:{N:\"v\"}," + Permission(3, 6, 3) + ",X:\"e\"})",
         "GetFunctionId DeleteKeys Extra3 AfterDelete"},
        {kDelete, 1, "DeleteAcceptanceForCpp(afcpID=id\"7)", "GetFunctionId GetItemId AfterDelete"},
        {kDelete, 5,
         "DeleteObject(param={outnode:{Value:{N:\"v\"}," + Permission(5, 5, 3, kTable) +
             ",X:\"e\"}})",
         "GetFunctionId DeleteKeys GetTableName Extra3 AfterDelete"},
        {kAudit, 4, "DoWork(jsonInput={Values:{N:\"v\"}," + Permission(3, 4, 4) + "})",
         "Audit GetFunctionId"},
        // Nothing to update: sent only for a generic object.
        {kUpdate, 0, "", "GetFunctionId BeforeUpdate Update1", false},
        {kUpdate, 6, "", "GetFunctionId BeforeUpdate Update0", false},
        {kUpdate, 4,
         "UpdateObject(param={outnode:{Value:{N:\"v\"}," + Permission(5, 4, 2, kTable) + "}})",
         "GetFunctionId BeforeUpdate Update0 GetTableName", false}};
    transport.SetDefaultReply(true, kReplyOk);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.sent);
        RecordingItem item(c.id);
        item.itemId = "id\"7";
        item.tableName = "T\"b";
        item.values = {{"N", "v"}};
        item.extraValues = {{"X", "e"}};
        item.hasUpdate = c.hasUpdate;
        bool ok = false;
        const Strings sent = c.sent.empty() ? Strings{} : Strings{kStoreUrl + (" " + c.sent)};
        EXPECT_EQ(sent, SentBy([&] { ok = Perform(store, c.op, item); }));
        EXPECT_TRUE(ok);
        EXPECT_EQ(c.calls, item.calls);
    }
    EXPECT_EQ(Texts{}, Shown());
}

TEST_F(WriteTest, RepliesAreJudgedByTheirCodeOnEveryPathAndOnlyANumberedItemIsInserted) {
    const struct {
        const char* reply;
        Texts shown;
        const char* newId;  // empty: the write failed
    } replies[] = {{kReplyOk, {}, "57"},
                   {"{Ret:2,Message:\"check it\",Data:\"58\"}", {"check it"}, "58"},
                   {"{Ret:0,Message:\"refused\",Data:\"59\"}", {"refused"}, ""},
                   {"{Ret:-1,Message:\"broken\",Data:\"\"}", {"broken"}, ""},
                   {"", {kNothingReturned}, ""},
                   {"{}", {kNothingReturned}, ""}};
    for (Op op : {kInsert, kUpdate, kDelete, kAudit, kJosn}) {
        for (int id : {0, 4, 7}) {
            for (const auto& r : replies) {
                SCOPED_TRACE(testing::Message() << "op " << op << " id " << id << " " << r.reply);
                presenter.Clear();
                transport.QueueReply(true, r.reply);
                RecordingItem item(id);
                const bool ok = *r.newId != '\0';
                EXPECT_EQ(ok, Perform(store, op, item));
                EXPECT_EQ(r.shown, Shown());
                // Only a successful insert takes the data and runs AfterInsert; only a
                // successful delete runs AfterDelete.
                EXPECT_EQ(op == kInsert ? r.newId : "", item.newId);
                EXPECT_EQ(ok && (op == kInsert || op == kDelete),
                          item.calls.find("After") != std::string::npos);
            }
        }
    }
    // A failed numbering stops an insert before anything is sent.
    RecordingItem item(XmkApproval);
    item.numbered = false;
    presenter.Clear();
    EXPECT_EQ(Strings{}, SentBy([&] { EXPECT_FALSE(store.AddItem(item)); }));
    EXPECT_EQ(Texts{"编号失败"}, Shown());
    EXPECT_EQ("MakeNumber", item.calls);
}

TEST_F(WriteTest, DocumentUpdateAddsPermissionAtTheCallersCursorAndKeepsIt) {
    CJosn request;
    request.push("Name", CString("n"));
    request.object_in("Values");
    request.child_out();
    transport.QueueReply(true, kReplyOk);
    EXPECT_TRUE(store.UpdateItemByJosn(request, XmkGenericObject3));
    request.push("After", 1);
    const std::string sent = "{Name:\"n\",Values:{}," + Permission(3, 3, 2);
    EXPECT_EQ(Strings{kStoreUrl + (" DoWork(jsonInput=" + sent + "})")}, Sent());
    EXPECT_EQ(sent.substr(0, sent.size() - 1) + ",After:1}}", request.GetValue().Str());
}

}  // namespace
