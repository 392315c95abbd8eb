// Inserts, updates, deletes, audits and document updates of records on the three write
// paths: the uniform operation, a kind's own methods and the generic-object methods.
#include <gtest/gtest.h>

#include <climits>

#include "DataStoreTesting.h"

namespace {

enum Op { kInsert, kUpdate, kDelete, kAudit, kJosn };

bool Perform(const CDataStoreWebService& store, Op op, RecordingItem& item) {
    switch (op) {
        case kInsert:
            return store.AddItem(item);
        case kUpdate:
            return store.UpdateItem(item);
        case kDelete:
            return store.DeleteItem(item);
        case kAudit:
            return store.UpdateAudit(item);
        case kJosn:
            break;
    }
    CJosn request;
    return store.UpdateItemByJosn(request, item.functionId);
}

// An item that hands over members on every write, with quotes where escaping matters.
void Fill(RecordingItem& item) {
    item.itemId = "id\"7";
    item.tableName = "T\"b";
    item.insertValues = {{"N", "i"}};
    item.updateValues = {{"N", "u"}};
    item.auditValues = {{"N", "a"}};
    item.deleteKeys = {{"Id", "9"}};
    item.extraValues = {{"X", "e"}};
}

std::string Joined(const Calls& calls) {
    std::string text;
    for (const std::string& call : calls) text += (text.empty() ? "" : " ") + call;
    return text;
}

using WriteTest = DataStoreTest;

TEST_F(WriteTest, EachOperationOnEachPathSendsItsWholeRequestInItsCallOrder) {
    const struct {
        const char* label;
        Op op;
        int id;
        const char* method;
        const char* argument;
        const char* text;
        const char* calls;  // what the store asked of the item, in order
    } cases[] = {
        {"insert, uniform", kInsert, 7, "DoWork", "jsonInput",
         "{Values:{N:\"i\"},Permission:{UserID:12,AppID:3,FunctionID:7,FunctionType:1,"
         "IsrtAreaCode:\"A1\"},X:\"e\"}",
         "MakeNumber BeforeInsert GetFunctionId WriteInsertValues WriteExtraValues(1) "
         "SetNewId(57) AfterInsert"},
        {"insert, own methods", kInsert, 0, "InsertApprovalForCpp", "pAop",
         "{Appvl:{N:\"i\"},Permission:{UserID:12,AppID:3,FunctionID:0,FunctionType:1,"
         "IsrtAreaCode:\"A1\"},X:\"e\"}",
         "MakeNumber BeforeInsert GetFunctionId WriteInsertValues WriteExtraValues(2) "
         "SetNewId(57) AfterInsert"},
        {"insert, generic object", kInsert, 4, "InsertObject", "param",
         "{outnode:{Value:{N:\"i\"},Permission:{UserID:12,AppID:5,FunctionID:4,FunctionType:1,"
         "TableName:\"T\\\"b\",IsrtAreaCode:\"A1\"},X:\"e\"}}",
         "MakeNumber BeforeInsert GetFunctionId WriteInsertValues GetTableName "
         "WriteExtraValues(1) SetNewId(57) AfterInsert"},
        {"update, uniform", kUpdate, 12, "DoWork", "jsonInput",
         "{Values:{N:\"u\"},Permission:{UserID:12,AppID:3,FunctionID:12,FunctionType:2,"
         "IsrtAreaCode:\"A1\"},X:\"e\"}",
         "GetFunctionId BeforeUpdate WriteUpdateValues(0) WriteExtraValues(2)"},
        {"update, own methods", kUpdate, 2, "UpdateProofAttachForCpp", "proofAttach",
         "{Ftp:{N:\"u\"},Permission:{UserID:12,AppID:3,FunctionID:2,FunctionType:2,"
         "IsrtAreaCode:\"A1\"},X:\"e\"}",
         "GetFunctionId BeforeUpdate WriteUpdateValues(1) WriteExtraValues(2)"},
        {"update, generic object: Permission left open, no extras", kUpdate, 3, "UpdateObject",
         "param",
         "{outnode:{Value:{N:\"u\"},Permission:{UserID:12,AppID:5,FunctionID:3,FunctionType:2,"
         "TableName:\"T\\\"b\",IsrtAreaCode:\"A1\"}}}",
         "GetFunctionId BeforeUpdate WriteUpdateValues(0) GetTableName"},
        {"delete, uniform", kDelete, 6, "DoWork", "jsonInput",
         "{Conditions:{Id:\"9\"},Permission:{UserID:12,AppID:3,FunctionID:6,FunctionType:3,"
         "IsrtAreaCode:\"A1\"},X:\"e\"}",
         "GetFunctionId WriteDeleteKeys WriteExtraValues(3) AfterDelete"},
        {"delete, own methods: the item id alone", kDelete, 1, "DeleteAcceptanceForCpp", "afcpID",
         "id\"7", "GetFunctionId GetItemId AfterDelete"},
        {"delete, generic object: extras inside outnode", kDelete, 5, "DeleteObject", "param",
         "{outnode:{Value:{Id:\"9\"},Permission:{UserID:12,AppID:5,FunctionID:5,FunctionType:3,"
         "TableName:\"T\\\"b\",IsrtAreaCode:\"A1\"},X:\"e\"}}",
         "GetFunctionId WriteDeleteKeys GetTableName WriteExtraValues(3) AfterDelete"},
        {"audit, uniform for every kind", kAudit, 4, "DoWork", "jsonInput",
         "{Values:{N:\"a\"},Permission:{UserID:12,AppID:3,FunctionID:4,FunctionType:4,"
         "IsrtAreaCode:\"A1\"}}",
         "WriteAuditValues GetFunctionId"}};
    transport.SetDefaultReply(true, kReplyOk);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        transport.Clear();
        RecordingItem item(c.id);
        Fill(item);
        EXPECT_TRUE(Perform(store, c.op, item));
        EXPECT_EQ(std::string(c.method) + "(" + c.argument + "=" + c.text + ")", OnlyCall());
        EXPECT_EQ(c.calls, Joined(item.calls));
    }
    EXPECT_TRUE(Shown().empty());
}

