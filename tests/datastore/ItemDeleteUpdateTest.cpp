#include <gtest/gtest.h>

#include "DataStoreTesting.h"

using Calls = std::vector<std::string>;

class ItemDeleteTest : public DataStoreTest {};

TEST_F(ItemDeleteTest, UniformPathSendsConditionsThroughTheJudgedCall) {
    RecordingItem item(static_cast<XmkFunctionId>(6));
    item.deleteKeys = {{"Id", "9"}};
    item.extraValues = {{"Why", "old"}};
    transport.QueueReply(true, kReplyOk);

    EXPECT_TRUE(store.DeleteItem(item));

    EXPECT_EQ((CallView{kStoreUrl,
                        "DoWork",
                        {{"jsonInput",
                          "{Conditions:{Id:\"9\"},Permission:{UserID:12,AppID:3,FunctionID:6,"
                          "FunctionType:3,IsrtAreaCode:\"A1\"},Why:\"old\"}"}}}),
              OnlyCall());
    EXPECT_EQ((Calls{"GetFunctionId", "WriteDeleteKeys", "WriteExtraValues(3)", "AfterDelete"}),
              item.calls);
    EXPECT_TRUE(Shown().empty());
}

TEST_F(ItemDeleteTest, EmptyUniformDeleteGivesTheBareRequest) {
    const CDataStoreWebService bare("", 0);
    RecordingItem item(static_cast<XmkFunctionId>(6));
    transport.QueueReply(true, kReplyOk);

    bare.DeleteItem(item);

    EXPECT_EQ((CallView{kConfiguredUrl,
                        "DoWork",
                        {{"jsonInput",
                          "{Conditions:{},Permission:{UserID:12,AppID:3,FunctionID:6,"
                          "FunctionType:3,IsrtAreaCode:\"\"}}"}}}),
              OnlyCall());
}

TEST_F(ItemDeleteTest, OwnMethodKindsSendOnlyTheItemId) {
    const XmkFunctionId ids[] = {XmkApproval, XmkAcceptance, XmkProofAttach};
    transport.SetDefaultReply(true, kReplyOk);
    for (XmkFunctionId id : ids) {
        RecordingItem item(id);
        item.itemId = "id\"7";
        item.deleteKeys = {{"Ignored", "x"}};
        EXPECT_TRUE(store.DeleteItem(item));
        EXPECT_EQ((Calls{"GetFunctionId", "GetItemId", "AfterDelete"}), item.calls);
    }
    EXPECT_EQ((std::vector<CallView>{
                  {kStoreUrl, "DeleteApprovalForCpp", {{"aopID", "id\"7"}}},
                  {kStoreUrl, "DeleteAcceptanceForCpp", {{"afcpID", "id\"7"}}},
                  {kStoreUrl, "DeleteProofAttachByIdForCpp", {{"attachID", "id\"7"}}},
              }),
              Sent());
}

TEST_F(ItemDeleteTest, GenericObjectDeleteKeepsExtrasInsideOutnode) {
    RecordingItem item(XmkGenericObject5);
    item.tableName = "Things";
    item.deleteKeys = {{"Id", "3"}};
    item.extraValues = {{"By", "me"}};
    transport.QueueReply(true, kReplyOk);

    EXPECT_TRUE(store.DeleteItem(item));

    EXPECT_EQ((CallView{kStoreUrl,
                        "DeleteObject",
                        {{"param",
                          "{outnode:{Value:{Id:\"3\"},Permission:{UserID:12,AppID:5,FunctionID:5,"
                          "FunctionType:3,TableName:\"Things\",IsrtAreaCode:\"A1\"},"
                          "By:\"me\"}}"}}}),
              OnlyCall());
    EXPECT_EQ((Calls{"GetFunctionId", "WriteDeleteKeys", "GetTableName", "WriteExtraValues(3)",
                     "AfterDelete"}),
              item.calls);
}

TEST_F(ItemDeleteTest, FailedDeletesShowTheMessageAndSkipAfterDelete) {
    const XmkFunctionId ids[] = {XmkApproval, XmkGenericObject3, static_cast<XmkFunctionId>(8)};
    for (XmkFunctionId id : ids) {
        RecordingItem item(id);
        transport.QueueReply(true, kReplyFail);
        EXPECT_FALSE(store.DeleteItem(item));
        EXPECT_NE("AfterDelete", item.calls.back());
    }
    EXPECT_EQ((std::vector<CString>{"refused", "refused", "refused"}), Shown());
}

TEST_F(ItemDeleteTest, WarningCodeShowsTheMessageAndDeletes) {
    const XmkFunctionId ids[] = {XmkAcceptance, XmkGenericObject4, static_cast<XmkFunctionId>(8)};
    for (XmkFunctionId id : ids) {
        RecordingItem item(id);
        transport.QueueReply(true, kReplyWarn);
        EXPECT_TRUE(store.DeleteItem(item));
        EXPECT_EQ("AfterDelete", item.calls.back());
    }
    EXPECT_EQ((std::vector<CString>{"check it", "check it", "check it"}), Shown());
}

TEST_F(ItemDeleteTest, EmptyRepliesFailOnEveryPath) {
    const XmkFunctionId ids[] = {XmkProofAttach, XmkGenericObject5, static_cast<XmkFunctionId>(6)};
    for (XmkFunctionId id : ids) {
        RecordingItem item(id);
        transport.QueueReply(true, "{}");
        EXPECT_FALSE(store.DeleteItem(item));
    }
    EXPECT_EQ((std::vector<CString>{kNothingReturned, kNothingReturned, kNothingReturned}),
              Shown());
}

class ItemUpdateTest : public DataStoreTest {};

TEST_F(ItemUpdateTest, UniformPathSendsValuesThroughTheJudgedCall) {
    RecordingItem item(static_cast<XmkFunctionId>(12));
    item.updateValues = {{"Name", "y"}};
    item.extraValues = {{"Rev", "2"}};
    transport.QueueReply(true, kReplyOk);

    EXPECT_TRUE(store.UpdateItem(item));

    EXPECT_EQ((CallView{kStoreUrl,
                        "DoWork",
                        {{"jsonInput",
                          "{Values:{Name:\"y\"},Permission:{UserID:12,AppID:3,FunctionID:12,"
                          "FunctionType:2,IsrtAreaCode:\"A1\"},Rev:\"2\"}"}}}),
              OnlyCall());
    EXPECT_EQ(
        (Calls{"GetFunctionId", "BeforeUpdate", "WriteUpdateValues(0)", "WriteExtraValues(2)"}),
        item.calls);
}

TEST_F(ItemUpdateTest, OwnMethodPathUsesTheKindsUpdateMethodAndFlagOne) {
    RecordingItem item(XmkProofAttach);
    item.updateValues = {{"File", "a.pdf"}};
    item.extraValues = {{"Rev", "2"}};
    transport.QueueReply(true, kReplyOk);

    EXPECT_TRUE(store.UpdateItem(item));

    EXPECT_EQ((CallView{kStoreUrl,
                        "UpdateProofAttachForCpp",
                        {{"proofAttach",
                          "{Ftp:{File:\"a.pdf\"},Permission:{UserID:12,AppID:3,FunctionID:2,"
                          "FunctionType:2,IsrtAreaCode:\"A1\"},Rev:\"2\"}"}}}),
              OnlyCall());
    EXPECT_EQ(
        (Calls{"GetFunctionId", "BeforeUpdate", "WriteUpdateValues(1)", "WriteExtraValues(2)"}),
        item.calls);
}

TEST_F(ItemUpdateTest, ApprovalAndAcceptanceUseTheirOwnUpdateMethods) {
    transport.SetDefaultReply(true, kReplyOk);
    RecordingItem approval(XmkApproval), acceptance(XmkAcceptance);
    store.UpdateItem(approval);
    store.UpdateItem(acceptance);
    ASSERT_EQ(2u, transport.CallCount());
    EXPECT_EQ("UpdateApprovalForCpp", transport.Call(0).method);
    EXPECT_EQ("pAop", transport.Call(0).arguments.at(0).first);
    EXPECT_EQ("UpdateAcceptanceForCpp", transport.Call(1).method);
    EXPECT_EQ("pAfcp", transport.Call(1).arguments.at(0).first);
}