TEST_F(WriteTest, EmptyItemsSendEmptyObjectsAndAnEmptyAreaCode) {
    const CDataStoreWebService bare("", 0, kStoreUrl);
    transport.SetDefaultReply(true, kReplyOk);
    RecordingItem acceptance(XmkAcceptance), object(XmkGenericObject5);
    EXPECT_TRUE(bare.AddItem(acceptance));
    EXPECT_TRUE(bare.AddItem(object));
    CJosn request;
    EXPECT_TRUE(bare.UpdateItemByJosn(request, static_cast<XmkFunctionId>(7)));
    const std::string josn =
        "{Permission:{UserID:12,AppID:3,FunctionID:7,FunctionType:2,IsrtAreaCode:\"\"}}";
    EXPECT_EQ(josn, request.GetValue());
    EXPECT_EQ((std::vector<std::string>{
                  "InsertAcceptanceForCpp(pAfcp={Afcp:{},Permission:{UserID:12,AppID:3,"
                  "FunctionID:1,FunctionType:1,IsrtAreaCode:\"\"}})",
                  "InsertObject(param={outnode:{Value:{},Permission:{UserID:12,AppID:5,"
                  "FunctionID:5,FunctionType:1,TableName:\"\",IsrtAreaCode:\"\"}}})",
                  "DoWork(jsonInput=" + josn + ")",
              }),
              Sent());
}

TEST_F(WriteTest, FunctionIdPicksThePathAndTheKindsMethodsAndIsSentUnchanged) {
    const char* uniform = "DoWork(jsonInput) DoWork(jsonInput) DoWork(jsonInput) DoWork(jsonInput)";
    const char* generic =
        "InsertObject(param) UpdateObject(param) DeleteObject(param) "
        "DoWork(jsonInput)";
    const struct {
        int id;
        const char* route;  // the insert, update, delete and audit calls
    } cases[] = {
        {-1, uniform},
        {0,
         "InsertApprovalForCpp(pAop) UpdateApprovalForCpp(pAop) DeleteApprovalForCpp(aopID) "
         "DoWork(jsonInput)"},
        {1,
         "InsertAcceptanceForCpp(pAfcp) UpdateAcceptanceForCpp(pAfcp) "
         "DeleteAcceptanceForCpp(afcpID) DoWork(jsonInput)"},
        {2,
         "InsertProofAttachForCpp(proofAttach) UpdateProofAttachForCpp(proofAttach) "
         "DeleteProofAttachByIdForCpp(attachID) DoWork(jsonInput)"},
        {3, generic},
        {4, generic},
        {5, generic},
        {6, uniform},
        {9000, uniform},
        {INT_MAX, uniform}};
    transport.SetDefaultReply(true, kReplyOk);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.id);
        transport.Clear();
        for (Op op : {kInsert, kUpdate, kDelete, kAudit}) {
            RecordingItem item(c.id);
            item.itemId = "never in a document";
            Perform(store, op, item);
        }
        std::string route;
        for (const WebCall& call : transport.Calls()) {
            const std::string text = call.arguments.at(0).second.Str();
            route += (route.empty() ? "" : " ") + call.method.Str() + "(" +
                     call.arguments.at(0).first.Str() + ")";
            if (text != "never in a document") {
                EXPECT_NE(std::string::npos, text.find(",FunctionID:" + std::to_string(c.id) + ","))
                    << text;
            }
        }
        EXPECT_EQ(c.route, route);
    }
}