TEST_F(ItemUpdateTest, GenericObjectUpdateLeavesPermissionOpenAndCallsNoExtras) {
    RecordingItem item(XmkGenericObject3);
    item.tableName = "T'1";
    item.updateValues = {{"Name", "z"}};
    item.extraValues = {{"Never", "sent"}};
    transport.QueueReply(true, kReplyOk);

    EXPECT_TRUE(store.UpdateItem(item));

    EXPECT_EQ((CallView{kStoreUrl,
                        "UpdateObject",
                        {{"param",
                          "{outnode:{Value:{Name:\"z\"},Permission:{UserID:12,AppID:5,"
                          "FunctionID:3,FunctionType:2,TableName:\"T\\'1\","
                          "IsrtAreaCode:\"A1\"}}}"}}}),
              OnlyCall());
    EXPECT_EQ((Calls{"GetFunctionId", "BeforeUpdate", "WriteUpdateValues(0)", "GetTableName"}),
              item.calls);
}

TEST_F(ItemUpdateTest, NothingToUpdateSendsNothingAndSucceeds) {
    const XmkFunctionId ids[] = {XmkApproval, static_cast<XmkFunctionId>(6)};
    for (XmkFunctionId id : ids) {
        RecordingItem item(id);
        item.hasUpdate = false;
        EXPECT_TRUE(store.UpdateItem(item));
        EXPECT_EQ((Calls{"GetFunctionId", "BeforeUpdate",
                         id == XmkApproval ? "WriteUpdateValues(1)" : "WriteUpdateValues(0)"}),
                  item.calls);
    }
    EXPECT_EQ(0u, transport.CallCount());
    EXPECT_TRUE(Shown().empty());
}

TEST_F(ItemUpdateTest, GenericObjectIsSentEvenWithNothingToUpdate) {
    RecordingItem item(XmkGenericObject4);
    item.hasUpdate = false;
    transport.QueueReply(true, kReplyOk);
    EXPECT_TRUE(store.UpdateItem(item));
    EXPECT_EQ("UpdateObject", OnlyCall().method);
}

TEST_F(ItemUpdateTest, RepliesAreJudgedOnEveryPath) {
    const XmkFunctionId ids[] = {XmkAcceptance, XmkGenericObject5, static_cast<XmkFunctionId>(7)};
    const struct {
        const char* reply;
        bool result;
    } cases[] = {{kReplyOk, true},
                 {kReplyWarn, true},
                 {kReplyFail, false},
                 {kReplyNegative, false},
                 {"", false}};
    for (XmkFunctionId id : ids) {
        for (const auto& c : cases) {
            RecordingItem item(id);
            transport.QueueReply(true, c.reply);
            EXPECT_EQ(c.result, store.UpdateItem(item)) << id << " " << c.reply;
        }
    }
    std::vector<CString> expected;
    for (int i = 0; i < 3; ++i) {
        expected.insert(expected.end(), {"check it", "refused", "broken", kNothingReturned});
    }
    EXPECT_EQ(expected, Shown());
}

TEST_F(ItemUpdateTest, IdsWithoutARowDeleteAndUpdateThroughTheUniformOperation) {
    transport.SetDefaultReply(true, kReplyOk);
    for (int id : {-1, 2147483647}) {
        RecordingItem item(static_cast<XmkFunctionId>(id));
        item.itemId = "never sent";
        EXPECT_TRUE(store.DeleteItem(item));
        EXPECT_TRUE(store.UpdateItem(item));
        EXPECT_EQ(
            (Calls{"GetFunctionId", "WriteDeleteKeys", "WriteExtraValues(3)", "AfterDelete",
                   "GetFunctionId", "BeforeUpdate", "WriteUpdateValues(0)", "WriteExtraValues(2)"}),
            item.calls);
    }
    std::vector<CallView> expected;
    for (int id : {-1, 2147483647}) {
        for (const char* shape : {"{Conditions:{},Permission:{UserID:12,AppID:3,FunctionID:%d,"
                                  "FunctionType:3,IsrtAreaCode:\"A1\"}}",
                                  "{Values:{},Permission:{UserID:12,AppID:3,FunctionID:%d,"
                                  "FunctionType:2,IsrtAreaCode:\"A1\"}}"}) {
            CString text;
            text.Format(shape, id);
            expected.push_back({kStoreUrl, "DoWork", {{"jsonInput", text.Str()}}});
        }
    }
    EXPECT_EQ(expected, Sent());
}