TEST_F(WriteTest, RepliesAreJudgedByTheirCodeOnEveryPath) {
    const struct {
        const char* reply;
        bool ok;
        std::vector<CString> shown;
        const char* newId;
    } replies[] = {{kReplyOk, true, {}, "57"},           {kReplyWarn, true, {"check it"}, "58"},
                   {kReplyFail, false, {"refused"}, ""}, {kReplyNegative, false, {"broken"}, ""},
                   {"", false, {kNothingReturned}, ""},  {"{}", false, {kNothingReturned}, ""}};
    for (Op op : {kInsert, kUpdate, kDelete, kAudit, kJosn}) {
        for (int id : {0, 4, 7}) {
            for (const auto& r : replies) {
                SCOPED_TRACE(testing::Message() << "op " << op << " id " << id << " " << r.reply);
                presenter.Clear();
                transport.QueueReply(true, r.reply);
                RecordingItem item(id);
                EXPECT_EQ(r.ok, Perform(store, op, item));
                EXPECT_EQ(r.shown, Shown());
                // Only a successful insert hands over the data and runs AfterInsert; only a
                // successful delete runs AfterDelete.
                EXPECT_EQ(op == kInsert ? r.newId : "", item.newId);
                const std::string last = item.calls.empty() ? "" : item.calls.back();
                EXPECT_EQ(r.ok && (op == kInsert || op == kDelete),
                          last == "AfterInsert" || last == "AfterDelete");
            }
        }
    }
}

TEST_F(WriteTest, FailedNumberingStopsTheInsertBeforeAnythingIsSent) {
    RecordingItem item(XmkApproval);
    item.numbered = false;
    EXPECT_FALSE(store.AddItem(item));
    EXPECT_EQ(0u, transport.CallCount());
    EXPECT_EQ(std::vector<CString>{"编号失败"}, Shown());
    EXPECT_EQ(Calls{"MakeNumber"}, item.calls);
}

TEST_F(WriteTest, NothingToUpdateIsSentOnlyForGenericObjects) {
    const std::pair<int, const char*> cases[] = {
        {0, "GetFunctionId BeforeUpdate WriteUpdateValues(1)"},
        {6, "GetFunctionId BeforeUpdate WriteUpdateValues(0)"},
        {4, "GetFunctionId BeforeUpdate WriteUpdateValues(0) GetTableName"}};
    transport.SetDefaultReply(true, kReplyOk);
    for (const auto& c : cases) {
        RecordingItem item(c.first);
        item.hasUpdate = false;
        EXPECT_TRUE(store.UpdateItem(item));
        EXPECT_EQ(c.second, Joined(item.calls));
    }
    ASSERT_EQ(1u, transport.CallCount());
    EXPECT_EQ("UpdateObject", transport.Call(0).method);
    EXPECT_TRUE(Shown().empty());
}

TEST_F(WriteTest, DocumentUpdateAddsPermissionAtTheCallersCursorAndKeepsIt) {
    CJosn request;
    request.push("Name", CString("n"));
    request.object_in("Values");
    request.push("Size", 3);
    request.child_out();
    transport.QueueReply(true, kReplyOk);

    EXPECT_TRUE(store.UpdateItemByJosn(request, XmkGenericObject3));
    request.push("After", 1);

    const std::string sent =
        "{Name:\"n\",Values:{Size:3},Permission:{UserID:12,AppID:3,FunctionID:3,FunctionType:2,"
        "IsrtAreaCode:\"A1\"";
    EXPECT_EQ("DoWork(jsonInput=" + sent + "}})", OnlyCall());
    EXPECT_EQ(sent + ",After:1}}", request.GetValue());
}

TEST_F(WriteTest, CopiedAndAssignedStoresSendAlike) {
    const CDataStoreWebService copy(store);
    CDataStoreWebService assigned("other", 1);
    assigned = store;
    transport.SetDefaultReply(true, kReplyOk);
    const CDataStoreWebService* stores[] = {&store, &copy, &assigned};
    for (const CDataStoreWebService* s : stores) {
        RecordingItem item(XmkApproval);
        s->AddItem(item);
    }
    std::vector<std::string> sent;
    for (const WebCall& call : transport.Calls()) sent.push_back(call.url.Str() + Rendered(call));
    ASSERT_EQ(3u, sent.size());
    EXPECT_EQ(sent[0], sent[1]);
    EXPECT_EQ(sent[0], sent[2]);
}

}  // namespace
